// A failure of a file operation: the path and what went wrong, in words a user can read.
#pragma once

#include <stdexcept>
#include <string>

namespace qd::files {

class FileError : public std::runtime_error {
public:
    FileError(const std::string &path, const std::string &what)
        : std::runtime_error(what + ": " + path), m_path(path) {}
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace qd::files
