// Rewriting a master or document file safely: the new content goes to a work copy in the same
// folder, is written whole and flushed to disk, and the work copy is renamed over the master in
// one step. A failure at any step leaves the master as it was and removes the work copy; the
// FileError names the master and carries the system's reason.
//
// Each routine takes the master's exclusive lock itself (file_lock.h). Locks nest within one
// program, so a caller that reads the master and rewrites it from what it read takes the lock
// first and holds it from its read through the replace; nobody else can change the master in
// between. A write-protected master (read-only mark, or no right to write it) is refused with
// the reason "Permission denied", as a write to it would be.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <utility>

#include "platform/files/file_error.h"
#include "platform/files/file_stamp.h"
#include "platform/files/record_file.h"

namespace qd::files {

// Writes the work copy `workSystemPath` (created new and empty, record length `length`)
// through `fill`, flushes it and renames it over `masterSystemPath`, which keeps its access
// rights. Throws FileError (the master untouched, the work copy removed) when any step fails,
// also when `fill` throws; a failure of the work copy is reported under the master's name.
void replaceThroughWorkCopy(std::string_view masterSystemPath, std::string_view workSystemPath,
                            std::int32_t length, const std::function<void(RecordFile &)> &fill);

// The same for a whole file's bytes, with a hidden work copy beside the file.
void writeFileSafely(std::string_view systemPath, std::string_view bytes);

// Replaces the first head.size() bytes of the file with `head` and keeps whatever follows them
// (a header or settings file whose first record one program owns, and whose rest it leaves to
// others), through writeFileSafely, under the file's exclusive lock from the read of the rest to
// the rename. A missing file is made of `head` alone; one whose rest cannot be read is not
// rewritten (FileError), so the rest is never lost. Returns the length of the file written.
std::size_t replaceFileHead(std::string_view systemPath, std::string_view head);

// One file's new content, for replaceFilePair.
struct FileContent {
    std::string_view systemPath;
    std::string_view bytes;
};

// The first file of a pair holds its new content and could not be put back after the second
// failed: the two files no longer belong together. The error names the file that keeps the
// first file's old content (the first file itself when it was new).
class PairNotRestored : public WriteNotUndone {
public:
    using WriteNotUndone::WriteNotUndone;
};

// Replaces two files that belong together (a document's header and its lines) so that no
// program that locks them sees one new and one old: both exclusive locks are taken (the first
// file's, then the second's), both work copies are written whole and flushed before either file
// is touched, then the first is renamed into place and the second after it. When the second
// cannot be put in place, the first is put back as it was (removed, when it did not exist) and
// the second's FileError is thrown. Throws PairNotRestored when even that fails. Returns the
// stamps of the two new files, taken while they were still locked.
std::pair<FileStamp, FileStamp> replaceFilePair(const FileContent &first, const FileContent &second);

} // namespace qd::files
