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

// What a message box shows of a failure: for a file error the file and the system's reason,
// "<path> (<reason>)", or the file alone when there is no reason; for anything else its text.
inline std::string failureText(const std::exception &e)
{
    if (const auto *fe = dynamic_cast<const FileError *>(&e))
        return fe->reason().empty() ? fe->path() : fe->path() + " (" + fe->reason() + ")";
    return e.what();
}

} // namespace qd::files
