#include "platform/grid/flex_grid.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qd::grid {

namespace {

std::string where(const char *what, int v)
{
    return std::string("grid: ") + what + " " + std::to_string(v) + " out of range";
}

unsigned bit(FlexGrid::Change ch) { return 1u << static_cast<unsigned>(ch); }

} // namespace

FlexGrid::FlexGrid()
    : m_cells(2, std::vector<Cell>(2)), m_rowHeights(2, -1), m_colWidths(2, -1),
      m_colAlign(2, Align::General), m_rows(2), m_cols(2)
{
}

// ---- size ---------------------------------------------------------------------------------

void FlexGrid::setRows(int n)
{
    if (n < 1 || n < m_fixedRows)
        throw GridError(where("row count", n));
    if (n == m_rows)
        return;
    m_cells.resize(n, std::vector<Cell>(m_cols));
    m_rowHeights.resize(n, -1);
    m_rows = n;
    notify(Change::Structure);
    clampAfterResize();
}

void FlexGrid::setCols(int n)
{
    if (n < 1 || n < m_fixedCols)
        throw GridError(where("column count", n));
    if (n == m_cols)
        return;
    for (auto &row : m_cells)
        row.resize(n);
    m_colWidths.resize(n, -1);
    m_colAlign.resize(n, Align::General);
    m_cols = n;
    notify(Change::Structure);
    clampAfterResize();
}

void FlexGrid::setFixedRows(int n)
{
    if (n < 0 || n > m_rows)
        throw GridError(where("fixed row count", n));
    m_fixedRows = n;
    if (m_topRow < m_fixedRows)
        m_topRow = std::min(m_fixedRows, m_rows - 1);
    notify(Change::Structure);
}

void FlexGrid::setFixedCols(int n)
{
    if (n < 0 || n > m_cols)
        throw GridError(where("fixed column count", n));
    m_fixedCols = n;
    if (m_leftCol < m_fixedCols)
        m_leftCol = std::min(m_fixedCols, m_cols - 1);
    notify(Change::Structure);
}

// After the grid shrank: every index that pointed past the end moves onto the last row or
// column; a moved current cell is reported like any other move.
void FlexGrid::clampAfterResize()
{
    const int oldRow = m_row, oldCol = m_col, oldRowSel = m_rowSel, oldColSel = m_colSel;
    m_row = std::min(m_row, m_rows - 1);
    m_col = std::min(m_col, m_cols - 1);
    m_rowSel = std::min(m_rowSel, m_rows - 1);
    m_colSel = std::min(m_colSel, m_cols - 1);
    m_topRow = std::clamp(m_topRow, std::min(m_fixedRows, m_rows - 1), m_rows - 1);
    m_leftCol = std::clamp(m_leftCol, std::min(m_fixedCols, m_cols - 1), m_cols - 1);
    const bool moved = m_row != oldRow || m_col != oldCol;
    const bool selMoved = moved || m_rowSel != oldRowSel || m_colSel != oldColSel;
    if (moved || selMoved)
        notify(Change::Current);
    if (moved)
        raise(events.rowColChange);
    if (selMoved)
        raise(events.selChange);
}

// ---- current cell and selection -----------------------------------------------------------

void FlexGrid::checkRow(int r) const
{
    if (r < 0 || r >= m_rows)
        throw GridError(where("row", r));
}

void FlexGrid::checkCol(int c) const
{
    if (c < 0 || c >= m_cols)
        throw GridError(where("column", c));
}

void FlexGrid::checkCell(int r, int c) const
{
    checkRow(r);
    checkCol(c);
}

void FlexGrid::raise(const std::function<void()> &f)
{
    // A copy, so that a handler may replace the handlers while it runs.
    if (f) {
        auto call = f;
        call();
    }
}

void FlexGrid::moveCurrent(int r, int c)
{
    const bool moved = r != m_row || c != m_col;
    m_row = m_rowSel = r;
    m_col = m_colSel = c;
    notify(Change::Current);
    if (moved)
        raise(events.rowColChange);
    raise(events.selChange);
}

void FlexGrid::setRow(int r)
{
    checkRow(r);
    moveCurrent(r, m_col);
}

void FlexGrid::setCol(int c)
{
    checkCol(c);
    moveCurrent(m_row, c);
}

void FlexGrid::setRowSel(int r)
{
    checkRow(r);
    m_rowSel = r;
    notify(Change::Current);
    raise(events.selChange);
}

void FlexGrid::setColSel(int c)
{
    checkCol(c);
    m_colSel = c;
    notify(Change::Current);
    raise(events.selChange);
}

void FlexGrid::select(int row, int col, int rowSel, int colSel)
{
    checkCell(row, col);
    checkCell(rowSel, colSel);
    const bool moved = row != m_row || col != m_col;
    const bool changed = moved || rowSel != m_rowSel || colSel != m_colSel;
    if (!changed)
        return;
    m_row = row;
    m_col = col;
    m_rowSel = rowSel;
    m_colSel = colSel;
    notify(Change::Current);
    if (moved)
        raise(events.rowColChange);
    raise(events.selChange);
}

void FlexGrid::setTopRow(int r)
{
    checkRow(r);
    r = std::max(r, std::min(m_fixedRows, m_rows - 1));
    if (r == m_topRow)
        return;
    m_topRow = r;
    notify(Change::Scroll);
}

void FlexGrid::setLeftCol(int c)
{
    checkCol(c);
    c = std::max(c, std::min(m_fixedCols, m_cols - 1));
    if (c == m_leftCol)
        return;
    m_leftCol = c;
    notify(Change::Scroll);
}

// ---- cells --------------------------------------------------------------------------------

const std::string &FlexGrid::cell(int r, int c) const
{
    checkCell(r, c);
    return m_cells[r][c].text;
}

void FlexGrid::setCell(int r, int c, std::string_view t)
{
    checkCell(r, c);
    m_cells[r][c].text.assign(t);
    notify(Change::Cells);
}

Rgb FlexGrid::backColor(int r, int c) const
{
    checkCell(r, c);
    return m_cells[r][c].back;
}

void FlexGrid::setBackColor(int r, int c, Rgb color)
{
    checkCell(r, c);
    m_cells[r][c].back = color < 0 ? DefaultColor : (color & 0xFFFFFF);
    notify(Change::Cells);
}

Rgb FlexGrid::foreColor(int r, int c) const
{
    checkCell(r, c);
    return m_cells[r][c].fore;
}

void FlexGrid::setForeColor(int r, int c, Rgb color)
{
    checkCell(r, c);
    m_cells[r][c].fore = color < 0 ? DefaultColor : (color & 0xFFFFFF);
    notify(Change::Cells);
}

void FlexGrid::addItem(std::string_view text, int index)
{
    if (index < 0 || index > m_rows)
        throw GridError(where("row index to add at", index));
    std::vector<Cell> row(m_cols);
    int c = 0;
    while (c < m_cols) {
        const auto tab = text.find('\t');
        row[c++].text.assign(text.substr(0, tab));
        if (tab == std::string_view::npos)
            break;
        text.remove_prefix(tab + 1);
    }
    m_cells.insert(m_cells.begin() + index, std::move(row));
    m_rowHeights.insert(m_rowHeights.begin() + index, -1);
    ++m_rows;
    notify(Change::Structure);
}

void FlexGrid::removeItem(int index)
{
    checkRow(index);
    if (index < m_fixedRows)
        throw GridError("grid: a fixed row cannot be removed");
    if (m_rows - m_fixedRows <= 1)
        throw GridError("grid: the last non-fixed row cannot be removed");
    m_cells.erase(m_cells.begin() + index);
    m_rowHeights.erase(m_rowHeights.begin() + index);
    --m_rows;
    notify(Change::Structure);
    clampAfterResize();
}

void FlexGrid::clear()
{
    for (auto &row : m_cells)
        for (auto &cell : row)
            cell.text.clear();
    notify(Change::Cells);
}

// ---- display ------------------------------------------------------------------------------

void FlexGrid::setRedraw(bool on)
{
    if (on == m_redraw)
        return;
    m_redraw = on;
    if (!m_listener)
        return;
    if (on) {
        // What changed while drawing was off, most sweeping first; then the repaint.
        const unsigned pending = std::exchange(m_pending, 0u);
        for (Change ch : {Change::Structure, Change::Geometry, Change::Font, Change::Cells,
                          Change::Scroll, Change::Current})
            if (pending & bit(ch))
                m_listener(ch);
    }
    m_listener(Change::Redraw);
}

int FlexGrid::defaultRowHeight() const
{
    return std::max(240, static_cast<int>(std::lround(m_fontSize * 27.0)));
}

int FlexGrid::colWidth(int c) const
{
    checkCol(c);
    return m_colWidths[c] < 0 ? DefaultColWidth : m_colWidths[c];
}

void FlexGrid::setColWidth(int c, int twips)
{
    checkCol(c);
    if (twips < -1)
        throw GridError(where("column width", twips));
    m_colWidths[c] = twips;
    notify(Change::Geometry);
}

int FlexGrid::rowHeight(int r) const
{
    checkRow(r);
    return m_rowHeights[r] < 0 ? defaultRowHeight() : m_rowHeights[r];
}

void FlexGrid::setRowHeight(int r, int twips)
{
    checkRow(r);
    if (twips < -1)
        throw GridError(where("row height", twips));
    m_rowHeights[r] = twips;
    notify(Change::Geometry);
}

Align FlexGrid::colAlignment(int c) const
{
    checkCol(c);
    return m_colAlign[c];
}

void FlexGrid::setColAlignment(int c, Align a)
{
    checkCol(c);
    m_colAlign[c] = a;
    notify(Change::Cells);
}

void FlexGrid::setFontSize(double points)
{
    if (!(points > 0.0) || points > 1000.0)
        throw GridError("grid: font size out of range");
    m_fontSize = points;
    notify(Change::Font);
    notify(Change::Geometry); // rows of the default height follow the font
}

// ---- events -------------------------------------------------------------------------------

void FlexGrid::notify(Change ch)
{
    if (!m_listener)
        return;
    if (m_redraw)
        m_listener(ch);
    else
        m_pending |= bit(ch);
}

void FlexGrid::raiseClick() { raise(events.click); }
void FlexGrid::raiseDblClick() { raise(events.dblClick); }
void FlexGrid::raiseGotFocus() { raise(events.gotFocus); }

void FlexGrid::raiseKeyDown(int &keyCode, int shift)
{
    if (events.keyDown) {
        auto call = events.keyDown;
        call(keyCode, shift);
    }
}

void FlexGrid::raiseMouseDown(int button, int shift, int x, int y)
{
    if (events.mouseDown) {
        auto call = events.mouseDown;
        call(button, shift, x, y);
    }
}

void FlexGrid::raiseMouseMove(int button, int shift, int x, int y)
{
    if (events.mouseMove) {
        auto call = events.mouseMove;
        call(button, shift, x, y);
    }
}

} // namespace qd::grid
