// A page image as read back from its file: the enhanced-metafile records of one printed page,
// each one checked before anything is drawn from it.
//
// The reader accepts the records a page is made of (header, mapping, fonts, pens, text, rules,
// end of file) and refuses anything else with a PageImageError naming the record and the fault:
// a size that does not fit its type or the file, an offset outside its record, an object handle
// outside the table or used before it was made, a record after the end, a glyph or a rule
// larger than the page.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qd::emf {

// A page image that cannot be read: missing, unreadable, or not a well-formed page.
class PageImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Record types of a page image (the public enhanced-metafile numbers).
enum class RecordType : std::uint32_t {
    Header = 1,
    SetWindowExtEx = 9,
    SetWindowOrgEx = 10,
    SetViewportExtEx = 11,
    SetViewportOrgEx = 12,
    Eof = 14,
    SetMapMode = 17,
    SetBkMode = 18,
    MoveToEx = 27,
    SelectObject = 37,
    CreatePen = 38,
    DeleteObject = 40,
    LineTo = 54,
    Comment = 70,
    ExtCreateFontIndirectW = 82,
    ExtTextOutW = 84,
};

inline constexpr std::uint32_t kMapModeText = 1;
inline constexpr std::uint32_t kMapModeIsotropic = 7;
inline constexpr std::uint32_t kMapModeAnisotropic = 8;
inline constexpr std::uint32_t kBkTransparent = 1;
inline constexpr std::uint32_t kBkOpaque = 2;
// Handles with this bit name stock objects (black pen, system font, ...).
inline constexpr std::uint32_t kStockObject = 0x80000000u;

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect &) const = default;
};
struct Size {
    std::int32_t cx = 0, cy = 0;
    bool operator==(const Size &) const = default;
};

struct Header {
    Rect bounds;            // device units
    Rect frame;             // 0.01 mm
    std::uint32_t bytes = 0;
    std::uint32_t records = 0;
    std::uint16_t handles = 0; // size of the object table, slot 0 included
    Size device;            // reference device in pixels
    Size millimeters;       // reference device in millimetres
};

struct LogFont {
    std::int32_t height = 0; // negative: character height; positive: cell height
    std::int32_t width = 0;  // 0: natural width
    std::int32_t escapement = 0;  // tenths of a degree, counter-clockwise
    std::int32_t orientation = 0;
    std::int32_t weight = 0; // 0: normal
    std::uint8_t italic = 0, underline = 0, strikeOut = 0;
    std::uint8_t charSet = 0, outPrecision = 0, clipPrecision = 0, quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::u16string face; // up to 31 UTF-16 units, without the terminating NUL
    bool operator==(const LogFont &) const = default;
};

struct LogPen {
    std::uint32_t style = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none
    std::int32_t width = 0;   // logical units; 0 = one device pixel
    std::uint32_t color = 0;  // 0x00bbggrr
};

struct TextRun {
    std::int32_t x = 0, y = 0; // reference point, logical units
    std::uint32_t options = 0;
    std::uint32_t graphicsMode = 1;
    Rect bounds;               // device units
    std::u16string chars;
    std::vector<std::int32_t> dx; // advance of each UTF-16 unit; empty when the record has none
};

// One record. Only the members of its type carry meaning.
struct Record {
    RecordType type = RecordType::Eof;
    std::uint32_t offset = 0; // in the file
    std::uint32_t size = 0;
    std::int32_t x = 0, y = 0;   // points, origins and extents
    std::uint32_t value = 0;     // modes, colours, object handles
    LogFont font;                // ExtCreateFontIndirectW (value = handle)
    LogPen pen;                  // CreatePen (value = handle)
    TextRun text;                // ExtTextOutW
};

struct PageImage {
    Header header;
    std::vector<Record> records; // header first, end of file last
};

// The font of the texts a page draws before it selects one of its own: the standard face at
// 10 pt (35 units high).
LogFont defaultPageFont();

// Parses and checks a whole page image. Throws PageImageError. Besides the form of each record
// it refuses what no printed page holds and no player can draw in reasonable time: a frame or
// bounds whose width does not fit 32 bits, characters or rules larger than the paper, as the
// mapping in force when they are drawn makes them.
PageImage parsePageImage(std::string_view bytes);
// Reads and parses a page image file. Throws PageImageError (also for a missing file).
PageImage loadPageImage(const std::filesystem::path &file);

// UTF-8 <-> UTF-16 as page images hold their texts. Malformed input becomes U+FFFD.
std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

} // namespace qd::emf
