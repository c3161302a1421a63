// The number conventions of the system: reading the number at the start of a text, format
// patterns, rounding, and the fixed point with four decimals that holds money and rates.
#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace qd::text {

// Fixed point: the value x 10,000 in a signed 64-bit integer (four decimals). Money and
// rates are exact in it: 32.3 % of 1,000 yen is 323 yen, not 322.
class Fixed4 {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Fixed4() = default;
    static constexpr Fixed4 fromRaw(std::int64_t raw) { Fixed4 f; f.m_raw = raw; return f; }
    static constexpr Fixed4 fromInt(std::int64_t v) { return fromRaw(v * Scale); }
    // Nearest fixed-point value to a double, ties away from zero.
    static Fixed4 fromDouble(double v);

    constexpr std::int64_t raw() const { return m_raw; }
    double toDouble() const { return static_cast<double>(m_raw) / Scale; }

    friend constexpr Fixed4 operator+(Fixed4 a, Fixed4 b) { return fromRaw(a.m_raw + b.m_raw); }
    friend constexpr Fixed4 operator-(Fixed4 a, Fixed4 b) { return fromRaw(a.m_raw - b.m_raw); }
    friend constexpr Fixed4 operator-(Fixed4 a) { return fromRaw(-a.m_raw); }
    // Product and quotient rounded to four decimals, ties away from zero (exact decimal).
    friend Fixed4 operator*(Fixed4 a, Fixed4 b);
    friend Fixed4 operator/(Fixed4 a, Fixed4 b); // throws std::domain_error on division by 0
    Fixed4 &operator+=(Fixed4 b) { m_raw += b.m_raw; return *this; }
    // A sum that stays at the limits of the fixed point rather than wrapping: totals of many
    // amounts typed beyond any price.
    friend constexpr Fixed4 addSaturating(Fixed4 a, Fixed4 b)
    {
        std::int64_t r = 0;
        if (__builtin_add_overflow(a.m_raw, b.m_raw, &r))
            r = b.m_raw > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
        return fromRaw(r);
    }
    Fixed4 &operator-=(Fixed4 b) { m_raw -= b.m_raw; return *this; }
    friend constexpr auto operator<=>(Fixed4 a, Fixed4 b) = default;
    friend constexpr bool operator==(Fixed4 a, Fixed4 b) = default;

    // Fix: fraction dropped toward zero. Int: greatest whole number not above.
    std::int64_t fix() const;
    std::int64_t floor() const;
    // Whole number nearest, ties to even (a conversion to a 16- or 32-bit integer).
    std::int64_t roundHalfEven() const;
    // Rounded to `decimals` (0..4) places, ties away from zero.
    Fixed4 rounded(int decimals) const;

private:
    std::int64_t m_raw = 0;
};

// The number at the start of a text: blanks skipped, then an optional sign, digits, an
// optional "." and digits, an optional exponent; reading stops at the first character that
// cannot continue the number; no number gives 0. "1,234" gives 1, "abc" gives 0.
double val(std::string_view s);
// The same read exactly into fixed point (rounded to four decimals, ties away from zero);
// a number too large for the fixed point saturates.
Fixed4 valFixed(std::string_view s);
// The number at the start of a text rounded once, exactly, to `decimals` places (0..4), ties
// away from zero: a rate typed as "12.34499" is 12.34 to two places, where reading it to four
// places first (12.3450) and rounding that would give 12.35. Saturates like valFixed.
Fixed4 valFixedRounded(std::string_view s, int decimals);
// The number of a text as the row pricing reads its cells: blanks anywhere in the text are
// skipped, so "1 800" is 1800 and "- 5" is -5; otherwise as valFixed.
Fixed4 valFixedSkippingBlanks(std::string_view s);

// A whole text read as one number, as an entry box takes it on Enter: blanks around it are
// allowed; a text without a digit, or with anything that cannot belong to the number ("12a",
// "1,2"), gives nullopt. The exact form saturates like valFixed.
std::optional<double> numberText(std::string_view s);
std::optional<Fixed4> numberTextFixed(std::string_view s);

// Format patterns of "0" (digit always shown), "#" (digit shown only when significant),
// "," (thousands separator anywhere in the integer part) and "." (decimal point); other
// characters are copied. Rounds half away from zero on the exact decimal value. A zero under
// a pattern with no "0" digit gives "" ("#########" of 0 is "", "##0.00" of 0 is "0.00").
// A negative value gets a leading "-". The integer part is never cut: 12345 under "##0"
// gives "12345".
std::string format(Fixed4 v, std::string_view pattern);
std::string format(double v, std::string_view pattern);
std::string format(std::int64_t v, std::string_view pattern);
// Any other integer type (int, short, ...) is formatted as a 64-bit integer; without this a
// call such as format(0, "00") would be ambiguous.
template <std::integral T>
    requires(!std::same_as<T, std::int64_t> && !std::same_as<T, bool>)
std::string format(T v, std::string_view pattern) { return format(static_cast<std::int64_t>(v), pattern); }

// The general number-to-text form: a leading blank where a minus sign would stand, no
// trailing zeros, no thousands separators (" 1000", " 8.5", "-3", " 0"); a value below 1
// has no "0" before its point (" .5"). A double shows 15 significant digits and switches
// to the exponent form outside 1E-4 .. 1E15 (" 1E+15").
std::string str(Fixed4 v);
std::string str(double v);
std::string str(std::int64_t v);
template <std::integral T>
    requires(!std::same_as<T, std::int64_t> && !std::same_as<T, bool>)
std::string str(T v) { return str(static_cast<std::int64_t>(v)); }

// Conversions to integers.
std::int64_t roundHalfEven(double v);  // CInt / CLng: nearest, ties to even
std::int64_t fix(double v);            // toward zero
std::int64_t intFloor(double v);       // greatest whole number not above
// Rounding half away from zero at `decimals` places of a double, on its shortest decimal
// representation (so 2.675 rounds to 2.68).
double roundHalfAway(double v, int decimals);

} // namespace qd::text
