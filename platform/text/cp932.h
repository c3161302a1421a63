// Code page 932 (Shift-JIS) text and byte-width fields.
//
// In memory all text is UTF-8. Files hold code page 932 bytes in fixed-width fields; the
// conversion happens only where a field is read from or written to a record.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qd::text {

// UTF-8 -> code page 932 bytes. A character that code page 932 cannot hold becomes "?".
std::string toCp932(std::string_view utf8);

// Code page 932 bytes -> UTF-8. NUL bytes are kept as NUL characters. A byte that is no code
// page 932 text (a byte no character starts with, a lead byte without its second byte, a
// double-byte code that stands for no character) is kept as a mark of its own (see below), so
// a record read and written back unchanged keeps every byte it had.
std::string fromCp932(std::string_view bytes);

// Marks of bytes that are no code page 932 text: the byte 0x80 + k reads as U+EF80 + k, a
// private-use character that code page 932 gives to none of its codes (its user-defined area
// is U+E000-U+E757), shown as a box by the fonts, and written back as the very byte.
inline constexpr char32_t kFirstByteMark = 0xEF80;
inline constexpr char32_t kLastByteMark = 0xEFFF;
constexpr bool isByteMark(char32_t cp) { return cp >= kFirstByteMark && cp <= kLastByteMark; }

// Counts the bytes that the decoding on this thread keeps as marks while the watch lives, so
// that a reader can tell the user once that a file holds bytes that are no text. Watches may
// be nested: each counts every mark made while it lives.
class ByteMarkWatch {
public:
    ByteMarkWatch();
    ~ByteMarkWatch();
    ByteMarkWatch(const ByteMarkWatch &) = delete;
    ByteMarkWatch &operator=(const ByteMarkWatch &) = delete;

    // Bytes kept as marks so far.
    std::size_t count() const { return m_count; }
    bool any() const { return m_count != 0; }

private:
    friend void noteByteMarks(std::size_t n);
    ByteMarkWatch *m_outer;
    std::size_t m_count = 0;
};

// The first bytes of code page 932 bytes that fromCp932() keeps as marks: a byte no character
// starts with, a lead byte without its second byte, or a double-byte code that stands for no
// character (both its bytes). `at` is their offset (npos when every byte is text), `length` 1,
// or 2 for such a code.
struct NonTextBytes {
    std::size_t at = std::string_view::npos;
    std::size_t length = 0;
};
NonTextBytes firstNonTextBytes(std::string_view bytes);

// Where the first character of a UTF-8 text stands (its byte offset) that code page 932 has
// no code for, so that it would be written as "?"; npos when every character has one.
std::size_t firstCharNotInCp932(std::string_view utf8);

// Width in code page 932 bytes of a UTF-8 text (half-width kana count 1, kanji 2).
std::size_t cp932Width(std::string_view utf8);

// The UTF-8 text cut to at most `width` code page 932 bytes, never half a double-byte
// character. No padding.
std::string cutToWidth(std::string_view utf8, std::size_t width);

// The UTF-8 text cut to its first `count` characters (code points). No padding.
std::string leftChars(std::string_view utf8, std::size_t count);

// Characters start .. start + count - 1 (counted from 1, code points) of a UTF-8 text; fewer
// when the text is shorter.
std::string midChars(std::string_view utf8, std::size_t start, std::size_t count);

// Number of characters (code points) of a UTF-8 text.
std::size_t charCount(std::string_view utf8);

// A field of exactly `width` code page 932 bytes: the text cut to the width (a double-byte
// character that would be split is dropped) and padded with blanks (0x20).
std::string toField(std::string_view utf8, std::size_t width);

// The UTF-8 text of a field's bytes, unchanged (trailing blanks kept; a lead byte that ends the
// field, the first half of a character cut by another writer, is kept as a mark). With
// stopAtNul the text ends before the first NUL byte.
std::string fromField(std::string_view bytes, bool stopAtNul = false);

// Trimming of the ordinary blank (0x20) only; full-width spaces and tabs are kept.
std::string trim(std::string_view s);
std::string trimLeft(std::string_view s);
std::string trimRight(std::string_view s);

// The text padded with blanks on the right to `count` characters, or cut to them
// (a fixed-length text variable of `count` characters).
std::string fixedChars(std::string_view utf8, std::size_t count);

// The text right-aligned by leading blanks in `count` characters; a longer text stands whole.
std::string padLeftChars(std::string_view utf8, std::size_t count);

// The text right-aligned in exactly `count` characters: leading blanks, or a longer text cut
// to its first `count` characters (a right-aligned fixed-length text variable).
std::string fixedCharsRight(std::string_view utf8, std::size_t count);

// The text without every occurrence of each character in `chars` (single-byte ASCII).
std::string removeChars(std::string_view s, std::string_view chars);

} // namespace qd::text
