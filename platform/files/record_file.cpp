#include "platform/files/record_file.h"

#include "platform/files/io_steps.h"
#include "platform/files/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace qd::files {

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

int writeProtection(const std::filesystem::path &hostFile)
{
    struct stat st {};
    if (::stat(hostFile.c_str(), &st) != 0)
        return 0; // a missing file protects nothing
    if (::access(hostFile.c_str(), W_OK) != 0)
        return errno == EROFS ? EROFS : EACCES;
    return (st.st_mode & 0222) == 0 ? EACCES : 0;
}

bool isWriteProtected(const std::filesystem::path &hostFile) { return writeProtection(hostFile) != 0; }

RecordFile::RecordFile(std::string_view systemPath, std::int32_t length, Mode mode)
{
    open(systemPath, length, mode);
}

RecordFile::~RecordFile() { closeQuietly(); }

RecordFile::RecordFile(RecordFile &&other) noexcept
    : m_fd(other.m_fd), m_length(other.m_length), m_writeError(other.m_writeError), m_written(other.m_written),
      m_host(std::move(other.m_host))
{
    other.m_fd = -1;
}

RecordFile &RecordFile::operator=(RecordFile &&other) noexcept
{
    if (this != &other) {
        closeQuietly();
        m_fd = other.m_fd;
        m_length = other.m_length;
        m_writeError = other.m_writeError;
        m_written = other.m_written;
        m_host = std::move(other.m_host);
        other.m_fd = -1;
    }
    return *this;
}

void RecordFile::open(std::string_view systemPath, std::int32_t length, Mode mode)
{
    closeQuietly();
    m_host = files::hostPath(systemPath);
    const std::string shown = m_host.string();
    if (length <= 0)
        throw FileError(shown, "Bad record length " + std::to_string(length));

    int fd = -1;
    int writeError = 0;
    switch (mode) {
    case Mode::ReadOnly:
        fd = io::open(m_host.c_str(), O_RDONLY | O_CLOEXEC);
        writeError = EBADF;
        break;
    case Mode::CreateIfMissing:
        if (const int protection = writeProtection(m_host)) {
            // A write-protected master can still be read; a write to it is refused.
            fd = io::open(m_host.c_str(), O_RDONLY | O_CLOEXEC);
            writeError = protection;
            break;
        }
        fd = io::open(m_host.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
            const int saved = errno;
            fd = io::open(m_host.c_str(), O_RDONLY | O_CLOEXEC);
            writeError = saved;
            if (fd < 0)
                errno = saved;
        }
        break;
    case Mode::CreateEmpty:
        if (const int protection = writeProtection(m_host)) {
            errno = protection;
            break;
        }
        fd = io::open(m_host.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        break;
    }
    fd = io::regularOnly(fd);
    if (fd < 0)
        throw FileError(shown, "The file cannot be opened", io::reasonOf(errno));
    m_fd = fd;
    m_length = length;
    m_writeError = writeError;
    m_written = false;
}

void RecordFile::closeQuietly() noexcept
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void RecordFile::close()
{
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1;
    if (!m_written) {
        ::close(fd); // nothing written: nothing a failed close could lose
        return;
    }
    m_written = false;
    if (io::close(fd) != 0)
        throw FileError(m_host.string(), "The file cannot be closed", io::reasonOf(errno));
}

void RecordFile::checkOpen() const
{
    if (m_fd < 0)
        throw FileError(m_host.string(), "The file is not open");
}

std::int64_t RecordFile::fileLength() const
{
    checkOpen();
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        throw FileError(m_host.string(), "The file length cannot be read", io::reasonOf(errno));
    return static_cast<std::int64_t>(st.st_size);
}

std::int32_t RecordFile::recordCount() const { return recordCountOf(fileLength(), m_length); }

FileStamp RecordFile::stamp() const
{
    checkOpen();
    return io::stampOfOpen(m_fd);
}

namespace {

// Reads up to size bytes at offset; returns how many there were.
std::size_t readAt(int fd, char *data, std::size_t size, off_t offset, const std::string &shown)
{
    std::size_t got = 0;
    while (got < size) {
        const ssize_t r = io::readAt(fd, data + got, size - got, offset + static_cast<off_t>(got));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(shown, "The file cannot be read", io::reasonOf(errno));
        }
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    return got;
}

} // namespace

std::string RecordFile::get(std::int32_t n) const
{
    checkOpen();
    if (n < 1)
        throw FileError(m_host.string(), "Bad record number " + std::to_string(n));
    std::string buf(static_cast<std::size_t>(m_length), ' ');
    const off_t offset = static_cast<off_t>(n - 1) * m_length;
    readAt(m_fd, buf.data(), buf.size(), offset, m_host.string()); // past the end: the rest stays blank
    return buf;
}

std::string RecordFile::readAll() const
{
    std::string bytes(static_cast<std::size_t>(fileLength()), '\0');
    bytes.resize(readAt(m_fd, bytes.data(), bytes.size(), 0, m_host.string()));
    // A file that grew since its length was taken is read to its end all the same.
    char more[4096];
    for (std::size_t got; (got = readAt(m_fd, more, sizeof more, static_cast<off_t>(bytes.size()), m_host.string())) > 0;)
        bytes.append(more, got);
    return bytes;
}

void RecordFile::put(std::int32_t n, std::string_view bytes)
{
    checkOpen();
    if (m_writeError != 0)
        throw FileError(m_host.string(), "The file cannot be written", io::reasonOf(m_writeError));
    if (n < 1)
        throw FileError(m_host.string(), "Bad record number " + std::to_string(n));

    const off_t offset = static_cast<off_t>(n - 1) * m_length;
    const auto fail = [&] {
        throw FileError(m_host.string(), "The file cannot be written", io::reasonOf(errno));
    };
    m_written = true;
    std::int64_t len = fileLength();
    if (len < offset) {
        const std::string blanks(64 * 1024, ' ');
        while (len < offset) {
            const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(offset - len, blanks.size()));
            if (io::writeAllAt(m_fd, blanks.data(), chunk, static_cast<off_t>(len)) != 0)
                fail();
            len += static_cast<std::int64_t>(chunk);
        }
    }
    std::string rec(bytes.substr(0, static_cast<std::size_t>(m_length)));
    rec.resize(static_cast<std::size_t>(m_length), ' ');
    if (io::writeAllAt(m_fd, rec.data(), rec.size(), offset) != 0)
        fail();
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
    checkOpen();
    if (m_writeError != 0)
        return;
    if (io::flush(m_fd) != 0)
        throw FileError(m_host.string(), "The file cannot be written to disk", io::reasonOf(errno));
}

} // namespace qd::files
