// The sheet's 25 columns with their captions in row 0, and the main window's caption composed
// from the column display set, the calculation unit and the size-print mode.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "quotedesk/core/qd_state.h"

namespace qd::sheet {

inline constexpr int SHEET_COLUMN_COUNT = 25;

// Captions of columns 0 ("頁") to 24 ("消費税額(端数処理後)").
const std::array<const char *, SHEET_COLUMN_COUNT> &columnCaptions();

// Row 0 of the current sheet gets the captions; every column is centred and takes its width
// in force (DISP_WIDTHS, rounded to whole twips, ties to even). The current cell ends at
// (0, 24).
void GRID_HEADER_SET(qd::core::QdState &g);

// Updates CAPTION_SIZE_TEXT and CAPTION_UNIT_TEXT (an unknown mode keeps its piece) and returns
// the caption for DISP_MODE 0 or 1; any other display mode returns nothing and the caption
// stays.
std::optional<std::string> composeKihonCaption(qd::core::QdState &g);

} // namespace qd::sheet
