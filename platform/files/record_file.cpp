#include "platform/files/record_file.h"

#include "platform/files/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <system_error>

namespace qd::files {

namespace {

std::string errnoText(int err) { return std::generic_category().message(err); }

} // namespace

std::int32_t recordCountOf(std::int64_t fileLength, std::int32_t recordLength)
{
    if (recordLength <= 0 || fileLength <= 0)
        return 0;
    std::int64_t q = fileLength / recordLength;
    const std::int64_t r = fileLength % recordLength;
    // A trailing partial record counts when it is more than half a record, or exactly half
    // and the count so becomes even.
    if (2 * r > recordLength || (2 * r == recordLength && (q & 1) != 0))
        ++q;
    return q > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                        : static_cast<std::int32_t>(q);
}

RecordFile::RecordFile(std::string_view systemPath, std::int32_t length, Mode mode)
{
    open(systemPath, length, mode);
}

RecordFile::~RecordFile() { close(); }

RecordFile::RecordFile(RecordFile &&other) noexcept
    : m_fd(other.m_fd), m_length(other.m_length), m_readOnly(other.m_readOnly), m_host(std::move(other.m_host))
{
    other.m_fd = -1;
}

RecordFile &RecordFile::operator=(RecordFile &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        m_length = other.m_length;
        m_readOnly = other.m_readOnly;
        m_host = std::move(other.m_host);
        other.m_fd = -1;
    }
    return *this;
}

void RecordFile::open(std::string_view systemPath, std::int32_t length, Mode mode)
{
    close();
    m_host = files::hostPath(systemPath);
    const std::string shown = m_host.string();
    if (length <= 0)
        throw FileError(shown, "Bad record length " + std::to_string(length));

    int fd = -1;
    bool readOnly = false;
    switch (mode) {
    case Mode::ReadOnly:
        fd = ::open(m_host.c_str(), O_RDONLY | O_CLOEXEC);
        readOnly = true;
        break;
    case Mode::CreateIfMissing:
        fd = ::open(m_host.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
            // A write-protected master can still be read; a write to it fails then.
            const int saved = errno;
            fd = ::open(m_host.c_str(), O_RDONLY | O_CLOEXEC);
            readOnly = true;
            if (fd < 0)
                errno = saved;
        }
        break;
    case Mode::CreateEmpty:
        fd = ::open(m_host.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        break;
    }
    if (fd < 0)
        throw FileError(shown, "The file cannot be opened (" + errnoText(errno) + ")");

    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw FileError(shown, "The file cannot be opened (not a regular file)");
    }
    m_fd = fd;
    m_length = length;
    m_readOnly = readOnly;
}

void RecordFile::close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

std::int64_t RecordFile::fileLength() const
{
    if (m_fd < 0)
        throw FileError(m_host.string(), "The file is not open");
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        throw FileError(m_host.string(), "The file length cannot be read (" + errnoText(errno) + ")");
    return static_cast<std::int64_t>(st.st_size);
}

std::int32_t RecordFile::recordCount() const { return recordCountOf(fileLength(), m_length); }

std::string RecordFile::get(std::int32_t n) const
{
    if (m_fd < 0)
        throw FileError(m_host.string(), "The file is not open");
    if (n < 1)
        throw FileError(m_host.string(), "Bad record number " + std::to_string(n));
    std::string buf(static_cast<std::size_t>(m_length), ' ');
    const off_t offset = static_cast<off_t>(n - 1) * m_length;
    std::size_t got = 0;
    while (got < buf.size()) {
        const ssize_t r = ::pread(m_fd, buf.data() + got, buf.size() - got, offset + static_cast<off_t>(got));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(m_host.string(), "Record " + std::to_string(n) + " cannot be read (" + errnoText(errno) + ")");
        }
        if (r == 0)
            break; // past the end: the rest stays blank
        got += static_cast<std::size_t>(r);
    }
    return buf;
}

namespace {

void writeAll(int fd, const char *data, std::size_t size, off_t offset, const std::string &path)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t w = ::pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(path, "The file cannot be written (" + errnoText(errno) + ")");
        }
        done += static_cast<std::size_t>(w);
    }
}

} // namespace

void RecordFile::put(std::int32_t n, std::string_view bytes)
{
    if (m_fd < 0)
        throw FileError(m_host.string(), "The file is not open");
    if (m_readOnly)
        throw FileError(m_host.string(), "The file is open for reading only");
    if (n < 1)
        throw FileError(m_host.string(), "Bad record number " + std::to_string(n));

    const off_t offset = static_cast<off_t>(n - 1) * m_length;
    // Records skipped over by a write past the end are filled with blanks, not NULs.
    std::int64_t len = fileLength();
    if (len < offset) {
        const std::string blanks(64 * 1024, ' ');
        while (len < offset) {
            const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(offset - len, blanks.size()));
            writeAll(m_fd, blanks.data(), chunk, static_cast<off_t>(len), m_host.string());
            len += static_cast<std::int64_t>(chunk);
        }
    }
    std::string rec(bytes.substr(0, static_cast<std::size_t>(m_length)));
    rec.resize(static_cast<std::size_t>(m_length), ' ');
    writeAll(m_fd, rec.data(), rec.size(), offset, m_host.string());
}

std::int32_t RecordFile::append(std::string_view bytes)
{
    const std::int64_t len = fileLength();
    const std::int64_t whole = (len + m_length - 1) / m_length;
    if (whole >= std::numeric_limits<std::int32_t>::max())
        throw FileError(m_host.string(), "The file holds too many records");
    const auto n = static_cast<std::int32_t>(whole + 1);
    put(n, bytes);
    return n;
}

void RecordFile::flush()
{
    if (m_fd < 0)
        throw FileError(m_host.string(), "The file is not open");
    if (m_readOnly)
        return;
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        throw FileError(m_host.string(), "The file cannot be written to disk (" + errnoText(errno) + ")");
}

} // namespace qd::files
