#include "quotedesk/sheet/view_commands.h"

#include <algorithm>

#include "platform/text/cp932.h"
#include "quotedesk/core/group_rows.h"
#include "quotedesk/sheet/grid_display.h"
#include "quotedesk/sheet/row_commands.h"

namespace qd::sheet {

using qd::grid::FlexGrid;

namespace {

// Every index from `from` to `to`, both included, in either direction.
template <class F>
void eachBetween(int from, int to, F f)
{
    const int step = from <= to ? 1 : -1;
    for (int i = from;; i += step) {
        f(i);
        if (i == to)
            break;
    }
}

void resize(QdState &g, int delta)
{
    FlexGrid &sheet = g.curGrid();
    // Up stops at the largest size, down at the smallest: each limit only in its own direction,
    // so a stored width beyond the largest shrinks by one step.
    auto changed = [delta](int size) {
        const int to = size + delta;
        return delta > 0 ? std::min(to, SIZE_LARGEST) : std::max(to, SIZE_SMALLEST);
    };
    if (g.EDIT_AXIS == 0)
        eachBetween(sheet.row(), sheet.rowSel(), [&](int r) { sheet.setRowHeight(r, changed(sheet.rowHeight(r))); });
    else if (g.EDIT_AXIS == 1)
        eachBetween(sheet.col(), sheet.colSel(), [&](int c) { sheet.setColWidth(c, changed(sheet.colWidth(c))); });
}

// Row 1 at the data-row height in force while the record is written, when a group has squeezed it.
class DataRowOne {
public:
    explicit DataRowOne(QdState &g) : m_sheet(g.curGrid())
    {
        if (m_sheet.rows() > 1 && m_sheet.cols() > 2 &&
            qd::text::leftChars(qd::text::trim(m_sheet.cell(1, 2)), 3) == qd::core::GROUP_MARK) {
            m_squeezed = m_sheet.rowHeight(1);
            m_sheet.setRowHeight(1, dataRowHeight(g));
        }
    }
    ~DataRowOne()
    {
        if (m_squeezed >= 0)
            m_sheet.setRowHeight(1, m_squeezed);
    }
    DataRowOne(const DataRowOne &) = delete;
    DataRowOne &operator=(const DataRowOne &) = delete;

private:
    FlexGrid &m_sheet;
    int m_squeezed = -1;
};

} // namespace

void fontUp(QdState &g)
{
    g.FONT_PCT += 10;
    if (g.FONT_PCT >= 150)
        g.FONT_PCT = 100;
    GRID_ZOOM_SET(g);
}

void fontDown(QdState &g)
{
    g.FONT_PCT -= 10;
    if (g.FONT_PCT <= 50)
        g.FONT_PCT = 100;
    GRID_ZOOM_SET(g);
}

void sizeUp(QdState &g) { resize(g, SIZE_STEP); }
void sizeDown(QdState &g) { resize(g, -SIZE_STEP); }

void toggleFixedCols(QdState &g)
{
    if (g.FIXED_COLS == 1) {
        g.FIXED_COLS = 2;
        g.curGrid().setFixedCols(2);
    } else if (g.FIXED_COLS == 2) {
        g.FIXED_COLS = 1;
        g.curGrid().setFixedCols(1);
    }
}

bool storeWidths(QdState &g)
{
    try {
        if (g.DISP_MODE == 0) {
            DataRowOne rowOne(g);
            GRID_DISP_NOMAL_OPEN(g);
            GRID_DISP_NOMAL_CLEAR(g);
            GRID_DISP_NOMAL_SAVE(g);
            return true;
        }
        if (g.DISP_MODE == 1) {
            DataRowOne rowOne(g);
            GRID_DISP_SITEI_OPEN(g);
            GRID_DISP_SITEI_CLEAR(g);
            GRID_DISP_SITEI_SAVE(g);
            return true;
        }
    } catch (const std::exception &) {
        g.GRID_DISP_NOMAL_CTL.close();
        g.GRID_DISP_SITEI_CTL.close();
    }
    return false;
}

} // namespace qd::sheet
