// A failure of a file operation: the path, what went wrong and the system's reason, in words a
// user can read.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace qd::files {

class FileError : public std::runtime_error {
public:
    FileError(const std::string &path, const std::string &what, const std::string &reason = {})
        : std::runtime_error(what + (reason.empty() ? std::string() : " (" + reason + ")") + ": " + path),
          m_path(path), m_reason(reason) {}
    const std::string &path() const { return m_path; }
    // The system's reason ("No space left on device", "Permission denied"); empty when the
    // failure is not the system's (a bad record number, a format error).
    const std::string &reason() const { return m_reason; }

private:
    std::string m_path;
    std::string m_reason;
};

// A write that failed and could not be taken back: the file may hold some or all of what was
// being written (an append whose cut back failed as well, the first file of a pair that could
// not be put back). Every other FileError of a write leaves the file as it was.
class WriteNotUndone : public FileError {
public:
    using FileError::FileError;
};

// Whether the failure `e` of a write may have left the file changed.
inline bool mayHaveChanged(const std::exception &e) { return dynamic_cast<const WriteNotUndone *>(&e) != nullptr; }

// What a message box shows of a failure: for a file error the file and the system's reason,
// "<path> (<reason>)", or the file alone when there is no reason; for anything else its text.
inline std::string failureText(const std::exception &e)
{
    if (const auto *fe = dynamic_cast<const FileError *>(&e))
        return fe->reason().empty() ? fe->path() : fe->path() + " (" + fe->reason() + ")";
    return e.what();
}

} // namespace qd::files
