#include "platform/qt/file_list_box.h"

#include "platform/files/paths.h"
#include "platform/qt/list_order.h"

#include <algorithm>
#include <filesystem>

namespace qd::qt {

namespace {

char folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// One pattern against the whole name; "*" and "?" work on bytes, and "?" takes a whole UTF-8
// character.
bool matchOne(std::string_view name, std::string_view pattern)
{
    std::size_t n = 0, p = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    auto charLength = [&name](std::size_t at) {
        std::size_t len = 1;
        while (at + len < name.size() && (static_cast<unsigned char>(name[at + len]) & 0xC0) == 0x80)
            ++len;
        return len;
    };
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += charLength(n);
        } else if (p < pattern.size() && folded(pattern[p]) == folded(name[n])) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            starN += charLength(starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

bool fileNameMatches(std::string_view name, std::string_view pattern)
{
    std::size_t start = 0;
    while (start <= pattern.size()) {
        const std::size_t end = std::min(pattern.find(';', start), pattern.size());
        const std::string_view one = trimmed(pattern.substr(start, end - start));
        // "*.*" is every file, also one without an extension.
        if (!one.empty() && (one == "*.*" ? true : matchOne(name, one)))
            return true;
        start = end + 1;
    }
    return false;
}

std::vector<std::string> filesInFolder(std::string_view folder, std::string_view pattern)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    const fs::path dir = qd::files::hostPath(folder);
    fs::directory_iterator it(dir, ec);
    if (ec)
        return names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc))
            continue;
        const std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.')
            continue;
        if (fileNameMatches(name, pattern))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) { return listTextLess(a, b); });
    return names;
}

FileListBox::FileListBox(QWidget *parent) : ListBox(parent) {}

void FileListBox::setPath(const QString &folder)
{
    m_path = folder;
    refresh();
}

void FileListBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    refresh();
}

void FileListBox::refresh()
{
    clearLines();
    if (m_path.isEmpty())
        return;
    std::vector<ListBoxLine> lines;
    for (const std::string &name : filesInFolder(m_path.toStdString(), m_pattern.toStdString()))
        lines.push_back({QString::fromStdString(name), {}});
    addLines(lines);
}

} // namespace qd::qt
