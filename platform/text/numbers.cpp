#include "platform/text/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace qd::text {

namespace {

using i128 = __int128;

constexpr std::int64_t I64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t I64Min = std::numeric_limits<std::int64_t>::min();

std::int64_t saturate(i128 v)
{
    if (v > I64Max)
        return I64Max;
    if (v < I64Min)
        return I64Min;
    return static_cast<std::int64_t>(v);
}

// q = n / d rounded to the nearest whole number, ties away from zero (d != 0).
i128 divRoundHalfAway(i128 n, i128 d)
{
    const bool neg = (n < 0) != (d < 0);
    const i128 an = n < 0 ? -n : n;
    const i128 ad = d < 0 ? -d : d;
    i128 q = an / ad;
    if ((an % ad) * 2 >= ad)
        ++q;
    return neg ? -q : q;
}

// An exact decimal number: (neg ? -1 : 1) * digits * 10^exp. `digits` has no leading zeros;
// empty digits stand for zero. All formatting works on this form, so no value of a double
// or a fixed point is ever pushed through a narrower integer.
struct Decimal {
    bool neg = false;
    std::string digits;
    int exp = 0;

    bool isZero() const { return digits.empty(); }

    void normalize()
    {
        const auto p = digits.find_first_not_of('0');
        digits.erase(0, p == std::string::npos ? digits.size() : p);
        if (digits.empty())
            exp = 0;
    }

    void stripTrailingZeros()
    {
        while (!digits.empty() && digits.back() == '0') {
            digits.pop_back();
            ++exp;
        }
        if (digits.empty())
            exp = 0;
    }

    // Rounds to `decimals` places after the point, ties away from zero.
    void roundTo(int decimals)
    {
        if (digits.empty())
            return;
        const long long drop = -static_cast<long long>(exp) - decimals; // digits to remove
        if (drop <= 0)
            return;
        if (drop > static_cast<long long>(digits.size())) {
            digits.clear();
            exp = 0;
            return;
        }
        const auto keep = digits.size() - static_cast<std::size_t>(drop);
        const bool up = digits[keep] >= '5';
        digits.resize(keep);
        exp = -decimals;
        if (up) {
            std::size_t i = digits.size();
            while (i > 0 && digits[i - 1] == '9') {
                digits[i - 1] = '0';
                --i;
            }
            if (i == 0)
                digits.insert(digits.begin(), '1');
            else
                ++digits[i - 1];
        }
        normalize();
    }

    // Digits of the whole part, "" when it is zero.
    std::string integerDigits() const
    {
        if (digits.empty())
            return {};
        if (exp >= 0)
            return digits + std::string(static_cast<std::size_t>(exp), '0');
        const long long intLen = static_cast<long long>(digits.size()) + exp;
        if (intLen <= 0)
            return {};
        return digits.substr(0, static_cast<std::size_t>(intLen));
    }

    // The first `count` digits after the point, zero-filled.
    std::string fractionDigits(std::size_t count) const
    {
        std::string out(count, '0');
        if (digits.empty() || exp >= 0)
            return out;
        const long long intLen = static_cast<long long>(digits.size()) + exp; // may be <= 0
        for (std::size_t k = 0; k < count; ++k) {
            const long long idx = intLen + static_cast<long long>(k);
            if (idx >= 0 && idx < static_cast<long long>(digits.size()))
                out[k] = digits[static_cast<std::size_t>(idx)];
        }
        return out;
    }
};

Decimal decimalOf(std::uint64_t magnitude, bool neg, int exp)
{
    Decimal d;
    d.neg = neg;
    d.digits = std::to_string(magnitude);
    d.exp = exp;
    d.normalize();
    return d;
}

Decimal decimalOf(std::int64_t v)
{
    const bool neg = v < 0;
    const std::uint64_t mag = neg ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    return decimalOf(mag, neg, 0);
}

Decimal decimalOf(Fixed4 v)
{
    const std::int64_t r = v.raw();
    const bool neg = r < 0;
    const std::uint64_t mag = neg ? 0 - static_cast<std::uint64_t>(r) : static_cast<std::uint64_t>(r);
    return decimalOf(mag, neg, -4);
}

// Parses the "d.ddde[+-]xx" of a scientific rendering.
Decimal decimalOfScientific(const char *b, const char *e)
{
    Decimal d;
    if (b < e && *b == '-') {
        d.neg = true;
        ++b;
    }
    int fracDigits = 0;
    bool afterPoint = false;
    while (b < e && *b != 'e' && *b != 'E') {
        if (*b == '.') {
            afterPoint = true;
        } else {
            d.digits.push_back(*b);
            if (afterPoint)
                ++fracDigits;
        }
        ++b;
    }
    int x = 0;
    if (b < e) {
        ++b;
        if (b < e && *b == '+')
            ++b;
        std::from_chars(b, e, x);
    }
    d.exp = x - fracDigits;
    d.normalize();
    return d;
}

// The shortest decimal that reads back as the same double (2.675 is "2.675", not the binary
// value just below it). Only for finite values.
Decimal decimalOfShortest(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    return decimalOfScientific(buf, r.ptr);
}

// The double rounded to 15 significant digits, as the general number-to-text form shows it.
Decimal decimalOf15(double v)
{
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%.14e", v);
    return decimalOfScientific(buf, buf + n);
}

double toDouble(const Decimal &d)
{
    if (d.isZero())
        return 0.0;
    std::string s = d.digits + "e" + std::to_string(d.exp);
    double v = 0.0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large saturates, too small is zero; a digit count above any double's exponent
        // range can only mean too large when exp is not hugely negative.
        const long long magnitude = static_cast<long long>(d.digits.size()) + d.exp;
        v = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    return d.neg ? -v : v;
}

// Fixed-point raw value of an exact decimal: rounded to four decimals, ties away from zero,
// saturating at the limits of the 64-bit integer.
std::int64_t fixedRawOf(Decimal d)
{
    d.roundTo(4);
    if (d.isZero())
        return 0;
    const long long scale = static_cast<long long>(d.exp) + 4; // >= 0 after rounding
    if (static_cast<long long>(d.digits.size()) + scale > 19)
        return d.neg ? I64Min : I64Max;
    i128 v = 0;
    for (char c : d.digits)
        v = v * 10 + (c - '0');
    for (long long k = 0; k < scale; ++k)
        v *= 10;
    return saturate(d.neg ? -v : v);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number at the start of a text as an exact decimal. Blanks are skipped; an optional sign,
// digits, an optional point and digits, and an exponent (only when digits follow the "E")
// make the number; anything else ends it.
Decimal parseLeadingNumber(std::string_view s)
{
    Decimal d;
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        d.neg = s[i] == '-';
        ++i;
    }
    bool anyDigit = false;
    int fracDigits = 0;
    while (i < s.size() && isDigit(s[i])) {
        d.digits.push_back(s[i++]);
        anyDigit = true;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            d.digits.push_back(s[i++]);
            ++fracDigits;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return Decimal{};
    long long x = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        bool xneg = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            xneg = s[j] == '-';
            ++j;
        }
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j])) {
                if (x < 100000) // far beyond any double; keeps the sum in range
                    x = x * 10 + (s[j] - '0');
                ++j;
            }
            if (xneg)
                x = -x;
        }
    }
    d.exp = static_cast<int>(x) - fracDigits;
    d.normalize();
    return d;
}

// The pattern engine: "0" a digit always shown, "#" a digit shown when significant, "," the
// thousands separator (anywhere in the whole part), "." the decimal point, anything else
// copied where it stands.
std::string formatDecimal(Decimal d, std::string_view pattern)
{
    if (pattern.empty()) {
        // No pattern: the general form without its sign blank.
        d.stripTrailingZeros();
        std::string out = d.neg && !d.isZero() ? "-" : "";
        const std::string ip = d.integerDigits();
        out += ip.empty() ? "0" : ip;
        if (d.exp < 0) {
            out += '.';
            out += d.fractionDigits(static_cast<std::size_t>(-d.exp));
        }
        return out;
    }

    const auto dot = pattern.find('.');
    const std::string_view intPat = pattern.substr(0, dot);
    const std::string_view fracPat = dot == std::string_view::npos ? std::string_view() : pattern.substr(dot + 1);

    auto isPlace = [](char c) { return c == '0' || c == '#'; };
    std::size_t intPlaces = 0, firstZeroFromLeft = std::string_view::npos;
    bool grouping = false, anyZero = false;
    for (char c : intPat) {
        if (isPlace(c)) {
            if (c == '0') {
                anyZero = true;
                if (firstZeroFromLeft == std::string_view::npos)
                    firstZeroFromLeft = intPlaces;
            }
            ++intPlaces;
        } else if (c == ',') {
            grouping = true;
        }
    }
    std::size_t fracPlaces = 0, fracMinShown = 0;
    for (char c : fracPat) {
        if (isPlace(c)) {
            ++fracPlaces;
            if (c == '0') {
                anyZero = true;
                fracMinShown = fracPlaces;
            }
        }
    }

    d.roundTo(static_cast<int>(fracPlaces));
    if (d.isZero() && !anyZero)
        return {};

    std::string intDigits = d.integerDigits();
    const std::size_t minInt = firstZeroFromLeft == std::string_view::npos ? 0 : intPlaces - firstZeroFromLeft;
    if (intDigits.size() < minInt)
        intDigits.insert(0, minInt - intDigits.size(), '0');
    const std::string frac = d.fractionDigits(fracPlaces);
    std::size_t fracShown = fracMinShown;
    for (std::size_t k = fracPlaces; k > fracShown; --k)
        if (frac[k - 1] != '0') {
            fracShown = k;
            break;
        }

    std::string out;
    if (d.neg && !d.isZero())
        out.push_back('-');

    // Whole part: the digits fill the places from the right; the leftmost place takes every
    // digit that has no place of its own, so the whole part is never cut.
    const std::size_t n = intDigits.size();
    std::size_t next = 0; // next digit of intDigits to write
    auto emitDigit = [&](std::size_t idx) {
        out.push_back(intDigits[idx]);
        const std::size_t fromRight = n - 1 - idx;
        if (grouping && fromRight > 0 && fromRight % 3 == 0)
            out.push_back(',');
    };
    std::size_t placeNo = 0;
    for (char c : intPat) {
        if (c == ',')
            continue;
        if (!isPlace(c)) {
            out.push_back(c);
            continue;
        }
        const std::size_t placesRight = intPlaces - placeNo - 1; // places after this one
        if (placeNo == 0) {
            // Every digit beyond the places to the right belongs here.
            while (next + placesRight < n)
                emitDigit(next++);
        } else if (next + placesRight < n) {
            emitDigit(next++);
        }
        ++placeNo;
    }
    if (intPlaces == 0)
        while (next < n)
            emitDigit(next++);

    if (dot != std::string_view::npos) {
        if (fracShown > 0)
            out.push_back('.');
        std::size_t k = 0;
        for (char c : fracPat) {
            if (isPlace(c)) {
                if (k < fracShown)
                    out.push_back(frac[k]);
                ++k;
            } else if (c != ',') {
                out.push_back(c);
            }
        }
    }
    return out;
}

// The general number-to-text form of an exact decimal (already trimmed of trailing zeros).
std::string generalForm(const Decimal &d)
{
    std::string out = d.neg && !d.isZero() ? "-" : " ";
    if (d.isZero())
        return out + "0";
    out += d.integerDigits();
    if (d.exp < 0) {
        out += '.';
        out += d.fractionDigits(static_cast<std::size_t>(-d.exp));
    }
    return out;
}

} // namespace

// ---- Fixed4 ----

Fixed4 Fixed4::fromDouble(double v)
{
    if (std::isnan(v))
        return Fixed4{};
    if (std::isinf(v))
        return fromRaw(v > 0 ? I64Max : I64Min);
    return fromRaw(fixedRawOf(decimalOfShortest(v)));
}

Fixed4 operator*(Fixed4 a, Fixed4 b)
{
    return Fixed4::fromRaw(saturate(divRoundHalfAway(static_cast<i128>(a.m_raw) * b.m_raw, Fixed4::Scale)));
}

Fixed4 operator/(Fixed4 a, Fixed4 b)
{
    if (b.m_raw == 0)
        throw std::domain_error("division by zero");
    return Fixed4::fromRaw(saturate(divRoundHalfAway(static_cast<i128>(a.m_raw) * Fixed4::Scale, b.m_raw)));
}

std::int64_t Fixed4::fix() const { return m_raw / Scale; }

std::int64_t Fixed4::floor() const
{
    std::int64_t q = m_raw / Scale;
    if (m_raw % Scale != 0 && m_raw < 0)
        --q;
    return q;
}

std::int64_t Fixed4::roundHalfEven() const
{
    const std::int64_t q = floor();
    std::int64_t r = m_raw % Scale; // the fraction above q, 0 .. 9999, without forming q x Scale
    if (r < 0)
        r += Scale;
    if (r > Scale / 2 || (r == Scale / 2 && (q & 1) != 0))
        return q + 1;
    return q;
}

Fixed4 Fixed4::rounded(int decimals) const
{
    if (decimals >= 4)
        return *this;
    if (decimals < -14)
        decimals = -14;
    std::int64_t unit = 1;
    for (int k = decimals; k < 4; ++k)
        unit *= 10;
    return fromRaw(saturate(divRoundHalfAway(m_raw, unit) * unit));
}

// ---- reading ----

double val(std::string_view s) { return toDouble(parseLeadingNumber(s)); }

Fixed4 valFixed(std::string_view s) { return Fixed4::fromRaw(fixedRawOf(parseLeadingNumber(s))); }

Fixed4 valFixedRounded(std::string_view s, int decimals)
{
    Decimal d = parseLeadingNumber(s);
    d.roundTo(std::clamp(decimals, 0, 4));
    return Fixed4::fromRaw(fixedRawOf(d));
}

Fixed4 valFixedSkippingBlanks(std::string_view s)
{
    std::string packed;
    packed.reserve(s.size());
    for (char c : s)
        if (!isBlank(c))
            packed.push_back(c);
    return valFixed(packed);
}

namespace {

// Whether the text, blanks around it aside, is exactly one number as parseLeadingNumber reads it.
bool isWholeNumberText(std::string_view s)
{
    std::size_t i = 0, end = s.size();
    while (i < end && isBlank(s[i]))
        ++i;
    while (end > i && isBlank(s[end - 1]))
        --end;
    if (i < end && (s[i] == '+' || s[i] == '-'))
        ++i;
    bool anyDigit = false;
    while (i < end && isDigit(s[i])) {
        ++i;
        anyDigit = true;
    }
    if (i < end && s[i] == '.') {
        ++i;
        while (i < end && isDigit(s[i])) {
            ++i;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return false;
    if (i < end && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < end && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (i >= end || !isDigit(s[i]))
            return false;
        while (i < end && isDigit(s[i]))
            ++i;
    }
    return i == end;
}

} // namespace

std::optional<double> numberText(std::string_view s)
{
    if (!isWholeNumberText(s))
        return std::nullopt;
    const double v = val(s);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<Fixed4> numberTextFixed(std::string_view s)
{
    if (!isWholeNumberText(s))
        return std::nullopt;
    return valFixed(s);
}

// ---- formatting ----

std::string format(Fixed4 v, std::string_view pattern) { return formatDecimal(decimalOf(v), pattern); }

std::string format(double v, std::string_view pattern)
{
    if (std::isnan(v))
        return formatDecimal(Decimal{}, pattern);
    if (std::isinf(v))
        v = v > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    return formatDecimal(decimalOfShortest(v), pattern);
}

std::string format(std::int64_t v, std::string_view pattern) { return formatDecimal(decimalOf(v), pattern); }

std::string str(Fixed4 v)
{
    Decimal d = decimalOf(v);
    d.stripTrailingZeros();
    return generalForm(d);
}

std::string str(std::int64_t v) { return generalForm(decimalOf(v)); }

std::string str(double v)
{
    if (std::isnan(v))
        return " 0";
    if (std::isinf(v))
        v = v > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    Decimal d = decimalOf15(v);
    d.stripTrailingZeros();
    if (d.isZero())
        return " 0";
    // Position of the first significant digit: 10^lead <= |v| < 10^(lead+1).
    const long long lead = static_cast<long long>(d.digits.size()) - 1 + d.exp;
    if (lead >= -4 && lead < 15)
        return generalForm(d);
    std::string out = d.neg ? "-" : " ";
    out += d.digits[0];
    if (d.digits.size() > 1) {
        out += '.';
        out += d.digits.substr(1);
    }
    const long long mag = lead < 0 ? -lead : lead;
    out += lead < 0 ? "E-" : "E+";
    if (mag < 10)
        out += '0';
    return out + std::to_string(mag);
}

// ---- conversions to whole numbers ----

namespace {
std::int64_t clampToInt64(double r)
{
    if (std::isnan(r))
        return 0;
    // 2^63 is exactly representable; anything at or above it does not fit.
    if (r >= 9223372036854775808.0)
        return I64Max;
    if (r < -9223372036854775808.0)
        return I64Min;
    return static_cast<std::int64_t>(r);
}
} // namespace

std::int64_t roundHalfEven(double v) { return clampToInt64(std::nearbyint(v)); }
std::int64_t fix(double v) { return clampToInt64(std::trunc(v)); }
std::int64_t intFloor(double v) { return clampToInt64(std::floor(v)); }

double roundHalfAway(double v, int decimals)
{
    if (!std::isfinite(v) || v == 0.0)
        return v;
    Decimal d = decimalOfShortest(v);
    d.roundTo(decimals);
    return toDouble(d);
}

} // namespace qd::text
