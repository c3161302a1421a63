// View commands of the edit tool window on the current sheet: the font size of the sheets, the
// height of the selected rows or the width of the selected columns, the first two columns fixed,
// and the heights and widths stored as the display set of the mode in force.
#pragma once

#include "quotedesk/core/qd_state.h"

namespace qd::sheet {

using qd::core::QdState;

// Font percentage 10 up; from 150 on it starts again at 100 (so 140 goes to 100). Applied to the
// current sheet (GRID_ZOOM_SET).
void fontUp(QdState &g);
// Font percentage 10 down; at 50 or below it starts again at 100 (so 60 goes to 100).
void fontDown(QdState &g);

inline constexpr int SIZE_STEP = 100;
inline constexpr int SIZE_LARGEST = 10000;
inline constexpr int SIZE_SMALLEST = 1;

// EDIT_AXIS 0: every row from Row to RowSel 100 twips higher (10000 at most) or lower (1 at
// least); EDIT_AXIS 1: the same for the columns from Col to ColSel; any other value: nothing.
// Only the sheet changes, not the display set in force.
void sizeUp(QdState &g);
void sizeDown(QdState &g);

// "固": FIXED_COLS 1 becomes 2 and 2 becomes 1, and the sheet's FixedCols follows.
void toggleFixedCols(QdState &g);

// "巾記憶": the current sheet's caption-row and data-row heights, its 25 column widths and
// FONT_PCT become record 1 of the display-settings file of DISP_MODE (0 all columns, 1 chosen
// columns; any other mode writes nothing). A group row at row 1 is squeezed on the sheet; the
// data-row height in force is stored for it. Any failure ends the command without a message and
// the file keeps what it held. Returns whether the record was written.
bool storeWidths(QdState &g);

} // namespace qd::sheet
