#include "platform/grid/flex_grid.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using qd::grid::FlexGrid;
using qd::grid::GridError;

namespace {

// A sheet-sized grid that writes down every event with the state its handler sees.
struct Recorder {
    FlexGrid g;
    std::vector<std::string> log;

    Recorder()
    {
        g.setRows(1000);
        g.setCols(25);
        auto state = [this] {
            return std::to_string(g.row()) + "," + std::to_string(g.col()) + " sel " +
                   std::to_string(g.rowSel()) + "," + std::to_string(g.colSel());
        };
        g.events.rowColChange = [this, state] { log.push_back("RowColChange " + state()); };
        g.events.selChange = [this, state] { log.push_back("SelChange " + state()); };
    }
};

} // namespace

TEST(FlexGrid, CodeMovesRaiseRowColChangeThenSelChangeWithTheNewStateInPlace)
{
    Recorder t;
    t.g.setCol(2);
    t.g.setRow(1); // the cell did not change: the selection is still reported
    t.g.setRow(20);
    t.g.setRowSel(10); // a selection may run upwards from the current cell
    t.g.setColSel(5);
    EXPECT_EQ(t.log, (std::vector<std::string>{
                         "RowColChange 1,2 sel 1,2", "SelChange 1,2 sel 1,2",
                         "SelChange 1,2 sel 1,2",
                         "RowColChange 20,2 sel 20,2", "SelChange 20,2 sel 20,2",
                         "SelChange 20,2 sel 10,2", "SelChange 20,2 sel 10,5"}));

    // Setting Row or Col collapses the selection onto the current cell.
    t.log.clear();
    t.g.setCol(3);
    EXPECT_EQ(t.g.rowSel(), 20);
    EXPECT_EQ(t.g.colSel(), 3);
    EXPECT_EQ(t.log, (std::vector<std::string>{"RowColChange 20,3 sel 20,3",
                                               "SelChange 20,3 sel 20,3"}));

    // A user's selection in one step: one RowColChange, one SelChange, nothing when unchanged.
    t.log.clear();
    t.g.select(5, 2, 9, 24);
    t.g.select(5, 2, 9, 24);
    t.g.select(5, 2, 7, 24);
    EXPECT_EQ(t.log, (std::vector<std::string>{"RowColChange 5,2 sel 9,24",
                                               "SelChange 5,2 sel 9,24",
                                               "SelChange 5,2 sel 7,24"}));
}

TEST(FlexGrid, HandlerMaySwallowAKeyAndMayMoveTheCellWhileAnEventRuns)
{
    Recorder t;
    t.g.events.keyDown = [&](int &key, int shift) {
        if (key == 67 && shift == qd::grid::CtrlKey)
            key = 0;
    };
    int c = 67, v = 86;
    t.g.raiseKeyDown(c, qd::grid::CtrlKey);
    t.g.raiseKeyDown(v, 0);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(v, 86);

    // A handler that moves the cell again (and replaces itself) runs to its end safely.
    t.g.events.rowColChange = [&] {
        t.g.events.rowColChange = nullptr;
        t.g.setCol(7);
    };
    t.g.setRow(30);
    EXPECT_EQ(t.g.row(), 30);
    EXPECT_EQ(t.g.col(), 7);
}

TEST(FlexGrid, AddItemAndRemoveItemShiftCellsHeightsAndColours)
{
    FlexGrid g;
    g.setRows(5);
    g.setCols(3);
    for (int r = 0; r < 5; ++r) {
        g.setCell(r, 1, "r" + std::to_string(r));
        g.setRowHeight(r, 100 + r);
    }
    g.setBackColor(2, 1, qd::grid::rgb(200, 200, 200));

    g.addItem("a\tb\tc\td", 2); // a field past the last column is dropped
    ASSERT_EQ(g.rows(), 6);
    EXPECT_EQ(g.cell(2, 0), "a");
    EXPECT_EQ(g.cell(2, 2), "c");
    EXPECT_EQ(g.rowHeight(2), g.defaultRowHeight());
    EXPECT_EQ(g.backColor(2, 1), qd::grid::DefaultColor);
    EXPECT_EQ(g.cell(3, 1), "r2");
    EXPECT_EQ(g.rowHeight(3), 102);
    EXPECT_EQ(g.backColor(3, 1), qd::grid::rgb(200, 200, 200));
    EXPECT_EQ(g.cell(1, 1), "r1");

    g.addItem("", 6); // Rows appends
    EXPECT_EQ(g.rows(), 7);
    EXPECT_EQ(g.cell(6, 1), "");

    g.removeItem(2);
    g.removeItem(5);
    ASSERT_EQ(g.rows(), 5);
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(g.cell(r, 1), "r" + std::to_string(r));
        EXPECT_EQ(g.rowHeight(r), 100 + r);
    }
    EXPECT_EQ(g.backColor(2, 1), qd::grid::rgb(200, 200, 200));
}

TEST(FlexGrid, RemovingRowsUnderTheCursorMovesItAndReportsIt)
{
    Recorder t;
    t.g.setRow(999);
    t.log.clear();
    t.g.removeItem(999);
    EXPECT_EQ(t.g.rows(), 999);
    EXPECT_EQ(t.g.row(), 998);
    EXPECT_EQ(t.log, (std::vector<std::string>{"RowColChange 998,1 sel 998,1",
                                               "SelChange 998,1 sel 998,1"}));

    t.g.setRows(2);
    EXPECT_EQ(t.g.row(), 1);
    EXPECT_THROW(t.g.removeItem(1), GridError); // the last non-fixed row
    EXPECT_THROW(t.g.removeItem(0), GridError); // the header row
    EXPECT_EQ(t.g.rows(), 2);
}

TEST(FlexGrid, OutOfRangeAccessThrowsAndChangesNothing)
{
    FlexGrid g;
    g.setRows(10);
    g.setCols(25);
    g.setCell(3, 4, "keep");
    g.setRow(3);
    const std::vector<std::function<void()>> bad = {
        [&] { g.setRow(10); },          [&] { g.setRow(-1); },
        [&] { g.setCol(25); },          [&] { g.setRowSel(10); },
        [&] { g.setColSel(-1); },       [&] { g.setTopRow(10); },
        [&] { g.setLeftCol(25); },      [&] { (void)g.cell(10, 0); },
        [&] { (void)g.cell(0, 25); },   [&] { g.setCell(-1, 0, "x"); },
        [&] { g.setColWidth(25, 20); }, [&] { (void)g.rowHeight(10); },
        [&] { g.setRowHeight(2, -2); }, [&] { g.setBackColor(10, 0, 0); },
        [&] { (void)g.foreColor(0, 25); }, [&] { g.addItem("", 11); },
        [&] { g.addItem("", -1); },     [&] { g.removeItem(10); },
        [&] { g.setRows(0); },          [&] { g.setCols(0); },
        [&] { g.setFixedRows(11); },    [&] { (void)g.colAlignment(25); },
        [&] { g.select(1, 1, 10, 1); }, [&] { g.setFontSize(0); },
    };
    for (size_t i = 0; i < bad.size(); ++i)
        EXPECT_THROW(bad[i](), GridError) << "case " << i;
    EXPECT_EQ(g.rows(), 10);
    EXPECT_EQ(g.cols(), 25);
    EXPECT_EQ(g.row(), 3);
    EXPECT_EQ(g.cell(3, 4), "keep");
}

TEST(FlexGrid, TopRowInsideTheFixedRowsGivesTheFirstScrollableRow)
{
    FlexGrid g;
    g.setRows(1000);
    g.setTopRow(900);
    EXPECT_EQ(g.topRow(), 900);
    g.setTopRow(0);
    EXPECT_EQ(g.topRow(), 1);
    g.setFixedRows(3);
    EXPECT_EQ(g.topRow(), 3);
}

TEST(FlexGrid, ClearEmptiesTextsAndKeepsSizesWidthsAndColours)
{
    FlexGrid g;
    g.setRows(1000);
    g.setCols(25);
    g.setCell(0, 2, "品名");
    g.setCell(999, 24, "x");
    g.setColWidth(4, 20);
    g.setRowHeight(5, 100);
    g.setBackColor(14, 0, qd::grid::rgb(200, 200, 200));
    g.setColAlignment(2, qd::grid::Align::CenterCenter);
    g.setRow(7);
    g.clear();
    EXPECT_EQ(g.rows(), 1000);
    EXPECT_EQ(g.cols(), 25);
    EXPECT_EQ(g.cell(0, 2), "");
    EXPECT_EQ(g.cell(999, 24), "");
    EXPECT_EQ(g.colWidth(4), 20);
    EXPECT_EQ(g.rowHeight(5), 100);
    EXPECT_EQ(g.backColor(14, 0), qd::grid::rgb(200, 200, 200));
    EXPECT_EQ(g.colAlignment(2), qd::grid::Align::CenterCenter);
    EXPECT_EQ(g.row(), 7);
}

TEST(FlexGrid, WithRedrawOffTheViewHearsOfEachKindOfChangeOnceWhenItGoesOn)
{
    using Change = FlexGrid::Change;
    FlexGrid g;
    std::vector<Change> heard;
    g.setListener([&](Change ch) { heard.push_back(ch); });
    g.setRows(1000);
    g.setCols(25);
    EXPECT_EQ(heard, (std::vector<Change>{Change::Structure, Change::Structure}));

    heard.clear();
    g.setRedraw(false);
    for (int r = 1; r < 1000; ++r) {
        g.setRow(r);
        g.setCell(r, 0, "1");
        g.setRowHeight(r, 280);
    }
    g.addItem("", 10);
    g.setTopRow(500);
    EXPECT_EQ(heard, (std::vector<Change>{Change::Redraw}));

    heard.clear();
    g.setRedraw(true);
    EXPECT_EQ(heard, (std::vector<Change>{Change::Structure, Change::Geometry, Change::Cells,
                                          Change::Scroll, Change::Current, Change::Redraw}));
}
