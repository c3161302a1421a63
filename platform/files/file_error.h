// A failure of a file operation: the path, what went wrong and the system's reason, in words a
// user can read.
#pragma once

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

} // namespace qd::files
