#include "platform/files/safe_replace.h"

#include "platform/files/file_lock.h"
#include "platform/files/file_read.h"
#include "platform/files/io_steps.h"
#include "platform/files/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace fs = std::filesystem;

namespace qd::files {

namespace {

const std::string CANNOT_WRITE = "The file cannot be written";

fs::path folderOf(const fs::path &file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

void refuseWriteProtected(const fs::path &master)
{
    if (const int protection = writeProtection(master))
        throw FileError(master.string(), CANNOT_WRITE, io::reasonOf(protection));
}

// The new file keeps the access rights of the file it replaces, and its owner and group as far
// as the system lets this user give them (an administrator keeps both, an ordinary user the
// group when a member of it), so that a rewrite by one user of the office does not take the file
// from the others. The rights are set after the owner, which may clear some of them.
void copyPermissions(int fd, const fs::path &master)
{
    struct stat st {};
    if (::stat(master.c_str(), &st) != 0)
        return;
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
        // Neither is allowed: the file belongs to this user, with the master's rights.
    }
    (void)::fchmod(fd, st.st_mode & 07777);
}

// After a rename the folder entry itself is forced to disk. The new file is in place by then,
// so a failure here is not reported: the rewrite has happened.
void syncFolder(const fs::path &file)
{
    const int fd = io::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)io::flush(fd);
        ::close(fd);
    }
}

void renameOver(const fs::path &work, const fs::path &master)
{
    if (io::rename(work.c_str(), master.c_str()) != 0)
        throw FileError(master.string(), "The file cannot be replaced", io::reasonOf(errno));
    syncFolder(master);
}

// Writes `bytes` whole to a new hidden work copy beside `target`, flushed and closed, with the
// target's access rights. On failure nothing is left and the FileError names the target.
fs::path writeWorkCopy(const fs::path &target, std::string_view bytes)
{
    std::string tmpl = (folderOf(target) / io::hiddenName(target.filename().string(), ".new-XXXXXX")).string();
    const int fd = io::makeTemp(tmpl.data());
    if (fd < 0)
        throw FileError(target.string(), CANNOT_WRITE, io::reasonOf(errno));
    const fs::path work = tmpl;
    (void)::fchmod(fd, 0644);
    copyPermissions(fd, target);
    const auto fail = [&](const std::string &what, int err, bool open) {
        if (open)
            ::close(fd);
        ::unlink(work.c_str());
        throw FileError(target.string(), what, io::reasonOf(err));
    };
    if (io::writeAll(fd, bytes.data(), bytes.size()) != 0)
        fail(CANNOT_WRITE, errno, true);
    if (io::flush(fd) != 0)
        fail("The file cannot be written to disk", errno, true);
    if (io::close(fd) != 0)
        fail(CANNOT_WRITE, errno, false);
    return work;
}

bool samePath(const fs::path &a, const fs::path &b)
{
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    std::error_code ea, eb;
    const fs::path ca = fs::weakly_canonical(a, ea);
    const fs::path cb = fs::weakly_canonical(b, eb);
    return ea || eb ? a.lexically_normal() == b.lexically_normal() : ca == cb;
}

// A second name for the first file of a pair, from which it is put back should the second file
// fail: a hard link, or where the file system has none, a flushed copy.
class Backup {
public:
    explicit Backup(const fs::path &file) : m_file(file)
    {
        struct stat st {};
        if (::stat(file.c_str(), &st) != 0)
            return; // a new file: putting it back means removing it
        m_path = folderOf(file) / io::hiddenName(file.filename().string(), ".old");
        if (::access(m_path.c_str(), F_OK) == 0) {
            // Left by a run that failed or was cut off, perhaps the only old content there is,
            // which a message named: it stays, and this run's backup takes a name of its own.
            std::string unique = (folderOf(file) / io::hiddenName(file.filename().string(), ".old-XXXXXX")).string();
            const int fd = io::makeTemp(unique.data());
            if (fd < 0)
                throw FileError(file.string(), CANNOT_WRITE, io::reasonOf(errno));
            ::close(fd);
            ::unlink(unique.c_str());
            m_path = unique;
        }
        if (::link(file.c_str(), m_path.c_str()) == 0)
            return;
        const int fd = io::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            throw FileError(file.string(), "The file cannot be read", io::reasonOf(errno));
        std::string bytes;
        char buf[65536];
        for (ssize_t r; (r = io::read(fd, buf, sizeof buf)) != 0;) {
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                const int err = errno;
                ::close(fd);
                throw FileError(file.string(), "The file cannot be read", io::reasonOf(err));
            }
            bytes.append(buf, static_cast<std::size_t>(r));
        }
        ::close(fd);
        const fs::path copy = writeWorkCopy(file, bytes);
        if (io::rename(copy.c_str(), m_path.c_str()) != 0) {
            const int err = errno;
            ::unlink(copy.c_str());
            throw FileError(file.string(), CANNOT_WRITE, io::reasonOf(err));
        }
    }
    ~Backup()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    Backup(const Backup &) = delete;
    Backup &operator=(const Backup &) = delete;

    // Puts the file back as it was; false when that failed.
    bool restore()
    {
        if (m_path.empty())
            return ::unlink(m_file.c_str()) == 0 || errno == ENOENT;
        if (io::rename(m_path.c_str(), m_file.c_str()) != 0)
            return false;
        m_path.clear();
        syncFolder(m_file);
        return true;
    }

    // After a failed restore: the file that still holds the old content (the file itself when
    // it did not exist before), which is then left in place; no later run removes it.
    fs::path keep()
    {
        const fs::path kept = m_path.empty() ? m_file : m_path;
        m_path.clear();
        return kept;
    }

private:
    fs::path m_file;
    fs::path m_path; // empty: the file did not exist
};

} // namespace

void replaceThroughWorkCopy(std::string_view masterSystemPath, std::string_view workSystemPath,
                            std::int32_t length, const std::function<void(RecordFile &)> &fill)
{
    const fs::path master = hostPath(masterSystemPath);
    const fs::path work = hostPath(workSystemPath);
    if (samePath(master, work))
        throw FileError(master.string(), "The work copy cannot be the file it replaces");

    const FileLock lock = FileLock::forHostFile(master, LockKind::Exclusive);
    refuseWriteProtected(master);
    RecordFile file;
    try {
        file.open(workSystemPath, length, RecordFile::Mode::CreateEmpty);
        fill(file);
        if (!file.isOpen())
            throw FileError(work.string(), "The work copy was closed before it was complete");
        file.flush();
        file.close();
        {
            // Rights are set through a descriptor of its own: the record file is closed.
            const int fd = ::open(work.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0) {
                copyPermissions(fd, master);
                ::close(fd);
            }
        }
        renameOver(work, master);
    } catch (...) {
        file = RecordFile();
        ::unlink(work.c_str());
        try {
            throw;
        } catch (const FileError &e) {
            if (samePath(fs::path(e.path()), work)) // the work copy's failure is the master's
                throw FileError(master.string(), CANNOT_WRITE, e.reason());
            throw;
        } catch (const std::exception &e) {
            throw FileError(master.string(), std::string("The file was not rewritten (") + e.what() + ")");
        } catch (...) {
            throw FileError(master.string(), "The file was not rewritten");
        }
    }
}

void writeFileSafely(std::string_view systemPath, std::string_view bytes)
{
    const fs::path target = hostPath(systemPath);
    const FileLock lock = FileLock::forHostFile(target, LockKind::Exclusive);
    refuseWriteProtected(target);
    const fs::path work = writeWorkCopy(target, bytes);
    try {
        renameOver(work, target);
    } catch (...) {
        ::unlink(work.c_str());
        throw;
    }
}

std::size_t replaceFileHead(std::string_view systemPath, std::string_view head)
{
    const FileLock lock(systemPath, LockKind::Exclusive);
    const std::string old = readWholeFile(systemPath).bytes;
    std::string bytes(head);
    if (old.size() > head.size())
        bytes += std::string_view(old).substr(head.size());
    writeFileSafely(systemPath, bytes);
    return bytes.size();
}

std::pair<FileStamp, FileStamp> replaceFilePair(const FileContent &first, const FileContent &second)
{
    const fs::path one = hostPath(first.systemPath);
    const fs::path two = hostPath(second.systemPath);
    if (samePath(one, two))
        throw FileError(one.string(), "The two files of a pair cannot be one file");

    const FileLock lockOne = FileLock::forHostFile(one, LockKind::Exclusive);
    const FileLock lockTwo = FileLock::forHostFile(two, LockKind::Exclusive);
    refuseWriteProtected(one);
    refuseWriteProtected(two);

    // Both new contents are on the disk before either file is touched.
    const fs::path workOne = writeWorkCopy(one, first.bytes);
    fs::path workTwo;
    try {
        workTwo = writeWorkCopy(two, second.bytes);
    } catch (...) {
        ::unlink(workOne.c_str());
        throw;
    }

    try {
        Backup backup(one);
        renameOver(workOne, one);
        try {
            renameOver(workTwo, two);
        } catch (const FileError &e) {
            ::unlink(workTwo.c_str());
            if (!backup.restore()) {
                // The old content stays under the second name rather than be lost with it.
                const int err = errno;
                throw PairNotRestored(backup.keep().string(), "The file could not be put back", io::reasonOf(err));
            }
            throw;
        }
    } catch (...) {
        ::unlink(workOne.c_str());
        ::unlink(workTwo.c_str());
        throw;
    }
    return {io::stampOfHost(one), io::stampOfHost(two)};
}

} // namespace qd::files
