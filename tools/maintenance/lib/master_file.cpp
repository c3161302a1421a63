#include "tools/maintenance/lib/master_file.h"

#include "platform/files/file_lock.h"
#include "platform/files/paths.h"
#include "platform/files/record_append.h"
#include "platform/files/record_file.h"
#include "platform/files/safe_replace.h"
#include "platform/qt/list_order.h"

#include <limits>

namespace qd::maint {

using qd::files::FileLock;
using qd::files::LockKind;
using qd::files::RecordFile;

MasterFile::MasterFile(std::string path, std::string workPath, const Layout &layout)
    : m_path(std::move(path)), m_workPath(std::move(workPath)), m_layout(&layout)
{
}

std::string MasterFile::readBytesLocked(bool create) const
{
    if (!create && !qd::files::fileExists(m_path))
        return {};
    const std::int32_t length = m_layout->length;
    const RecordFile file(m_path, length, create ? RecordFile::Mode::CreateIfMissing : RecordFile::Mode::ReadOnly);
    // The count is taken from the very bytes read; a trailing part of a record that counts as
    // a record is completed with blanks, as a record read past the end is.
    std::string bytes = file.readAll();
    const std::int32_t count = qd::files::recordCountOf(static_cast<std::int64_t>(bytes.size()), length);
    bytes.resize(static_cast<std::size_t>(count) * static_cast<std::size_t>(length), ' ');
    return bytes;
}

std::vector<Record> MasterFile::readAll(bool create) const
{
    const FileLock lock(std::string_view(m_path), LockKind::Shared);
    const std::string bytes = readBytesLocked(create);
    const auto length = static_cast<std::size_t>(m_layout->length);
    std::vector<Record> records;
    records.reserve(bytes.size() / length);
    for (std::size_t at = 0; at < bytes.size(); at += length) {
        records.emplace_back(*m_layout);
        records.back().setBytes(std::string_view(bytes).substr(at, length));
    }
    return records;
}

Record MasterFile::read(std::int32_t n) const
{
    const FileLock lock(std::string_view(m_path), LockKind::Shared);
    const RecordFile file(m_path, m_layout->length);
    Record rec(*m_layout);
    if (n >= 1 && n <= file.recordCount())
        rec.setBytes(file.get(n));
    return rec;
}

std::int32_t MasterFile::append(const Record &rec) const
{
    return qd::files::appendRecords(m_path, m_layout->length, rec.bytes());
}

bool MasterFile::changeRecord(std::int32_t n, const std::function<bool(const Record &)> &stillListed,
                              const std::function<void(Record &)> &edit) const
{
    // The changed record goes in with the others through the work copy: a failing disk never
    // leaves half a record in the master.
    const FileLock lock(std::string_view(m_path), LockKind::Exclusive);
    std::string bytes = readBytesLocked(true);
    const auto length = static_cast<std::size_t>(m_layout->length);
    if (n < 1 || static_cast<std::size_t>(n) > bytes.size() / length)
        return false;
    const std::size_t at = static_cast<std::size_t>(n - 1) * length;
    Record rec(*m_layout);
    rec.setBytes(std::string_view(bytes).substr(at, length));
    if (!stillListed(rec))
        return false;
    edit(rec);
    bytes.replace(at, length, rec.bytes());
    writeThroughWorkCopy(bytes);
    return true;
}

void MasterFile::writeThroughWorkCopy(const std::string &bytes) const
{
    // The records go into the work copy in one write: the copy taken as one record of their
    // total length.
    const bool fits = bytes.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    const auto length = static_cast<std::int32_t>(bytes.empty() || !fits ? m_layout->length : bytes.size());
    qd::files::replaceThroughWorkCopy(m_path, m_workPath, length, [&](RecordFile &work) {
        for (std::size_t at = 0, n = 1; at < bytes.size(); at += static_cast<std::size_t>(length), ++n)
            work.put(static_cast<std::int32_t>(n), std::string_view(bytes).substr(at, static_cast<std::size_t>(length)));
    });
}

std::optional<std::int32_t> MasterFile::rewrite(const Rewrite &how) const
{
    const FileLock lock(std::string_view(m_path), LockKind::Exclusive);
    const std::string bytes = readBytesLocked(true);
    const auto length = static_cast<std::size_t>(m_layout->length);
    const auto count = static_cast<std::int32_t>(bytes.size() / length);
    const auto slice = [&](std::int32_t n) {
        return std::string_view(bytes).substr(static_cast<std::size_t>(n - 1) * length, length);
    };
    // One buffer serves every record the callers look at.
    Record scratch(*m_layout);
    const std::function<const Record &(std::int32_t)> recordAt = [&](std::int32_t n) -> const Record & {
        scratch.setBytes(n >= 1 && n <= count ? slice(n) : std::string_view());
        return scratch;
    };
    if (how.check && !how.check(count, recordAt))
        return std::nullopt;

    std::vector<std::int32_t> kept;
    std::vector<std::string> keys;
    for (std::int32_t n = 1; n <= count; ++n) {
        const Record &rec = recordAt(n);
        if (how.keep && !how.keep(n, rec))
            continue;
        kept.push_back(n);
        if (how.sortKey)
            keys.push_back(how.sortKey(rec));
    }
    std::string out;
    out.reserve(kept.size() * length);
    if (how.sortKey) {
        for (int k : qd::qt::sortedOrder(keys))
            out += slice(kept[static_cast<std::size_t>(k)]);
    } else {
        for (std::int32_t n : kept)
            out += slice(n);
    }
    writeThroughWorkCopy(out);
    return static_cast<std::int32_t>(kept.size());
}

} // namespace qd::maint
