// The sheet grid on screen: a widget that draws a FlexGrid and turns the user's keys and mouse
// into the grid's events and selection.
//
// Widths and heights are the grid's twips at the screen's logical dpi (15 twips a pixel at
// 96 dpi); a 20-twip column shows as a thin line. Fixed rows and columns stay in place and are
// drawn grey. Every key press goes to the grid's KeyDown first; the view's own movement
// follows only when the handler left the key code non-zero. The right button raises MouseDown
// and nothing else, so a pop-up menu opens over the selection as it stands. Clicking a fixed
// row selects the whole column below it, clicking a fixed column the whole row. The user
// cannot resize rows or columns. While the grid's Redraw is off the view does not repaint.
//
// Text is drawn in the view's cell face at a share of the grid's font size (a face with wide
// figures is drawn smaller, so that the widths hold what they were made for). With a zoom base
// set, widths and heights grow and shrink with the grid's font size as a zoom does: at the base
// size they are as given. The captions of the fixed rows wrap onto further lines where a
// column is narrower than its caption; a text wider than its cell keeps in sight its right end
// when it is a figure (the digits that matter), else its start.
#pragma once

#include "platform/grid/flex_grid.h"

#include <QAbstractScrollArea>
#include <QAbstractTableModel>
#include <QFont>
#include <QRect>

#include <utility>

class QKeyEvent;

namespace qd::qt {

// Twips and pixels at a given dots-per-inch, rounded to the nearest whole number.
int twipsToPixels(int twips, int dpi);
int pixelsToTwips(int pixels, int dpi);

// The key code the grid's KeyDown carries for a Qt key: 13 Enter, 27 Escape, 37-40 the arrows,
// 46 Delete, 112.. the F keys, upper-case ASCII for letters, 48-57 for digits; -1 for a key
// that has no code.
int gridKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
// The grid's shift mask (1 Shift, 2 Ctrl, 4 Alt) of Qt's modifiers.
int gridShiftMask(Qt::KeyboardModifiers modifiers);

// The grid's cells as an item model (texts, colours, alignment, font), read-only.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(const qd::grid::FlexGrid &grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Called by the view for each change the grid reports.
    void gridChanged(qd::grid::FlexGrid::Change change);

private:
    const qd::grid::FlexGrid &m_grid;
    int m_rows, m_cols;
};

class GridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // The grid must outlive the view; the view is the grid's one listener while it lives.
    explicit GridView(qd::grid::FlexGrid &grid, QWidget *parent = nullptr);
    ~GridView() override;

    qd::grid::FlexGrid &grid() const { return m_grid; }
    GridModel *model() const { return m_model; }

    // A cell's rectangle in this widget's coordinates, also for a cell scrolled out of sight
    // (then it lies outside the viewport). Throws GridError for a cell outside the grid.
    QRect cellRect(int row, int col) const;
    // The cell under a point in this widget's coordinates; {-1, -1} where there is none.
    std::pair<int, int> cellAt(QPoint pos) const;
    // Scrolls so that a scrollable cell is wholly in view (as the arrow keys do).
    void showCell(int row, int col);

    int colPixels(int col) const;
    int rowPixels(int row) const;

    // The face the cells are drawn in, at `sizeShare` of the grid's font size.
    void setCellFace(const QFont &face, double sizeShare = 1.0);
    // The font the cells are drawn in now (face and size).
    const QFont &cellFont() const { return m_cellFont; }
    // The grid font size at which widths and heights are drawn as given; 0: always as given.
    void setZoomBase(double points);
    // The factor widths and heights are drawn at: the grid's font size over the zoom base.
    double zoom() const;
    // Room a column leaves for its text: its width less the margins at each side.
    int textRoom(int col) const;
    // The margins of a cell's text at zoom 1, in pixels, left and right.
    static constexpr int TextMarginLeft = 2;
    static constexpr int TextMarginRight = 3;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent *event) override;

private:
    enum class Drag { None, Cells, Columns, Rows };

    void gridChanged(qd::grid::FlexGrid::Change change);
    void updateScrollBars();
    void updateFont();
    void moveByKey(int keyCode, int shift);
    void selectByPress(int row, int col, int shift);
    void dragTo(QPoint viewportPos);
    void paintCell(QPainter &p, int row, int col, const QRect &rect) const;
    int fixedHeight() const;
    int fixedWidth() const;
    int maxTopRow() const;
    int maxLeftCol() const;
    int visibleRows() const;
    std::pair<int, int> cellAtViewport(QPoint pos) const;
    int rowAtY(int y) const;
    int colAtX(int x) const;
    int rowY(int row) const; // viewport coordinates
    int colX(int col) const;
    int twipsX(int px) const;
    int twipsY(int px) const;
    int marginLeft() const;
    int marginRight() const;

    qd::grid::FlexGrid &m_grid;
    GridModel *m_model;
    QFont m_cellFont;
    QFont m_face;                  // the cells' face; its size comes from the grid
    bool m_hasFace = false;        // without one the cells take the widget's font
    double m_sizeShare = 1.0;      // share of the grid's font size the face is drawn at
    double m_zoomBase = 0;         // grid font size at which sizes are as given; 0: no zoom
    Drag m_drag = Drag::None;
    int m_anchorRow = 0, m_anchorCol = 0;
    bool m_syncing = false;        // the view is setting its scroll bars from the grid
    bool m_pressedLeft = false;    // a left press in the grid awaits its release (Click)
    bool m_afterDoubleClick = false;
    bool m_inFocusIn = false;      // GotFocus is running
    bool m_releasedEarly = false;  // a left release came in while a press gave the focus
};

} // namespace qd::qt
