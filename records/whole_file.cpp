#include "records/whole_file.h"

#include "platform/files/file_error.h"
#include "platform/files/file_read.h"
#include "platform/files/paths.h"
#include "platform/files/safe_replace.h"

namespace qd::records {

using qd::files::FileError;

WholeRecords readWholeRecords(std::string_view systemPath, std::int32_t length)
{
    qd::files::FileSnapshot file = qd::files::readWholeFile(systemPath);
    WholeRecords out;
    out.exists = file.exists;
    const std::size_t whole = file.bytes.size() / static_cast<std::size_t>(length);
    out.count = static_cast<std::int32_t>(whole);
    out.partialBytes = static_cast<std::int64_t>(file.bytes.size() % static_cast<std::size_t>(length));
    file.bytes.resize(whole * static_cast<std::size_t>(length));
    out.bytes = std::move(file.bytes);
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
                        "); it was left as it is",
                    "最後のレコードが途中で切れています");
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
