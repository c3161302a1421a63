// Advisory locks that keep the twenty programs of one install folder from losing each other's
// writes.
//
// A file is locked through a lock file beside it (".<name in lower case>.lock" in the same
// folder, a name too long for that cut short), never through the file itself: a rewrite renames
// a work copy over the master, and a lock on the old file would not cover the new one. The lock
// file is hidden and ends in ".lock", so no list of documents, SELECT files, set files, price
// files, page images or CSV files ever shows it; it stays in the folder (removing it could let
// two programs lock two different files of one name).
//
// Every rewrite or append holds an exclusive lock from the read it depends on to the rename; a
// reader that reads a file whole holds a shared lock while it reads. The file layer takes these
// itself (safe_replace.h, record_append.h, file_read.h); a caller that reads a file and then
// rewrites it from what it read takes the exclusive lock first and holds it across both:
//
//     FileLock lock(masterPath, LockKind::Exclusive);   // nobody changes the master from here
//     ... read the master ...
//     replaceThroughWorkCopy(masterPath, workPath, L, fill);  // locks again: nests, no wait
//
// The locks are open-file-description record locks, which network shares carry to the server,
// and which end with the process that holds them, so a program that crashes leaves no stale
// lock behind. A program waits a short time (kLockWait) for another program's lock, then gets
// LockBusy, whose reason tells the user that the file is in use by another program.
//
// Within one program the locks nest: a program that holds a file's lock may lock it again
// (shared or exclusive) without waiting for itself; a shared lock is raised to exclusive when an
// exclusive one is asked for, and goes back to shared when that one is released. The programs
// are single-threaded; threads of one program do not exclude each other. A process made by fork
// shares the locks its parent held at that moment, so tests that start a second program by fork
// do so before they lock anything.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files/file_error.h"

namespace qd::files {

enum class LockKind { Shared, Exclusive };

// How long a program waits for another program's lock before it gives up.
inline constexpr std::chrono::milliseconds kLockWait{3000};

// Another program held the lock for longer than the wait. Its reason is what the user reads.
class LockBusy : public FileError {
public:
    explicit LockBusy(const std::string &path)
        : FileError(path, "The file is in use by another program", "他のプログラムで使用中です") {}
};

class FileLock {
public:
    FileLock() = default;
    // Locks the file named by `systemPath` (a system path, mapped by hostPath; the file need not
    // exist). Waits at most `wait` for another program's lock, then throws LockBusy. Throws
    // FileError when the lock file cannot be made; a shared lock in a folder where nobody may
    // write (or that does not exist) is granted without one, since no program can rewrite a
    // file there.
    explicit FileLock(std::string_view systemPath, LockKind kind, std::chrono::milliseconds wait = kLockWait);
    // The same for a path of the host that is already mapped.
    static FileLock forHostFile(const std::filesystem::path &hostFile, LockKind kind,
                                std::chrono::milliseconds wait = kLockWait);
    ~FileLock();
    FileLock(FileLock &&other) noexcept;
    FileLock &operator=(FileLock &&other) noexcept;
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Gives this lock up (the program keeps the file locked while other nested locks remain).
    void release();
    bool held() const { return !m_key.empty(); }
    LockKind kind() const { return m_kind; }

    // The lock file that stands for `hostFile`.
    static std::filesystem::path lockPathOf(const std::filesystem::path &hostFile);

private:
    void acquire(const std::filesystem::path &hostFile, LockKind kind, std::chrono::milliseconds wait);

    std::string m_key; // the lock file's canonical path; empty when nothing is held
    LockKind m_kind = LockKind::Shared;
};

} // namespace qd::files
