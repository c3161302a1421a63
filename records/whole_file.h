// A record file read and rewritten whole, as the tools change their masters: read every whole
// record under the file's lock, build the new content in memory, write it through the work copy.
//
// Only whole records count. Bytes after the last whole record (a record cut short by a copy or
// a full disk) are reported by the writers and never written over: a file that ends in a part of
// a record is left as it is until someone has looked at it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/record.h"

namespace qd::records {

struct WholeRecords {
    bool exists = false;
    std::string bytes;              // the whole records, count x length bytes
    std::int32_t count = 0;         // whole records
    std::int64_t partialBytes = 0;  // bytes after the last whole record

    std::string_view record(std::int32_t n, std::int32_t length) const // n from 1
    {
        return std::string_view(bytes).substr(static_cast<std::size_t>(n - 1) * length, length);
    }
};

// Reads the file (a system path) whole under its shared lock (which nests with a lock the caller
// holds). A missing file reads as no records and is not created. Throws qd::files::FileError
// when it cannot be read.
WholeRecords readWholeRecords(std::string_view systemPath, std::int32_t length);

// The whole records of a file as record buffers, for the lists that read a master from record 1
// to its count. A missing file has none and is not created.
std::vector<Record> readRecordList(std::string_view systemPath, const Layout &layout);

// Throws qd::files::FileError naming the file when it ends in a part of a record, so that no
// writer replaces or extends it.
void refusePartialRecord(std::string_view systemPath, const WholeRecords &file, std::int32_t length);

// Writes `bytes` (whole records of `length`) into the work copy, flushes it and renames it over
// the master (both system paths), under the master's exclusive lock; a caller that built the
// records from what it read holds that lock from its read on. On failure the master is as it
// was, the work copy is gone and qd::files::FileError says why.
void rewriteRecords(std::string_view masterPath, std::string_view workPath, std::int32_t length,
                    std::string_view bytes);

} // namespace qd::records
