#include "quotedesk/core/row_pricing.h"

#include <limits>

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/documents.h"

namespace qd::core {

namespace {

using qd::text::format;
using qd::text::trim;
using i128 = __int128;

// Sheet columns the pricing reads and writes.
enum Col {
    C_W = 4, C_H = 5, C_D = 6, C_M2_TANKA = 7, C_IRO = 8, C_SURYO = 9, C_RITU_KBN = 11,
    C_KAKERITU = 12, C_TEIKA = 13, C_TANKA = 14, C_KINGAKU = 15, C_GENKA_RITU = 17,
    C_GENKA = 18, C_GENKA_KINGAKU = 19, C_ARARI = 20
};

// A work field of `width` characters: the first characters of the text, blank-padded.
std::string work(std::string_view text, std::size_t width) { return qd::text::fixedChars(text, width); }

bool isBlank(std::string_view s) { return trim(s).empty(); }

// The number a work field or cell holds (blanks anywhere skipped: "1 800" is 1800).
Fixed4 num(std::string_view s) { return qd::text::valFixedSkippingBlanks(s); }

// A number's text as a work field of `width`: cut to the field (a cut of decimals only, as the
// field always made it) and padded. A number whose whole part the field cannot hold is kept
// whole: it is never read as another number.
std::string fieldWork(std::string_view text, std::size_t width)
{
    return wholePartFits(text, width) ? work(text, width) : std::string(text);
}

// The number a cell's text gives in a work field of `width` (see fieldWork).
Fixed4 fieldValue(std::string_view text, std::size_t width) { return num(fieldWork(text, width)); }

// A result far beyond any price (text such as "9e99" typed into a cell) stays at the limit of
// 64 bits; the work fields cut it anyway.
std::int64_t clamp64(i128 v)
{
    constexpr i128 hi = std::numeric_limits<std::int64_t>::max(), lo = std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(v > hi ? hi : v < lo ? lo : v);
}

// Whole yen in fixed point; far beyond any price it stays at the limit of the fixed point.
Fixed4 yen(std::int64_t v)
{
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max() / Fixed4::Scale;
    if (v > limit || v < -limit)
        return Fixed4::fromRaw(v > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min());
    return Fixed4::fromInt(v);
}

// Whole yen of a product, halves away from zero, exact in decimal.
std::int64_t roundedProduct(Fixed4 a, Fixed4 b)
{
    const i128 scale = static_cast<i128>(Fixed4::Scale) * Fixed4::Scale;
    const i128 p = static_cast<i128>(a.raw()) * b.raw();
    const i128 m = p < 0 ? -p : p;
    const i128 q = (m + scale / 2) / scale;
    return clamp64(p < 0 ? -q : q);
}

} // namespace

bool wholePartFits(std::string_view text, std::size_t width)
{
    const std::string_view t = text.substr(0, text.find('.'));
    return qd::text::cp932Width(trim(t)) <= width;
}

void markBeyondField(qd::grid::FlexGrid &grid, int row, int col)
{
    if (col >= grid.cols())
        return;
    const bool beyond = !cellFitsItsField(col, grid.cell(row, col));
    const bool marked = grid.backColor(row, col) == BEYOND_FIELD_COLOR;
    if (beyond != marked)
        grid.setBackColor(row, col, beyond ? BEYOND_FIELD_COLOR : qd::grid::DefaultColor);
}

std::string withoutMoneyMarks(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == ',' || s[i] == '\\')
            continue;
        if (s.compare(i, 2, "\xC2\xA5") == 0) { // U+00A5, stored as 0x5C like "\"
            ++i;
            continue;
        }
        out.push_back(s[i]);
    }
    return out;
}

Fixed4 pricedQuantity(std::string_view cell)
{
    const std::string q = trim(withoutMoneyMarks(cell));
    return num(q) == Fixed4() ? Fixed4() : num(work(q, 5));
}

std::int64_t ratedPrice(Fixed4 rate, Fixed4 price, std::int16_t unit, std::int16_t adj)
{
    if (unit < 1) {
        unit = 1;
        adj = 0;
    }
    // rate.raw x price.raw is the product x 10^8; divided by 100 the rated price x 10^10.
    const i128 scale = static_cast<i128>(Fixed4::Scale) * Fixed4::Scale * 100;
    const i128 x = static_cast<i128>(rate.raw()) * price.raw() + static_cast<i128>(adj) * scale;
    return clamp64(x / (scale * unit) * unit); // the division truncates: Fix
}

std::int64_t unitRounded(Fixed4 price, std::int16_t unit, std::int16_t adj)
{
    if (unit < 1) {
        unit = 1;
        adj = 0;
    }
    const i128 x = static_cast<i128>(price.raw()) + static_cast<i128>(adj) * Fixed4::Scale;
    return clamp64(x / (static_cast<i128>(Fixed4::Scale) * unit) * unit);
}

void ROW_CALC(QdState &g)
{
    qd::grid::FlexGrid &grid = g.curGrid();
    LineWork &w = g.LINE_WORK;
    const int r = grid.row();
    auto cell = [&](int c) -> const std::string & { return grid.cell(r, c); };
    auto setCell = [&](int c, std::string_view t) { grid.setCell(r, c, t); };

    // 1. Work fields of the figures start blank.
    w.SURYO = work("", 5);
    w.KAKERITU = work("", 6);
    w.TEIKA = work("", 7);
    w.TANKA = work("", 7);
    w.KINGAKU = work("", 8);
    w.GENKA_RITU = work("", 6);
    w.GENKA = work("", 7);
    w.GENKA_KINGAKU = work("", 8);
    w.ARARI = work("", 8);

    // 2. Quantity. Its separators go before it is read, as the document save reads it, so that
    // "1,000" prices a thousand pieces and not one.
    Fixed4 qty;
    {
        const std::string q = trim(withoutMoneyMarks(cell(C_SURYO)));
        if (num(q) != Fixed4()) {
            w.SURYO = fieldWork(q, 5);
            qty = fieldValue(q, 5);
        }
    }

    // 3. Sizes: a size that is no number (or zero) is blanked.
    auto size = [&](int c) {
        const Fixed4 v = num(cell(c));
        if (v == Fixed4())
            setCell(c, "       ");
        return v;
    };
    const Fixed4 W = size(C_W), H = size(C_H), D = size(C_D);

    // 4. Area or volume price.
    const std::string m2 = trim(withoutMoneyMarks(cell(C_M2_TANKA)));
    w.M2_TANKA = fieldWork(m2, 7);
    const Fixed4 p = fieldValue(m2, 7);

    // 5. List price from the sizes: per square metre without a depth, per cubic metre with one.
    const Fixed4 zero;
    if (H > zero && W > zero && p > zero) {
        double a;
        if (D == zero)
            a = (W.toDouble() / 1000 * H.toDouble() / 1000) * p.toDouble();
        else if (D > zero)
            a = (H.toDouble() / 1000 * (W.toDouble() / 1000 * D.toDouble() / 1000)) * p.toDouble();
        else
            a = -1;
        if (a >= 0) {
            setCell(C_TEIKA, format(Fixed4::fromDouble(a), "###,###,###"));
            setCell(C_M2_TANKA, format(p, "###,###,###"));
        }
    }

    // 6. Texts carried to the work fields.
    w.IRO_NAME = work(trim(cell(C_IRO)), 20);
    w.RITU_KBN = work(trim(cell(C_RITU_KBN)), 6);
    w.KAKERITU = work(trim(cell(C_KAKERITU)), 6);
    const Fixed4 rate = fieldValue(trim(cell(C_KAKERITU)), 6);

    // 7. List price, rewritten with separators.
    setCell(C_TEIKA, withoutMoneyMarks(cell(C_TEIKA)));
    Fixed4 teika;
    {
        const std::string t = trim(cell(C_TEIKA));
        w.TEIKA = fieldWork(t, 7);
        teika = fieldValue(t, 7);
        if (teika != zero)
            setCell(C_TEIKA, format(teika, "###,###,###"));
        else
            w.TEIKA = work(cell(C_TEIKA), 7);
    }

    // A price and its amount: from the rate when there is one, else the typed price, rounded up
    // to the calculation unit. A price the rate cannot produce keeps what the cell shows. No
    // figure is cut to its field: one that the field cannot hold stands whole in its cell, and
    // the cell is marked below.
    auto priceAndAmount = [&](std::string &price, const std::string &rateText, Fixed4 rateValue, int priceCol,
                              std::string &amount, int amountCol) {
        const std::string typed = trim(withoutMoneyMarks(cell(priceCol)));
        const std::int64_t computed = isBlank(rateText)
                                          ? unitRounded(fieldValue(typed, 7), g.CALC_UNIT, g.CALC_ADJ)
                                          : ratedPrice(rateValue, teika, g.CALC_UNIT, g.CALC_ADJ);
        Fixed4 priceValue;
        if (computed != 0) {
            price = fieldWork(format(computed, "#########"), 7);
            priceValue = yen(computed);
            setCell(priceCol, format(computed, "###,###,###"));
        } else {
            price = fieldWork(typed, 7);
            priceValue = fieldValue(typed, 7);
        }
        const std::int64_t a = roundedProduct(qty, priceValue);
        amount = fieldWork(format(a, "########"), 8);
        setCell(amountCol, format(a, "###,###,###"));
        return a;
    };

    // 8, 9. Unit price and amount.
    const std::int64_t kingaku = priceAndAmount(w.TANKA, w.KAKERITU, rate, C_TANKA, w.KINGAKU, C_KINGAKU);

    // 10, 11, 12. Cost and cost amount: from the cost rate when there is one, else the typed cost.
    w.GENKA_RITU = work(trim(cell(C_GENKA_RITU)), 6);
    const Fixed4 costRate = fieldValue(trim(cell(C_GENKA_RITU)), 6);
    const std::int64_t genkaKingaku =
        priceAndAmount(w.GENKA, w.GENKA_RITU, costRate, C_GENKA, w.GENKA_KINGAKU, C_GENKA_KINGAKU);

    // 13. Gross profit.
    const std::int64_t arari = clamp64(static_cast<i128>(kingaku) - genkaKingaku);
    w.ARARI = fieldWork(format(arari, "########"), 8);
    setCell(C_ARARI, format(arari, "###,###,###"));

    // Every figure of the row that its field in the document cannot hold is marked: the save
    // refuses such a row rather than store another number.
    for (int c : {C_W, C_H, C_D, C_M2_TANKA, C_SURYO, C_RITU_KBN, C_KAKERITU, C_TEIKA, C_TANKA, C_KINGAKU,
                  C_GENKA_RITU, C_GENKA, C_GENKA_KINGAKU, C_ARARI})
        markBeyondField(grid, r, c);

    // 14. The cursor returns to the cell the caller named.
    grid.setCol(g.COL_NO);
    grid.setRow(g.ROW_NO);
}

} // namespace qd::core
