// The sheet grid model: the grid control as the programs use it, without any widget.
//
// Properties follow the control: Rows, Cols, FixedRows, FixedCols, the current cell (Row, Col),
// the selection's other corner (RowSel, ColSel, which may lie before Row/Col), TopRow, the
// current cell's Text, Redraw, ColWidth/RowHeight in whole twips, ColAlignment, AddItem,
// RemoveItem, Clear, per-cell back and fore colours, and one font size for the whole grid.
// Events are raised synchronously, also when code moves the current cell.
// Any index out of range throws GridError; nothing reaches undefined behaviour.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qd::grid {

class GridError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// Colours as 0xRRGGBB; Default means "the grid's own colour".
using Rgb = std::int32_t;
constexpr Rgb DefaultColor = -1;
constexpr Rgb rgb(int r, int g, int b) { return (r << 16) | (g << 8) | b; }

enum class Align { General = 9, LeftCenter = 1, CenterCenter = 4, RightCenter = 7 };

// The buttons and keys the events carry.
enum MouseButton { LeftButton = 1, RightButton = 2, MiddleButton = 4 };
enum ShiftMask { ShiftKey = 1, CtrlKey = 2, AltKey = 4 };

class FlexGrid {
public:
    FlexGrid(); // 2 rows, 2 columns, 1 fixed row, 1 fixed column, current cell (1, 1)

    // Size. Growing adds empty rows/columns; shrinking drops them and clamps the current cell.
    int rows() const { return m_rows; }
    void setRows(int n);
    int cols() const { return m_cols; }
    void setCols(int n);
    int fixedRows() const { return m_fixedRows; }
    void setFixedRows(int n);
    int fixedCols() const { return m_fixedCols; }
    void setFixedCols(int n);

    // Current cell. Setting Row or Col collapses the selection to the new current cell and
    // raises RowColChange (when the cell changed), then SelChange (always).
    int row() const { return m_row; }
    void setRow(int r);
    int col() const { return m_col; }
    void setCol(int c);
    int rowSel() const { return m_rowSel; }
    void setRowSel(int r); // raises SelChange
    int colSel() const { return m_colSel; }
    void setColSel(int c); // raises SelChange
    // A user's selection (mouse drag, shift+arrow, header click) in one step: RowColChange when
    // the current cell moved, then SelChange when anything of the selection changed.
    void select(int row, int col, int rowSel, int colSel);

    // First scrollable row shown. Any row of the grid is accepted: a row among the fixed rows
    // gives the first scrollable row (the sheet's Up key sets TopRow - 1 at the very top).
    // Outside 0..Rows-1 throws. A view may lower it to the last position it can scroll to.
    int topRow() const { return m_topRow; }
    void setTopRow(int r);
    int leftCol() const { return m_leftCol; }
    void setLeftCol(int c); // the same for the first scrollable column

    // Text of the current cell, and of any cell.
    const std::string &text() const { return cell(m_row, m_col); }
    void setText(std::string_view t) { setCell(m_row, m_col, t); }
    const std::string &cell(int r, int c) const;
    void setCell(int r, int c, std::string_view t);

    // Redraw off: the view does not repaint until it is switched on again.
    bool redraw() const { return m_redraw; }
    void setRedraw(bool on);

    // Widths and heights in whole twips, as shown: a column or row never given one reads as the
    // default. Setting -1 gives the default back; 0 and more are taken as they stand.
    int colWidth(int c) const;
    void setColWidth(int c, int twips);
    int rowHeight(int r) const;
    void setRowHeight(int r, int twips);
    static constexpr int DefaultColWidth = 960;
    int defaultRowHeight() const; // follows the font size, at least 240 twips
    Align colAlignment(int c) const;
    void setColAlignment(int c, Align a);

    // Inserts a row before `index` (0..Rows; Rows appends); `text` fills its cells from
    // column 0, cells separated by tab characters.
    void addItem(std::string_view text, int index);
    // Removes row `index`; a fixed row and the last non-fixed row cannot be removed (GridError).
    void removeItem(int index);
    // Empties the text of every cell (sizes, widths and colours stay).
    void clear();

    // Colours of the current cell (as the control's CellBackColor/CellForeColor), and of any cell.
    Rgb cellBackColor() const { return backColor(m_row, m_col); }
    void setCellBackColor(Rgb c) { setBackColor(m_row, m_col, c); }
    Rgb cellForeColor() const { return foreColor(m_row, m_col); }
    void setCellForeColor(Rgb c) { setForeColor(m_row, m_col, c); }
    Rgb backColor(int r, int c) const;
    void setBackColor(int r, int c, Rgb color);
    Rgb foreColor(int r, int c) const;
    void setForeColor(int r, int c, Rgb color);

    // Font size of the whole grid, in points (fixed point x 10,000 is not needed here).
    double fontSize() const { return m_fontSize; }
    void setFontSize(double points);

    // Events, raised synchronously. A view or a form sets the ones it handles.
    struct Events {
        std::function<void()> click, dblClick, gotFocus, rowColChange, selChange;
        std::function<void(int &keyCode, int shift)> keyDown;
        std::function<void(int button, int shift, int x, int y)> mouseDown, mouseMove;
    };
    Events events;

    // For a view: called after every change (cells, sizes, colours, current cell, redraw).
    // While Redraw is off the changes are gathered and reported once each when it goes on
    // (Redraw itself is always reported at once).
    enum class Change { Cells, Structure, Geometry, Current, Redraw, Font, Scroll };
    using Listener = std::function<void(Change)>;
    void setListener(Listener l) { m_listener = std::move(l); }

    // Raising the user events (the view calls these; tests may too).
    void raiseClick();
    void raiseDblClick();
    void raiseGotFocus();
    void raiseKeyDown(int &keyCode, int shift);
    void raiseMouseDown(int button, int shift, int x, int y);
    void raiseMouseMove(int button, int shift, int x, int y);

private:
    void checkCell(int r, int c) const;
    void notify(Change ch);
    void checkRow(int r) const;
    void checkCol(int c) const;
    void moveCurrent(int r, int c);
    void clampAfterResize();
    void raise(const std::function<void()> &f);

    struct Cell {
        std::string text;
        Rgb back = DefaultColor;
        Rgb fore = DefaultColor;
    };
    std::vector<std::vector<Cell>> m_cells; // [row][col]
    std::vector<int> m_rowHeights;
    std::vector<int> m_colWidths;
    std::vector<Align> m_colAlign;
    int m_rows = 0, m_cols = 0, m_fixedRows = 1, m_fixedCols = 1;
    int m_row = 1, m_col = 1, m_rowSel = 1, m_colSel = 1, m_topRow = 1, m_leftCol = 1;
    bool m_redraw = true;
    double m_fontSize = 9.0;
    Listener m_listener;
    unsigned m_pending = 0; // Change bits gathered while Redraw is off
};

// Redraw of the grids off while a command writes into them, and on again however it ends (a
// failure half way included).
class RedrawOff {
public:
    explicit RedrawOff(FlexGrid &grid) : RedrawOff({&grid}) {}
    explicit RedrawOff(std::initializer_list<FlexGrid *> grids) : m_grids(grids)
    {
        for (FlexGrid *grid : m_grids)
            grid->setRedraw(false);
    }
    ~RedrawOff()
    {
        for (FlexGrid *grid : m_grids)
            grid->setRedraw(true);
    }
    RedrawOff(const RedrawOff &) = delete;
    RedrawOff &operator=(const RedrawOff &) = delete;

private:
    std::vector<FlexGrid *> m_grids;
};

} // namespace qd::grid
