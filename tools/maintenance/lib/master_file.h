// A master file of the maintenance tools, opened by its path for each operation and closed when
// the operation ends, under the file locks that the programs of one install folder share: reads
// take the shared lock, appends and rewrites the exclusive one. Nothing is held open between two
// operations, so a rewrite by quotedesk or another tool in between is seen by the next read and
// never takes this tool's writes with an unlinked file.
//
// A record that a tool chose from its list is read again before it is changed or marked, and
// written back only when it still is the record that was listed; a rewrite keeps the master as
// it was when any step fails (records/whole_file.h). Only whole records count: a master that ends
// in a part of a record shows its whole records, and every append, change and rewrite of it is
// refused (qd::files::FileError naming the file, its size and why), so the master stays as it is.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/record.h"
#include "records/whole_file.h"

namespace qd::maint {

using qd::records::Layout;
using qd::records::Record;

class MasterFile {
public:
    // `path` and `workPath` are system paths (install folder + "\data\MAKER.TXT", + "\data\WMAKER.TXT").
    MasterFile(std::string path, std::string workPath, const Layout &layout);

    const std::string &path() const { return m_path; }
    const Layout &layout() const { return *m_layout; }

    // Every whole record in file order. A missing master is created empty.
    std::vector<Record> readAll() const;
    // The same with the file's size, for the lists that tell the user of a part of a record.
    qd::records::WholeRecords readFile() const;
    // Record n (from 1) as it stands now (blank when it is not a whole record of the file).
    Record read(std::int32_t n) const;

    // Looks at the records as they stand under the lock: the number of records and record n
    // (from 1; the reference holds until the next call). False writes nothing.
    using RecordCheck =
        std::function<bool(std::int32_t count, const std::function<const Record &(std::int32_t n)> &recordAt)>;

    // Writes the record after the file's last record, whatever was read before; returns its
    // number. With `check`, the master is read afresh under the exclusive lock that the append
    // holds, and nothing is written when `check` refuses (nullopt): no other program can add the
    // same record between the look and the write.
    std::optional<std::int32_t> append(const Record &rec, const RecordCheck &check = {}) const;

    // Reads record n again; when `stillListed` holds for it, `edit` changes it and the master is
    // written again with it in its place (the bytes as read, only the edited fields replaced),
    // through the work copy. Returns false, and writes nothing, when the record is no longer the
    // one listed (or no longer there).
    bool changeRecord(std::int32_t n, const std::function<bool(const Record &)> &stillListed,
                      const std::function<void(Record &)> &edit) const;

    struct Rewrite {
        // Runs before anything is written, with the records as they stand now: false writes
        // nothing.
        RecordCheck check;
        // Whether record n (from 1) stays in the file.
        std::function<bool(std::int32_t n, const Record &)> keep;
        // The order of the kept records: ascending sort key in the order of the sorted lists,
        // equal keys in file order. Without a key the file order stays.
        std::function<std::string(const Record &)> sortKey;
    };
    // Rewrites the master through its work copy with the kept records, numbered from 1 without
    // gaps; the work copy takes the master's name in one step. Returns the number of records
    // kept, or nullopt when `check` refused. A failure throws FileError and leaves the master as
    // it was, without a work copy.
    std::optional<std::int32_t> rewrite(const Rewrite &how) const;

private:
    // A missing master is made empty, as the tools' openers make it.
    void createIfMissing() const;
    // The master's whole records, made empty when missing; refused when it ends in a part of a
    // record. The caller holds the lock.
    std::string readBytesLocked() const;
    // Runs `check` on the records of `bytes` (the master as read under the lock).
    bool passes(const RecordCheck &check, std::string_view bytes) const;

    std::string m_path;
    std::string m_workPath;
    const Layout *m_layout;
};

} // namespace qd::maint
