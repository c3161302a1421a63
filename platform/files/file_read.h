// Reading a shared file whole while no other program rewrites it.
#pragma once

#include <string>
#include <string_view>

#include "platform/files/file_error.h"
#include "platform/files/file_stamp.h"

namespace qd::files {

// A file's content as one program read it.
struct FileSnapshot {
    bool exists = false;
    std::string bytes;
    FileStamp stamp; // of the very file the bytes came from
};

// Reads the whole file under its shared lock (file_lock.h), bytes and stamp from one open file.
// A missing file gives a snapshot with exists false. To read two files that belong together
// (a document's header and lines) as one, the caller holds both shared locks, the first file's
// then the second's, across both reads. Throws FileError with the system's reason when the
// file cannot be read, LockBusy when another program keeps it locked.
FileSnapshot readWholeFile(std::string_view systemPath);

} // namespace qd::files
