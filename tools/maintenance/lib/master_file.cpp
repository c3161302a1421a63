#include "tools/maintenance/lib/master_file.h"

#include "platform/files/file_lock.h"
#include "platform/files/paths.h"
#include "platform/files/record_file.h"
#include "platform/text/list_order.h"
#include "records/whole_file.h"

namespace qd::maint {

using qd::files::FileLock;
using qd::files::LockKind;
using qd::files::RecordFile;

MasterFile::MasterFile(std::string path, std::string workPath, const Layout &layout)
    : m_path(std::move(path)), m_workPath(std::move(workPath)), m_layout(&layout)
{
}

void MasterFile::createIfMissing() const
{
    if (!qd::files::fileExists(m_path))
        RecordFile(m_path, m_layout->length, RecordFile::Mode::CreateIfMissing);
}

std::string MasterFile::readBytesLocked() const
{
    createIfMissing();
    qd::records::WholeRecords file = qd::records::readWholeRecords(m_path, m_layout->length);
    qd::records::refusePartialRecord(m_path, file, m_layout->length);
    return std::move(file.bytes);
}

qd::records::WholeRecords MasterFile::readFile() const
{
    const FileLock lock(std::string_view(m_path), LockKind::Shared);
    createIfMissing();
    return qd::records::readWholeRecords(m_path, m_layout->length);
}

std::vector<Record> MasterFile::readAll() const { return qd::records::recordsOf(readFile(), *m_layout); }

Record MasterFile::read(std::int32_t n) const
{
    const FileLock lock(std::string_view(m_path), LockKind::Shared);
    const RecordFile file(m_path, m_layout->length);
    Record rec(*m_layout);
    if (n >= 1 && n <= file.fileLength() / m_layout->length)
        rec.setBytes(file.get(n));
    return rec;
}

bool MasterFile::passes(const RecordCheck &check, std::string_view bytes) const
{
    const auto length = static_cast<std::size_t>(m_layout->length);
    const auto count = static_cast<std::int32_t>(bytes.size() / length);
    // One buffer serves every record the check looks at.
    Record scratch(*m_layout);
    const std::function<const Record &(std::int32_t)> recordAt = [&](std::int32_t n) -> const Record & {
        scratch.setBytes(n >= 1 && n <= count ? bytes.substr(static_cast<std::size_t>(n - 1) * length, length)
                                              : std::string_view());
        return scratch;
    };
    return check(count, recordAt);
}

std::optional<std::int32_t> MasterFile::append(const Record &rec, const RecordCheck &check) const
{
    const FileLock lock(std::string_view(m_path), LockKind::Exclusive);
    if (check && !passes(check, readBytesLocked()))
        return std::nullopt;
    return qd::records::appendWholeRecords(m_path, m_layout->length, rec.bytes());
}

bool MasterFile::changeRecord(std::int32_t n, const std::function<bool(const Record &)> &stillListed,
                              const std::function<void(Record &)> &edit) const
{
    // The changed record goes in with the others through the work copy: a failing disk never
    // leaves half a record in the master.
    const FileLock lock(std::string_view(m_path), LockKind::Exclusive);
    std::string bytes = readBytesLocked();
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
    qd::records::rewriteRecords(m_path, m_workPath, m_layout->length, bytes);
    return true;
}

std::optional<std::int32_t> MasterFile::rewrite(const Rewrite &how) const
{
    const FileLock lock(std::string_view(m_path), LockKind::Exclusive);
    const std::string bytes = readBytesLocked();
    const auto length = static_cast<std::size_t>(m_layout->length);
    const auto count = static_cast<std::int32_t>(bytes.size() / length);
    const auto slice = [&](std::int32_t n) {
        return std::string_view(bytes).substr(static_cast<std::size_t>(n - 1) * length, length);
    };
    if (how.check && !passes(how.check, bytes))
        return std::nullopt;

    std::vector<std::int32_t> kept;
    std::vector<std::string> keys;
    Record rec(*m_layout);
    for (std::int32_t n = 1; n <= count; ++n) {
        rec.setBytes(slice(n));
        if (how.keep && !how.keep(n, rec))
            continue;
        kept.push_back(n);
        if (how.sortKey)
            keys.push_back(how.sortKey(rec));
    }
    std::string out;
    out.reserve(kept.size() * length);
    if (how.sortKey) {
        for (int k : qd::text::sortedOrder(keys))
            out += slice(kept[static_cast<std::size_t>(k)]);
    } else {
        for (std::int32_t n : kept)
            out += slice(n);
    }
    qd::records::rewriteRecords(m_path, m_workPath, m_layout->length, out);
    return static_cast<std::int32_t>(kept.size());
}

} // namespace qd::maint
