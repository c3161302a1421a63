#include "quotedesk/sheet/block_commands.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/core/tax_totals.h"

namespace qd::sheet {

using qd::grid::FlexGrid;
using qd::grid::RedrawOff;
using qd::text::trim;

namespace {

constexpr int LAST_DATA_COL = 24;

const std::string ORDER_MESSAGE =
    qd::text::twoLines("指定順が違いますので、中断します。", "上から下へ範囲を指定して、再実行してみて下さい｡ ");

FlexGrid &sourceGrid(QdState &g) { return g.Grid1.at(static_cast<std::size_t>(g.COPY_GRID_IDX)); }
FlexGrid &workGrid(QdState &g) { return g.Grid1.at(qd::core::WorkGridIndex); }

// The carrier of one cell: the trimmed source text, blank-filled to its width.
std::string cellBuf(std::string_view source)
{
    std::string t = trim(source);
    const std::size_t n = qd::text::charCount(t);
    if (n < static_cast<std::size_t>(CELL_BUF_WIDTH))
        t.append(static_cast<std::size_t>(CELL_BUF_WIDTH) - n, ' ');
    return t;
}

// What block column c of a pasted row writes: the second and third column keep the carrier's
// blanks, every other column is trimmed.
std::string pastedText(std::string_view source, int c) { return c == 1 || c == 2 ? cellBuf(source) : trim(source); }

// Two fixed columns go back to one before cells are written.
void unfixColumns(QdState &g)
{
    if (g.FIXED_COLS == 2) {
        g.FIXED_COLS = 1;
        g.curGrid().setFixedCols(1);
    }
}

// Whole rows: the source rows go into the work grid, `insertRows` blank rows are inserted at
// ROW_NO (the first data row at the least), and columns 1 to 24 of each block row are written
// into the rows from ROW_NO down, each row repriced.
void pasteWholeRows(QdState &g, int insertRows)
{
    FlexGrid &work = workGrid(g);
    FlexGrid &sheet = g.curGrid();
    work.clear();
    GRID_COPY_WORK(g);
    g.ROW_NO = std::max<std::int32_t>(g.ROW_NO, 1);
    g.INSERT_ROWS = static_cast<std::int16_t>(std::max(insertRows, 0));
    qd::core::GRID_ROWS_INSERT(g);

    const int blockRow = g.BLOCK_ROW, rowSpan = g.BLOCK_ROW_SPAN;
    const int firstRow = static_cast<int>(g.ROW_NO);
    for (int r = 0; r <= rowSpan; ++r) {
        const int from = blockRow + r, to = firstRow + r;
        if (from < 0 || from >= work.rows() || to < 1 || to >= sheet.rows())
            continue;
        const int lastCol = std::min({LAST_DATA_COL, work.cols() - 1, sheet.cols() - 1});
        for (int col = 1; col <= lastCol; ++col)
            sheet.setCell(to, col, pastedText(work.cell(from, col), col - 1));
        sheet.setRow(to);
        qd::core::ROW_CALC(g);
    }
}

// Partial rows: the block of sheet COPY_GRID_IDX goes to the current cell. The whole block is
// read before any cell is written; cells past the sheet (or past the source) are left out, and
// so is the caption row.
void pastePartRows(QdState &g)
{
    FlexGrid &source = sourceGrid(g);
    FlexGrid &sheet = g.curGrid();
    const int blockRow = g.BLOCK_ROW, blockCol = g.BLOCK_COL;
    const int rowSpan = g.BLOCK_ROW_SPAN, colSpan = g.BLOCK_COL_SPAN;
    const int firstRow = static_cast<int>(g.ROW_NO), firstCol = static_cast<int>(g.COL_NO);
    if (rowSpan < 0 || colSpan < 0)
        return; // a block selected backwards holds no column

    std::vector<std::optional<std::string>> block(static_cast<std::size_t>(rowSpan + 1) * (colSpan + 1));
    for (int r = 0; r <= rowSpan; ++r) {
        for (int c = 0; c <= colSpan; ++c) {
            const int from = blockRow + r, fromCol = blockCol + c;
            if (from >= 0 && from < source.rows() && fromCol >= 0 && fromCol < source.cols())
                block[static_cast<std::size_t>(r) * (colSpan + 1) + c] = source.cell(from, fromCol);
        }
    }

    for (int r = 0; r <= rowSpan; ++r) {
        const int to = firstRow + r;
        if (to < 1 || to >= sheet.rows())
            continue;
        bool wrote = false;
        for (int c = 0; c <= colSpan; ++c) {
            const int toCol = firstCol + c;
            const auto &text = block[static_cast<std::size_t>(r) * (colSpan + 1) + c];
            if (toCol < 0 || toCol >= sheet.cols() || !text)
                continue;
            sheet.setCell(to, toCol, pastedText(*text, c));
            wrote = true;
        }
        if (wrote) {
            sheet.setRow(to);
            qd::core::ROW_CALC(g);
        }
    }
}

} // namespace

void EDIT_RANGE_SET(QdState &g, EditCommandUi &ui)
{
    g.EDIT_VALUE = std::string(100, ' ');
    ui.setValueBoxText("");
    takeBlockFromSelection(g);
    g.INSERT_ROWS = static_cast<std::int16_t>(g.BLOCK_ROW_SPAN + 1);
    FlexGrid &sheet = g.curGrid();
    sheet.setCol(clampCol(sheet, g.COL_NO));
    sheet.setRow(clampRow(sheet, g.ROW_NO));
    ui.focusSheet();
    g.COPY_GRID_IDX = g.CUR_SLOT;
}

void GRID_COPY_WORK(QdState &g)
{
    qd::core::GRID_LAST_ROW_SRC(g);
    const FlexGrid &source = sourceGrid(g);
    FlexGrid &work = workGrid(g);
    work.setRows(std::max(qd::core::SHEET_ROWS, source.rows()));
    work.setCols(qd::core::SHEET_COLS);
    const int lastRow = std::min<int>(g.LAST_ROW, source.rows() - 1);
    const int lastCol = std::min(LAST_DATA_COL, source.cols() - 1);
    for (int r = 0; r <= lastRow; ++r)
        for (int c = 0; c <= lastCol; ++c)
            work.setCell(r, c, trim(source.cell(r, c)));
}

void GRID_BLOCK_PASTE(QdState &g, EditCommandUi &ui)
{
    FlexGrid &sheet = g.curGrid();
    {
        RedrawOff off({&workGrid(g), &sheet, &sourceGrid(g)});
        unfixColumns(g);
        g.COL_NO = sheet.col();
        g.ROW_NO = sheet.row();
        if (g.BLOCK_COL_SPAN == WHOLE_ROW_SPAN_KEY)
            pasteWholeRows(g, g.INSERT_ROWS);
        else
            pastePartRows(g);
        qd::core::TAX_TOTAL_CALC(g);
        sheet.setCol(static_cast<int>(g.COL_NO));
        sheet.setRow(static_cast<int>(g.ROW_NO));
    }
    ui.focusSheet();
}

void blockCopy(QdState &g, EditCommandUi &ui)
{
    qd::core::CoreUi &core = g.UI();
    if (g.SEL_ROW_END < g.SEL_ROW) {
        core.beep();
        g.MSG_ANS = core.msgBox(ORDER_MESSAGE, qd::core::Buttons::Ok);
        return;
    }
    RedrawOff off({&g.curGrid()});
    SEL_RANGE_SAVE(g);
    if (isWholeColumn(g.SAVED_ROW, g.SAVED_ROW_END)) {
        core.beep();
        g.MSG_ANS = core.msgBox(
            qd::text::twoLines("列全体の複写はできません、中断します。", "範囲を変更して、再実行してみて下さい｡ "),
            qd::core::Buttons::Ok);
        return;
    }
    EDIT_RANGE_SET(g, ui);
    SEL_RANGE_SET(g);
}

void blockPaste(QdState &g, EditCommandUi &ui)
{
    FlexGrid &sheet = g.curGrid();
    {
        RedrawOff off({&workGrid(g), &sheet, &sourceGrid(g)});
        SEL_RANGE_SAVE(g);
        if (isWholeColumn(g.SAVED_ROW, g.SAVED_ROW_END)) {
            g.UI().beep();
            g.MSG_ANS = g.UI().msgBox(
                qd::text::twoLines("列全体の貼付けはできません、中断します。", "範囲を変更して、再実行してみて下さい｡ "),
                qd::core::Buttons::Ok);
        } else {
            unfixColumns(g);
            g.COL_NO = sheet.col();
            g.ROW_NO = sheet.row();
            if (g.BLOCK_COL_SPAN == WHOLE_ROW_SPAN_BUTTON)
                // As many rows as the block has, also when the block is pasted a second time.
                pasteWholeRows(g, g.BLOCK_ROW_SPAN + 1);
            else
                pastePartRows(g);
            qd::core::GRID_PAGE_NUMBER(g);
            qd::core::TAX_TOTAL_CALC(g);
            sheet.setCol(static_cast<int>(g.COL_NO));
            sheet.setRow(static_cast<int>(g.ROW_NO));
            SEL_RANGE_SET(g);
        }
    }
    ui.focusSheet();
}

void valueFill(QdState &g, EditCommandUi &ui)
{
    qd::core::CoreUi &core = g.UI();
    if (g.SEL_ROW_END < g.SEL_ROW) {
        core.beep();
        g.MSG_ANS = core.msgBox(ORDER_MESSAGE, qd::core::Buttons::Ok);
        return;
    }
    FlexGrid &sheet = g.curGrid();
    {
        RedrawOff off({&sheet});
        SEL_RANGE_SAVE(g);
        unfixColumns(g);
        g.COL_NO = sheet.col();
        g.ROW_NO = sheet.row();
        const int firstRow = static_cast<int>(g.ROW_NO), firstCol = static_cast<int>(g.COL_NO);
        const int rowSpan = g.SEL_ROW_SPAN, colSpan = g.SEL_COL_SPAN;
        const std::string value = trim(g.EDIT_VALUE);
        for (int r = 0; r <= rowSpan; ++r) {
            const int to = firstRow + r;
            if (to >= sheet.rows())
                break;
            if (to < 1)
                continue; // the caption row keeps its captions
            bool wrote = false;
            for (int c = 0; c <= colSpan; ++c) {
                const int toCol = firstCol + c;
                if (toCol >= sheet.cols())
                    break;
                sheet.setCell(to, toCol, value);
                wrote = true;
            }
            if (wrote) {
                sheet.setRow(to);
                qd::core::ROW_CALC(g);
            }
        }
        qd::core::TAX_TOTAL_CALC(g);
        sheet.setCol(firstCol);
        sheet.setRow(firstRow);
        SEL_RANGE_SET(g);
    }
    ui.focusSheet();
}

} // namespace qd::sheet
