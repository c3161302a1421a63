#include "platform/files/file_stamp.h"

#include "platform/files/io_steps.h"
#include "platform/files/paths.h"

#include <sys/stat.h>

namespace qd::files {

namespace {

std::int64_t nanoseconds(const struct timespec &t)
{
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

FileStamp fromStat(const struct stat &st)
{
    FileStamp s;
    s.exists = true;
    s.size = static_cast<std::int64_t>(st.st_size);
    s.modifiedNs = nanoseconds(st.st_mtim);
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    return s;
}

} // namespace

FileStamp stampOf(std::string_view systemPath) { return io::stampOfHost(hostPath(systemPath)); }

namespace io {

FileStamp stampOfHost(const std::filesystem::path &hostFile)
{
    struct stat st {};
    if (::stat(hostFile.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return fromStat(st);
}

FileStamp stampOfOpen(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {};
    return fromStat(st);
}

} // namespace io

} // namespace qd::files
