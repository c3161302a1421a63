// A price line into the sheet: the row, cell by cell, and the totals; look-ups that find nothing;
// the cursor; the item key across a save and a load.
#include <gtest/gtest.h>

#include "platform/text/cp932.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/entry/price_item.h"
#include "tests/forms/entry_fixture.h"

namespace {

using namespace qd::entry;
using qd::entry_test::EntryDesk;

// Reads price record `n` of a fixture file into TANKA_REC, as a press on its line does.
void choose(qd::core::QdState &g, const std::string &file, int n, int colour, const std::string &colourName = "")
{
    g.TANKA_NAME = file;
    qd::records::TANKA_OPEN_READ(g);
    g.TANKA_CTL.get(n, g.TANKA_REC);
    g.TANKA_CTL.close();
    g.COLOR_NO = static_cast<std::int16_t>(colour);
    g.LINE_WORK.IRO_NAME = qd::text::fixedChars(colourName, 20);
}

void addRow(qd::core::QdState &g)
{
    g.INSERT_ROWS = 1;
    qd::core::GRID_ROWS_INSERT(g);
    PRICE_ITEM_TO_GRID(g);
}

const std::string KEY_1 = "0101100101" + qd::text::fixedChars("HW2-16511", 25) + "網戸別途" + std::string(42, ' ');

TEST(PriceItemToGrid, FillsTheRowCellByCellAndTheTotals)
{
    qd::core::NullCoreUi ui;
    EntryDesk desk(ui);
    auto &g = desk.g;
    choose(g, "01011000.TXT", 1, 2, "ブロンズ");
    addRow(g);

    const auto &grid = g.curGrid();
    const std::vector<std::pair<int, std::string>> cells = {
        {1, ""},
        {C_HINMEI, "引違い窓 引違い２枚建 標準タイプ 網戸別途 半外付"},
        {C_KOSYO, "16511               "},
        {C_W, "1690.0"},
        {C_H, "1170.0"},
        {C_D, "       "}, // the pricing blanks a zero depth
        {C_M2_TANKA, "0"},
        {C_IRO, "ブロンズ"},
        {C_SURYO, "1"},
        {C_TANI, ""},
        {C_RITU_KBN, "3.00"},
        {C_KAKERITU, "65.00"},
        {C_TEIKA, "48,100"},
        {C_TANKA, "31,265"},
        {C_KINGAKU, "31,265"},
        {C_BIKO, std::string(50, ' ')},
        {C_GENKA_RITU, "45.00"},
        {C_GENKA, "21,645"},
        {C_GENKA_KINGAKU, "21,645"},
        {C_ARARI, "9,620"},
        {C_HACHU_HINBAN, KEY_1},
        {C_HINBAN, ""},
        {C_ZEI_RITU, "10.00"},
        {C_ZEI_GAKU, ""},
    };
    for (const auto &[col, text] : cells)
        EXPECT_EQ(grid.cell(1, col), text) << "column " << col;
    EXPECT_EQ(qd::text::cp932Width(grid.cell(1, C_HACHU_HINBAN)), 85u);
    EXPECT_EQ(qd::text::trim(grid.cell(2, C_HINMEI)), "既存の行"); // the row that stood at ROW_NO moved down
    EXPECT_EQ(g.MAJOR_NO, 1);

    EXPECT_EQ(g.DOC_AMOUNT_TOTAL, 31265);
    EXPECT_EQ(g.DOC_TAX_TOTAL, 3126);
    EXPECT_EQ(g.DOC_GROSS_TOTAL, 34391);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 3); // COL_BASE + COL_NO
}

TEST(PriceItemToGrid, NamesAndRatesOfMissingRecordsStayBlank)
{
    struct Case {
        const char *what;
        int recNo;
        int colour;
        const char *hinmei;
        const char *rate, *costRate, *colourCell, *listPrice;
    } cases[] = {
        // kind 2 1003 is missing: no kind-2 name and the kind-1 rates, not those of the last
        // kind-2 record read (65 / 45).
        {"missing kind 2", 3, 1, "引違い窓 引違い２枚建   半外付", "70.00", "50.00", "", "10,000"},
        // kind 2 1002 has no rank-3 rates: the kind-1 record gives them.
        {"kind 2 without rates", 2, 3, "引違い窓 引違い２枚建 網戸付  内付", "70.00", "50.00", "ホワイト", "39,000"},
        // Section "00" carries no name although CIHO.TXT has a record "00".
        {"no section", 4, 3, "引違い窓 引違い２枚建 標準タイプ", "65.00", "45.00", "ホワイト", "20,000"},
        // Colour 01 (the plain finish) has no name; the colour is not in the line: no price.
        {"plain colour", 4, 1, "引違い窓 引違い２枚建 標準タイプ", "65.00", "45.00", "", ""},
    };
    for (const Case &c : cases) {
        qd::core::NullCoreUi ui;
        EntryDesk desk(ui);
        auto &g = desk.g;
        // An earlier row's list price in the work field must not become this one's.
        g.LINE_WORK.TEIKA = "99999  ";
        choose(g, "01011000.TXT", c.recNo, c.colour, "前の色");
        addRow(g);
        const auto &grid = g.curGrid();
        EXPECT_EQ(grid.cell(1, C_HINMEI), c.hinmei) << c.what;
        EXPECT_EQ(grid.cell(1, C_KAKERITU), c.rate) << c.what;
        EXPECT_EQ(grid.cell(1, C_GENKA_RITU), c.costRate) << c.what;
        EXPECT_EQ(grid.cell(1, C_IRO), c.colourCell) << c.what;
        EXPECT_EQ(grid.cell(1, C_TEIKA), c.listPrice) << c.what;
    }
}

TEST(PriceItemToGrid, CursorStaysInsideTheSheet)
{
    qd::core::NullCoreUi ui;
    EntryDesk desk(ui);
    auto &g = desk.g;
    g.COL_NO = 24; // the last column clicked
    choose(g, "01011000.TXT", 1, 1, "シルバー");
    addRow(g);
    EXPECT_EQ(g.curGrid().col(), 24);
    EXPECT_EQ(g.curGrid().cell(1, C_TEIKA), "45,800");
}

TEST(PriceItemToGrid, ItemKeySurvivesSaveAndReload)
{
    qd::core::NullCoreUi ui;
    EntryDesk desk(ui);
    auto &g = desk.g;
    choose(g, "01011000.TXT", 1, 2, "ブロンズ");
    addRow(g);
    g.ROW_NO = 3;
    choose(g, "01011000.TXT", 2, 1, "シルバー");
    addRow(g);
    g.curGrid().setCell(3, C_HINBAN, "客先品番-7"); // a row with its own 品番 keeps it

    const std::string dir = desk.inst.dir() + "\\data\\TXT";
    ASSERT_TRUE(qd::core::BUKKEN_FILE_WRITE(g, dir + "\\再読込.TXT", "再読込.TXT"));
    const std::string lines = qd::testing::readBytes(desk.inst.data() / "TXT" / "再読込.TXT");
    ASSERT_EQ(lines.size(), 3u * 1024);
    // The 発注品番 field keeps its 25 bytes; the 品番 field carries the whole key.
    EXPECT_EQ(lines.substr(0, 1024).find(qd::text::toCp932(KEY_1)) != std::string::npos, true);

    g.CUR_DOC_NAME = "再読込";
    ASSERT_TRUE(qd::core::BUKKEN_FILE_READ(g));
    const auto &grid = g.curGrid();
    EXPECT_EQ(grid.cell(1, C_HACHU_HINBAN), KEY_1);
    EXPECT_EQ(grid.cell(1, C_HINBAN), "");
    EXPECT_EQ(qd::text::trim(grid.cell(2, C_HINMEI)), "既存の行");
    EXPECT_EQ(qd::text::trimRight(grid.cell(3, C_HACHU_HINBAN)), "0101100202HW2-11909");
    EXPECT_EQ(qd::text::trimRight(grid.cell(3, C_HINBAN)), "客先品番-7");
}

} // namespace
