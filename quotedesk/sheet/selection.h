// The selection of the current sheet as the edit commands keep it: the live selection (SEL_*),
// which the sheet's RowColChange and SelChange events keep current, the saved selection
// (SAVED_*), and putting a saved selection back on the sheet.
//
// Moving the current cell raises those events, which rewrite SEL_*: a command that moves the
// cell in a loop takes the bounds it needs into locals first.
#pragma once

#include <string>

#include "quotedesk/core/qd_state.h"

namespace qd::sheet {

using qd::core::QdState;

// What the edit commands ask of the windows besides the core's CoreUi (message boxes, menus,
// the mouse pointer): the focus back on the sheet, the edit tool window's value box and the
// main window's cell editor.
class EditCommandUi {
public:
    virtual ~EditCommandUi() = default;
    // The current sheet Grid1(CUR_SLOT) gets the focus.
    virtual void focusSheet() = 0;
    // HENSYU_MENU.Text3.
    virtual void setValueBoxText(const std::string &text) = 0;
    // KIHON.Text1.
    virtual void setCellEditorText(const std::string &text) = 0;
};

// Does nothing: for procedures run where no window is involved, and for tests that do not look.
class NullEditCommandUi : public EditCommandUi {
public:
    void focusSheet() override {}
    void setValueBoxText(const std::string &) override {}
    void setCellEditorText(const std::string &) override {}
};

// SAVED_ROW := SEL_ROW, SAVED_ROW_END := SEL_ROW_END, SAVED_COL := SEL_COL,
// SAVED_COL_END := SEL_COL_END.
void SEL_RANGE_SAVE(QdState &g);

// A selection made from the bottom up: SEL_ROW and SEL_ROW_END change places and SAVED_ROW,
// SAVED_ROW_END take them in ascending order. A selection made from the top down is left as it
// is, the saved values too. Columns and spans are not touched.
void SEL_RANGE_ORDER(QdState &g);

// The block the block commands work on, taken from the live selection: BLOCK_ROW ..
// BLOCK_COL_END := SEL_ROW .. SEL_COL_END, and the spans BLOCK_ROW_SPAN, BLOCK_COL_SPAN between.
void takeBlockFromSelection(QdState &g);

// Puts the saved selection back on the current sheet: Redraw off, Row, Col, RowSel, ColSel.
// Redraw stays off; the caller switches it on. Rows and columns the sheet no longer has (rows
// deleted since the selection was saved) are brought to its last row or column.
void SEL_RANGE_SET(QdState &g);

// A selection that counts as a whole column: from row 1 or above to row 900 or below. Copy,
// paste, insert and delete refuse it.
bool isWholeColumn(std::int32_t firstRow, std::int32_t lastRow);

// A row or column index brought into the current sheet (0 .. Rows-1, 0 .. Cols-1).
int clampRow(const qd::grid::FlexGrid &grid, std::int64_t row);
int clampCol(const qd::grid::FlexGrid &grid, std::int64_t col);

// ROW_NO and COL_NO brought into the current sheet, so that the procedures that return the
// cursor there (ROW_CALC, TAX_TOTAL_CALC) find the cell; after rows were deleted the recorded
// row may lie past the sheet's end.
void clampWorkCell(QdState &g);

} // namespace qd::sheet
