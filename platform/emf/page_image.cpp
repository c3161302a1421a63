#include "platform/emf/page_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

namespace qd::emf {

namespace {

constexpr std::uint32_t kSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t kVersion = 0x00010000;
constexpr std::uint32_t kHeaderMin = 88;           // the header without its later extensions
constexpr std::size_t kLargestPage = 64u << 20;     // far beyond any printed page
constexpr std::uint32_t kLogFontSize = 92;
constexpr std::uint32_t kStockLast = 0x80000000u + 19; // DC_PEN, the highest stock object

// ExtTextOut options a page image may carry; anything else (glyph indexes, 8-bit "wide"
// texts, opaque or clipped boxes, vertical advances) is not drawn by the player and refused.
constexpr std::uint32_t kEtoNoRect = 0x100;
constexpr std::uint32_t kEtoAllowed = kEtoNoRect | 0x400 | 0x800 | 0x1000;

class Reader {
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

    std::uint32_t u32(std::size_t at) const
    {
        std::uint32_t v;
        std::memcpy(&v, m_bytes.data() + at, 4);
        return v; // little-endian host, as the writer
    }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
    std::uint16_t u16(std::size_t at) const
    {
        std::uint16_t v;
        std::memcpy(&v, m_bytes.data() + at, 2);
        return v;
    }
    std::uint8_t u8(std::size_t at) const { return static_cast<std::uint8_t>(m_bytes[at]); }
    Rect rect(std::size_t at) const { return Rect{i32(at), i32(at + 4), i32(at + 8), i32(at + 12)}; }
    Size size(std::size_t at) const { return Size{i32(at), i32(at + 4)}; }

private:
    std::string_view m_bytes;
};

[[noreturn]] void fault(std::size_t index, std::size_t offset, std::uint32_t type,
                        const std::string &what)
{
    std::ostringstream s;
    s << "page image record " << index << " (offset " << offset << ", type " << type
      << "): " << what;
    throw PageImageError(s.str());
}

bool knownType(std::uint32_t t)
{
    switch (static_cast<RecordType>(t)) {
    case RecordType::Header:
    case RecordType::SetWindowExtEx:
    case RecordType::SetWindowOrgEx:
    case RecordType::SetViewportExtEx:
    case RecordType::SetViewportOrgEx:
    case RecordType::Eof:
    case RecordType::SetMapMode:
    case RecordType::SetBkMode:
    case RecordType::MoveToEx:
    case RecordType::SelectObject:
    case RecordType::CreatePen:
    case RecordType::DeleteObject:
    case RecordType::LineTo:
    case RecordType::Comment:
    case RecordType::ExtCreateFontIndirectW:
    case RecordType::ExtTextOutW:
        return true;
    }
    return false;
}

// The fixed size of a record type, or 0 when the size varies.
std::uint32_t fixedSize(RecordType t)
{
    switch (t) {
    case RecordType::SetWindowExtEx:
    case RecordType::SetWindowOrgEx:
    case RecordType::SetViewportExtEx:
    case RecordType::SetViewportOrgEx:
    case RecordType::MoveToEx:
    case RecordType::LineTo:
        return 16;
    case RecordType::SetMapMode:
    case RecordType::SetBkMode:
    case RecordType::SelectObject:
    case RecordType::DeleteObject:
        return 12;
    case RecordType::CreatePen:
        return 28;
    default:
        return 0;
    }
}

// A rectangle whose width and height fit 32 bits: right - left of two 32-bit values may not.
bool extentsFit(const Rect &r)
{
    constexpr std::int64_t most = std::numeric_limits<std::int32_t>::max();
    return std::int64_t{r.right} - r.left <= most && std::int64_t{r.bottom} - r.top <= most;
}

// What the reader follows of the drawing state, to see how large a text or rule comes out:
// the objects made, the font and pen in use, and the scale from logical units to device pixels.
struct DrawingState {
    struct Slot {
        bool live = false;
        bool isFont = false;
        LogFont font;
        std::int32_t penWidth = 0;
    };
    std::vector<Slot> objects;
    LogFont font = defaultPageFont();
    std::int32_t penWidth = 0;
    std::uint32_t mapMode = kMapModeText;
    double winX = 1, winY = 1, vpX = 1, vpY = 1;

    // The larger of the two scales from logical units to device pixels, as the player maps.
    double scale() const
    {
        if (mapMode == kMapModeText)
            return 1;
        const double sx = std::abs(vpX / winX), sy = std::abs(vpY / winY);
        return mapMode == kMapModeIsotropic ? std::min(sx, sy) : std::max(sx, sy);
    }
};

} // namespace

LogFont defaultPageFont()
{
    LogFont f;
    f.height = -35;
    f.weight = 400;
    f.face = u"標準ゴシック";
    return f;
}

PageImage parsePageImage(std::string_view bytes)
{
    if (bytes.size() < kHeaderMin)
        throw PageImageError("page image too short for its header (" +
                             std::to_string(bytes.size()) + " bytes)");
    if (bytes.size() > kLargestPage)
        throw PageImageError("page image too large (" + std::to_string(bytes.size()) + " bytes)");
    const Reader r(bytes);
    const std::size_t total = bytes.size();

    PageImage page;
    Header &h = page.header;
    DrawingState state;
    auto &objects = state.objects; // the object table
    // Largest thing a page may draw, in 0.01 mm: the shorter side of its paper. A glyph or a
    // pen beyond it is no page a layout makes, and would only make the player build glyphs and
    // strokes of billions of pixels.
    double pageSide = 0;
    double hundredthsPerPixel = 0;
    auto tooLarge = [&](double logicalSize) {
        const double size = logicalSize * state.scale() * hundredthsPerPixel;
        return !(size <= pageSide);
    };
    std::size_t at = 0;
    std::size_t index = 0;
    bool ended = false;

    while (at < total) {
        if (ended)
            fault(index, at, 0, "data after the end-of-file record");
        if (total - at < 8)
            fault(index, at, 0, "record header cut short by the end of the file");
        const std::uint32_t type = r.u32(at);
        const std::uint32_t size = r.u32(at + 4);
        if (size < 8 || size % 4 != 0)
            fault(index, at, type, "size " + std::to_string(size) + " is not a record size");
        if (size > total - at)
            fault(index, at, type, "size " + std::to_string(size) + " runs past the end of the file");
        if (!knownType(type))
            fault(index, at, type, "record type not used in page images");
        const auto rt = static_cast<RecordType>(type);
        if ((index == 0) != (rt == RecordType::Header))
            fault(index, at, type, index == 0 ? "the file does not start with a header"
                                              : "a second header");
        if (const std::uint32_t fixed = fixedSize(rt); fixed != 0 && size != fixed)
            fault(index, at, type, "size " + std::to_string(size) + " where " +
                                       std::to_string(fixed) + " belongs");

        Record rec;
        rec.type = rt;
        rec.offset = static_cast<std::uint32_t>(at);
        rec.size = size;
        auto handle = [&](std::size_t pos, bool mayBeStock) {
            const std::uint32_t v = r.u32(pos);
            if (mayBeStock && v >= kStockObject) {
                if (v > kStockLast)
                    fault(index, at, type, "no such stock object");
                return v;
            }
            if (v == 0 || v >= objects.size())
                fault(index, at, type, "object handle " + std::to_string(v) +
                                           " outside the object table");
            return v;
        };

        switch (rt) {
        case RecordType::Header: {
            if (size < kHeaderMin)
                fault(index, at, type, "header too short");
            h.bounds = r.rect(8);
            h.frame = r.rect(24);
            if (r.u32(40) != kSignature)
                fault(index, at, type, "not an enhanced metafile (signature)");
            if (r.u32(44) != kVersion)
                fault(index, at, type, "unknown metafile version");
            h.bytes = r.u32(48);
            h.records = r.u32(52);
            h.handles = r.u16(56);
            const std::uint32_t nDesc = r.u32(60), offDesc = r.u32(64);
            h.device = r.size(72);
            h.millimeters = r.size(80);
            if (h.bytes != total)
                fault(index, at, type, "header counts " + std::to_string(h.bytes) +
                                           " bytes, the file has " + std::to_string(total));
            if (h.handles == 0)
                fault(index, at, type, "object table without its reserved slot");
            if (nDesc != 0 && (offDesc < kHeaderMin || offDesc > size ||
                               nDesc > (size - offDesc) / 2))
                fault(index, at, type, "description outside the header");
            if (size >= 100) {
                const std::uint32_t cbPf = r.u32(88), offPf = r.u32(92);
                if (cbPf != 0 && (offPf < kHeaderMin || offPf > size || cbPf > size - offPf))
                    fault(index, at, type, "pixel format outside the header");
            }
            if (h.frame.right <= h.frame.left || h.frame.bottom <= h.frame.top)
                fault(index, at, type, "empty frame");
            if (!extentsFit(h.frame))
                fault(index, at, type, "frame wider than 32 bits can measure");
            if (h.bounds.right >= h.bounds.left && h.bounds.bottom >= h.bounds.top &&
                !extentsFit(h.bounds))
                fault(index, at, type, "bounds wider than 32 bits can measure");
            if (h.device.cx <= 0 || h.device.cy <= 0 || h.millimeters.cx <= 0 ||
                h.millimeters.cy <= 0)
                fault(index, at, type, "reference device without a size");
            pageSide = std::min(double(h.frame.right) - h.frame.left, double(h.frame.bottom) - h.frame.top);
            hundredthsPerPixel = 100.0 * std::max(double(h.millimeters.cx) / h.device.cx,
                                                  double(h.millimeters.cy) / h.device.cy);
            objects.assign(h.handles, {});
            objects[0].live = true; // the slot of the metafile itself
            break;
        }
        case RecordType::Eof: {
            if (size < 20)
                fault(index, at, type, "end record too short");
            const std::uint32_t nPal = r.u32(at + 8), offPal = r.u32(at + 12);
            if (nPal != 0 && (offPal < 16 || offPal > size - 4 || nPal > (size - 4 - offPal) / 4))
                fault(index, at, type, "palette outside the end record");
            if (r.u32(at + size - 4) != size)
                fault(index, at, type, "end record does not repeat its size");
            ended = true;
            break;
        }
        case RecordType::SetWindowExtEx:
        case RecordType::SetViewportExtEx:
            rec.x = r.i32(at + 8);
            rec.y = r.i32(at + 12);
            if (rec.x == 0 || rec.y == 0)
                fault(index, at, type, "zero extent");
            (rt == RecordType::SetWindowExtEx ? state.winX : state.vpX) = rec.x;
            (rt == RecordType::SetWindowExtEx ? state.winY : state.vpY) = rec.y;
            break;
        case RecordType::SetWindowOrgEx:
        case RecordType::SetViewportOrgEx:
        case RecordType::MoveToEx:
            rec.x = r.i32(at + 8);
            rec.y = r.i32(at + 12);
            break;
        case RecordType::LineTo:
            rec.x = r.i32(at + 8);
            rec.y = r.i32(at + 12);
            if (tooLarge(state.penWidth))
                fault(index, at, type, "rule wider than the page");
            break;
        case RecordType::SetMapMode:
            rec.value = r.u32(at + 8);
            if (rec.value != kMapModeText && rec.value != kMapModeIsotropic &&
                rec.value != kMapModeAnisotropic)
                fault(index, at, type, "mapping mode " + std::to_string(rec.value) +
                                           " not used in page images");
            state.mapMode = rec.value;
            break;
        case RecordType::SetBkMode:
            rec.value = r.u32(at + 8);
            if (rec.value != kBkTransparent && rec.value != kBkOpaque)
                fault(index, at, type, "no such background mode");
            break;
        case RecordType::SelectObject:
            rec.value = handle(at + 8, true);
            if (rec.value < kStockObject) {
                const DrawingState::Slot &o = objects[rec.value];
                if (!o.live)
                    fault(index, at, type, "selects object " + std::to_string(rec.value) +
                                               ", which does not exist");
                if (o.isFont)
                    state.font = o.font;
                else
                    state.penWidth = o.penWidth;
            } else if (rec.value >= kStockObject + 10 && rec.value <= kStockObject + 17) {
                state.font = defaultPageFont(); // the stock fonts
            } else if ((rec.value >= kStockObject + 6 && rec.value <= kStockObject + 8) ||
                       rec.value == kStockObject + 19) {
                state.penWidth = 0; // the stock pens draw one pixel wide
            }
            break;
        case RecordType::DeleteObject:
            rec.value = handle(at + 8, false);
            if (!objects[rec.value].live)
                fault(index, at, type, "deletes object " + std::to_string(rec.value) +
                                           ", which does not exist");
            objects[rec.value] = {};
            break;
        case RecordType::CreatePen: {
            rec.value = handle(at + 8, false);
            if (objects[rec.value].live)
                fault(index, at, type, "object " + std::to_string(rec.value) + " made twice");
            rec.pen.style = r.u32(at + 12);
            rec.pen.width = r.i32(at + 16);
            rec.pen.color = r.u32(at + 24);
            if ((rec.pen.style & ~0xFu) != 0 || (rec.pen.style & 0xF) > 6)
                fault(index, at, type, "pen style not used in page images");
            if (rec.pen.width < 0 || rec.pen.width > 100000)
                fault(index, at, type, "pen width out of range");
            if ((rec.pen.color >> 24) != 0)
                fault(index, at, type, "pen colour is not an RGB value");
            objects[rec.value].live = true;
            objects[rec.value].penWidth = rec.pen.width;
            break;
        }
        case RecordType::ExtCreateFontIndirectW: {
            if (size < 12 + kLogFontSize)
                fault(index, at, type, "font record too short");
            rec.value = handle(at + 8, false);
            if (objects[rec.value].live)
                fault(index, at, type, "object " + std::to_string(rec.value) + " made twice");
            const std::size_t lf = at + 12;
            LogFont &f = rec.font;
            f.height = r.i32(lf);
            f.width = r.i32(lf + 4);
            f.escapement = r.i32(lf + 8);
            f.orientation = r.i32(lf + 12);
            f.weight = r.i32(lf + 16);
            f.italic = r.u8(lf + 20);
            f.underline = r.u8(lf + 21);
            f.strikeOut = r.u8(lf + 22);
            f.charSet = r.u8(lf + 23);
            f.outPrecision = r.u8(lf + 24);
            f.clipPrecision = r.u8(lf + 25);
            f.quality = r.u8(lf + 26);
            f.pitchAndFamily = r.u8(lf + 27);
            for (std::size_t k = 0; k < 32; ++k) {
                const char16_t c = r.u16(lf + 28 + 2 * k);
                if (c == 0)
                    break;
                f.face.push_back(c);
            }
            if (f.height == 0 || f.height < -100000 || f.height > 100000)
                fault(index, at, type, "font height out of range");
            if (f.width < 0 || f.width > 100000)
                fault(index, at, type, "font width out of range");
            if (f.weight < 0 || f.weight > 1000)
                fault(index, at, type, "font weight out of range");
            if (f.escapement <= -36000 || f.escapement >= 36000)
                fault(index, at, type, "text angle out of range");
            objects[rec.value].live = true;
            objects[rec.value].isFont = true;
            objects[rec.value].font = f;
            break;
        }
        case RecordType::ExtTextOutW: {
            if (size < 60)
                fault(index, at, type, "text record too short");
            TextRun &t = rec.text;
            t.bounds = r.rect(at + 8);
            t.graphicsMode = r.u32(at + 24);
            t.x = r.i32(at + 36);
            t.y = r.i32(at + 40);
            const std::uint32_t nChars = r.u32(at + 44);
            const std::uint32_t offString = r.u32(at + 48);
            t.options = r.u32(at + 52);
            if (t.graphicsMode != 1 && t.graphicsMode != 2)
                fault(index, at, type, "no such graphics mode");
            if ((t.options & ~kEtoAllowed) != 0)
                fault(index, at, type, "text options not used in page images");
            const std::uint32_t fixedEnd = (t.options & kEtoNoRect) ? 60 : 76;
            if (size < fixedEnd)
                fault(index, at, type, "text record too short for its rectangle");
            const std::uint32_t offDx = r.u32(at + fixedEnd - 4);
            if (nChars > size / 2)
                fault(index, at, type, "character count beyond the record");
            if (nChars != 0 && (offString < fixedEnd || offString > size ||
                                nChars > (size - offString) / 2))
                fault(index, at, type, "string outside its record");
            if (nChars != 0 && offDx != 0 &&
                (offDx < fixedEnd || offDx > size || nChars > (size - offDx) / 4))
                fault(index, at, type, "advances outside their record");
            t.chars.resize(nChars);
            for (std::uint32_t k = 0; k < nChars; ++k)
                t.chars[k] = r.u16(at + offString + 2 * k);
            if (nChars != 0 && offDx != 0) {
                t.dx.resize(nChars);
                for (std::uint32_t k = 0; k < nChars; ++k) {
                    t.dx[k] = r.i32(at + offDx + 4 * k);
                    if (t.dx[k] < -100000 || t.dx[k] > 100000)
                        fault(index, at, type, "character advance out of range");
                }
            }
            // A glyph spans the font's height and, at most, twice its average width.
            if (nChars != 0 && tooLarge(std::max(std::abs(double(state.font.height)),
                                                 2 * std::abs(double(state.font.width)))))
                fault(index, at, type, "characters larger than the page");
            break;
        }
        case RecordType::Comment:
            if (size < 12 || r.u32(at + 8) > size - 12)
                fault(index, at, type, "comment longer than its record");
            break;
        }
        page.records.push_back(std::move(rec));
        at += size;
        ++index;
    }
    if (!ended)
        throw PageImageError("page image has no end-of-file record");
    if (page.records.size() != h.records)
        throw PageImageError("header counts " + std::to_string(h.records) +
                             " records, the file has " + std::to_string(page.records.size()));
    return page;
}

PageImage loadPageImage(const std::filesystem::path &file)
{
    std::error_code ec;
    const auto length = std::filesystem::file_size(file, ec);
    if (ec)
        throw PageImageError("page image missing: " + file.string());
    if (length > kLargestPage)
        throw PageImageError("page image too large: " + file.string());
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw PageImageError("page image cannot be opened: " + file.string());
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw PageImageError("page image cannot be read: " + file.string());
    try {
        return parsePageImage(bytes);
    } catch (const PageImageError &e) {
        throw PageImageError(std::string(e.what()) + ": " + file.string());
    }
}

std::u16string toUtf16(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        bool ok = n != 0 && i + n <= s.size();
        for (std::size_t k = 1; ok && k < n; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            ok = (d & 0xC0) == 0x80;
            cp = (cp << 6) | (d & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are malformed too.
        static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += n;
    }
    return out;
}

std::string toUtf8(std::u16string_view s)
{
    std::string out;
    out.reserve(s.size() * 3);
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace qd::emf
