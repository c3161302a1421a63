#include "platform/files/record_append.h"

#include "platform/files/file_lock.h"
#include "platform/files/io_steps.h"
#include "platform/files/paths.h"
#include "platform/files/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <string>

namespace fs = std::filesystem;

namespace qd::files {

std::int32_t appendRecords(std::string_view systemPath, std::int32_t length, std::string_view records)
{
    const fs::path host = hostPath(systemPath);
    const std::string shown = host.string();
    if (length <= 0 || records.empty() || records.size() % static_cast<std::size_t>(length) != 0)
        throw FileError(shown, "Only whole records can be appended");

    const FileLock lock = FileLock::forHostFile(host, LockKind::Exclusive);
    if (const int protection = writeProtection(host))
        throw FileError(shown, "The file cannot be written", io::reasonOf(protection));
    const int fd = io::regularOnly(io::open(host.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        const int err = errno;
        if (fd >= 0)
            ::close(fd);
        throw FileError(shown, "The file cannot be opened", io::reasonOf(err));
    }

    const auto oldLength = static_cast<std::int64_t>(st.st_size);
    const std::int64_t whole = (oldLength + length - 1) / length;
    const std::int64_t added = static_cast<std::int64_t>(records.size()) / length;
    if (whole + added > std::numeric_limits<std::int32_t>::max()) {
        ::close(fd);
        throw FileError(shown, "The file holds too many records");
    }
    std::string bytes(static_cast<std::size_t>(whole * length - oldLength), ' ');
    bytes.append(records);

    // Cuts the file back to its old length, so that nothing of the failed records stays; when
    // that fails too, the user is told that the file may hold them.
    const auto failWith = [&](const std::string &what, int err, bool open) {
        bool cut = false;
        if (open) {
            cut = io::truncate(fd, static_cast<off_t>(oldLength)) == 0;
            if (cut)
                (void)io::flush(fd);
            ::close(fd);
        } else {
            cut = io::truncate(host.c_str(), static_cast<off_t>(oldLength)) == 0;
        }
        if (!cut)
            throw WriteNotUndone(shown, what + " and could not be cut back", io::reasonOf(err));
        throw FileError(shown, what, io::reasonOf(err));
    };
    if (io::writeAllAt(fd, bytes.data(), bytes.size(), static_cast<off_t>(oldLength)) != 0)
        failWith("The file cannot be written", errno, true);
    if (io::flush(fd) != 0)
        failWith("The file cannot be written to disk", errno, true);
    if (io::close(fd) != 0)
        failWith("The file cannot be written", errno, false);
    return static_cast<std::int32_t>(whole + 1);
}

} // namespace qd::files
