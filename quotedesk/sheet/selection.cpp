#include "quotedesk/sheet/selection.h"

#include <algorithm>
#include <utility>

namespace qd::sheet {

void SEL_RANGE_SAVE(QdState &g)
{
    g.SAVED_ROW = g.SEL_ROW;
    g.SAVED_ROW_END = g.SEL_ROW_END;
    g.SAVED_COL = g.SEL_COL;
    g.SAVED_COL_END = g.SEL_COL_END;
}

void SEL_RANGE_ORDER(QdState &g)
{
    if (g.SEL_ROW > g.SEL_ROW_END) {
        std::swap(g.SEL_ROW, g.SEL_ROW_END);
        g.SAVED_ROW = g.SEL_ROW;
        g.SAVED_ROW_END = g.SEL_ROW_END;
    }
}

void takeBlockFromSelection(QdState &g)
{
    g.BLOCK_ROW = g.SEL_ROW;
    g.BLOCK_ROW_END = g.SEL_ROW_END;
    g.BLOCK_COL = g.SEL_COL;
    g.BLOCK_COL_END = g.SEL_COL_END;
    g.BLOCK_ROW_SPAN = static_cast<std::int16_t>(g.SEL_ROW_END - g.SEL_ROW);
    g.BLOCK_COL_SPAN = static_cast<std::int16_t>(g.SEL_COL_END - g.SEL_COL);
}

int clampRow(const qd::grid::FlexGrid &grid, std::int64_t row)
{
    return static_cast<int>(std::clamp<std::int64_t>(row, 0, grid.rows() - 1));
}

int clampCol(const qd::grid::FlexGrid &grid, std::int64_t col)
{
    return static_cast<int>(std::clamp<std::int64_t>(col, 0, grid.cols() - 1));
}

void SEL_RANGE_SET(QdState &g)
{
    qd::grid::FlexGrid &grid = g.curGrid();
    // The events of each step rewrite SEL_*; the saved values are taken first.
    const int row = clampRow(grid, g.SAVED_ROW), rowEnd = clampRow(grid, g.SAVED_ROW_END);
    const int col = clampCol(grid, g.SAVED_COL), colEnd = clampCol(grid, g.SAVED_COL_END);
    grid.setRedraw(false);
    grid.setRow(row);
    grid.setCol(col);
    grid.setRowSel(rowEnd);
    grid.setColSel(colEnd);
}

bool isWholeColumn(std::int32_t firstRow, std::int32_t lastRow) { return firstRow <= 1 && lastRow >= 900; }

void clampWorkCell(QdState &g)
{
    const qd::grid::FlexGrid &grid = g.curGrid();
    g.ROW_NO = clampRow(grid, g.ROW_NO);
    g.COL_NO = clampCol(grid, g.COL_NO);
}

} // namespace qd::sheet
