// The page canvas: one printed page drawn as an enhanced metafile in layout units of 0.1 mm,
// origin at the top-left corner of the paper, y growing downwards.
//
// Mapping of a page image:
//   frame              0, 0 .. width x 100, height x 100 in 0.01 mm (the paper itself)
//   reference device   one pixel = 0.1 mm, so the device is width x 10 by height x 10 pixels
//   mapping mode       anisotropic; viewport origin 0,0 and extent = the device (set first),
//                      then window origin 0,0 and extent = the page in layout units
// so a layout unit is one device pixel, 0.1 mm of the paper, in every program that shows the file.
//
// Texts are drawn transparently with the top-left corner of their first character cell at the
// given point, in UTF-16, with an advance for every character: half an em for a character that
// takes one byte in code page 932, a whole em for one that takes two. Right alignment by leading
// blanks therefore holds whatever font a viewer substitutes. Rules are drawn with a solid black
// pen one layout unit wide (one pixel of the reference device).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/emf/page_image.h"
#include "platform/files/file_error.h"

namespace qd::emf {

// The face every layout prints with; players map it to a fixed-pitch Japanese Gothic.
inline constexpr std::string_view kStandardGothic = "標準ゴシック";
// Millimetres per point, the scale by which point sizes become font heights.
inline constexpr double kMmPerPoint = 0.3527781;

// A page image that cannot be written (data folder missing or read-only, disk full, the file
// kept locked by another program); the reason is the system's.
class PageWriteError : public qd::files::FileError {
public:
    PageWriteError(const std::filesystem::path &file, const std::string &what, const std::string &reason = {})
        : FileError(file.string(), what, reason), m_file(file) {}
    const std::filesystem::path &file() const { return m_file; }

private:
    std::filesystem::path m_file;
};

// What a layout asks of a font. Sizes are points; the font's character height becomes
// round(10 x size x 0.3527781) layout units (a 10 pt font is 35 units high).
struct FontSpec {
    std::string face{kStandardGothic};
    double pointSize = 10;
    bool bold = false;       // weight 700 instead of 400, when weight is 0
    std::int32_t weight = 0; // explicit weight; 0 = from bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool vertical = false;   // vertical writing: face "@" & face, escapement 270 degrees
    double angle = 0;        // degrees, counter-clockwise; ignored when vertical
    int widthPercent = 0;    // character width in percent of the natural one; 0 or 100 = natural
    std::uint8_t charSet = 1;
    bool operator==(const FontSpec &) const = default;
};

// The logical font a page image holds for a FontSpec.
LogFont makeLogFont(const FontSpec &spec);

// The width of a text in half-width cells: a character that takes one byte in code page 932
// takes one, any other two.
int halfWidthCells(std::string_view utf8);
// How far a text drawn in `spec` reaches from its point, in layout units, blanks included: the
// sum of the advances drawText gives its characters.
std::int32_t textAdvance(const FontSpec &spec, std::string_view utf8);

// Name of the page image of page `pageNo`: at least three digits, "001.emf", "012.emf",
// "123.emf", "1234.emf".
std::string pageImageName(int pageNo);

class PageCanvas {
public:
    // A fresh, empty page of widthMm x heightMm millimetres (A4 landscape by default).
    explicit PageCanvas(int widthMm = 296, int heightMm = 209);

    int widthMm() const { return m_widthMm; }
    int heightMm() const { return m_heightMm; }

    // The font of the following texts. It stays in force across pages.
    void setFont(const FontSpec &spec);
    const FontSpec &font() const { return m_font; }

    // Draws `utf8` with the top-left corner of its first character cell at (x, y). Nothing is
    // cut or wrapped.
    void drawText(std::int32_t x, std::int32_t y, std::string_view utf8);
    // A rule from the current position; LineTo moves the current position to its end.
    void moveTo(std::int32_t x, std::int32_t y);
    void lineTo(std::int32_t x, std::int32_t y);

    // The complete page image of what has been drawn so far (header and end record included).
    std::string bytes() const;
    // Writes the page image to `file` through the file layer, under the file's lock (replacing
    // any file of that name; a failure leaves an existing file as it was) and starts a fresh,
    // empty page. Throws PageWriteError; the page drawn so far is then kept.
    void savePage(const std::filesystem::path &file);
    // Drops what has been drawn and starts a fresh, empty page.
    void clear();

private:
    void append(char *record);
    void selectFontIfNeeded();
    void growBounds(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

    int m_widthMm;
    int m_heightMm;
    FontSpec m_font;
    std::string m_body;      // every record after the header, without the end record
    std::uint32_t m_records = 0;
    std::uint32_t m_fontHandle = 0; // 0: no font of ours selected on this page
    LogFont m_currentFont;          // the font of m_fontHandle
    std::uint16_t m_handles = 1;    // highest object-table slot used + 1
    Rect m_bounds{0, 0, -1, -1};
    std::int32_t m_curX = 0, m_curY = 0;
};

} // namespace qd::emf
