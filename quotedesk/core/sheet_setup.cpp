#include "quotedesk/core/sheet_setup.h"

#include <algorithm>
#include <limits>
#include <string>

#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/group_rows.h"
#include "quotedesk/core/tax_settings.h"

namespace qd::core {

using qd::grid::FlexGrid;

namespace {

constexpr int GROUP_ROW_HEIGHT = 100; // twips of a squeezed group row
constexpr qd::grid::Rgb PAGE_START_COLOR = qd::grid::rgb(200, 200, 200);
constexpr int LAST_PAGE = 40;

// A row belongs to a group when its item name, trimmed, begins with the group mark.
bool isGroupRow(const FlexGrid &grid, int row)
{
    return qd::text::leftChars(qd::text::trim(grid.cell(row, 2)), 3) == GROUP_MARK;
}

// The page that starts at counted row r: page 1 at row 1, page p at row 17 p - 20; 0 for none.
int pageStartingAt(int r)
{
    if (r == 1)
        return 1;
    if ((r + 20) % 17 != 0)
        return 0;
    const int p = (r + 20) / 17;
    return p >= 2 && p <= LAST_PAGE ? p : 0;
}

int twips(Fixed4 v)
{
    const std::int64_t t = v.roundHalfEven();
    return static_cast<int>(std::clamp<std::int64_t>(t, 0, std::numeric_limits<int>::max()));
}

// Index + 1 of the lowest row with text in columns 1-24; 0 when no row has any.
int lowestFilledRowPlusOne(const FlexGrid &grid)
{
    const int lastCol = std::min(24, grid.cols() - 1);
    for (int n = grid.rows(); n >= 1; --n)
        for (int c = 1; c <= lastCol; ++c)
            if (!qd::text::trim(grid.cell(n - 1, c)).empty())
                return n;
    return 0;
}

std::int16_t toRowCount(int n)
{
    return static_cast<std::int16_t>(std::clamp(n, -1, static_cast<int>(std::numeric_limits<std::int16_t>::max())));
}

void parkAtHeaderEnd(FlexGrid &grid)
{
    grid.setRow(0);
    grid.setCol(std::min(24, grid.cols() - 1));
}

} // namespace

void SHEET_INIT(QdState &g)
{
    FlexGrid &grid = g.curGrid();
    CoreUi &ui = g.UI();
    grid.clear();
    ui.KIHON_CAPTION_SET();

    ui.setMenuEnabled("PRN_000", true);
    ui.setMenuEnabled("SERCH_000", false); // the sheet's pop-up menu, never in the menu bar
    for (const char *menu : {"FILE_WRITE", "ZOKUSEI_MIT", "ZOKUSEI_000", "GARASU_000", "KEISAN_000"})
        ui.setMenuEnabled(menu, true);
    ui.showSheetFrame(0, 0, ui.formHeight() - 740, ui.formWidth() - 120);

    g.EDIT_AXIS = 0;
    ui.setEditAxisOption(true);

    grid.setRows(SHEET_ROWS);
    grid.setCols(SHEET_COLS);

    if (readTaxSettings(g)) {
        g.TAX_RATE = g.TAX_REC.ZEI_RITU;
        g.TAX_ROUND_UNIT = g.TAX_REC.HASU_TANI;
        g.TAX_ROUND_MODE = g.TAX_REC.HASU_MODE;
        g.TAX_MODE = g.TAX_REC.ZEI_KBN;
    } else {
        g.TAX_RATE = Fixed4();
        g.TAX_ROUND_UNIT = 0;
        g.TAX_ROUND_MODE = 0;
        g.TAX_MODE = 1;
    }
    g.LINE_TAX_RATE = g.TAX_RATE;

    // Without a common rate the sheet stays without captions; the user sets the rate and opens
    // the document again. Any non-zero rate, also a negative one, is accepted.
    if (g.TAX_RATE == Fixed4()) {
        ui.beep();
        g.MSG_ANS = ui.msgBox(qd::text::twoLines("共通の消費税率を【ﾒﾆｭｰ・属性・消費税率の設定】から設定して下さい。",
                                                 "処理を中断します｡ "),
                              Buttons::Ok);
        return;
    }

    g.SUM_ROW_LIMIT = 500;
    g.PAGE_ROW_LIMIT = 900;
    ui.GRID_HEADER_SET();
    LINE_REC_CLEAR(g);
    grid.setCol(2);
    grid.setRow(1);
    g.SEL_ROW = g.SEL_COL = g.SEL_ROW_END = g.SEL_COL_END = 1;
}

void GRID_ROWS_INSERT(QdState &g)
{
    FlexGrid &grid = g.curGrid();
    if (g.INSERT_ROWS > 0 && (g.ROW_NO < 1 || g.ROW_NO > grid.rows()))
        throw qd::grid::GridError("rows can only be inserted before rows 1 to " + std::to_string(grid.rows()) +
                                  ", not " + std::to_string(g.ROW_NO));
    for (int i = 1; i <= g.INSERT_ROWS; ++i)
        grid.addItem("", static_cast<int>(g.ROW_NO));
    // The walk reaches as many rows further as were inserted.
    GRID_PAGE_NUMBER(g);
    g.INSERT_ROWS = 0;
}

void GRID_PAGE_NUMBER(QdState &g)
{
    FlexGrid &grid = g.curGrid();
    if (grid.rows() < 900)
        g.PAGE_ROW_LIMIT = toRowCount(grid.rows() - 1);

    const int headerHeight = twips(g.ROW_HEIGHT_0);
    const int rowHeight = twips(g.ROW_HEIGHT_1);
    const int pageColWidth = twips(g.COL_WIDTH_00);
    const int walk = g.INSERT_ROWS + g.PAGE_ROW_LIMIT;

    int row = 0;
    int col = 1;
    bool failed = false;
    for (int r = 1; r <= walk;) {
        if (row == 0)
            grid.setRowHeight(0, headerHeight);
        if (col == 0)
            grid.setColWidth(0, pageColWidth);
        // Group rows are not counted, so the walk can reach beyond the last row; it stops there.
        if (row + 1 >= grid.rows() || grid.cols() < 3) {
            failed = true;
            break;
        }
        ++row;
        const bool grouped = isGroupRow(grid, row);
        grid.setRowHeight(row, grouped ? GROUP_ROW_HEIGHT : rowHeight);
        col = 0;
        grid.setBackColor(row, 0, qd::grid::DefaultColor);
        grid.setCell(row, 0, "");
        if (const int page = pageStartingAt(r)) {
            grid.setBackColor(row, 0, PAGE_START_COLOR);
            grid.setCell(row, 0, std::to_string(page));
        }
        if (!grouped)
            ++r;
    }
    grid.setRow(row);
    grid.setCol(col);
    if (failed) {
        g.UI().beep();
        g.MSG_ANS = g.UI().msgBox("行数が不正です。やり直して下さい！", Buttons::Ok);
    }
}

void GRID_LAST_ROW(QdState &g)
{
    FlexGrid &grid = g.curGrid();
    g.LAST_ROW = toRowCount(lowestFilledRowPlusOne(grid) - 1);
    parkAtHeaderEnd(grid);
}

void GRID_LAST_ROW_SRC(QdState &g)
{
    FlexGrid &grid = g.Grid1.at(static_cast<std::size_t>(g.COPY_GRID_IDX));
    g.LAST_ROW = toRowCount(lowestFilledRowPlusOne(grid));
    parkAtHeaderEnd(grid);
}

} // namespace qd::core
