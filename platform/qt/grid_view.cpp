#include "platform/qt/grid_view.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace qd::qt {

using qd::grid::Align;
using qd::grid::FlexGrid;
using Change = qd::grid::FlexGrid::Change;

namespace {

// Fixed cells and the area past the last cell, as the sheet has always shown them.
const QColor FixedBack(240, 240, 240);
const QColor FixedLine(160, 160, 160);
const QColor CellLine(192, 192, 192);
const QColor Background(171, 171, 171);

QColor toColor(qd::grid::Rgb c)
{
    return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

// Text that reads as a number: what the general alignment puts on the right.
bool looksNumeric(const std::string &t)
{
    bool digit = false;
    for (char ch : t) {
        if (ch >= '0' && ch <= '9')
            digit = true;
        else if (ch != ',' && ch != '.' && ch != '-' && ch != '+' && ch != ' ')
            return false;
    }
    return digit;
}

Qt::Alignment toAlignment(Align a, const std::string &text)
{
    int v = static_cast<int>(a);
    if (v < 0 || v > 8) // general
        return (looksNumeric(text) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    static const Qt::Alignment horiz[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment vert[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return horiz[v / 3] | vert[v % 3];
}

int mouseButtons(Qt::MouseButtons b)
{
    int mask = 0;
    if (b & Qt::LeftButton)
        mask |= qd::grid::LeftButton;
    if (b & Qt::RightButton)
        mask |= qd::grid::RightButton;
    if (b & Qt::MiddleButton)
        mask |= qd::grid::MiddleButton;
    return mask;
}

} // namespace

int twipsToPixels(int twips, int dpi)
{
    return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / 1440.0));
}

int pixelsToTwips(int pixels, int dpi)
{
    return dpi > 0 ? static_cast<int>(std::lround(pixels * 1440.0 / dpi)) : 0;
}

int gridKeyCode(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return 96 + (key - Qt::Key_0);
        switch (key) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F16)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_Semicolon: case Qt::Key_Colon: return 186;
    case Qt::Key_Equal: case Qt::Key_Plus: return 187;
    case Qt::Key_Comma: case Qt::Key_Less: return 188;
    case Qt::Key_Minus: case Qt::Key_Underscore: return 189;
    case Qt::Key_Period: case Qt::Key_Greater: return 190;
    case Qt::Key_Slash: case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: case Qt::Key_At: return 192;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash: case Qt::Key_Bar: case Qt::Key_yen: return 220;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return 222;
    default: return -1;
    }
}

int gridShiftMask(Qt::KeyboardModifiers m)
{
    int mask = 0;
    if (m & Qt::ShiftModifier)
        mask |= qd::grid::ShiftKey;
    if (m & Qt::ControlModifier)
        mask |= qd::grid::CtrlKey;
    if (m & Qt::AltModifier)
        mask |= qd::grid::AltKey;
    return mask;
}

// ---- GridModel ----------------------------------------------------------------------------

GridModel::GridModel(const FlexGrid &grid, QObject *parent)
    : QAbstractTableModel(parent), m_grid(grid), m_rows(grid.rows()), m_cols(grid.cols())
{
}

int GridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    const int r = index.row(), c = index.column();
    if (!index.isValid() || r >= m_grid.rows() || c >= m_grid.cols())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(m_grid.cell(r, c));
    case Qt::BackgroundRole: {
        const auto back = m_grid.backColor(r, c);
        if (back != qd::grid::DefaultColor)
            return toColor(back);
        if (r < m_grid.fixedRows() || c < m_grid.fixedCols())
            return FixedBack;
        return {};
    }
    case Qt::ForegroundRole: {
        const auto fore = m_grid.foreColor(r, c);
        return fore == qd::grid::DefaultColor ? QVariant() : QVariant(toColor(fore));
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(toAlignment(m_grid.colAlignment(c), m_grid.cell(r, c)));
    case Qt::FontRole: {
        QFont f;
        f.setPointSizeF(m_grid.fontSize());
        return f;
    }
    default:
        return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void GridModel::gridChanged(Change change)
{
    if (change == Change::Structure) {
        if (m_rows != m_grid.rows() || m_cols != m_grid.cols()) {
            beginResetModel();
            m_rows = m_grid.rows();
            m_cols = m_grid.cols();
            endResetModel();
        } else if (m_rows > 0 && m_cols > 0) {
            emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
        }
    } else if ((change == Change::Cells || change == Change::Font) && m_rows > 0 && m_cols > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
    }
}

// ---- GridView: geometry -------------------------------------------------------------------

GridView::GridView(FlexGrid &grid, QWidget *parent)
    : QAbstractScrollArea(parent), m_grid(grid), m_model(new GridModel(grid, this))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_syncing && v >= 0 && v < m_grid.rows())
            m_grid.setTopRow(v);
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_syncing && v >= 0 && v < m_grid.cols())
            m_grid.setLeftCol(v);
    });
    m_grid.setListener([this](Change ch) { gridChanged(ch); });
    updateFont();
    viewport()->setUpdatesEnabled(m_grid.redraw());
    updateScrollBars();
}

GridView::~GridView() { m_grid.setListener(nullptr); }

double GridView::zoom() const
{
    const double size = m_grid.fontSize();
    return m_zoomBase > 0 && size > 0 ? size / m_zoomBase : 1.0;
}

int GridView::colPixels(int col) const
{
    return static_cast<int>(std::lround(m_grid.colWidth(col) * zoom() * logicalDpiX() / 1440.0));
}

int GridView::rowPixels(int row) const
{
    return static_cast<int>(std::lround(m_grid.rowHeight(row) * zoom() * logicalDpiY() / 1440.0));
}

int GridView::marginLeft() const { return std::max(1, static_cast<int>(std::lround(TextMarginLeft * zoom()))); }
int GridView::marginRight() const { return std::max(1, static_cast<int>(std::lround(TextMarginRight * zoom()))); }

int GridView::textRoom(int col) const { return colPixels(col) - marginLeft() - marginRight(); }

void GridView::setCellFace(const QFont &face, double sizeShare)
{
    m_face = face;
    m_hasFace = true;
    m_sizeShare = sizeShare > 0 ? sizeShare : 1.0;
    updateFont();
    viewport()->update();
}

void GridView::setZoomBase(double points)
{
    m_zoomBase = points > 0 ? points : 0;
    updateScrollBars();
    viewport()->update();
}
int GridView::twipsX(int px) const { return pixelsToTwips(px, logicalDpiX()); }
int GridView::twipsY(int px) const { return pixelsToTwips(px, logicalDpiY()); }

int GridView::fixedHeight() const
{
    int h = 0;
    for (int r = 0; r < std::min(m_grid.fixedRows(), m_grid.rows()); ++r)
        h += rowPixels(r);
    return h;
}

int GridView::fixedWidth() const
{
    int w = 0;
    for (int c = 0; c < std::min(m_grid.fixedCols(), m_grid.cols()); ++c)
        w += colPixels(c);
    return w;
}

// The last top row at which the rows below it still fill the view: scrolling stops there.
int GridView::maxTopRow() const
{
    const int first = std::min(m_grid.fixedRows(), m_grid.rows() - 1);
    const int avail = viewport()->height() - fixedHeight();
    int t = m_grid.rows(), used = 0;
    while (t - 1 >= first && used + rowPixels(t - 1) <= avail)
        used += rowPixels(--t);
    return std::max(first, std::min(t, m_grid.rows() - 1));
}

int GridView::maxLeftCol() const
{
    const int first = std::min(m_grid.fixedCols(), m_grid.cols() - 1);
    const int avail = viewport()->width() - fixedWidth();
    int c = m_grid.cols(), used = 0;
    while (c - 1 >= first && used + colPixels(c - 1) <= avail)
        used += colPixels(--c);
    return std::max(first, std::min(c, m_grid.cols() - 1));
}

int GridView::visibleRows() const
{
    const int avail = viewport()->height() - fixedHeight();
    int n = 0, used = 0;
    for (int r = m_grid.topRow(); r < m_grid.rows() && used < avail; ++r, ++n)
        used += rowPixels(r);
    return std::max(1, n);
}

int GridView::rowY(int row) const
{
    const int fixed = std::min(m_grid.fixedRows(), m_grid.rows());
    int y = 0;
    if (row < fixed) {
        for (int r = 0; r < row; ++r)
            y += rowPixels(r);
        return y;
    }
    y = fixedHeight();
    const int top = m_grid.topRow();
    if (row >= top) {
        for (int r = top; r < row; ++r)
            y += rowPixels(r);
    } else {
        for (int r = row; r < top; ++r)
            y -= rowPixels(r);
    }
    return y;
}

int GridView::colX(int col) const
{
    const int fixed = std::min(m_grid.fixedCols(), m_grid.cols());
    int x = 0;
    if (col < fixed) {
        for (int c = 0; c < col; ++c)
            x += colPixels(c);
        return x;
    }
    x = fixedWidth();
    const int left = m_grid.leftCol();
    if (col >= left) {
        for (int c = left; c < col; ++c)
            x += colPixels(c);
    } else {
        for (int c = col; c < left; ++c)
            x -= colPixels(c);
    }
    return x;
}

QRect GridView::cellRect(int row, int col) const
{
    (void)m_grid.backColor(row, col); // range check: throws GridError
    const QPoint origin = viewport()->geometry().topLeft();
    return QRect(origin.x() + colX(col), origin.y() + rowY(row), colPixels(col), rowPixels(row));
}

// The row at a height (or the column at a position) in the viewport; -1 past the last one.
template <typename Size>
static int indexAt(int p, int count, int fixed, int first, Size size)
{
    if (p < 0)
        return -1;
    int at = 0;
    for (int i = 0; i < std::min(fixed, count); ++i) {
        at += size(i);
        if (p < at)
            return i;
    }
    for (int i = std::max(first, fixed); i < count; ++i) {
        at += size(i);
        if (p < at)
            return i;
    }
    return -1;
}

int GridView::rowAtY(int y) const
{
    return indexAt(y, m_grid.rows(), m_grid.fixedRows(), m_grid.topRow(),
                   [this](int i) { return rowPixels(i); });
}

int GridView::colAtX(int x) const
{
    return indexAt(x, m_grid.cols(), m_grid.fixedCols(), m_grid.leftCol(),
                   [this](int i) { return colPixels(i); });
}

std::pair<int, int> GridView::cellAtViewport(QPoint pos) const
{
    const int r = rowAtY(pos.y()), c = colAtX(pos.x());
    if (r < 0 || c < 0)
        return {-1, -1};
    return {r, c};
}

std::pair<int, int> GridView::cellAt(QPoint pos) const
{
    return cellAtViewport(pos - viewport()->geometry().topLeft());
}

void GridView::showCell(int row, int col)
{
    (void)m_grid.backColor(row, col); // range check
    if (row >= m_grid.fixedRows()) {
        const int top = m_grid.topRow();
        if (row < top) {
            m_grid.setTopRow(row);
        } else {
            const int avail = viewport()->height() - fixedHeight();
            int t = row, used = rowPixels(row);
            while (t - 1 >= top && used + rowPixels(t - 1) <= avail)
                used += rowPixels(--t);
            if (t > top)
                m_grid.setTopRow(t);
        }
    }
    if (col >= m_grid.fixedCols()) {
        const int left = m_grid.leftCol();
        if (col < left) {
            m_grid.setLeftCol(col);
        } else {
            const int avail = viewport()->width() - fixedWidth();
            int l = col, used = colPixels(col);
            while (l - 1 >= left && used + colPixels(l - 1) <= avail)
                used += colPixels(--l);
            if (l > left)
                m_grid.setLeftCol(l);
        }
    }
}

// ---- GridView: following the grid ---------------------------------------------------------

void GridView::gridChanged(Change ch)
{
    m_model->gridChanged(ch);
    switch (ch) {
    case Change::Redraw:
        viewport()->setUpdatesEnabled(m_grid.redraw());
        if (m_grid.redraw()) {
            updateScrollBars();
            viewport()->update();
        }
        return;
    case Change::Font:
        // A zoom changes the sizes with the text.
        updateFont();
        updateScrollBars();
        break;
    case Change::Structure:
    case Change::Geometry:
    case Change::Scroll:
        updateScrollBars();
        break;
    case Change::Cells:
    case Change::Current:
        break;
    }
    viewport()->update();
}

void GridView::updateFont()
{
    m_cellFont = m_hasFace ? m_face : font();
    if (m_grid.fontSize() > 0)
        m_cellFont.setPointSizeF(m_grid.fontSize() * m_sizeShare);
}

void GridView::updateScrollBars()
{
    QScrollBar *v = verticalScrollBar();
    QScrollBar *h = horizontalScrollBar();
    m_syncing = true;
    v->setRange(std::min(m_grid.fixedRows(), m_grid.rows() - 1), maxTopRow());
    v->setPageStep(visibleRows());
    v->setValue(m_grid.topRow());
    h->setRange(std::min(m_grid.fixedCols(), m_grid.cols() - 1), maxLeftCol());
    int shown = 0;
    for (int c = m_grid.leftCol(), used = fixedWidth();
         c < m_grid.cols() && used < viewport()->width(); ++c, ++shown)
        used += colPixels(c);
    h->setPageStep(std::max(1, shown));
    h->setValue(m_grid.leftCol());
    m_syncing = false;
    // A top row past the last scroll position is lowered to it, as the control does; only a
    // view on screen knows that position.
    if (isVisible()) {
        if (v->value() != m_grid.topRow())
            m_grid.setTopRow(v->value());
        if (h->value() != m_grid.leftCol())
            m_grid.setLeftCol(h->value());
    }
}

void GridView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void GridView::scrollContentsBy(int, int)
{
    viewport()->update(); // the cells are drawn from TopRow and LeftCol, never shifted
}

void GridView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateFont();
}

// ---- GridView: drawing --------------------------------------------------------------------

void GridView::paintEvent(QPaintEvent *event)
{
    QPainter p(viewport());
    const QRect area = event->rect();
    p.fillRect(area, Background);
    p.setFont(m_cellFont);

    struct Span {
        int index, start, size;
    };
    auto spans = [](int count, int fixed, int first, int limit, auto size) {
        std::vector<Span> out;
        int at = 0;
        for (int i = 0; i < std::min(fixed, count) && at < limit; ++i) {
            out.push_back({i, at, size(i)});
            at += size(i);
        }
        for (int i = first; i < count && at < limit; ++i) {
            out.push_back({i, at, size(i)});
            at += size(i);
        }
        return out;
    };
    const auto rows = spans(m_grid.rows(), m_grid.fixedRows(), m_grid.topRow(),
                            viewport()->height(), [this](int i) { return rowPixels(i); });
    const auto cols = spans(m_grid.cols(), m_grid.fixedCols(), m_grid.leftCol(),
                            viewport()->width(), [this](int i) { return colPixels(i); });
    for (const Span &r : rows) {
        if (r.size <= 0 || r.start >= area.bottom() + 1 || r.start + r.size <= area.top())
            continue;
        for (const Span &c : cols) {
            const QRect rect(c.start, r.start, c.size, r.size);
            if (c.size > 0 && rect.intersects(area))
                paintCell(p, r.index, c.index, rect);
        }
    }
}

void GridView::paintCell(QPainter &p, int row, int col, const QRect &rect) const
{
    const bool fixed = row < m_grid.fixedRows() || col < m_grid.fixedCols();
    const QColor line = fixed ? FixedLine : CellLine;
    if (rect.width() < 3 || rect.height() < 3) { // a hidden column or a squeezed row
        p.fillRect(rect, line);
        return;
    }
    const bool current = row == m_grid.row() && col == m_grid.col();
    const bool selected = !fixed && !current &&
                          row >= std::min(m_grid.row(), m_grid.rowSel()) &&
                          row <= std::max(m_grid.row(), m_grid.rowSel()) &&
                          col >= std::min(m_grid.col(), m_grid.colSel()) &&
                          col <= std::max(m_grid.col(), m_grid.colSel());
    QColor back, fore;
    if (selected) {
        back = palette().color(QPalette::Highlight);
        fore = palette().color(QPalette::HighlightedText);
    } else {
        const auto b = m_grid.backColor(row, col);
        const auto f = m_grid.foreColor(row, col);
        back = b != qd::grid::DefaultColor ? toColor(b) : fixed ? FixedBack : QColor(Qt::white);
        fore = f != qd::grid::DefaultColor ? toColor(f) : QColor(Qt::black);
    }
    p.fillRect(rect, back);
    p.setPen(line);
    p.drawLine(rect.topRight(), rect.bottomRight());
    p.drawLine(rect.bottomLeft(), rect.bottomRight());

    const std::string &text = m_grid.cell(row, col);
    // Texts loaded from fixed-width fields carry their padding: trailing blanks take no room, so
    // a centred or right-aligned name stands where the reader looks for it.
    const std::size_t shown = text.find_last_not_of(' ');
    if (shown != std::string::npos) {
        const QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(shown + 1));
        const QRect room = rect.adjusted(marginLeft(), 0, -marginRight(), -1);
        Qt::Alignment align = toAlignment(m_grid.colAlignment(col), text);
        int flags = Qt::TextSingleLine;
        if (row < m_grid.fixedRows()) {
            flags = Qt::TextWordWrap; // a caption takes a second line rather than lose its ends
        } else if (p.fontMetrics().horizontalAdvance(t) > room.width()) {
            align = (align & Qt::AlignVertical_Mask) | (looksNumeric(text) ? Qt::AlignRight : Qt::AlignLeft);
        }
        p.setPen(fore);
        p.drawText(room, static_cast<int>(align) | flags, t);
    }
    if (current && !fixed) {
        QPen pen(Qt::black, 1, Qt::DotLine);
        p.setPen(pen);
        p.drawRect(rect.adjusted(1, 1, -3, -3));
    }
}

// ---- GridView: keys and mouse -------------------------------------------------------------

void GridView::keyPressEvent(QKeyEvent *event)
{
    int code = gridKeyCode(event->key(), event->modifiers());
    if (code < 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int shift = gridShiftMask(event->modifiers());
    m_grid.raiseKeyDown(code, shift);
    event->accept();
    if (code != 0)
        moveByKey(code, shift);
}

// The grid's own handling of a key: the arrows, page keys, Home and End move the current cell
// (with Shift the selection's other corner) inside the scrollable cells, and keep it in view.
void GridView::moveByKey(int code, int shift)
{
    FlexGrid &g = m_grid;
    const bool extend = shift & qd::grid::ShiftKey;
    const bool ctrl = shift & qd::grid::CtrlKey;
    int r = extend ? g.rowSel() : g.row();
    int c = extend ? g.colSel() : g.col();
    switch (code) {
    case 37: --c; break;
    case 39: ++c; break;
    case 38: --r; break;
    case 40: ++r; break;
    case 33: r -= visibleRows(); break;
    case 34: r += visibleRows(); break;
    case 36: c = 0; if (ctrl) r = 0; break;
    case 35: c = g.cols() - 1; if (ctrl) r = g.rows() - 1; break;
    default: return;
    }
    if (g.fixedRows() >= g.rows() || g.fixedCols() >= g.cols())
        return; // nothing to move onto
    r = std::clamp(r, g.fixedRows(), g.rows() - 1);
    c = std::clamp(c, g.fixedCols(), g.cols() - 1);
    if (extend)
        g.select(g.row(), g.col(), r, c);
    else
        g.select(r, c, r, c);
    showCell(r, c);
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int shift = gridShiftMask(event->modifiers());
    const int button = mouseButtons(event->button());
    m_afterDoubleClick = false;
    m_grid.raiseMouseDown(button, shift, twipsX(pos.x()), twipsY(pos.y()));
    if (event->button() != Qt::LeftButton)
        return; // a right click leaves the selection alone (the pop-up menu acts on it)

    const auto [r, c] = cellAtViewport(pos);
    m_pressedLeft = true;
    selectByPress(r, c, shift);
    // A tap's release can come in while the press was giving the view the focus (a handler of
    // the focus letting pending events run): the press still ends in a click.
    if (m_releasedEarly) {
        m_releasedEarly = false;
        m_drag = Drag::None;
        m_pressedLeft = false;
        m_grid.raiseClick();
    }
}

void GridView::selectByPress(int r, int c, int shift)
{
    FlexGrid &g = m_grid;
    if (r < 0)
        return;
    const bool fixedRow = r < g.fixedRows(), fixedCol = c < g.fixedCols();
    if (fixedRow && fixedCol)
        return;
    if (fixedRow) { // the whole column below a fixed row
        m_drag = Drag::Columns;
        m_anchorCol = (shift & qd::grid::ShiftKey) ? g.col() : c;
        g.select(g.fixedRows(), m_anchorCol, g.rows() - 1, c);
    } else if (fixedCol) { // the whole row right of a fixed column
        m_drag = Drag::Rows;
        m_anchorRow = (shift & qd::grid::ShiftKey) ? g.row() : r;
        g.select(m_anchorRow, g.fixedCols(), r, g.cols() - 1);
    } else {
        m_drag = Drag::Cells;
        if (shift & qd::grid::ShiftKey)
            g.select(g.row(), g.col(), r, c);
        else
            g.select(r, c, r, c);
    }
}

void GridView::dragTo(QPoint pos)
{
    FlexGrid &g = m_grid;
    // Past the edge of the view the sheet scrolls one row or column a move.
    if (pos.y() >= viewport()->height() && g.topRow() < maxTopRow())
        g.setTopRow(g.topRow() + 1);
    else if (pos.y() < fixedHeight() && g.topRow() > g.fixedRows())
        g.setTopRow(g.topRow() - 1);
    if (pos.x() >= viewport()->width() && g.leftCol() < maxLeftCol())
        g.setLeftCol(g.leftCol() + 1);
    else if (pos.x() < fixedWidth() && g.leftCol() > g.fixedCols())
        g.setLeftCol(g.leftCol() - 1);

    // The cell under the pointer, kept inside the scrollable cells.
    const int fh = fixedHeight(), fw = fixedWidth();
    int r = rowAtY(std::clamp(pos.y(), fh, std::max(fh, viewport()->height() - 1)));
    int c = colAtX(std::clamp(pos.x(), fw, std::max(fw, viewport()->width() - 1)));
    if (r < 0)
        r = g.rows() - 1;
    if (c < 0)
        c = g.cols() - 1;
    r = std::max(r, std::min(g.fixedRows(), g.rows() - 1));
    c = std::max(c, std::min(g.fixedCols(), g.cols() - 1));
    switch (m_drag) {
    case Drag::Cells: g.select(g.row(), g.col(), r, c); break;
    case Drag::Columns: g.select(g.fixedRows(), m_anchorCol, g.rows() - 1, c); break;
    case Drag::Rows: g.select(m_anchorRow, g.fixedCols(), r, g.cols() - 1); break;
    case Drag::None: break;
    }
}

void GridView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton))
        m_releasedEarly = false; // no press is on its way in
    if (m_drag != Drag::None && (event->buttons() & Qt::LeftButton))
        dragTo(pos);
    m_grid.raiseMouseMove(mouseButtons(event->buttons()), gridShiftMask(event->modifiers()),
                          twipsX(pos.x()), twipsY(pos.y()));
}

void GridView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_inFocusIn && !m_pressedLeft) {
        m_releasedEarly = true; // its press is still on its way in (mousePressEvent)
        return;
    }
    m_drag = Drag::None;
    const bool click = m_pressedLeft && !m_afterDoubleClick;
    m_pressedLeft = false;
    m_afterDoubleClick = false;
    if (click)
        m_grid.raiseClick();
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // The second press of a double-click has been handled as a press; its release raises no
    // second Click.
    m_afterDoubleClick = true;
    m_grid.raiseDblClick();
}

void GridView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    m_releasedEarly = false;
    m_inFocusIn = true;
    m_grid.raiseGotFocus();
    m_inFocusIn = false;
}

void GridView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace qd::qt
