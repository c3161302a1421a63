// Copy and paste of cell blocks on the sheets, and one value written into every cell of a
// selection. A block is remembered with the sheet it came from, so it can be pasted on the same
// sheet or on another open document's. Whole rows go through the hidden work grid Grid1(5): the
// source rows are copied there before the blank rows are inserted into the target, which may be
// the source sheet itself. Every paste and fill reprices the rows it wrote and totals the
// document.
#pragma once

#include "quotedesk/sheet/selection.h"

namespace qd::sheet {

// Characters of the carrier of one pasted cell: the second and third column of a block are
// written filled with blanks to this width (a longer text is written whole).
inline constexpr int CELL_BUF_WIDTH = 100;

// Block columns that make a paste a whole-row paste: columns 2 to 24, as selecting whole rows
// gives while two columns are fixed ("貼"), and the 21 columns the sheet's paste key and the
// calculation-unit commands take for whole rows.
inline constexpr int WHOLE_ROW_SPAN_BUTTON = 22;
inline constexpr int WHOLE_ROW_SPAN_KEY = 20;

// Remembers the live selection as the block, without checks: the value box and EDIT_VALUE are
// blanked, BLOCK_* and INSERT_ROWS (rows of the block) are set, the current cell goes back to
// (ROW_NO, COL_NO), the sheet gets the focus and COPY_GRID_IDX := CUR_SLOT.
void EDIT_RANGE_SET(QdState &g, EditCommandUi &ui);

// Copies sheet COPY_GRID_IDX into the work grid, trimmed, from row 0 to its last filled row.
// The work grid has at least 1000 rows and always room for every row of the source.
void GRID_COPY_WORK(QdState &g);

// Pastes the block at the current cell of the current sheet, without checks or messages (the
// sheet's paste key, and any command that sets the block and COPY_GRID_IDX itself). A block
// of WHOLE_ROW_SPAN_KEY + 1 columns is taken as whole rows: INSERT_ROWS blank rows are inserted
// at the current row and columns 1 to 24 of each block row are written into them. Target cells
// past the sheet's last row or column are left out. Ends at (ROW_NO, COL_NO) with Redraw on and
// the focus on the sheet.
void GRID_BLOCK_PASTE(QdState &g, EditCommandUi &ui);

// "写": remembers the selection as the block. Refuses a selection made from the bottom up and a
// whole column with a message; either way the sheet ends with Redraw on.
void blockCopy(QdState &g, EditCommandUi &ui);

// "貼": pastes the block at the current cell; a whole column as target is refused with a
// message. A block of WHOLE_ROW_SPAN_BUTTON + 1 columns is taken as whole rows: as many blank
// rows as the block has are inserted at the current row and filled in columns 1 to 24. Otherwise
// the block goes to the current cell, leaving out what falls past the sheet. The source is read
// whole before anything is written, so a block pasted over itself moves intact. Two fixed
// columns go back to one; the user's selection is shown again afterwards.
void blockPaste(QdState &g, EditCommandUi &ui);

// "値": writes Trim(EDIT_VALUE) into every cell of the selection and reprices its rows. A
// selection made from the bottom up is refused with a message.
void valueFill(QdState &g, EditCommandUi &ui);

} // namespace qd::sheet
