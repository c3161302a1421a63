// What a program remembers of a file it has read or written, to tell later whether another
// program has changed its content since: its size, its modification time and its identity on the
// disk. A rewrite through a work copy always gives the file a new identity, so even a change
// within the same clock tick and of the same size is seen; a change of its access rights alone
// is not a change of the content.
#pragma once

#include <cstdint>
#include <string_view>

namespace qd::files {

struct FileStamp {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0; // last change of the content
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

// The stamp of the file named by a system path now; a missing file gives a stamp with
// exists false.
FileStamp stampOf(std::string_view systemPath);

} // namespace qd::files
