#include "platform/emf/page_canvas.h"

#include <uemf.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/files/paths.h"
#include "platform/files/safe_replace.h"
#include "platform/text/cp932.h"

static_assert(std::endian::native == std::endian::little,
              "page images are written in the byte order of the host");

namespace qd::emf {

namespace {

constexpr std::uint32_t kPenHandle = 1;
constexpr std::uint32_t kFontHandles[2] = {2, 3};
// A layout unit in 0.01 mm, for the text records' scale fields.
constexpr float kHundredthsPerUnit = 10.0f;

// Round half to even, as the layouts' integer conversions do.
std::int32_t roundEven(double v) { return static_cast<std::int32_t>(std::nearbyint(v)); }

std::int32_t clamp32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Width of one character in half-ems: its width in code page 932 bytes; a character that
// code page has no place for counts as wide from the CJK blocks on.
int halfEms(char32_t cp, std::string_view utf8)
{
    const std::string bytes = text::toCp932(utf8);
    if (bytes == "?" && cp != U'?')
        return cp >= 0x2E80 ? 2 : 1;
    return static_cast<int>(bytes.size());
}

// The advance of every UTF-16 unit of `chars` in font `lf`: half an em (or the font's width)
// for a half-width character, twice that for any other, each rounded so that the advances add
// up to the rounded positions; the second half of a surrogate pair takes none. `end` receives
// the unrounded end of the text.
std::vector<std::uint32_t> advances(const LogFont &lf, const std::u16string &chars, double &end)
{
    const double half = lf.width != 0 ? lf.width : std::abs(lf.height) / 2.0;
    std::vector<std::uint32_t> dx;
    dx.reserve(chars.size());
    double pos = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const bool pair = chars[i] >= 0xD800 && chars[i] <= 0xDBFF && i + 1 < chars.size();
        const std::u16string_view one(chars.data() + i, pair ? 2 : 1);
        const char32_t cp = pair ? 0x10000 + ((chars[i] - 0xD800) << 10) + (chars[i + 1] - 0xDC00)
                                 : chars[i];
        const double next = pos + halfEms(cp, toUtf8(one)) * half;
        dx.push_back(static_cast<std::uint32_t>(roundEven(next) - roundEven(pos)));
        if (pair) {
            dx.push_back(0); // the second half of a pair takes no room of its own
            ++i;
        }
        pos = next;
    }
    end = pos;
    return dx;
}

} // namespace

int halfWidthCells(std::string_view utf8)
{
    LogFont oneUnitCells; // a half-width cell one unit wide
    oneUnitCells.width = 1;
    double end = 0;
    advances(oneUnitCells, toUtf16(utf8), end);
    return static_cast<int>(end);
}

std::int32_t textAdvance(const FontSpec &spec, std::string_view utf8)
{
    double end = 0;
    advances(makeLogFont(spec), toUtf16(utf8), end);
    return roundEven(end);
}

LogFont makeLogFont(const FontSpec &spec)
{
    LogFont lf;
    const std::int32_t em = roundEven(10.0 * spec.pointSize * kMmPerPoint);
    lf.height = -em;
    if (spec.widthPercent > 0 && spec.widthPercent != 100)
        lf.width = roundEven(spec.widthPercent / 100.0 * (em / 2.0));
    lf.weight = spec.weight != 0 ? spec.weight : spec.bold ? 700 : 400;
    lf.italic = spec.italic;
    lf.underline = spec.underline;
    lf.strikeOut = spec.strikeOut;
    lf.charSet = spec.charSet;
    std::string face = spec.face;
    if (spec.vertical) {
        face = "@" + face;
        lf.escapement = lf.orientation = 2700;
    } else {
        lf.escapement = lf.orientation = roundEven(spec.angle * 10.0);
    }
    // The standard face is our own name: tell other programs what to look for in its place.
    if (spec.face == kStandardGothic)
        lf.pitchAndFamily = U_FIXED_PITCH | U_FF_MODERN;
    std::u16string wide = toUtf16(face);
    if (wide.size() > 31) {
        std::size_t n = 31;
        if (wide[n - 1] >= 0xD800 && wide[n - 1] <= 0xDBFF)
            --n; // never keep half a surrogate pair
        wide.resize(n);
    }
    lf.face = wide;
    return lf;
}

std::string pageImageName(int pageNo)
{
    std::string digits = std::to_string(pageNo < 0 ? -static_cast<long long>(pageNo) : pageNo);
    if (pageNo == 0)
        digits = "00"; // the last digit of "00#" shows only when significant
    else if (digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return (pageNo < 0 ? "-" : "") + digits + ".emf";
}

PageCanvas::PageCanvas(int widthMm, int heightMm) : m_widthMm(widthMm), m_heightMm(heightMm)
{
    // The frame is width x 100 in 0.01 mm: a page size beyond the range of the record fields is
    // a programming fault, not a page.
    if (widthMm <= 0 || heightMm <= 0 || widthMm > 1000000 || heightMm > 1000000)
        throw std::invalid_argument("page size out of range");
    clear();
}

void PageCanvas::clear()
{
    m_body.clear();
    m_records = 0;
    m_fontHandle = 0;
    m_handles = 1;
    m_bounds = Rect{0, 0, -1, -1};
    m_curX = m_curY = 0;

    const U_SIZEL device{m_widthMm * 10, m_heightMm * 10};
    append(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    append(U_EMRSETVIEWPORTORGEX_set(U_POINTL{0, 0}));
    append(U_EMRSETVIEWPORTEXTEX_set(device));
    append(U_EMRSETWINDOWORGEX_set(U_POINTL{0, 0}));
    append(U_EMRSETWINDOWEXTEX_set(device));
    append(U_EMRSETBKMODE_set(U_TRANSPARENT));
    U_LOGPEN pen = logpen_set(U_PS_SOLID, U_POINT{1, 0}, colorref3_set(0, 0, 0));
    append(U_EMRCREATEPEN_set(kPenHandle, pen));
    append(U_EMRSELECTOBJECT_set(kPenHandle));
    m_handles = std::max<std::uint16_t>(m_handles, kPenHandle + 1);
}

void PageCanvas::append(char *record)
{
    if (!record)
        throw std::bad_alloc();
    const auto *emr = reinterpret_cast<const U_EMR *>(record);
    m_body.append(record, emr->nSize);
    ++m_records;
    std::free(record);
}

void PageCanvas::growBounds(std::int32_t left, std::int32_t top, std::int32_t right,
                            std::int32_t bottom)
{
    if (m_bounds.right < m_bounds.left) {
        m_bounds = Rect{left, top, right, bottom};
        return;
    }
    m_bounds.left = std::min(m_bounds.left, left);
    m_bounds.top = std::min(m_bounds.top, top);
    m_bounds.right = std::max(m_bounds.right, right);
    m_bounds.bottom = std::max(m_bounds.bottom, bottom);
}

void PageCanvas::setFont(const FontSpec &spec) { m_font = spec; }

void PageCanvas::selectFontIfNeeded()
{
    const LogFont lf = makeLogFont(m_font);
    // The font in use is compared, not the request: two requests that make the same font need
    // no second record.
    if (m_fontHandle != 0 && m_currentFont == lf)
        return;
    U_LOGFONT_PANOSE elfw{};
    std::u16string face = lf.face;
    std::uint16_t name[U_LF_FACESIZE] = {};
    std::copy(face.begin(), face.end(), name);
    elfw.elfLogFont = logfont_set(lf.height, lf.width, lf.escapement, lf.orientation, lf.weight,
                                  lf.italic, lf.underline, lf.strikeOut, lf.charSet,
                                  lf.outPrecision, lf.clipPrecision, lf.quality,
                                  lf.pitchAndFamily, name);
    std::copy(face.begin(), face.end(), elfw.elfFullName);

    // At most one text font is alive: the new one is made and selected, then the old one goes.
    const std::uint32_t old = m_fontHandle;
    const std::uint32_t handle = old == kFontHandles[0] ? kFontHandles[1] : kFontHandles[0];
    append(U_EMREXTCREATEFONTINDIRECTW_set(handle, nullptr, reinterpret_cast<const char *>(&elfw)));
    append(U_EMRSELECTOBJECT_set(handle));
    if (old != 0)
        append(U_EMRDELETEOBJECT_set(old));
    m_fontHandle = handle;
    m_currentFont = lf;
    m_handles = std::max<std::uint16_t>(m_handles, static_cast<std::uint16_t>(handle + 1));
}

void PageCanvas::drawText(std::int32_t x, std::int32_t y, std::string_view utf8)
{
    selectFontIfNeeded();
    // The blanks that pad a field to its width draw nothing: they are dropped, so that they
    // neither widen the page's bounds past the paper nor reach other programs as text. A
    // U+FEFF (a byte-order mark that came in with a text) draws nothing either, and a program
    // reading the page could take it for a mark of the string's byte order.
    std::u16string chars = toUtf16(utf8);
    std::erase(chars, u'\uFEFF');
    while (!chars.empty() && chars.back() == u' ')
        chars.pop_back();
    if (chars.empty())
        return; // an empty field draws nothing, but its font is made as for any text
    const LogFont &lf = m_currentFont;
    const double em = std::abs(lf.height);
    double pos = 0;
    std::vector<std::uint32_t> dx = advances(lf, chars, pos);

    // The box the text covers, in 64 bits: a point near the end of the coordinate range cannot
    // wrap around.
    const std::int64_t length = roundEven(pos), height = static_cast<std::int64_t>(em);
    std::int64_t box[4] = {x, y, x + length, y + height};
    if (lf.escapement != 0) {
        // A turned text stays within the circle its length draws around the start point.
        const std::int64_t r = length + height;
        box[0] = std::int64_t{x} - r;
        box[1] = std::int64_t{y} - r;
        box[2] = std::int64_t{x} + r;
        box[3] = std::int64_t{y} + r;
    }
    growBounds(clamp32(box[0]), clamp32(box[1]), clamp32(box[2]), clamp32(box[3]));
    const Rect bounds{clamp32(box[0]), clamp32(box[1]), clamp32(box[2]), clamp32(box[3])};

    std::vector<std::uint16_t> units(chars.begin(), chars.end());
    units.push_back(0);
    char *emrtext = emrtext_set(U_POINTL{x, y}, static_cast<U_NUM_STR>(chars.size()), 2,
                                units.data(), 0, U_RECTL{0, 0, -1, -1}, dx.data());
    if (!emrtext)
        throw std::bad_alloc();
    char *record = U_EMREXTTEXTOUTW_set(U_RECTL{bounds.left, bounds.top, bounds.right, bounds.bottom},
                                        U_GM_COMPATIBLE, kHundredthsPerUnit, kHundredthsPerUnit,
                                        reinterpret_cast<PU_EMRTEXT>(emrtext));
    std::free(emrtext);
    append(record);
}

void PageCanvas::moveTo(std::int32_t x, std::int32_t y)
{
    append(U_EMRMOVETOEX_set(U_POINTL{x, y}));
    m_curX = x;
    m_curY = y;
}

void PageCanvas::lineTo(std::int32_t x, std::int32_t y)
{
    append(U_EMRLINETO_set(U_POINTL{x, y}));
    growBounds(std::min(m_curX, x), std::min(m_curY, y), std::max(m_curX, x), std::max(m_curY, y));
    m_curX = x;
    m_curY = y;
}

std::string PageCanvas::bytes() const
{
    const U_SIZEL device{m_widthMm * 10, m_heightMm * 10};
    const U_SIZEL mm{m_widthMm, m_heightMm};
    // The bounds say what of the paper holds ink: what is drawn past its edges is not on it.
    Rect bounds{std::max(m_bounds.left, 0), std::max(m_bounds.top, 0),
                std::min(m_bounds.right, device.cx - 1), std::min(m_bounds.bottom, device.cy - 1)};
    if (bounds.right < bounds.left || bounds.bottom < bounds.top)
        bounds = Rect{0, 0, -1, -1};
    char *header = U_EMRHEADER_set(
        U_RECTL{bounds.left, bounds.top, bounds.right, bounds.bottom},
        U_RECTL{0, 0, m_widthMm * 100, m_heightMm * 100}, nullptr, 0, nullptr, device, mm, 0);
    EMFTRACK track{};
    char *eof = U_EMREOF_set(0, nullptr, &track);
    if (!header || !eof) {
        std::free(header);
        std::free(eof);
        throw std::bad_alloc();
    }
    const auto *h = reinterpret_cast<U_EMRHEADER *>(header);
    const auto *e = reinterpret_cast<U_EMR *>(eof);
    std::string out;
    out.reserve(h->emr.nSize + m_body.size() + e->nSize);
    out.append(header, h->emr.nSize);
    out.append(m_body);
    out.append(eof, e->nSize);
    std::free(header);
    std::free(eof);

    // The header counts the whole file: its bytes, its records and the object table.
    auto *hdr = reinterpret_cast<U_EMRHEADER *>(out.data());
    hdr->nBytes = static_cast<std::uint32_t>(out.size());
    hdr->nRecords = m_records + 2;
    hdr->nHandles = m_handles;
    return out;
}

void PageCanvas::savePage(const std::filesystem::path &file)
{
    const std::string data = bytes();
    try {
        qd::files::writeFileSafely(qd::files::systemPath(file), data);
    } catch (const qd::files::FileError &e) {
        throw PageWriteError(file, "cannot write the page image", e.reason());
    }
    clear();
}

} // namespace qd::emf
