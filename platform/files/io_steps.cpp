#include "platform/files/io_steps.h"

#include "platform/files/fault_plan.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <system_error>

namespace qd::files::io {

std::string reasonOf(int err) { return std::generic_category().message(err); }

std::string hiddenName(std::string_view name, std::string_view suffix)
{
    constexpr std::size_t longestName = 255; // bytes of one file name on the host
    constexpr std::size_t digestLength = 17; // "~" and 16 hex digits
    if (1 + name.size() + suffix.size() <= longestName)
        return "." + std::string(name) + std::string(suffix);
    std::uint64_t digest = 14695981039346656037ull; // FNV-1a
    for (const char c : name) {
        digest ^= static_cast<unsigned char>(c);
        digest *= 1099511628211ull;
    }
    std::size_t keep = longestName - 1 - suffix.size() - digestLength;
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
        --keep; // not inside a character
    char hex[digestLength + 1];
    std::snprintf(hex, sizeof hex, "~%016llx", static_cast<unsigned long long>(digest));
    return "." + std::string(name.substr(0, keep)) + hex + std::string(suffix);
}

namespace {

// Half of an injected failing write reaches the file first.
void writeHalfThenFail(int fd, const char *data, std::size_t size, off_t offset, bool positioned)
{
    const int err = errno;
    const std::size_t half = size / 2;
    if (half > 0) {
        if (positioned)
            (void)!::pwrite(fd, data, half, offset);
        else
            (void)!::write(fd, data, half);
    }
    errno = err;
}

int writeLoop(int fd, const char *data, std::size_t size, off_t offset, bool positioned)
{
    if (bool first = false; faults::shouldFail(FileStep::Write, &first)) {
        if (first)
            writeHalfThenFail(fd, data, size, offset, positioned);
        return -1;
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t w = positioned ? ::pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done))
                                     : ::write(fd, data + done, size - done);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (w == 0) { // nothing written and no reason given: the disk is full
            errno = ENOSPC;
            return -1;
        }
        done += static_cast<std::size_t>(w);
    }
    return 0;
}

} // namespace

int regularOnly(int fd)
{
    if (fd < 0)
        return fd;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        return fd;
    const int err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    errno = err;
    return -1;
}

int writeAllAt(int fd, const char *data, std::size_t size, off_t offset)
{
    return writeLoop(fd, data, size, offset, true);
}

int writeAll(int fd, const char *data, std::size_t size) { return writeLoop(fd, data, size, 0, false); }

int flush(int fd)
{
    if (faults::shouldFail(FileStep::Flush))
        return -1;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        return -1;
    return 0;
}

int close(int fd)
{
    if (faults::shouldFail(FileStep::Close)) {
        const int err = errno;
        ::close(fd); // the descriptor goes, as it does when the system reports a failed close
        errno = err;
        return -1;
    }
    return ::close(fd);
}

int rename(const char *from, const char *to)
{
    if (faults::shouldFail(FileStep::Rename))
        return -1;
    return ::rename(from, to);
}

namespace {

template <class Cut>
int truncateStep(Cut cut)
{
    if (faults::shouldFail(FileStep::Truncate))
        return -1;
    int r;
    while ((r = cut()) != 0 && errno == EINTR) {
    }
    return r;
}

} // namespace

int truncate(int fd, off_t length)
{
    return truncateStep([&] { return ::ftruncate(fd, length); });
}

int truncate(const char *path, off_t length)
{
    return truncateStep([&] { return ::truncate(path, length); });
}

int open(const char *path, int flags, mode_t mode)
{
    if (faults::shouldFail(FileStep::Open))
        return -1;
    return ::open(path, flags, mode);
}

int makeTemp(char *pattern)
{
    if (faults::shouldFail(FileStep::Open))
        return -1;
    return ::mkstemp(pattern);
}

ssize_t read(int fd, void *data, std::size_t size)
{
    if (faults::shouldFail(FileStep::Read))
        return -1;
    return ::read(fd, data, size);
}

ssize_t readAt(int fd, void *data, std::size_t size, off_t offset)
{
    if (faults::shouldFail(FileStep::Read))
        return -1;
    return ::pread(fd, data, size, offset);
}

} // namespace qd::files::io
