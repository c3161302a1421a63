// The system calls through which the file layer opens, reads and changes a file, each one a
// counted step of the fault plan (fault_plan.h), and the small helpers around them. Used only
// inside platform/files.
//
// A step that the plan makes fail behaves as the system call would have: it returns -1 with
// errno set. An injected write failure first writes half of what it was given, as a disk that
// fills up in the middle of a record does, so that the callers' clean-up is put to the test.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files/file_stamp.h"

namespace qd::files::io {

// The system's reason for an error number, in the words the system gives.
std::string reasonOf(int err);

// pwrite(2) of the whole buffer at `offset`, repeated after short writes and interruptions.
// Returns 0, or -1 with errno set (then some bytes may have been written).
int writeAllAt(int fd, const char *data, std::size_t size, off_t offset);
// write(2) of the whole buffer at the current position; as writeAllAt.
int writeAll(int fd, const char *data, std::size_t size);
// fsync(2); a file system that cannot sync (EINVAL, EROFS) counts as synced.
int flush(int fd);
// close(2); the descriptor is gone afterwards whatever the result.
int close(int fd);
int rename(const char *from, const char *to);
int truncate(int fd, off_t length);
int truncate(const char *path, off_t length);
// open(2) and mkstemp(3): counted as opens. read(2) and pread(2), one call each: counted as reads.
int open(const char *path, int flags, mode_t mode = 0);
int makeTemp(char *pattern);
ssize_t read(int fd, void *data, std::size_t size);
ssize_t readAt(int fd, void *data, std::size_t size, off_t offset);

// The name of a hidden file beside the file `name` (a lock, work or backup file): "." + name +
// `suffix`. When that would pass the longest file name the host allows, the name is cut on a
// character boundary and followed by "~" and a digest of the whole name, so that it still stands
// for this one file.
std::string hiddenName(std::string_view name, std::string_view suffix);

// `fd` when it is an open regular file; otherwise closes it and returns -1 with errno set (a
// folder: EISDIR). A failed open (-1) passes through with its errno.
int regularOnly(int fd);

// The stamp of an open file, and of a file by its host path (file_stamp.h).
FileStamp stampOfOpen(int fd);
FileStamp stampOfHost(const std::filesystem::path &hostFile);

} // namespace qd::files::io
