// Group rows of a sheet: rows whose item name carries the mark "【x】" are detail lines of a
// group; they are shaded, squeezed, not counted in the page numbers and not totalled.
#pragma once

#include <string_view>

#include "platform/grid/flex_grid.h"
#include "quotedesk/core/qd_state.h"

namespace qd::core {

inline constexpr std::string_view GROUP_MARK = "【x】";

// The grouping colour lies in the cells' text (fore) colour of columns 1 to 21; the page column's
// marking uses the back colour, so neither clears the other. Ungrouping resets the fore colour.
inline constexpr qd::grid::Rgb GROUP_SHADE_COLOR = qd::grid::rgb(200, 200, 200);
inline constexpr int GROUP_SHADE_LAST_COL = 21;

// True when the item name, trimmed of blanks, holds the group mark anywhere.
bool hasGroupMark(std::string_view itemName);

// The caller puts the current cell of the current sheet in the item-name column of the row:
// when its trimmed text holds the group mark, columns 1 to 21 of the row get the grouping
// colour and the current column is left at 21. Otherwise nothing changes; it never clears a
// colour.
void GRID_X_SHADE(QdState &g);

} // namespace qd::core
