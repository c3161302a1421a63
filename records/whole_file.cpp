#include "records/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/files/safe_replace.h"

namespace qd::records {

using qd::files::FileError;

namespace {
std::string errnoText(int err) { return std::generic_category().message(err); }
} // namespace

WholeRecords readWholeRecords(std::string_view systemPath, std::int32_t length)
{
    WholeRecords out;
    const std::filesystem::path host = qd::files::hostPath(systemPath);
    const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return out;
        throw FileError(host.string(), "The file cannot be opened (" + errnoText(errno) + ")", errnoText(errno));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw FileError(host.string(), "The file cannot be opened (not a regular file)");
    out.exists = true;
    std::string all(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t got = 0;
    while (got < all.size()) {
        const ssize_t r = ::read(fd, all.data() + got, all.size() - got);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            throw FileError(host.string(), "The file cannot be read (" + errnoText(err) + ")", errnoText(err));
        }
        if (r == 0)
            break; // cut short while we read: what was there is what counts
        got += static_cast<std::size_t>(r);
    }
    all.resize(got);
    out.count = static_cast<std::int32_t>(got / static_cast<std::size_t>(length));
    out.partialBytes = static_cast<std::int64_t>(got % static_cast<std::size_t>(length));
    all.resize(static_cast<std::size_t>(out.count) * length);
    out.bytes = std::move(all);
    return out;
}

std::vector<Record> readRecordList(std::string_view systemPath, const Layout &layout)
{
    const WholeRecords file = readWholeRecords(systemPath, layout.length);
    std::vector<Record> out;
    out.reserve(static_cast<std::size_t>(file.count));
    Record rec(layout);
    for (std::int32_t n = 1; n <= file.count; ++n) {
        rec.setBytes(file.record(n, layout.length));
        out.push_back(rec);
    }
    return out;
}

void refusePartialRecord(std::string_view systemPath, const WholeRecords &file, std::int32_t length)
{
    if (file.partialBytes == 0)
        return;
    throw FileError(qd::files::hostPath(systemPath).string(),
                    "The file ends in an incomplete record (" + std::to_string(file.partialBytes) + " of " +
                        std::to_string(length) + " bytes after record " + std::to_string(file.count) +
                        "); it was left as it is");
}

void rewriteRecords(std::string_view masterPath, std::string_view workPath, std::int32_t length,
                    std::string_view bytes)
{
    if (bytes.size() % static_cast<std::size_t>(length) != 0)
        throw FileError(qd::files::hostPath(masterPath).string(), "The new content is not made of whole records");
    // The work copy is written in one piece: the file layer takes the whole content as one
    // record of its length, so ten thousand records cost one write, not ten thousand.
    const auto piece = bytes.empty() || bytes.size() > 0x7fffffffu ? length : static_cast<std::int32_t>(bytes.size());
    qd::files::replaceThroughWorkCopy(masterPath, workPath, piece, [&](qd::files::RecordFile &work) {
        if (piece == static_cast<std::int32_t>(bytes.size())) {
            work.put(1, bytes);
            return;
        }
        const auto count = static_cast<std::int32_t>(bytes.size() / static_cast<std::size_t>(length));
        for (std::int32_t n = 1; n <= count; ++n)
            work.put(n, bytes.substr(static_cast<std::size_t>(n - 1) * length, length));
    });
}

} // namespace qd::records
