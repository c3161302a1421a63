// A file of fixed-length records opened for random access, records numbered from 1.
//
// A RecordFile takes no lock of its own. A program that reads a shared file whole holds its
// shared lock (file_lock.h) while it reads; one that changes a shared file does so through the
// safe replace (safe_replace.h) or the append of whole records (record_append.h), and writes
// records with put() only into a work copy of its own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files/file_error.h"
#include "platform/files/file_stamp.h"

namespace qd::files {

class RecordFile {
public:
    enum class Mode {
        CreateIfMissing, // a missing file is created empty (the masters' usual open); a
                         // write-protected file opens for reading only
        ReadOnly,        // a missing file is an error; the file is never written
        CreateEmpty,     // the file is created, or emptied when it exists (work copies); a
                         // write-protected file is refused
    };

    RecordFile() = default;
    // Opens the file (system path, mapped by hostPath) with record length `length`.
    // Throws FileError when it cannot be opened.
    RecordFile(std::string_view systemPath, std::int32_t length, Mode mode = Mode::CreateIfMissing);
    // Closes the file; an error of the close is not reported here (close() reports it).
    ~RecordFile();
    RecordFile(RecordFile &&other) noexcept;
    RecordFile &operator=(RecordFile &&other) noexcept;
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    void open(std::string_view systemPath, std::int32_t length, Mode mode = Mode::CreateIfMissing);
    // Closes the file. When records were written since it was opened and the system reports
    // the close as failed (the written records may not have reached the disk), throws FileError
    // with the system's reason; the file is closed all the same. Closing a file that was only
    // read never throws.
    void close();
    bool isOpen() const { return m_fd >= 0; }
    // False when the file was opened for reading only (by its mode, or write-protected).
    bool isWritable() const { return m_fd >= 0 && m_writeError == 0; }

    std::int32_t recordLength() const { return m_length; }
    std::int64_t fileLength() const;
    // File length / record length rounded to the nearest whole number, ties to even:
    // 1.4 records count 1, 1.5 count 2, 2.5 count 2.
    std::int32_t recordCount() const;
    const std::filesystem::path &hostPath() const { return m_host; }
    // Size, times and identity of the open file (file_stamp.h).
    FileStamp stamp() const;

    // Record n (from 1) as exactly recordLength() bytes. Bytes past the end of the file
    // (a trailing partial record, or a record past the end) read as blanks.
    std::string get(std::int32_t n) const;
    // Every byte of the open file, read from this one descriptor: a count taken from the
    // length of what this returns is the count of these very bytes.
    std::string readAll() const;
    // Writes record n (from 1); `bytes` is padded with blanks or cut to the record length.
    // Records skipped over by a write past the end are filled with blanks.
    void put(std::int32_t n, std::string_view bytes);
    // Writes after the file's real end (its length / L rounded up) and returns the new
    // record number.
    std::int32_t append(std::string_view bytes);
    // Forces the written records to the disk.
    void flush();

private:
    void closeQuietly() noexcept;
    void checkOpen() const;

    int m_fd = -1;
    std::int32_t m_length = 0;
    int m_writeError = 0;   // why put() is refused (0: writable)
    bool m_written = false; // records were written since the open
    std::filesystem::path m_host;
};

// Record count of a file length for a record length: length / L rounded half to even.
std::int32_t recordCountOf(std::int64_t fileLength, std::int32_t recordLength);

// Whether the file is write-protected: the system refuses to write it, or it carries no write
// permission for anybody (the read-only mark of a file, which even an administrator's program
// respects here).
bool isWriteProtected(const std::filesystem::path &hostFile);

// Why a write to the file would be refused: 0 when it would not, EROFS when the file lies on a
// file system mounted read-only (the user is told the folder cannot be written, not that they
// lack a right), else EACCES.
int writeProtection(const std::filesystem::path &hostFile);

} // namespace qd::files
