#include "platform/files/file_lock.h"

#include "platform/files/io_steps.h"
#include "platform/files/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <thread>

namespace fs = std::filesystem;

namespace qd::files {

namespace {

// The locks this program holds, by lock file. One open file description per lock file, so a
// nested lock of the same program never waits for itself.
struct Held {
    int fd = -1;           // -1: a shared lock granted without a lock file
    bool writable = false; // the lock file is open for writing, so it can carry an exclusive lock
    int writeError = EACCES; // why it is not: EROFS on a file system mounted read-only
    int shared = 0;        // nested shared locks
    int exclusive = 0;     // nested exclusive locks
};

std::mutex g_mutex;
std::map<std::string, Held> g_held;

const std::string CANNOT_LOCK = "The file cannot be locked";

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
    throw FileError(shown, CANNOT_LOCK, io::reasonOf(errno));
}

void setWaiting(int fd, short type, const std::string &shown, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (trySet(fd, type, shown))
            return;
        if (std::chrono::steady_clock::now() >= deadline)
            throw LockBusy(shown);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string asciiLower(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// One key per lock file however the folder was named (relative, through "..", a link).
std::string keyOf(const fs::path &lockFile)
{
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(fs::absolute(lockFile, ec), ec);
    return ec ? fs::absolute(lockFile).lexically_normal().string() : canonical.string();
}

bool cannotWriteFolder(int err) { return err == EACCES || err == EROFS || err == EPERM; }

// Opens the lock file for writing, making it when it is missing. A new lock file may be locked
// by every user of the install folder, whatever the creator's file mode mask.
int openLockFile(const fs::path &lockFile)
{
    const int made = io::open(lockFile.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (made >= 0) {
        (void)::fchmod(made, 0666);
        return made;
    }
    if (errno != EEXIST)
        return -1;
    return io::open(lockFile.c_str(), O_RDWR | O_CLOEXEC);
}

} // namespace

fs::path FileLock::lockPathOf(const fs::path &hostFile)
{
    const fs::path dir = hostFile.has_parent_path() ? hostFile.parent_path() : fs::path(".");
    return dir / io::hiddenName(asciiLower(hostFile.filename().string()), ".lock");
}

FileLock::FileLock(std::string_view systemPath, LockKind kind, std::chrono::milliseconds wait)
{
    acquire(hostPath(systemPath), kind, wait);
}

FileLock FileLock::forHostFile(const fs::path &hostFile, LockKind kind, std::chrono::milliseconds wait)
{
    FileLock lock;
    lock.acquire(hostFile, kind, wait);
    return lock;
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
    const std::string key = keyOf(lockFile);
    const std::string shown = hostFile.string();
    const bool exclusive = kind == LockKind::Exclusive;

    std::lock_guard guard(g_mutex);
    if (auto it = g_held.find(key); it != g_held.end()) {
        Held &h = it->second;
        if (exclusive && h.exclusive == 0) {
            if (h.fd < 0 || !h.writable)
                throw FileError(shown, CANNOT_LOCK, io::reasonOf(h.writeError));
            setWaiting(h.fd, F_WRLCK, shown, wait); // raised from shared
        }
        (exclusive ? h.exclusive : h.shared) += 1;
        m_key = key;
        m_kind = kind;
        return;
    }

    Held h;
    h.fd = openLockFile(lockFile);
    h.writable = h.fd >= 0;
    int err = h.fd < 0 ? errno : 0;
    if (err == EROFS)
        h.writeError = EROFS;
    if (h.fd < 0 && cannotWriteFolder(err)) {
        h.fd = io::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
        if (h.fd < 0 && errno != ENOENT)
            err = errno;
    }
    if (h.fd < 0) {
        // Nobody may write in this folder (or it is not there), so nobody can rewrite the file
        // while it is read.
        if (exclusive || !(cannotWriteFolder(err) || err == ENOENT))
            throw FileError(shown, CANNOT_LOCK, io::reasonOf(err));
    } else {
        if (exclusive && !h.writable) {
            ::close(h.fd);
            throw FileError(shown, CANNOT_LOCK, io::reasonOf(h.writeError));
        }
        try {
            setWaiting(h.fd, exclusive ? F_WRLCK : F_RDLCK, shown, wait);
        } catch (...) {
            ::close(h.fd);
            throw;
        }
    }
    (exclusive ? h.exclusive : h.shared) = 1;
    g_held[key] = h;
    m_key = key;
    m_kind = kind;
}

void FileLock::release()
{
    if (m_key.empty())
        return;
    std::lock_guard guard(g_mutex);
    if (auto it = g_held.find(m_key); it != g_held.end()) {
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
