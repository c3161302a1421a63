// Appending whole records to a shared file of fixed-length records (the single items, for one).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/files/file_error.h"

namespace qd::files {

// Appends `records` (whole records of `length` bytes, one or more) at the file's real end: its
// length rounded up to whole records, so that a partial record an older program left keeps its
// bytes and is completed with blanks. The file's exclusive lock is held throughout; it nests with
// the caller's, so a caller that chose the new records from what it read (the next free code)
// takes the lock before that read and holds it through this call, and no other program can
// append in between. The records are written and flushed to the disk; on any failure the file is
// cut back to its old length, so no half record is ever left behind, and FileError is thrown
// with the system's reason. When even the cut back fails, the file may hold the records or a
// part of them: WriteNotUndone says so. A missing file is created; a write-protected file is
// refused.
// Returns the record number of the first record appended.
std::int32_t appendRecords(std::string_view systemPath, std::int32_t length, std::string_view records);

} // namespace qd::files
