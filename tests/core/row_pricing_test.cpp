#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/text/cp932.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/core/row_pricing.h"
#include "tests/core/pricing_fakes.h"

namespace qd::core {
namespace {

using Cells = std::map<int, std::string>;

// Sheet columns of a priced row.
enum { W = 4, H = 5, D = 6, M2 = 7, SURYO = 9, KAKE = 12, TEIKA = 13, TANKA = 14, KINGAKU = 15,
       GRITU = 17, GENKA = 18, GKINGAKU = 19, ARARI = 20, ZEIRITU = 23, ZEIGAKU = 24 };

struct Case {
    const char *name;
    int unit;
    Cells in;
    Cells want; // cells after the call ("" = empty)
};

class RowCalcTest : public ::testing::Test {
protected:
    NullCoreUi ui;
    QdState g;
    void SetUp() override
    {
        g.ui = &ui;
        pricing_test::makeSheet(g, 40);
    }
    void price(int row, const Cells &in, int unit)
    {
        for (const auto &[c, t] : in)
            g.curGrid().setCell(row, c, t);
        g.CALC_UNIT = static_cast<std::int16_t>(unit);
        g.CALC_ADJ = static_cast<std::int16_t>(unit - 1);
        g.curGrid().setRow(row);
        g.ROW_NO = row;
        g.COL_NO = 9;
        ROW_CALC(g);
    }
};

TEST_F(RowCalcTest, PricesRowsByTheTable)
{
    const Cells worked = {{TEIKA, "12,345"}, {KAKE, "55"}, {SURYO, "3"}, {GRITU, "40"}};
    const std::vector<Case> cases = {
        // List price, rate and cost rate at every calculation unit.
        {"unit 1", 1, worked,
         {{TANKA, "6,789"}, {KINGAKU, "20,367"}, {GENKA, "4,938"}, {GKINGAKU, "14,814"}, {ARARI, "5,553"}}},
        {"unit 10", 10, worked,
         {{TEIKA, "12,345"}, {TANKA, "6,790"}, {KINGAKU, "20,370"}, {GENKA, "4,940"}, {GKINGAKU, "14,820"}, {ARARI, "5,550"}}},
        {"unit 100", 100, worked,
         {{TANKA, "6,800"}, {KINGAKU, "20,400"}, {GENKA, "5,000"}, {GKINGAKU, "15,000"}, {ARARI, "5,400"}}},
        {"unit 1000", 1000, worked,
         {{TANKA, "7,000"}, {KINGAKU, "21,000"}, {GENKA, "5,000"}, {GKINGAKU, "15,000"}, {ARARI, "6,000"}}},
        // Area price: no depth is per square metre; no rate and no unit price leave them empty.
        {"area", 1, {{W, "1800"}, {H, "900"}, {M2, "12000"}, {SURYO, "2"}},
         {{TEIKA, "19,440"}, {M2, "12,000"}, {TANKA, ""}, {KINGAKU, ""}, {ARARI, ""}}},
        {"volume", 1, {{W, "1000"}, {H, "500"}, {D, "200"}, {M2, "50,000"}, {KAKE, "100"}, {SURYO, "1"}},
         {{TEIKA, "5,000"}, {TANKA, "5,000"}, {KINGAKU, "5,000"}}},
        {"area price with a yen mark", 1, {{W, "1000"}, {H, "1000"}, {M2, "\\8,500"}},
         {{M2, "8,500"}, {TEIKA, "8,500"}}},
        {"no height: no list price", 1, {{W, "1800"}, {H, "0"}, {M2, "12000"}, {TEIKA, "8000"}},
         {{H, "       "}, {TEIKA, "8,000"}, {M2, "12000"}}},
        {"depth of letters counts 0", 1, {{W, "1800"}, {H, "900"}, {D, "abc"}, {M2, "12000"}},
         {{D, "       "}, {TEIKA, "19,440"}}},
        {"list price with yen mark", 10, {{TEIKA, "\\12,345"}, {KAKE, "55"}},
         {{TEIKA, "12,345"}, {TANKA, "6,790"}}},
        {"typed unit price, unit 100", 100, {{TANKA, "1234.5"}}, {{TANKA, "1,300"}}},
        {"typed unit price, unit 1", 1, {{TANKA, "1234.5"}}, {{TANKA, "1,234"}}},
        {"rate 0 keeps the typed price", 1, {{TEIKA, "1000"}, {KAKE, "0"}, {TANKA, "500"}, {SURYO, "2"}},
         {{TANKA, "500"}, {KINGAKU, "1,000"}}},
        {"rate without list price keeps the price", 10, {{KAKE, "55"}, {TANKA, "\\777"}, {SURYO, "1"}},
         {{TANKA, "\\777"}, {KINGAKU, "777"}}},
        {"amount rounds half away", 1, {{SURYO, "1.5"}, {TANKA, "333"}}, {{KINGAKU, "500"}}},
        {"negative gross profit", 1, {{SURYO, "1"}, {TANKA, "1000"}, {GENKA, "2,200"}},
         {{KINGAKU, "1,000"}, {GKINGAKU, "2,200"}, {ARARI, "-1,200"}}},
        {"negative price, unit 10", 10, {{SURYO, "1"}, {TANKA, "-1234"}}, {{TANKA, "-1,220"}}},
        {"no quantity: no amounts", 1, {{TANKA, "1000"}, {GENKA, "600"}},
         {{KINGAKU, ""}, {GKINGAKU, ""}, {ARARI, ""}}},
        // Separators and yen marks go before a field is cut to its width, so no digit is lost.
        {"long unit price with separators", 1, {{SURYO, "1"}, {TANKA, "\\1,234,567"}},
         {{TANKA, "1,234,567"}, {KINGAKU, "1,234,567"}}},
        {"long cost with separators", 1, {{SURYO, "1"}, {GENKA, "\\2,345,678"}}, {{GENKA, "2,345,678"}}},
        {"long area price with separators", 1, {{W, "1000"}, {H, "1000"}, {M2, "\\1,234,567"}},
         {{M2, "1,234,567"}, {TEIKA, "1,234,567"}}},
        {"yen sign as typed", 1, {{SURYO, "1"}, {TANKA, "\xC2\xA5" "12,000"}}, {{TANKA, "12,000"}}},
        // A rated price is exact: 32.3 % of 1,000 yen is 323 yen.
        {"rate 32.3 of 1,000", 1, {{TEIKA, "1,000"}, {KAKE, "32.3"}, {GRITU, "32.3"}, {SURYO, "1"}},
         {{TANKA, "323"}, {GENKA, "323"}, {KINGAKU, "323"}}},
        {"rate 33.3 of 3,000", 1, {{TEIKA, "3000"}, {KAKE, "33.3"}, {SURYO, "1"}}, {{TANKA, "999"}}},
        // Blanks inside a number are skipped: 1 800 is 1,800.
        {"sizes typed with blanks", 1, {{W, "1 800"}, {H, "9 00"}, {M2, "12 000"}},
         {{TEIKA, "19,440"}, {M2, "12,000"}}},
        {"list price typed with a blank", 1, {{TEIKA, "1 800"}, {KAKE, "50"}, {SURYO, "1 0"}},
         {{TEIKA, "1,800"}, {TANKA, "900"}, {KINGAKU, "9,000"}}},
        // A quantity typed with a separator counts whole.
        {"quantity 1,000", 1, {{SURYO, "1,000"}, {TANKA, "12"}}, {{KINGAKU, "12,000"}}},
    };
    int row = 1;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        price(row, c.in, c.unit);
        for (const auto &[col, want] : c.want)
            EXPECT_EQ(g.curGrid().cell(row, col), want) << "column " << col;
        row = row % 19 + 1;
        for (int col = 1; col < 25; ++col)
            g.curGrid().setCell(row, col, "");
    }
}

TEST_F(RowCalcTest, LeavesWorkFieldsTaxColumnsAndCursor)
{
    g.curGrid().setCell(3, 8, "ブロンズ");
    g.curGrid().setCell(3, 11, "3");
    g.curGrid().setCell(3, ZEIRITU, "10.00");
    g.curGrid().setCell(3, ZEIGAKU, "999");
    g.curGrid().setCol(TANKA);
    price(3, {{TEIKA, "12,345"}, {KAKE, "55"}, {SURYO, "3"}, {GRITU, "40"}}, 10);
    g.curGrid().setRow(3);

    const LineWork &w = g.LINE_WORK;
    EXPECT_EQ(text::trim(w.SURYO), "3");
    EXPECT_EQ(text::trim(w.KAKERITU), "55");
    EXPECT_EQ(text::trim(w.TEIKA), "12345");
    EXPECT_EQ(text::trim(w.TANKA), "6790");
    EXPECT_EQ(text::trim(w.KINGAKU), "20370");
    EXPECT_EQ(text::trim(w.GENKA_RITU), "40");
    EXPECT_EQ(text::trim(w.GENKA), "4940");
    EXPECT_EQ(text::trim(w.GENKA_KINGAKU), "14820");
    EXPECT_EQ(text::trim(w.ARARI), "5550");
    EXPECT_EQ(text::trim(w.IRO_NAME), "ブロンズ");
    EXPECT_EQ(text::trim(w.RITU_KBN), "3");
    EXPECT_EQ(w.TANKA.size(), 7u); // fixed-width work fields
    EXPECT_EQ(w.KINGAKU.size(), 8u);

    EXPECT_EQ(g.curGrid().cell(3, ZEIRITU), "10.00");
    EXPECT_EQ(g.curGrid().cell(3, ZEIGAKU), "999");

    // The cursor ends on the cell the caller named, not where the pricing started.
    g.ROW_NO = 5;
    g.COL_NO = 2;
    g.curGrid().setRow(3);
    ROW_CALC(g);
    EXPECT_EQ(g.curGrid().row(), 5);
    EXPECT_EQ(g.curGrid().col(), 2);
}

TEST_F(RowCalcTest, FiguresBeyondTheirFieldsStayWholeAndAreMarked)
{
    // The largest value each field of the document holds, one more, and products that pass it:
    // a figure is never cut into another number, its cell is marked instead.
    struct Marked {
        const char *name;
        int unit;
        Cells in;
        Cells want;               // cells after the call
        std::vector<int> marked;  // the cells marked; every other one is not
    };
    const std::vector<Marked> cases = {
        {"list price 9,999,999", 1, {{TEIKA, "9999999"}, {KAKE, "100"}, {SURYO, "1"}},
         {{TEIKA, "9,999,999"}, {TANKA, "9,999,999"}, {KINGAKU, "9,999,999"}}, {}},
        {"list price 10,000,000", 1, {{TEIKA, "10000000"}, {KAKE, "100"}, {SURYO, "1"}},
         {{TEIKA, "10,000,000"}, {TANKA, "10,000,000"}, {KINGAKU, "10,000,000"}}, {TEIKA, TANKA}},
        {"list price 99,999,999,999", 1, {{TEIKA, "99,999,999,999"}}, {{TEIKA, "99,999,999,999"}}, {TEIKA}},
        {"100 % of 9,999,999 at unit 10", 10, {{TEIKA, "9999999"}, {KAKE, "100"}, {SURYO, "1"}},
         {{TANKA, "10,000,000"}, {KINGAKU, "10,000,000"}}, {TANKA}},
        {"typed unit price 12,345,678", 1, {{TANKA, "12,345,678"}, {SURYO, "1"}},
         {{TANKA, "12,345,678"}, {KINGAKU, "12,345,678"}}, {TANKA}},
        {"amount 99,999,999", 1, {{TANKA, "3030303"}, {SURYO, "33"}}, {{KINGAKU, "99,999,999"}}, {}},
        {"amount 103,030,302", 1, {{TANKA, "3030303"}, {SURYO, "34"}}, {{KINGAKU, "103,030,302"}},
         {KINGAKU, ARARI}},
        {"cost amount 99,999,999 and one more", 1, {{GENKA, "3030303"}, {SURYO, "34"}},
         {{GKINGAKU, "103,030,302"}, {ARARI, "-103,030,302"}}, {GKINGAKU, ARARI}},
        {"gross profit -9,999,999", 1, {{GENKA, "9999999"}, {SURYO, "1"}}, {{ARARI, "-9,999,999"}}, {}},
        {"gross profit -10,000,000", 1, {{GENKA, "5000000"}, {SURYO, "2"}},
         {{GKINGAKU, "10,000,000"}, {ARARI, "-10,000,000"}}, {ARARI}},
        {"quantity 99999", 1, {{TANKA, "1"}, {SURYO, "99999"}}, {{KINGAKU, "99,999"}}, {}},
        {"quantity 100000 prices 100000 pieces", 1, {{TANKA, "1"}, {SURYO, "100000"}}, {{KINGAKU, "100,000"}},
         {SURYO}},
        {"rate 9999.99", 1, {{TEIKA, "100"}, {KAKE, "9999.99"}, {SURYO, "1"}}, {{TANKA, "9,999"}}, {}},
        {"rate 10000", 1, {{TEIKA, "100"}, {KAKE, "10000"}, {SURYO, "1"}}, {{TANKA, "10,000"}}, {KAKE}},
        {"width 999999.9 and 1000000", 1, {{W, "999999.9"}, {H, "1000000"}}, {}, {H}},
        {"area price 10,000,000", 1, {{W, "1000"}, {H, "1000"}, {M2, "10000000"}},
         {{M2, "10,000,000"}, {TEIKA, "10,000,000"}}, {M2, TEIKA}},
        {"list price from an area beyond its field", 1, {{W, "10000"}, {H, "10000"}, {M2, "1000000"}},
         {{TEIKA, "100,000,000"}}, {TEIKA}},
    };
    const std::vector<int> figures = {W, H, D, M2, SURYO, 11, KAKE, TEIKA, TANKA, KINGAKU, GRITU, GENKA, GKINGAKU, ARARI};
    int row = 0;
    for (const Marked &c : cases) {
        SCOPED_TRACE(c.name);
        price(++row, c.in, c.unit);
        for (const auto &[col, want] : c.want)
            EXPECT_EQ(g.curGrid().cell(row, col), want) << "column " << col;
        for (int col : figures) {
            const bool marked = std::find(c.marked.begin(), c.marked.end(), col) != c.marked.end();
            EXPECT_EQ(g.curGrid().backColor(row, col) == BEYOND_FIELD_COLOR, marked) << "column " << col;
        }
    }

    // Put right, the row loses its marks.
    g.curGrid().setCell(2, TEIKA, "9999999");
    price(2, {}, 1);
    EXPECT_EQ(g.curGrid().backColor(2, TEIKA), qd::grid::DefaultColor);
    EXPECT_EQ(g.curGrid().backColor(2, TANKA), qd::grid::DefaultColor);
}

TEST(RatedPrice, IsExactAndRoundsUpToTheUnit)
{
    using text::Fixed4;
    struct C { const char *rate, *price; int unit; std::int64_t want; };
    const C cases[] = {
        {"32.3", "1000", 1, 323},      {"33.3", "3000", 1, 999},     {"55", "12345", 1, 6789},
        {"55", "12345", 10, 6790},     {"40", "12345", 100, 5000},   {"55", "12345", 1000, 7000},
        {"10", "12300", 10, 1230},     {"100", "9999999", 1, 9999999}, {"55.555", "1000", 1, 555},
    };
    for (const C &c : cases) {
        SCOPED_TRACE(std::string(c.rate) + " x " + c.price);
        EXPECT_EQ(ratedPrice(text::valFixed(c.rate), text::valFixed(c.price), static_cast<std::int16_t>(c.unit),
                             static_cast<std::int16_t>(c.unit - 1)),
                  c.want);
    }
    EXPECT_EQ(unitRounded(text::valFixed("1231"), 10, 9), 1240);
    EXPECT_EQ(unitRounded(text::valFixed("1230"), 10, 9), 1230);
    EXPECT_EQ(unitRounded(text::valFixed("1230.5"), 10, 9), 1230);
    EXPECT_EQ(unitRounded(text::valFixed("-1234"), 10, 9), -1220);
}

} // namespace
} // namespace qd::core
