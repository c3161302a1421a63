// A file of fixed-length records opened for random access, records numbered from 1.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files/file_error.h"

namespace qd::files {

class RecordFile {
public:
    enum class Mode {
        CreateIfMissing, // a missing file is created empty (the masters' usual open)
        ReadOnly,        // a missing file is an error; the file is never written
        CreateEmpty,     // the file is created, or emptied when it exists (work copies)
    };

    RecordFile() = default;
    // Opens the file (system path, mapped by hostPath) with record length `length`.
    // Throws FileError when it cannot be opened.
    RecordFile(std::string_view systemPath, std::int32_t length, Mode mode = Mode::CreateIfMissing);
    ~RecordFile();
    RecordFile(RecordFile &&other) noexcept;
    RecordFile &operator=(RecordFile &&other) noexcept;
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    void open(std::string_view systemPath, std::int32_t length, Mode mode = Mode::CreateIfMissing);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    std::int32_t recordLength() const { return m_length; }
    std::int64_t fileLength() const;
    // File length / record length rounded to the nearest whole number, ties to even:
    // 1.4 records count 1, 1.5 count 2, 2.5 count 2.
    std::int32_t recordCount() const;
    const std::filesystem::path &hostPath() const { return m_host; }

    // Record n (from 1) as exactly recordLength() bytes. Bytes past the end of the file
    // (a trailing partial record, or a record past the end) read as blanks.
    std::string get(std::int32_t n) const;
    // Writes record n (from 1); `bytes` is padded with blanks or cut to the record length.
    void put(std::int32_t n, std::string_view bytes);
    // Appends after the file's real end (its length / L rounded up) and returns the new
    // record number.
    std::int32_t append(std::string_view bytes);
    // Forces the written records to the disk.
    void flush();

private:
    int m_fd = -1;
    std::int32_t m_length = 0;
    bool m_readOnly = false;
    std::filesystem::path m_host;
};

// Record count of a file length for a record length: length / L rounded half to even.
std::int32_t recordCountOf(std::int64_t fileLength, std::int32_t recordLength);

} // namespace qd::files
