#include "platform/files/safe_replace.h"

#include "platform/files/file_error.h"
#include "platform/files/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <system_error>

namespace fs = std::filesystem;

namespace qd::files {

namespace {

std::mutex g_hookMutex;
std::function<void(const fs::path &)> g_beforeRename;

std::string errnoText(int err) { return std::generic_category().message(err); }

void runBeforeRenameHook(const fs::path &work)
{
    std::function<void(const fs::path &)> hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_beforeRename;
    }
    if (hook)
        hook(work);
}

// The new file keeps the access rights of the file it replaces.
void copyPermissions(int fd, const fs::path &master)
{
    struct stat st {};
    if (::stat(master.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);
}

// After the rename the folder entry itself is forced to disk; a failure here leaves the new
// file in place and is not reported.
void syncFolder(const fs::path &file)
{
    const fs::path dir = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void renameOver(const fs::path &work, const fs::path &master)
{
    if (::rename(work.c_str(), master.c_str()) != 0)
        throw FileError(master.string(), "The file cannot be replaced (" + errnoText(errno) + ")");
    syncFolder(master);
}

// Runs the steps that end in the rename; on any failure the work copy is removed and the
// failure is reported as a FileError naming the master.
template <typename Steps>
void replaceOrRollBack(const fs::path &master, const fs::path &work, Steps &&steps)
{
    try {
        steps();
    } catch (const FileError &) {
        ::unlink(work.c_str());
        throw;
    } catch (const std::exception &e) {
        ::unlink(work.c_str());
        throw FileError(master.string(), std::string("The file was not rewritten (") + e.what() + ")");
    } catch (...) {
        ::unlink(work.c_str());
        throw FileError(master.string(), "The file was not rewritten");
    }
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

} // namespace

void replaceThroughWorkCopy(std::string_view masterSystemPath, std::string_view workSystemPath,
                            std::int32_t length, const std::function<void(RecordFile &)> &fill)
{
    const fs::path master = hostPath(masterSystemPath);
    const fs::path work = hostPath(workSystemPath);
    if (samePath(master, work))
        throw FileError(master.string(), "The work copy cannot be the file it replaces");

    RecordFile file(workSystemPath, length, RecordFile::Mode::CreateEmpty);
    replaceOrRollBack(master, work, [&] {
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
        runBeforeRenameHook(work);
        renameOver(work, master);
    });
}

void writeFileSafely(std::string_view systemPath, std::string_view bytes)
{
    const fs::path target = hostPath(systemPath);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string tmpl = (dir / ("." + target.filename().string() + ".new-XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        throw FileError(target.string(), "The file cannot be written (" + errnoText(errno) + ")");
    const fs::path work = tmpl;

    replaceOrRollBack(target, work, [&] {
        struct Closer {
            int fd;
            ~Closer() { if (fd >= 0) ::close(fd); }
        } closer{fd};
        ::fchmod(fd, 0644);
        copyPermissions(fd, target);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                throw FileError(target.string(), "The file cannot be written (" + errnoText(errno) + ")");
            }
            done += static_cast<std::size_t>(w);
        }
        if (::fsync(fd) != 0)
            throw FileError(target.string(), "The file cannot be written to disk (" + errnoText(errno) + ")");
        const int c = closer.fd;
        closer.fd = -1;
        if (::close(c) != 0)
            throw FileError(target.string(), "The file cannot be written (" + errnoText(errno) + ")");
        runBeforeRenameHook(work);
        renameOver(work, target);
    });
}

void setBeforeRenameHook(std::function<void(const fs::path &work)> hook)
{
    std::lock_guard lock(g_hookMutex);
    g_beforeRename = std::move(hook);
}

} // namespace qd::files
