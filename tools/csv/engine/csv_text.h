// CSV text as the spreadsheets of a Japanese office write and read it: code page 932 bytes, CR LF
// after every line, "," between cells, a cell that holds a comma, a double quote or a line break
// enclosed in double quotes with its quotes doubled.
//
// Cells stay code page 932 bytes from the record to the file and back: no comma, double quote,
// blank or line-end byte can be the second byte of a double-byte character, so the cells are cut
// at those bytes without decoding them, and names come back with exactly the bytes they went out
// with.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qd::csv {

// A CSV file refused on import (or a CSV file that cannot be used): the message says which file,
// which line and which cell, in the words the user sees.
class CsvRefused : public std::runtime_error {
public:
    explicit CsvRefused(const std::string &message) : std::runtime_error(message) {}
};

// Appends one cell to a line being built: "," before every cell but the first, and the cell in
// double quotes (inner quotes doubled) when it holds ",", '"', CR or LF.
void appendCell(std::string &line, std::string_view cell, bool first);
// Ends the line with CR LF.
inline void endLine(std::string &line) { line += "\r\n"; }

// One cell as read: its bytes (quotes taken off), whether it stood in quotes, and the line of the
// file (from 1) on which it begins.
struct CsvCell {
    std::string_view bytes;
    bool quoted = false;
    int line = 0;
};

// Reads a CSV file's bytes line by line. A line end is CR LF, LF or a lone CR; a line end inside
// a quoted cell belongs to the cell. Blanks before an unquoted cell and after it are dropped, as
// the tools always read them; a quoted cell keeps its blanks. Blank lines, stray line ends and an
// end-of-file mark at the very end of the file are no rows.
class CsvReader {
public:
    // `fileName` and `captions` (the column captions, UTF-8) are only for the messages. The
    // bytes must outlive the reader.
    CsvReader(std::string_view bytes, std::string fileName, std::vector<std::string> captions = {});

    // The next row, or false at the end of the file. The cells point into the file's bytes (or
    // into the reader, for quoted cells with doubled quotes) and stay valid until the next call.
    // Throws CsvRefused for a quoted cell that never closes or is followed by other text.
    bool next(std::vector<CsvCell> &cells);
    // The line (from 1) on which the row last returned begins.
    int rowLine() const { return m_rowLine; }

private:
    [[noreturn]] void refuse(int line, std::size_t cell, const std::string &what) const;

    std::string_view m_bytes;
    std::string m_fileName;
    std::vector<std::string> m_captions;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_rowLine = 0;
    std::deque<std::string> m_unquoted; // cells whose doubled quotes were made single
};

// How a file's bytes stand against UTF-8: not UTF-8, a UTF-8 byte-order mark at the start, or
// text that is valid UTF-8 throughout and holds characters beyond ASCII that are not simply
// pairs of code page 932 half-width katakana.
enum class Utf8Kind { NotUtf8, ByteOrderMark, Utf8Text };
Utf8Kind utf8Kind(std::string_view bytes);

// How a file's bytes stand against UTF-16 (a spreadsheet's "Unicode text"): not UTF-16, or UTF-16
// with the low byte of each unit first or last. A byte-order mark tells the order; without one, a
// CSV file in UTF-16 shows itself by its commas and line ends, each followed (or preceded) by a
// zero byte, and by zero bytes that stand mostly on one side of the units. Code page 932 text
// holds no zero byte and never begins with FF FE or FE FF.
enum class Utf16Kind { NotUtf16, LittleEndian, BigEndian };
Utf16Kind utf16Kind(std::string_view bytes);

// The first character of a cell that is no text the system can show: one that the code page 932
// reading keeps as a byte mark (a lead byte without its second byte, a double-byte code that
// stands for no character, a byte that is no character), or a control character other than tab,
// CR and LF (NUL and DEL included), which every list shows as the same box as a byte mark. Tab,
// CR and LF are text: a spreadsheet's cell may hold them, and they come back as they went out.
struct NonText {
    std::size_t at = 0;     // offset of the character in the cell
    std::size_t length = 0; // its bytes: 1, or 2 for a double-byte code
    bool control = false;   // a control character rather than bytes that are no code page 932 text
};
std::optional<NonText> firstNonText(std::string_view bytes);

// Code page 932 bytes cut to at most `width` bytes, never in the middle of a double-byte
// character.
std::string_view cutCp932(std::string_view bytes, std::size_t width);

// The bytes without blanks (0x20) at either end, or at the right end only.
std::string_view trimBlanks(std::string_view s);
std::string_view trimRightBlanks(std::string_view s);

} // namespace qd::csv
