#include "quotedesk/core/tax_totals.h"

#include <algorithm>
#include <limits>
#include <string>

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/group_rows.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/sheet_setup.h"

namespace qd::core {

namespace {

using qd::text::format;
using qd::text::trim;
using qd::text::valFixed;

constexpr int SlotCount = 10;
constexpr int C_HINMEI = 2, C_KINGAKU = 15, C_ZEI_RITU = 23;

// The totals are 32-bit; a sum beyond their range stays at the limit.
std::int32_t to32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max()));
}

// A 32-bit total plus a fixed-point value, rounded to whole yen (ties to even) and kept in range.
std::int32_t addTo32(std::int32_t total, Fixed4 v)
{
    const Fixed4 sum = addSaturating(Fixed4::fromInt(total), v);
    constexpr std::int64_t limit = std::int64_t{1} << 40; // far outside 32 bits, far inside 64
    if (sum.raw() / Fixed4::Scale > limit || sum.raw() / Fixed4::Scale < -limit)
        return sum.raw() > 0 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
    return to32(sum.roundHalfEven());
}

// A cell of the sheet, or the empty text for a column the sheet does not have.
const std::string &cellOf(const qd::grid::FlexGrid &grid, int r, int c)
{
    static const std::string none;
    return c < grid.cols() ? grid.cell(r, c) : none;
}

// The tax of one slot: added to the base (外税) or contained in it (内税).
Fixed4 slotTax(Fixed4 base, Fixed4 rate, std::int16_t mode)
{
    const Fixed4 hundred = Fixed4::fromInt(100);
    const Fixed4 product = base * rate; // four decimals first
    if (mode == 0) {
        const Fixed4 divisor = addSaturating(hundred, rate);
        return divisor == Fixed4() ? Fixed4() : product / divisor;
    }
    return product / hundred;
}

// Adds the rows 1 .. last of the current sheet into the slot tables and the amount total.
// `shade` shades group rows on the way (the current cell moves to each of them).
// Returns the last cell read, (row, column).
std::pair<int, int> sumRows(QdState &g, int last, bool shade, Fixed4 &exactAmount)
{
    qd::grid::FlexGrid &grid = g.curGrid();
    const Fixed4 zero;
    std::pair<int, int> lastCell{-1, -1};
    last = std::min(last, grid.rows() - 1);
    for (int r = 1; r <= last; ++r) {
        lastCell = {r, C_HINMEI};
        if (hasGroupMark(cellOf(grid, r, C_HINMEI))) {
            if (shade) {
                grid.setRow(r);
                grid.setCol(C_HINMEI);
                GRID_X_SHADE(g);
            }
            continue; // group rows are carried by their total row
        }
        const Fixed4 a = valFixed(trim(withoutMoneyMarks(cellOf(grid, r, C_KINGAKU))));
        g.DOC_AMOUNT_TOTAL = addTo32(g.DOC_AMOUNT_TOTAL, a);
        exactAmount = addSaturating(exactAmount, a);

        lastCell = {r, C_ZEI_RITU};
        g.LINE_TAX_RATE = rowTaxRate(cellOf(grid, r, C_ZEI_RITU), a, g.TAX_RATE);
        if (g.LINE_TAX_RATE == zero)
            continue; // an empty line, or no common rate set: untaxed, and no slot is given away

        // The first slot of the same rate (to two decimals) takes the row, else the first free
        // slot. An eleventh rate finds none: its amount is in the total and in no tax.
        const std::string key = format(g.LINE_TAX_RATE, "#00.00");
        bool placed = false;
        for (int i = 1; i <= SlotCount && !placed; ++i) {
            if (g.TAX_TBL_RATE[i] != zero && format(g.TAX_TBL_RATE[i], "#00.00") == key) {
                g.TAX_TBL_INDEX = static_cast<std::int16_t>(i);
                g.TAX_TBL_BASE[i] = addSaturating(g.TAX_TBL_BASE[i], a);
                placed = true;
            }
        }
        for (int i = 1; i <= SlotCount && !placed; ++i) {
            if (g.TAX_TBL_RATE[i] == zero) {
                g.TAX_TBL_INDEX = static_cast<std::int16_t>(i);
                g.TAX_TBL_RATE[i] = g.LINE_TAX_RATE;
                g.TAX_TBL_BASE[i] = addSaturating(g.TAX_TBL_BASE[i], a);
                placed = true;
            }
        }
    }
    return lastCell;
}

void clearTables(QdState &g)
{
    for (int i = 1; i <= SlotCount; ++i)
        g.TAX_TBL_RATE[i] = g.TAX_TBL_BASE[i] = g.TAX_TBL_TAX[i] = Fixed4();
    g.DOC_AMOUNT_TOTAL = g.DOC_TAX_TOTAL = g.DOC_GROSS_TOTAL = 0;
}

bool fits32(Fixed4 v)
{
    const std::int64_t yen = v.raw() / Fixed4::Scale;
    return yen >= std::numeric_limits<std::int32_t>::min() && yen <= std::numeric_limits<std::int32_t>::max();
}

// Tax of every slot, the breakdown lists, the caption and the total boxes. `exactAmount` is the
// amount total beyond the 32 bits of DOC_AMOUNT_TOTAL: a total those cannot hold is shown whole
// in its box, marked, and never as the limit it stands at.
void finishTotals(QdState &g, Fixed4 exactAmount)
{
    CoreUi &ui = g.UI();
    const bool included = g.TAX_MODE == 0; // any other value adds the tax, as 1 does
    g.DOC_TAX_TOTAL = 0;
    ui.comboClear("Combo4");
    ui.comboClear("Combo5");
    for (int i = 1; i <= SlotCount; ++i) {
        if (g.TAX_TBL_RATE[i] != Fixed4()) {
            const Fixed4 p = g.TAX_TBL_RATE[i], b = g.TAX_TBL_BASE[i];
            g.TAX_WORK = slotTax(b, p, included ? 0 : 1).toDouble();
            TAX_ROUND(g);
            g.TAX_TBL_TAX[i] = Fixed4::fromDouble(g.TAX_WORK);
            ui.comboAddItem("Combo4", "【税率】" + format(p, "#00.00") + ":" + "【対象額】" + format(b, "###,###,##0") +
                                          ":" + "【消費税額】" + format(g.TAX_TBL_TAX[i], "###,###,##0"));
            ui.comboAddItem("Combo5", format(p, "#00.00") + " " + format(i, "00"));
        }
        g.DOC_TAX_TOTAL = addTo32(g.DOC_TAX_TOTAL, g.TAX_TBL_TAX[i]);
    }
    ui.setControlText("Label11", included ? "消費税額(内税)" : "消費税額(外税)");
    g.DOC_GROSS_TOTAL = to32(static_cast<std::int64_t>(g.DOC_AMOUNT_TOTAL) + g.DOC_TAX_TOTAL);

    Fixed4 exactTax;
    for (int i = 1; i <= SlotCount; ++i)
        exactTax = addSaturating(exactTax, g.TAX_TBL_TAX[i]);
    const Fixed4 exactGross = addSaturating(exactAmount, exactTax);
    g.TOTALS_BEYOND_FIELDS = !fits32(exactAmount) || !fits32(exactTax) || !fits32(exactGross);
    auto show = [&](const char *box, std::int32_t total, Fixed4 exact) {
        ui.setControlText(box, g.TOTALS_BEYOND_FIELDS ? format(exact, "###,###,###") : format(total, "###,###,###"));
        ui.setControlMarked(box, !fits32(exact));
    };
    show("Text4", g.DOC_AMOUNT_TOTAL, exactAmount);
    ui.setControlText("Text5", format(0, "###,###,###"));
    show("Text6", g.DOC_TAX_TOTAL, exactTax);
    if (included)
        show("Text7", g.DOC_AMOUNT_TOTAL, exactAmount);
    else
        show("Text7", g.DOC_GROSS_TOTAL, exactGross);
}

// The hourglass stands while the totals run, also when they fail.
struct Hourglass {
    CoreUi &ui;
    explicit Hourglass(CoreUi &u) : ui(u) { ui.setMousePointer(11); }
    ~Hourglass() { ui.setMousePointer(0); }
};

} // namespace

Fixed4 rowTaxRate(std::string_view rateCell, Fixed4 amount, Fixed4 commonRate)
{
    const Fixed4 own = valFixed(trim(rateCell));
    if (own != Fixed4())
        return own;
    if (amount == Fixed4())
        return Fixed4(); // nothing to tax: an empty line takes no slot
    // A row without a rate of its own is taxed at the common rate, as it reads back after a
    // save (the common rate to two decimals).
    return commonRate.rounded(2);
}

Fixed4 taxRound(Fixed4 v, std::int16_t unit, std::int16_t mode)
{
    auto floorTo = [](Fixed4 x, std::int64_t step) {
        // Int(x / step) x step on the exact value.
        const std::int64_t d = step * Fixed4::Scale;
        std::int64_t q = x.raw() / d;
        if (x.raw() % d != 0 && x.raw() < 0)
            --q;
        return Fixed4::fromInt(q * step);
    };
    if (unit != 1 && unit != 10 && unit != 100)
        return v;
    constexpr std::int64_t beyond = std::numeric_limits<std::int64_t>::max() / 2;
    if (v.raw() > beyond || v.raw() < -beyond)
        return v; // far beyond any tax (a rate or amount typed as "9e99"): left as it stands
    // Rounding up adds 0.9 of the unit, not all of it: 100.05 yen rounds up to 100.
    const Fixed4 up = unit == 1 ? Fixed4::fromRaw(9000) : Fixed4::fromInt(unit * 9 / 10);
    const Fixed4 half = unit == 1 ? Fixed4::fromRaw(5000) : Fixed4::fromInt(unit / 2);
    switch (mode) {
    case 1: v = Fixed4::fromInt(addSaturating(v, up).floor()); break;
    case 2: v = Fixed4::fromInt(v.fix()); break;
    case 3: v = Fixed4::fromInt(addSaturating(v, half).floor()); break;
    default: break;
    }
    return unit == 1 ? v : floorTo(v, unit);
}

void TAX_ROUND(QdState &g)
{
    g.TAX_WORK = taxRound(Fixed4::fromDouble(g.TAX_WORK), g.TAX_REC.HASU_TANI, g.TAX_REC.HASU_MODE).toDouble();
}

void TAX_TOTAL_CALC(QdState &g)
{
    Hourglass hourglass(g.UI());
    clearTables(g);
    GRID_LAST_ROW(g);
    Fixed4 exactAmount;
    sumRows(g, g.LAST_ROW, true, exactAmount);
    finishTotals(g, exactAmount);
    qd::grid::FlexGrid &grid = g.curGrid();
    grid.setRow(g.ROW_NO);
    grid.setCol(g.COL_NO);
}

void TAX_BREAKDOWN(QdState &g)
{
    clearTables(g);
    GRID_LAST_ROW(g);
    Fixed4 exactAmount;
    const auto [row, col] = sumRows(g, g.LAST_ROW, false, exactAmount);
    finishTotals(g, exactAmount);
    if (row >= 0) {
        qd::grid::FlexGrid &grid = g.curGrid();
        grid.setRow(row);
        grid.setCol(std::min(col, grid.cols() - 1));
    }
}

} // namespace qd::core
