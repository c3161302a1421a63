#include "platform/text/cp932.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace qd::text {

void noteByteMarks(std::size_t n);

namespace {

constexpr char32_t NoChar = 0xFFFFFFFF; // an invalid UTF-8 byte

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The conversion tables of code page 932, built once from the system's iconv and never
// changed afterwards, so that converting a document of thousands of fields costs no iconv
// call at all.
struct Tables {
    // Single bytes 0x80-0xFF: the character, or 0 where the byte is no character by itself
    // (lead bytes and undefined bytes).
    std::array<char16_t, 128> high{};
    // Double-byte codes, indexed (lead - 0x80) * 256 + trail: the character or 0 (undefined).
    std::vector<char16_t> dbcs = std::vector<char16_t>(128 * 256, 0);
    // BMP code point -> code page 932 code (0-0xFF one byte, else two bytes), 0 = none.
    // U+0000 is a plain NUL byte and never looked up here.
    std::vector<std::uint16_t> enc = std::vector<std::uint16_t>(0x10000, 0);
};

struct IconvHandle {
    iconv_t cd;
    explicit IconvHandle(const char *to, const char *from) : cd(iconv_open(to, from))
    {
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("code page 932 conversion is not available (iconv ") +
                                     from + " -> " + to + ")");
    }
    ~IconvHandle() { iconv_close(cd); }
    IconvHandle(const IconvHandle &) = delete;
    IconvHandle &operator=(const IconvHandle &) = delete;

    // Converts one whole input; false when iconv refuses any of it.
    bool convert(const char *in, std::size_t inLen, char *out, std::size_t &outLen)
    {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char *ip = const_cast<char *>(in);
        char *op = out;
        std::size_t il = inLen, ol = outLen;
        std::size_t r = iconv(cd, &ip, &il, &op, &ol);
        if (r == static_cast<std::size_t>(-1) || il != 0)
            return false;
        // Flush any shift state (none for code page 932, but harmless).
        if (iconv(cd, nullptr, nullptr, &op, &ol) == static_cast<std::size_t>(-1))
            return false;
        outLen = static_cast<std::size_t>(op - out);
        return true;
    }
};

std::size_t encodeUtf8(char32_t cp, char *out)
{
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

void appendUtf8(std::string &s, char32_t cp)
{
    char buf[4];
    s.append(buf, encodeUtf8(cp, buf));
}

// The next code point of a UTF-8 text at `i` (advanced past it). Malformed input (a stray
// continuation byte, an overlong form, a surrogate, a cut sequence) yields NoChar for one byte.
char32_t nextCodePoint(std::string_view s, std::size_t &i)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    std::size_t len;
    char32_t cp;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        ++i;
        return NoChar;
    }
    if (i + len > s.size()) {
        ++i;
        return NoChar;
    }
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return NoChar;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return NoChar;
    }
    i += len;
    return cp;
}

char32_t decodeUtf8One(const char *p, std::size_t n)
{
    std::size_t i = 0;
    char32_t cp = nextCodePoint(std::string_view(p, n), i);
    return i == n ? cp : NoChar;
}

std::unique_ptr<Tables> buildTables()
{
    auto t = std::make_unique<Tables>();
    IconvHandle dec("UTF-8", "CP932");
    IconvHandle enc("CP932", "UTF-8");
    char out[16];

    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        if (isLeadByte(static_cast<unsigned char>(b)))
            continue;
        const char in = static_cast<char>(b);
        std::size_t ol = sizeof out;
        if (dec.convert(&in, 1, out, ol)) {
            const char32_t cp = decodeUtf8One(out, ol);
            if (cp != NoChar && cp < 0x10000)
                t->high[b - 0x80] = static_cast<char16_t>(cp);
        }
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrailByte(static_cast<unsigned char>(trail)))
                continue;
            const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            std::size_t ol = sizeof out;
            if (dec.convert(in, 2, out, ol)) {
                const char32_t cp = decodeUtf8One(out, ol);
                if (cp != NoChar && cp != 0 && cp < 0x10000)
                    t->dbcs[(lead - 0x80) * 256 + trail] = static_cast<char16_t>(cp);
            }
        }
    }
    // The encoder is asked for every character, so that its own choices hold: one code for
    // characters that have two (NEC and IBM extensions) and the one-way mappings such as
    // U+00A5 -> 0x5C.
    for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        char in[4];
        const std::size_t il = encodeUtf8(cp, in);
        std::size_t ol = sizeof out;
        if (!enc.convert(in, il, out, ol))
            continue;
        if (ol == 1)
            t->enc[cp] = static_cast<unsigned char>(out[0]);
        else if (ol == 2)
            t->enc[cp] = static_cast<std::uint16_t>((static_cast<unsigned char>(out[0]) << 8) |
                                                    static_cast<unsigned char>(out[1]));
    }
    return t;
}

const Tables &tables()
{
    static const std::unique_ptr<Tables> t = buildTables();
    return *t;
}

// Code page 932 code of a code point: 0x00-0xFF one byte, above two bytes, or -1 when the
// character has none (it is then written as "?"). A byte mark is its byte.
int cp932Code(const Tables &t, char32_t cp)
{
    if (cp < 0x80)
        return static_cast<int>(cp);
    if (isByteMark(cp))
        return static_cast<int>(cp - kFirstByteMark) + 0x80;
    if (cp == NoChar || cp >= 0x10000)
        return -1;
    const std::uint16_t c = t.enc[cp];
    return c == 0 ? -1 : c;
}

int codeWidth(int code) { return code > 0xFF ? 2 : 1; }

void appendCode(std::string &out, int code)
{
    if (code < 0) {
        out.push_back('?');
    } else if (code > 0xFF) {
        out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 0xFF));
    } else {
        out.push_back(static_cast<char>(code));
    }
}

// The watch that counts marks on this thread, innermost first.
thread_local ByteMarkWatch *t_watch = nullptr;

void appendMark(std::string &out, unsigned char b) { appendUtf8(out, kFirstByteMark + (b - 0x80)); }

// The character that starts with the byte at `i`, one of 0x80 or above, as the reading takes
// it: a double-byte code where a lead byte has its second byte, else the byte alone (a lead
// byte without its second byte, also at the end of a field cut in the middle of a character,
// stands alone). `cp` is 0 where the bytes are no text.
struct HighChar {
    char16_t cp;
    std::size_t length; // 1 or 2
};

HighChar highCharAt(const Tables &t, std::string_view bytes, std::size_t i)
{
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (!isLeadByte(b))
        return {t.high[b - 0x80], 1};
    if (i + 1 < bytes.size()) {
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        if (isTrailByte(trail))
            return {t.dbcs[(b - 0x80) * 256 + trail], 2};
    }
    return {0, 1};
}

// Decodes code page 932 bytes; a byte that is no text becomes its mark.
std::string decode(std::string_view bytes)
{
    const Tables &t = tables();
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    std::size_t marks = 0;
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        const HighChar c = highCharAt(t, bytes, i);
        if (c.cp) {
            appendUtf8(out, c.cp);
        } else {
            appendMark(out, b);
            ++marks;
            if (c.length == 2) {
                // A code that stands for no character: both bytes are kept as they are, the
                // second one as itself when it is ASCII.
                const auto trail = static_cast<unsigned char>(bytes[i + 1]);
                if (trail < 0x80) {
                    out.push_back(static_cast<char>(trail));
                } else {
                    appendMark(out, trail);
                    ++marks;
                }
            }
        }
        i += c.length;
    }
    if (marks != 0)
        noteByteMarks(marks);
    return out;
}

} // namespace

std::string toCp932(std::string_view utf8)
{
    const Tables &t = tables();
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();)
        appendCode(out, cp932Code(t, nextCodePoint(utf8, i)));
    return out;
}

ByteMarkWatch::ByteMarkWatch() : m_outer(t_watch) { t_watch = this; }

ByteMarkWatch::~ByteMarkWatch() { t_watch = m_outer; }

void noteByteMarks(std::size_t n)
{
    for (ByteMarkWatch *w = t_watch; w; w = w->m_outer)
        w->m_count += n;
}

std::string fromCp932(std::string_view bytes) { return decode(bytes); }

NonTextBytes firstNonTextBytes(std::string_view bytes)
{
    const Tables &t = tables();
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const HighChar c = highCharAt(t, bytes, i);
        if (!c.cp)
            return {i, c.length};
        i += c.length;
    }
    return {};
}

std::size_t firstCharNotInCp932(std::string_view utf8)
{
    const Tables &t = tables();
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t at = i;
        if (cp932Code(t, nextCodePoint(utf8, i)) < 0)
            return at;
    }
    return std::string_view::npos;
}

std::size_t cp932Width(std::string_view utf8)
{
    const Tables &t = tables();
    std::size_t w = 0;
    for (std::size_t i = 0; i < utf8.size();)
        w += static_cast<std::size_t>(codeWidth(cp932Code(t, nextCodePoint(utf8, i))));
    return w;
}

std::string cutToWidth(std::string_view utf8, std::size_t width)
{
    const Tables &t = tables();
    std::size_t w = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t next = i;
        const auto cw = static_cast<std::size_t>(codeWidth(cp932Code(t, nextCodePoint(utf8, next))));
        if (w + cw > width)
            break;
        w += cw;
        i = next;
    }
    return std::string(utf8.substr(0, i));
}

std::string leftChars(std::string_view utf8, std::size_t count)
{
    std::size_t i = 0;
    for (std::size_t n = 0; n < count && i < utf8.size(); ++n)
        nextCodePoint(utf8, i);
    return std::string(utf8.substr(0, i));
}

std::string midChars(std::string_view utf8, std::size_t start, std::size_t count)
{
    std::string out;
    std::size_t index = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t from = i;
        nextCodePoint(utf8, i);
        ++index;
        if (index >= start && index < start + count)
            out.append(utf8.substr(from, i - from));
    }
    return out;
}

std::size_t charCount(std::string_view utf8)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++n)
        nextCodePoint(utf8, i);
    return n;
}

std::string toField(std::string_view utf8, std::size_t width)
{
    const Tables &t = tables();
    std::string out;
    out.reserve(width);
    for (std::size_t i = 0; i < utf8.size();) {
        const int code = cp932Code(t, nextCodePoint(utf8, i));
        if (out.size() + static_cast<std::size_t>(codeWidth(code)) > width)
            break;
        appendCode(out, code);
    }
    out.resize(width, ' ');
    return out;
}

std::string fromField(std::string_view bytes, bool stopAtNul)
{
    if (stopAtNul) {
        const auto nul = bytes.find('\0');
        if (nul != std::string_view::npos)
            bytes = bytes.substr(0, nul);
    }
    return decode(bytes);
}

std::string trimLeft(std::string_view s)
{
    const auto p = s.find_first_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(s.substr(p));
}

std::string trimRight(std::string_view s)
{
    const auto p = s.find_last_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(s.substr(0, p + 1));
}

std::string trim(std::string_view s)
{
    const auto b = s.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    const auto e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

std::string fixedChars(std::string_view utf8, std::size_t count)
{
    std::size_t i = 0, n = 0;
    for (; n < count && i < utf8.size(); ++n)
        nextCodePoint(utf8, i);
    std::string out(utf8.substr(0, i));
    out.append(count - n, ' ');
    return out;
}

std::string padLeftChars(std::string_view utf8, std::size_t count)
{
    const std::size_t n = charCount(utf8);
    return n >= count ? std::string(utf8) : std::string(count - n, ' ').append(utf8);
}

std::string fixedCharsRight(std::string_view utf8, std::size_t count)
{
    const std::size_t n = charCount(utf8);
    return n >= count ? leftChars(utf8, count) : std::string(count - n, ' ').append(utf8);
}

std::string removeChars(std::string_view s, std::string_view chars)
{
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (chars.find(c) == std::string_view::npos)
            out.push_back(c);
    return out;
}

} // namespace qd::text
