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

std::vector<Record> MasterFile::readLocked(bool create) const
{
    std::vector<Record> records;
    if (!create && !qd::files::fileExists(m_path))
        return records;
    const std::int32_t length = m_layout->length;
    const RecordFile file(m_path, length, create ? RecordFile::Mode::CreateIfMissing : RecordFile::Mode::ReadOnly);
    // The count is taken from the very bytes read; a trailing part of a record reads as blanks.
    const std::string bytes = file.readAll();
    const std::int32_t count = qd::files::recordCountOf(static_cast<std::int64_t>(bytes.size()), length);
    records.reserve(static_cast<std::size_t>(count));
    const std::string_view all(bytes);
    for (std::int32_t n = 0; n < count; ++n) {
        const std::size_t at = static_cast<std::size_t>(n) * static_cast<std::size_t>(length);
        records.emplace_back(*m_layout);
        records.back().setBytes(at < all.size() ? all.substr(at, static_cast<std::size_t>(length)) : std::string_view());
    }
    return records;
}

std::vector<Record> MasterFile::readAll(bool create) const
{
    const FileLock lock(std::string_view(m_path), LockKind::Shared);
    return readLocked(create);
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
    std::vector<Record> records = readLocked(true);
    if (n < 1 || n > static_cast<std::int32_t>(records.size()))
        return false;
    Record &rec = records[static_cast<std::size_t>(n - 1)];
    if (!stillListed(rec))
        return false;
    edit(rec);
    writeThroughWorkCopy(records);
    return true;
}

void MasterFile::writeThroughWorkCopy(const std::vector<Record> &records, const std::vector<int> *order) const
{
    std::string bytes;
    const std::size_t count = order ? order->size() : records.size();
    bytes.reserve(count * static_cast<std::size_t>(m_layout->length));
    if (order) {
        for (int i : *order)
            bytes += records[static_cast<std::size_t>(i)].bytes();
    } else {
        for (const Record &rec : records)
            bytes += rec.bytes();
    }
    // The kept records go into the work copy in one write: the copy taken as one record of
    // their total length.
    const bool fits = bytes.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    const auto length = static_cast<std::int32_t>(bytes.empty() || !fits ? m_layout->length : bytes.size());
    qd::files::replaceThroughWorkCopy(m_path, m_workPath, length, [&](RecordFile &work) {
        if (bytes.empty())
            return;
        if (fits) {
            work.put(1, bytes);
            return;
        }
        for (std::size_t at = 0, n = 1; at < bytes.size(); at += static_cast<std::size_t>(length), ++n)
            work.put(static_cast<std::int32_t>(n), std::string_view(bytes).substr(at, static_cast<std::size_t>(length)));
    });
}

std::optional<std::int32_t> MasterFile::rewrite(const Rewrite &how) const
{
    const FileLock lock(std::string_view(m_path), LockKind::Exclusive);
    const std::vector<Record> records = readLocked(true);
    if (how.check && !how.check(records))
        return std::nullopt;

    std::vector<int> kept;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (!how.keep || how.keep(static_cast<std::int32_t>(i + 1), records[i]))
            kept.push_back(static_cast<int>(i));
    if (how.sortKey) {
        std::vector<std::string> keys;
        keys.reserve(kept.size());
        for (int i : kept)
            keys.push_back(how.sortKey(records[static_cast<std::size_t>(i)]));
        const std::vector<int> order = qd::qt::sortedOrder(keys);
        std::vector<int> sorted;
        sorted.reserve(kept.size());
        for (int k : order)
            sorted.push_back(kept[static_cast<std::size_t>(k)]);
        kept = std::move(sorted);
    }

    writeThroughWorkCopy(records, &kept);
    return static_cast<std::int32_t>(kept.size());
}

} // namespace qd::maint
