// The sheet of a document slot: its set-up as an empty document of 1000 rows by 25 columns,
// the insertion of blank rows, the page numbers of the page column and the last filled row.
#pragma once

#include "quotedesk/core/qd_state.h"

namespace qd::core {

inline constexpr int SHEET_ROWS = 1000; // row 0 captions, rows 1-999 data
inline constexpr int SHEET_COLS = 25;

// Resets the current sheet (Grid1(CUR_SLOT)) to an empty document: texts cleared, window
// caption, menus that need a document, sheet frame, the edit tool window's row option, 1000 x 25
// cells, the common tax settings. Without a common tax rate it shows a message and stops there;
// otherwise it sets the row limits, the header row, blanks the line work fields and puts the
// current cell at (1, 2).
void SHEET_INIT(QdState &g);

// Inserts INSERT_ROWS blank rows before row ROW_NO (1 .. Rows) of the current sheet, renumbers
// the pages and sets INSERT_ROWS to 0. A ROW_NO outside 1 .. Rows throws qd::grid::GridError
// before any row is inserted.
void GRID_ROWS_INSERT(QdState &g);

// Row heights and page numbers of the current sheet: walks INSERT_ROWS + PAGE_ROW_LIMIT counted
// rows from the top; group rows ("【x】" at the start of 品名) are squeezed and not counted;
// page 1 starts at counted row 1, page p (2..40) at counted row 17 p - 20. A walk that would
// pass the sheet's last row stops there with the message "行数が不正です。やり直して下さい！".
// Leaves the current cell in column 0 of the last row walked.
void GRID_PAGE_NUMBER(QdState &g);

// LAST_ROW := the lowest row of the current sheet with text in columns 1-24 (row 0 counts like
// any row; -1 when there is none). Leaves the current cell at (0, 24).
void GRID_LAST_ROW(QdState &g);
// The same on sheet COPY_GRID_IDX, one higher: 0 for a sheet without any text.
void GRID_LAST_ROW_SRC(QdState &g);

} // namespace qd::core
