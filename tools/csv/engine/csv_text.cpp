#include "tools/csv/engine/csv_text.h"

#include <algorithm>
#include <cstring>

#include "platform/text/cp932.h"

namespace qd::csv {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

bool isCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool isControl(unsigned char c) { return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F; }
bool isSeparator(unsigned char c) { return c == ',' || c == '\r' || c == '\n'; }

} // namespace

void appendCell(std::string &line, std::string_view cell, bool first)
{
    if (!first)
        line += ',';
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += cell;
        return;
    }
    line += '"';
    for (char c : cell) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

CsvReader::CsvReader(std::string_view bytes, std::string fileName, std::vector<std::string> captions)
    : m_fileName(std::move(fileName)), m_captions(std::move(captions))
{
    // Line ends, blanks and a DOS end-of-file mark after the last row are no rows: a spreadsheet
    // may leave them, and the tools never wrote a record for them.
    std::size_t end = bytes.size();
    while (end > 0 && (isLineEnd(bytes[end - 1]) || isBlank(bytes[end - 1]) || bytes[end - 1] == '\x1a'))
        --end;
    m_bytes = bytes.substr(0, end);
}

void CsvReader::refuse(int line, std::size_t cell, const std::string &what) const
{
    const std::string name = cell < m_captions.size() ? m_captions[cell] : std::to_string(cell + 1) + " 項目目";
    throw CsvRefused(m_fileName + " の " + std::to_string(line) + " 行目：" + name + " の" + what);
}

bool CsvReader::next(std::vector<CsvCell> &cells)
{
    cells.clear();
    m_unquoted.clear();
    if (m_pos >= m_bytes.size())
        return false;
    m_rowLine = m_line;
    const char *const data = m_bytes.data();
    const std::size_t size = m_bytes.size();
    std::size_t p = m_pos;

    for (;;) {
        while (p < size && isBlank(data[p]))
            ++p;
        CsvCell cell;
        cell.line = m_line;
        if (p < size && data[p] == '"') {
            // Quoted: runs to the closing quote; a doubled quote stands for one.
            cell.quoted = true;
            const std::size_t start = ++p;
            bool doubled = false;
            for (;;) {
                const void *q = std::memchr(data + p, '"', size - p);
                if (!q)
                    refuse(cell.line, cells.size(), "「\"」が閉じないままファイルが終わっています。");
                const std::size_t at = static_cast<std::size_t>(static_cast<const char *>(q) - data);
                for (std::size_t i = p; i < at; ++i)
                    if (data[i] == '\n' || (data[i] == '\r' && (i + 1 >= size || data[i + 1] != '\n')))
                        ++m_line;
                if (at + 1 < size && data[at + 1] == '"') {
                    doubled = true;
                    p = at + 2;
                    continue;
                }
                cell.bytes = std::string_view(data + start, at - start);
                p = at + 1;
                break;
            }
            if (doubled) {
                std::string &s = m_unquoted.emplace_back();
                s.reserve(cell.bytes.size());
                for (std::size_t i = 0; i < cell.bytes.size(); ++i) {
                    s += cell.bytes[i];
                    if (cell.bytes[i] == '"')
                        ++i;
                }
                cell.bytes = s;
            }
            while (p < size && isBlank(data[p]))
                ++p;
            if (p < size && data[p] != ',' && !isLineEnd(data[p]))
                refuse(m_line, cells.size(), "閉じた「\"」の後に文字があります。");
        } else {
            const std::size_t start = p;
            while (p < size && data[p] != ',' && !isLineEnd(data[p]))
                ++p;
            cell.bytes = std::string_view(data + start, p - start);
            while (!cell.bytes.empty() && isBlank(cell.bytes.back()))
                cell.bytes.remove_suffix(1);
        }
        cells.push_back(cell);

        if (p >= size) {
            m_pos = p;
            return true;
        }
        if (data[p] == ',') {
            ++p;
            continue;
        }
        // A line end closes the row: CR LF, LF or a lone CR.
        if (data[p] == '\r' && p + 1 < size && data[p + 1] == '\n')
            ++p;
        ++p;
        ++m_line;
        m_pos = p;
        return true;
    }
}

Utf8Kind utf8Kind(std::string_view bytes)
{
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
        return Utf8Kind::ByteOrderMark;
    // Half-width katakana are single bytes A1-DF in code page 932, and two of them can make a
    // valid two-byte UTF-8 character (C2-DF followed by A1-BF). Text whose every character beyond
    // ASCII is such a pair is taken for code page 932; any other character beyond ASCII (every
    // kana and kanji in UTF-8 takes three bytes) makes it UTF-8.
    bool beyondKanaPairs = false;
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        unsigned minCode = 0;
        unsigned code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            minCode = 0x80;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            minCode = 0x800;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            minCode = 0x10000;
            code = c & 0x07;
        } else {
            return Utf8Kind::NotUtf8;
        }
        if (i + static_cast<std::size_t>(more) >= n)
            return Utf8Kind::NotUtf8;
        for (int k = 1; k <= more; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((t & 0xC0) != 0x80)
                return Utf8Kind::NotUtf8;
            code = (code << 6) | (t & 0x3F);
        }
        if (code < minCode || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return Utf8Kind::NotUtf8;
        if (more > 1 || static_cast<unsigned char>(bytes[i + 1]) < 0xA1)
            beyondKanaPairs = true;
        i += static_cast<std::size_t>(more) + 1;
    }
    return beyondKanaPairs ? Utf8Kind::Utf8Text : Utf8Kind::NotUtf8;
}

Utf16Kind utf16Kind(std::string_view bytes)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE)
        return Utf16Kind::LittleEndian;
    if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF)
        return Utf16Kind::BigEndian;
    // Code page 932 text holds no zero byte: nothing more to look at.
    if (bytes.find('\0') == std::string_view::npos)
        return Utf16Kind::NotUtf16;
    // Units of two bytes from the start: an ASCII character in UTF-16 is its byte beside a zero.
    std::size_t zeroFirst = 0, zeroLast = 0, separatorsLittle = 0, separatorsBig = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned char a = at(i), b = at(i + 1);
        zeroFirst += a == 0;
        zeroLast += b == 0;
        separatorsLittle += b == 0 && isSeparator(a);
        separatorsBig += a == 0 && isSeparator(b);
    }
    // A stray zero byte or two in code page 932 text do not make it UTF-16 (they are refused as
    // what they are); the characters of UTF-16 text whose low byte is zero (U+3000, the
    // full-width space, among them) are few beside its ASCII.
    if (separatorsLittle > 0 && zeroLast >= 2 && zeroLast > 2 * zeroFirst)
        return Utf16Kind::LittleEndian;
    if (separatorsBig > 0 && zeroFirst >= 2 && zeroFirst > 2 * zeroLast)
        return Utf16Kind::BigEndian;
    return Utf16Kind::NotUtf16;
}

std::optional<NonText> firstNonText(std::string_view bytes)
{
    // What the code page 932 reading keeps as a mark is no text (what quotedesk shows of a
    // master is what it shows of the cell); a control byte before it is told first. A control
    // byte is never the second byte of a double-byte character.
    const qd::text::NonTextBytes marked = qd::text::firstNonTextBytes(bytes);
    const std::size_t end = std::min(marked.at, bytes.size());
    for (std::size_t i = 0; i < end; ++i)
        if (isControl(static_cast<unsigned char>(bytes[i])))
            return NonText{i, 1, true};
    if (marked.at == std::string_view::npos)
        return std::nullopt;
    return NonText{marked.at, marked.length, false};
}

std::string_view cutCp932(std::string_view bytes, std::size_t width)
{
    if (bytes.size() <= width)
        return bytes;
    std::size_t i = 0;
    while (i < width) {
        const std::size_t step = isCp932Lead(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + step > width)
            break;
        i += step;
    }
    return bytes.substr(0, i);
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return trimRightBlanks(s);
}

std::string_view trimRightBlanks(std::string_view s)
{
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace qd::csv
