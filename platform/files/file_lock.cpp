#include "platform/files/file_lock.h"

#include "platform/files/paths.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace qd::files {

namespace {

std::string errnoText(int err) { return std::generic_category().message(err); }

// The locks this program holds, by lock file. One open file description per lock file, so a
// nested lock of the same program never waits for itself.
struct Held {
    int fd = -1;        // -1: a shared lock granted without a lock file (read-only folder)
    int shared = 0;     // nested shared locks
    int exclusive = 0;  // nested exclusive locks
};

std::mutex g_mutex;
std::map<std::string, Held> g_held;

// Sets the lock of the open file description; false when another program holds a lock that
// conflicts with it.
bool trySet(int fd, short type, const std::string &shown)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;
    fl.l_pid = 0;
    if (::fcntl(fd, F_OFD_SETLK, &fl) == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES || errno == EINTR)
        return false;
    throw FileError(shown, "The file cannot be locked", errnoText(errno));
}

void setWaiting(int fd, short type, const std::string &shown, const std::string &file,
                std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (trySet(fd, type, shown))
            return;
        if (std::chrono::steady_clock::now() >= deadline)
            throw LockBusy(file);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string asciiLower(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

} // namespace

fs::path FileLock::lockPathOf(const fs::path &hostFile)
{
    const fs::path dir = hostFile.has_parent_path() ? hostFile.parent_path() : fs::path(".");
    return dir / ("." + asciiLower(hostFile.filename().string()) + ".lock");
}

FileLock::FileLock(std::string_view systemPath, LockKind kind, std::chrono::milliseconds wait)
{
    acquire(hostPath(systemPath), kind, wait);
}

FileLock::FileLock(const fs::path &hostFile, LockKind kind, std::chrono::milliseconds wait)
{
    acquire(hostFile, kind, wait);
}

FileLock::~FileLock() { release(); }

FileLock::FileLock(FileLock &&other) noexcept : m_key(std::move(other.m_key)), m_kind(other.m_kind)
{
    other.m_key.clear();
}

FileLock &FileLock::operator=(FileLock &&other) noexcept
{
    if (this != &other) {
        release();
        m_key = std::move(other.m_key);
        m_kind = other.m_kind;
        other.m_key.clear();
    }
    return *this;
}

void FileLock::acquire(const fs::path &hostFile, LockKind kind, std::chrono::milliseconds wait)
{
    const fs::path lockFile = lockPathOf(hostFile);
    const std::string key = lockFile.string();
    const std::string shown = hostFile.string();
    const short type = kind == LockKind::Exclusive ? F_WRLCK : F_RDLCK;

    std::lock_guard guard(g_mutex);
    auto it = g_held.find(key);
    if (it != g_held.end()) {
        Held &h = it->second;
        if (kind == LockKind::Exclusive && h.exclusive == 0) {
            if (h.fd < 0)
                throw FileError(shown, "The file cannot be locked", errnoText(EACCES));
            setWaiting(h.fd, F_WRLCK, shown, shown, wait); // raised from shared
        }
        (kind == LockKind::Exclusive ? h.exclusive : h.shared) += 1;
        m_key = key;
        m_kind = kind;
        return;
    }

    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        const int saved = errno;
        fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            if (kind == LockKind::Exclusive)
                throw FileError(shown, "The file cannot be locked", errnoText(saved));
            // Nobody may write in this folder, so nobody can rewrite the file while it is read.
            g_held[key] = Held{-1, 1, 0};
            m_key = key;
            m_kind = kind;
            return;
        }
    }
    if (fd < 0)
        throw FileError(shown, "The file cannot be locked", errnoText(errno));
    try {
        setWaiting(fd, type, shown, shown, wait);
    } catch (...) {
        ::close(fd);
        throw;
    }
    Held h;
    h.fd = fd;
    (kind == LockKind::Exclusive ? h.exclusive : h.shared) = 1;
    g_held[key] = h;
    m_key = key;
    m_kind = kind;
}

void FileLock::release()
{
    if (m_key.empty())
        return;
    std::lock_guard guard(g_mutex);
    auto it = g_held.find(m_key);
    if (it != g_held.end()) {
        Held &h = it->second;
        int &count = m_kind == LockKind::Exclusive ? h.exclusive : h.shared;
        if (count > 0)
            --count;
        if (h.exclusive == 0 && h.shared == 0) {
            if (h.fd >= 0)
                ::close(h.fd); // closing the description ends its lock
            g_held.erase(it);
        } else if (m_kind == LockKind::Exclusive && h.exclusive == 0 && h.fd >= 0) {
            // Back to the shared lock the program still holds; lowering never waits.
            struct flock fl {};
            fl.l_type = F_RDLCK;
            fl.l_whence = SEEK_SET;
            ::fcntl(h.fd, F_OFD_SETLK, &fl);
        }
    }
    m_key.clear();
}

} // namespace qd::files
