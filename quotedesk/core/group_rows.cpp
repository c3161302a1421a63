#include "quotedesk/core/group_rows.h"

#include <algorithm>

#include "platform/text/cp932.h"

namespace qd::core {

bool hasGroupMark(std::string_view itemName)
{
    return qd::text::trim(itemName).find(GROUP_MARK) != std::string::npos;
}

void GRID_X_SHADE(QdState &g)
{
    qd::grid::FlexGrid &grid = g.curGrid();
    if (!hasGroupMark(grid.text()))
        return;
    const int r = grid.row();
    // A sheet that is not set up yet may be narrower than the shaded columns.
    const int last = std::min(GROUP_SHADE_LAST_COL, grid.cols() - 1);
    for (int c = 1; c <= last; ++c)
        grid.setForeColor(r, c, GROUP_SHADE_COLOR);
    grid.setCol(last);
}

} // namespace qd::core
