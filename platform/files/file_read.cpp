#include "platform/files/file_read.h"

#include "platform/files/file_lock.h"
#include "platform/files/io_steps.h"
#include "platform/files/paths.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace qd::files {

FileSnapshot readWholeFile(std::string_view systemPath)
{
    const std::filesystem::path host = hostPath(systemPath);
    const std::string shown = host.string();
    const FileLock lock = FileLock::forHostFile(host, LockKind::Shared);
    FileSnapshot snap;
    const int fd = io::regularOnly(io::open(host.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd < 0) {
        if (errno == ENOENT)
            return snap;
        throw FileError(shown, "The file cannot be read", io::reasonOf(errno));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    snap.stamp = io::stampOfOpen(fd);
    snap.bytes.reserve(static_cast<std::size_t>(std::max<std::int64_t>(snap.stamp.size, 0)));
    char buf[65536];
    for (ssize_t r; (r = io::read(fd, buf, sizeof buf)) != 0;) {
        if (r < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(shown, "The file cannot be read", io::reasonOf(errno));
        }
        snap.bytes.append(buf, static_cast<std::size_t>(r));
    }
    snap.exists = true;
    return snap;
}

} // namespace qd::files
