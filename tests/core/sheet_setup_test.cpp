// The sheet: set-up, row insertion, page numbers and the last filled row.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/grid/flex_grid.h"
#include "platform/text/cp932.h"
#include "quotedesk/core/sheet_setup.h"
#include "tests/core/sheet_fakes.h"
#include "tests/support/temp_install.h"

namespace qd::core {
namespace {

using qd::grid::DefaultColor;
using qd::grid::rgb;
using qd::testing::TempInstall;
using sheet_test::CAPTIONS;
using sheet_test::Desk;

TEST(SheetSetup, FreshSheet)
{
    TempInstall inst;
    Desk d(inst);
    d.g.LINE_WORK.HINMEI = "前の品名";
    d.g.EDIT_AXIS = 1;
    SHEET_INIT(d.g);
    const auto &grid = d.g.curGrid();
    EXPECT_EQ(grid.rows(), 1000);
    EXPECT_EQ(grid.cols(), 25);
    for (int c = 0; c < 25; ++c)
        EXPECT_EQ(grid.cell(0, c), CAPTIONS[c]);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_EQ(d.g.SUM_ROW_LIMIT, 500);
    EXPECT_EQ(d.g.PAGE_ROW_LIMIT, 900);
    EXPECT_EQ(d.g.TAX_RATE, Fixed4::fromInt(10));
    EXPECT_EQ(d.g.LINE_TAX_RATE, Fixed4::fromInt(10));
    EXPECT_EQ(d.g.TAX_MODE, 1);
    EXPECT_EQ(d.g.TAX_ROUND_UNIT, 1);
    EXPECT_EQ(d.g.TAX_ROUND_MODE, 2);
    EXPECT_EQ(d.g.EDIT_AXIS, 0);
    EXPECT_TRUE(d.ui.rowsOption);
    EXPECT_EQ(d.ui.captionSets, 1);
    EXPECT_EQ(d.ui.frame, (std::vector<int>{0, 0, 11520 - 740, 15360 - 120}));
    EXPECT_EQ(d.ui.menus, (std::map<std::string, bool>{{"PRN_000", true},
                                                       {"SERCH_000", false},
                                                       {"FILE_WRITE", true},
                                                       {"ZOKUSEI_MIT", true},
                                                       {"ZOKUSEI_000", true},
                                                       {"GARASU_000", true},
                                                       {"KEISAN_000", true}}));
    EXPECT_EQ(qd::text::trim(d.g.LINE_WORK.HINMEI), "");
    EXPECT_TRUE(d.ui.messages.empty());
    GRID_LAST_ROW(d.g);
    EXPECT_EQ(d.g.LAST_ROW, 0);

    // A grown, written sheet is set up empty again.
    d.g.INSERT_ROWS = 4;
    d.g.ROW_NO = 2;
    GRID_ROWS_INSERT(d.g);
    d.g.curGrid().setCell(700, 3, "x");
    SHEET_INIT(d.g);
    EXPECT_EQ(grid.rows(), 1000);
    GRID_LAST_ROW(d.g);
    EXPECT_EQ(d.g.LAST_ROW, 0);
}

TEST(SheetSetup, WithoutACommonTaxRateTheSheetStaysWithoutCaptions)
{
    TempInstall inst;
    qd::testing::writeBytes(inst.data() / "syohizei_calc.fil", "");
    Desk d(inst);
    d.g.TAX_MODE = 0;
    SHEET_INIT(d.g);
    const auto &grid = d.g.curGrid();
    EXPECT_EQ(grid.rows(), 1000);
    EXPECT_EQ(grid.cols(), 25);
    EXPECT_EQ(grid.cell(0, 2), "");
    EXPECT_EQ(d.g.TAX_MODE, 1);
    EXPECT_EQ(d.g.TAX_RATE, Fixed4());
    EXPECT_EQ(d.g.SUM_ROW_LIMIT, 0);
    EXPECT_EQ(d.g.PAGE_ROW_LIMIT, 0);
    ASSERT_EQ(d.ui.messages.size(), 1u);
    EXPECT_EQ(d.ui.messages[0], "共通の消費税率を【ﾒﾆｭｰ・属性・消費税率の設定】から設定して下さい。\n\r\n\r処理を中断します｡ ");
    EXPECT_EQ(d.ui.beeps, 1);
    EXPECT_EQ(d.ui.menus.at("FILE_WRITE"), true);
    GRID_LAST_ROW(d.g);
    EXPECT_EQ(d.g.LAST_ROW, -1);
}

// A set-up sheet with the given item names.
struct PagedSheet {
    TempInstall inst;
    Desk d{inst};
    explicit PagedSheet(const std::map<int, std::string> &names = {})
    {
        d.g.ROW_HEIGHT_0 = Fixed4::fromRaw(3'205'000); // 320.5 -> 320 (ties to even)
        d.g.ROW_HEIGHT_1 = Fixed4::fromRaw(2'815'000); // 281.5 -> 282
        d.g.COL_WIDTH_00 = Fixed4::fromInt(450);
        SHEET_INIT(d.g);
        for (const auto &[row, name] : names)
            d.g.curGrid().setCell(row, 2, name);
    }
    // The numbered page cells, row -> text.
    std::map<int, std::string> pages()
    {
        std::map<int, std::string> out;
        const auto &grid = d.g.curGrid();
        for (int r = 1; r < grid.rows(); ++r)
            if (!grid.cell(r, 0).empty())
                out[r] = grid.cell(r, 0);
        return out;
    }
};

TEST(SheetSetup, PageNumbers)
{
    struct Case {
        const char *what;
        std::map<int, std::string> names;
        std::map<int, std::string> expected; // page cells checked (others are checked blank below)
        std::set<int> squeezed;
    };
    const Case cases[] = {
        {"no group rows", {}, {{1, "1"}, {14, "2"}, {31, "3"}, {48, "4"}, {643, "39"}, {660, "40"}}, {}},
        {"a group row at row 5", {{5, "【x】内訳"}}, {{1, "1"}, {15, "2"}, {32, "3"}, {661, "40"}}, {5}},
        {"a group row just before page 2", {{14, "【x】内訳"}}, {{1, "1"}, {14, "2"}, {15, "2"}, {32, "3"}}, {14}},
        {"blanks before the mark", {{5, "  【x】内訳"}}, {{15, "2"}}, {5}},
        {"anything else before the mark", {{5, "a【x】内訳"}, {6, "　【x】"}}, {{14, "2"}}, {}},
    };
    for (const Case &c : cases) {
        PagedSheet s(c.names);
        s.d.g.curGrid().setCell(700, 0, "stale");
        s.d.g.curGrid().setBackColor(700, 0, rgb(1, 2, 3));
        GRID_PAGE_NUMBER(s.d.g);
        const auto &grid = s.d.g.curGrid();
        const auto pages = s.pages();
        for (const auto &[row, text] : c.expected)
            EXPECT_EQ(grid.cell(row, 0), text) << c.what << ", row " << row;
        // 40 page starts (a group row on a start repeats it), all grey; nothing else numbered.
        EXPECT_EQ(pages.size(), 40u + (c.squeezed.count(14) ? 1 : 0)) << c.what;
        for (int r = 1; r <= 900 + static_cast<int>(c.squeezed.size()); ++r) {
            const bool numbered = pages.count(r) > 0;
            EXPECT_EQ(grid.backColor(r, 0), numbered ? rgb(200, 200, 200) : DefaultColor) << c.what << ", row " << r;
            EXPECT_EQ(grid.rowHeight(r), c.squeezed.count(r) ? 100 : 282) << c.what << ", row " << r;
        }
        EXPECT_EQ(grid.rowHeight(0), 320);
        EXPECT_EQ(grid.colWidth(0), 450);
        EXPECT_TRUE(s.d.ui.messages.empty()) << c.what;
        const int lastWalked = 900 + static_cast<int>(c.squeezed.size());
        EXPECT_EQ(grid.row(), lastWalked) << c.what;
        EXPECT_EQ(grid.col(), 0);
        EXPECT_EQ(grid.rowHeight(lastWalked + 1), grid.defaultRowHeight()) << "rows after the walk are untouched";
    }
}

TEST(SheetSetup, PageWalkStopsAtTheLastRow)
{
    // 850 rows: the walk covers 849 counted rows, and a group row takes it past the end.
    {
        PagedSheet s({{5, "【x】内訳"}});
        s.d.g.curGrid().setRows(850);
        GRID_PAGE_NUMBER(s.d.g);
        EXPECT_EQ(s.d.g.PAGE_ROW_LIMIT, 849);
        ASSERT_EQ(s.d.ui.messages.size(), 1u);
        EXPECT_EQ(s.d.ui.messages[0], "行数が不正です。やり直して下さい！");
        EXPECT_EQ(s.d.g.curGrid().cell(661, 0), "40");
        EXPECT_EQ(s.d.g.curGrid().row(), 849);
    }
    // The lowered limit holds for every sheet until the next set-up.
    {
        PagedSheet s;
        s.d.g.curGrid().setRows(850);
        GRID_PAGE_NUMBER(s.d.g);
        EXPECT_TRUE(s.d.ui.messages.empty());
        s.d.g.CUR_SLOT = 1;
        s.d.g.curGrid().setRows(1000);
        s.d.g.curGrid().setCols(25);
        GRID_PAGE_NUMBER(s.d.g);
        EXPECT_EQ(s.d.g.PAGE_ROW_LIMIT, 849);
        EXPECT_EQ(s.d.g.curGrid().row(), 849);
    }
    // On 1000 rows, 99 group rows still fit; 100 do not.
    for (int grouped : {99, 100}) {
        std::map<int, std::string> names;
        for (int r = 1; r <= grouped; ++r)
            names[2 * r] = "【x】内訳";
        PagedSheet s(names);
        GRID_PAGE_NUMBER(s.d.g);
        EXPECT_EQ(s.d.ui.messages.size(), grouped == 99 ? 0u : 1u) << grouped;
        EXPECT_EQ(s.d.g.curGrid().row(), 999) << grouped;
    }
    // More rows asked for than the sheet has.
    {
        PagedSheet s;
        s.d.g.INSERT_ROWS = 200;
        GRID_PAGE_NUMBER(s.d.g);
        EXPECT_EQ(s.d.ui.messages.size(), 1u);
        // A sheet too narrow to hold item names.
        s.d.g.INSERT_ROWS = 0;
        s.d.g.curGrid().setCols(2);
        GRID_PAGE_NUMBER(s.d.g);
        EXPECT_EQ(s.d.ui.messages.size(), 2u);
    }
}

TEST(SheetSetup, RowInsertion)
{
    PagedSheet s;
    auto &grid = s.d.g.curGrid();
    for (int r = 1; r <= 12; ++r)
        grid.setCell(r, 2, "row " + std::to_string(r));
    s.d.g.INSERT_ROWS = 3;
    s.d.g.ROW_NO = 10;
    GRID_ROWS_INSERT(s.d.g);
    EXPECT_EQ(grid.rows(), 1003);
    EXPECT_EQ(s.d.g.INSERT_ROWS, 0);
    EXPECT_EQ(grid.cell(9, 2), "row 9");
    for (int r = 10; r <= 12; ++r)
        for (int c = 1; c < 25; ++c)
            EXPECT_EQ(grid.cell(r, c), "") << r << "," << c;
    EXPECT_EQ(grid.cell(13, 2), "row 10");
    EXPECT_EQ(grid.cell(15, 2), "row 12");
    EXPECT_EQ(grid.row(), 903); // the walk covers 903 counted rows
    EXPECT_EQ(grid.cell(14, 0), "2");
    EXPECT_TRUE(s.d.ui.messages.empty());

    // At the end of the sheet.
    s.d.g.INSERT_ROWS = 1;
    s.d.g.ROW_NO = grid.rows();
    GRID_ROWS_INSERT(s.d.g);
    EXPECT_EQ(grid.rows(), 1004);

    // Outside 1 .. Rows nothing is inserted.
    for (int bad : {0, -1, 1005}) {
        s.d.g.INSERT_ROWS = 2;
        s.d.g.ROW_NO = bad;
        EXPECT_THROW(GRID_ROWS_INSERT(s.d.g), qd::grid::GridError) << bad;
        EXPECT_EQ(grid.rows(), 1004);
        EXPECT_EQ(grid.cell(0, 2), "品名");
    }
}

TEST(SheetSetup, LastFilledRow)
{
    struct Case {
        const char *what;
        std::vector<std::pair<int, int>> cells; // (row, column) given text
        const char *text;
        bool captions;
        int lastRow, lastRowSrc;
    };
    const Case cases[] = {
        {"captions only", {}, "x", true, 0, 1},
        {"nothing at all", {}, "x", false, -1, 0},
        {"a full-width space counts", {{40, 5}}, "　", true, 40, 41},
        {"blanks do not count", {{40, 5}}, "   ", true, 0, 1},
        {"the page column does not count", {{60, 0}}, "1", true, 0, 1},
        {"the last column counts", {{25, 24}}, "x", true, 25, 26},
        {"the lowest row wins", {{3, 2}, {998, 1}, {500, 7}}, "x", true, 998, 999},
        {"the very last row", {{999, 12}}, "x", true, 999, 1000},
    };
    for (const Case &c : cases) {
        TempInstall inst;
        Desk d(inst);
        SHEET_INIT(d.g);
        d.g.CUR_SLOT = 2;
        auto &grid = d.g.curGrid();
        grid.setRows(1000);
        grid.setCols(25);
        if (c.captions)
            d.ui.GRID_HEADER_SET();
        for (auto [r, col] : c.cells)
            grid.setCell(r, col, c.text);
        GRID_LAST_ROW(d.g);
        EXPECT_EQ(d.g.LAST_ROW, c.lastRow) << c.what;
        EXPECT_EQ(grid.row(), 0) << c.what;
        EXPECT_EQ(grid.col(), 24) << c.what;

        // The copy source is any sheet, also the work grid.
        d.g.CUR_SLOT = 0;
        d.g.COPY_GRID_IDX = 2;
        GRID_LAST_ROW_SRC(d.g);
        EXPECT_EQ(d.g.LAST_ROW, c.lastRowSrc) << c.what;
        EXPECT_EQ(grid.row(), 0) << c.what;
    }
}

} // namespace
} // namespace qd::core
