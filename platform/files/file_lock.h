// Advisory locks that keep the twenty programs of one install folder from losing each other's
// writes.
//
// A file is locked through a lock file beside it (".<name in lower case>.lock" in the same
// folder), never through the file itself: a rewrite renames a work copy over the master, and a
// lock on the old file would not cover the new one. Every rewrite or append holds an exclusive
// lock from the read it depends on to the rename; a reader that reads a file whole holds a
// shared lock while it reads. The locks are open-file-description record locks, which network
// shares carry to the server, and which end with the process that holds them, so a program that
// crashes leaves no stale lock behind.
//
// Within one program the locks nest: a program that holds a file's exclusive lock may lock it
// again (shared or exclusive) without waiting for itself; a shared lock is raised to exclusive
// when an exclusive one is asked for, and goes back to shared when that one is released. The
// programs are single-threaded; threads of one program do not exclude each other.
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

// Another program held the lock for longer than the wait.
class LockBusy : public FileError {
public:
    explicit LockBusy(const std::string &path)
        : FileError(path, "The file is in use by another program", "locked by another program") {}
};

class FileLock {
public:
    FileLock() = default;
    // Locks the file named by `systemPath` (a system path, mapped by hostPath). Waits at most
    // `wait` for another program's lock, then throws LockBusy. Throws FileError when the lock
    // file cannot be made (a shared lock on a folder nobody may write to is granted without one:
    // no program can rewrite a file there).
    FileLock(std::string_view systemPath, LockKind kind, std::chrono::milliseconds wait = kLockWait);
    // The same for a host path that is already mapped.
    FileLock(const std::filesystem::path &hostFile, LockKind kind, std::chrono::milliseconds wait = kLockWait);
    ~FileLock();
    FileLock(FileLock &&other) noexcept;
    FileLock &operator=(FileLock &&other) noexcept;
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    void release();
    bool held() const { return !m_key.empty(); }
    LockKind kind() const { return m_kind; }

    // The lock file that stands for `hostFile`.
    static std::filesystem::path lockPathOf(const std::filesystem::path &hostFile);

private:
    void acquire(const std::filesystem::path &hostFile, LockKind kind, std::chrono::milliseconds wait);

    std::string m_key; // the lock file's path; empty when nothing is held
    LockKind m_kind = LockKind::Shared;
};

} // namespace qd::files
