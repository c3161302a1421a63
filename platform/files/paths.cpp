#include "platform/files/paths.h"

#include "platform/files/file_error.h"
#include "platform/files/io_steps.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace fs = std::filesystem;

namespace qd::files {

namespace {

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

fs::path homeDir()
{
    if (const char *h = std::getenv("HOME"); h && *h)
        return h;
    if (const passwd *pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/tmp";
}

// The name under which `name` exists in the folder `dir`: the same spelling when it exists
// as given, else the first entry (in name order) that differs only in letter case. Empty
// when there is none.
std::string findEntry(const fs::path &dir, const std::string &name)
{
    std::error_code ec;
    if (fs::symlink_status(dir / name, ec).type() != fs::file_type::not_found && !ec)
        return name;
    std::string found;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (sameIgnoringCase(entry, name) && (found.empty() || entry < found))
            found = entry;
    }
    return found;
}

// "c:", "C:" (alone or followed by a separator) at the start of a path.
bool startsWithDriveC(std::string_view p)
{
    return p.size() >= 2 && (p[0] == 'c' || p[0] == 'C') && p[1] == ':' && (p.size() == 2 || p[2] == '/');
}

} // namespace

fs::path driveCRoot()
{
    if (const char *e = std::getenv("QUOTEDESK_DRIVE_C"); e && *e)
        return e;
    return homeDir() / ".quotedesk" / "drive_c";
}

fs::path hostPath(std::string_view systemPath)
{
    std::string p(systemPath);
    for (char &c : p)
        if (c == '\\')
            c = '/';

    fs::path result;
    std::string_view rest = p;
    if (startsWithDriveC(rest)) {
        result = driveCRoot();
        rest.remove_prefix(2);
    } else if (!rest.empty() && rest[0] == '/') {
        result = "/";
    }

    // Walk the components, finding each existing one whatever the case of its name. Once a
    // component does not exist, the rest keep the spelling given.
    bool lookup = true;
    std::size_t pos = 0;
    while (pos <= rest.size()) {
        const std::size_t slash = rest.find('/', pos);
        const std::size_t end = slash == std::string_view::npos ? rest.size() : slash;
        const std::string comp(rest.substr(pos, end - pos));
        pos = end + 1;
        if (comp.empty() || comp == ".") {
            if (slash == std::string_view::npos)
                break;
            continue;
        }
        if (comp == "..") {
            result /= comp;
        } else if (lookup) {
            const fs::path dir = result.empty() ? fs::path(".") : result;
            const std::string found = findEntry(dir, comp);
            if (found.empty()) {
                lookup = false;
                result /= comp;
            } else {
                result /= found;
            }
        } else {
            result /= comp;
        }
        if (slash == std::string_view::npos)
            break;
    }
    if (result.empty())
        result = ".";
    return result;
}

std::string systemPath(const fs::path &host) { return host.generic_string(); }

bool fileExists(std::string_view systemPath)
{
    std::error_code ec;
    return fs::is_regular_file(hostPath(systemPath), ec);
}

bool dirExists(std::string_view systemPath)
{
    std::error_code ec;
    return fs::is_directory(hostPath(systemPath), ec);
}

void makeDir(std::string_view systemPath)
{
    const fs::path host = hostPath(systemPath);
    std::error_code ec;
    fs::create_directories(host, ec);
    if (ec || !fs::is_directory(host))
        throw FileError(host.string(), "The folder cannot be created",
                        ec ? ec.message() : io::reasonOf(EEXIST));
}

void removeFile(std::string_view systemPath)
{
    const fs::path host = hostPath(systemPath);
    if (::unlink(host.c_str()) != 0 && errno != ENOENT)
        throw FileError(host.string(), "The file cannot be deleted", io::reasonOf(errno));
}

void changeDir(std::string_view systemPath)
{
    const fs::path host = hostPath(systemPath);
    if (::chdir(host.c_str()) != 0)
        throw FileError(host.string(), "The folder cannot be opened", io::reasonOf(errno));
}

fs::path currentDir()
{
    std::error_code ec;
    fs::path p = fs::current_path(ec);
    if (ec)
        throw FileError(".", "The working folder cannot be read", ec.message());
    return p;
}

} // namespace qd::files
