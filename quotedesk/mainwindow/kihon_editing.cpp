// In-cell editing of the current sheet: the floating editor Text1, the sheet's events and keys,
// the double-clicks on the sheet frame and on the grand-total caption.
#include "quotedesk/mainwindow/kihon.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include <algorithm>

#include "platform/files/file_error.h"
#include "platform/qt/command_guard.h"
#include "platform/qt/focus_selection.h"
#include "platform/qt/forms.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "quotedesk/core/command_recovery.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/core/tax_totals.h"
#include "quotedesk/mainwindow/cell_editor.h"
#include "quotedesk/mainwindow/form_links.h"
#include "quotedesk/mainwindow/quotedesk_app.h"
#include "quotedesk/sheet/block_commands.h"
#include "quotedesk/sheet/selection.h"

namespace qd::forms {

using qd::grid::FlexGrid;

namespace {

// Runs a function for the events of one widget that it takes; the others go on.
// The handler runs through the command guard: a failure ends the one event, not the program.
class EventHook : public QObject {
public:
    using Handler = std::function<bool(QEvent *)>;
    EventHook(QObject *watched, Handler handler, std::function<void()> recover)
        : QObject(watched), m_handler(std::move(handler)), m_recover(std::move(recover))
    {
        setObjectName(QString::fromLatin1(NAME));
        watched->installEventFilter(this);
    }
    static constexpr const char *NAME = "KIHON_editing_hook";

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return qd::qt::runGuardedFilter([&] { return m_handler(event); }, m_recover);
    }

private:
    Handler m_handler;
    std::function<void()> m_recover;
};

// A focus change that the cell editor does not count as losing or getting the focus: a menu
// opening over the window, or another window becoming active.
bool isTransientFocusChange(QEvent *event)
{
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

constexpr int CELL_EDITOR_WIDTH = 10000; // twips
constexpr const char *EDIT_TOOL_PLACED = "qd_editToolPlaced";
constexpr int EDIT_TOOL_MARGIN = 16; // pixels between the edit tool window and the main window's edge
constexpr int KEY_ENTER = 13, KEY_ESCAPE = 27, KEY_UP = 38, KEY_DOWN = 40, KEY_DELETE = 46;
constexpr int KEY_C = 67, KEY_V = 86, KEY_F1 = 112;

} // namespace

void KIHON::connectEditing()
{
    const auto recover = qd::core::failedCommandRecovery(g);
    for (int i = 0; i < qd::core::SlotCount; ++i) {
        FlexGrid::Events &e = g.Grid1.at(static_cast<std::size_t>(i)).events;
        // What the user does on a sheet runs through the command guard.
        e.click = guarded([this] { GRID1_Click(); });
        e.dblClick = guarded([this] { GRID1_DblClick(); });
        e.gotFocus = guarded([this] { GRID1_GotFocus(); });
        e.keyDown = qd::qt::guarded([this](int &keyCode, int shift) { GRID1_KeyDown(keyCode, shift); }, recover);
        e.mouseDown = qd::qt::guarded(
            [this](int button, int shift, int x, int y) { Grid1_MouseDown(button, shift, x, y); }, recover);
        e.mouseMove = [this](int button, int shift, int x, int y) { GRID1_MouseMove(button, shift, x, y); };
        e.rowColChange = [this] { GRID1_RowColChange(); };
        e.selChange = [this] { GRID1_SelChange(); };
    }

    Text1->setFont(QFont(QStringLiteral("ＭＳ Ｐ明朝"), 12));
    // A click into the editor that brings the focus leaves the cell's text selected, for the
    // typing to replace it; a click into the editor that has the focus places the cursor.
    qd::qt::keepSelectionOnFocusClick(Text1);
    new EventHook(Text1, [this](QEvent *event) {
        switch (event->type()) {
        case QEvent::FocusIn:
            if (!isTransientFocusChange(event))
                Text1_GotFocus();
            return false;
        case QEvent::FocusOut:
            if (!isTransientFocusChange(event) && cellEditorFocused)
                Text1_LostFocus();
            return false;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Text1_KeyDown(KEY_ENTER);
                return true;
            }
            if (key == Qt::Key_Escape) {
                Text1_KeyDown(KEY_ESCAPE);
                return true;
            }
            // Other keys are typing; the editor records the cell they are for.
            Text1_KeyDown(qd::qt::gridKeyCode(key, static_cast<QKeyEvent *>(event)->modifiers()));
            return false;
        }
        default: return false;
        }
    }, recover);
    new EventHook(Frame1, [this](QEvent *event) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            Frame1_DblClick();
            return true;
        }
        return false;
    }, recover);
    new EventHook(Label10, [this](QEvent *event) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            Label10_DblClick();
            return true;
        }
        return false;
    }, recover);
}

void KIHON::disconnectEditing()
{
    // The controls go after the window's own parts: a focus change while they go must not reach
    // the editing handlers.
    for (QObject *control : {static_cast<QObject *>(Text1), static_cast<QObject *>(Frame1),
                             static_cast<QObject *>(Label10)}) {
        if (!control)
            continue;
        const QObjectList children = control->children(); // deleting one changes the list
        for (QObject *child : children)
            if (child->objectName() == QLatin1String(EventHook::NAME))
                delete child;
    }
}

// ---- sheet events ---------------------------------------------------------------------------

void KIHON::GRID1_Click()
{
    FlexGrid &grid = g.curGrid();
    g.COL_NO = grid.col();
    g.ROW_NO = grid.row();
    Text1->hide();
}

void KIHON::GRID1_DblClick()
{
    FlexGrid &grid = g.curGrid();
    g.COL_NO = grid.col();
    g.ROW_NO = grid.row();
    // The editor takes the focus, so that typing goes into it at once.
    openCellEditor(true);
}

void KIHON::GRID1_GotFocus()
{
    qd::qt::doEvents();
    Text1->setText(QString::fromStdString(qd::text::trimRight(g.curGrid().text())));
}

void KIHON::GRID1_KeyDown(int &keyCode, int /*shift*/)
{
    qd::qt::doEvents();
    FlexGrid &grid = g.curGrid();
    g.COL_NO = grid.col();
    g.ROW_NO = grid.row();
    const int firstRow = std::min(grid.fixedRows(), grid.rows() - 1);
    const int lastRow = grid.rows() - 1;

    // The key is never consumed: the grid's own handling of it follows.
    if (keyCode == KEY_ENTER)
        openCellEditor(true);
    if (keyCode == KEY_F1)
        Frame1_DblClick();
    if (keyCode == KEY_DOWN) {
        if (grid.row() <= 900) {
            grid.setTopRow(std::clamp(grid.topRow() + 1, firstRow, lastRow));
            grid.setRow(grid.topRow());
        } else {
            grid.setTopRow(std::min(900, lastRow));
            grid.setRow(std::min(900, lastRow));
        }
    }
    if (keyCode == KEY_UP) {
        // At the top the sheet cannot scroll further up than its first data row.
        if (grid.row() >= 6) {
            grid.setTopRow(std::clamp(grid.topRow() - 1, firstRow, lastRow));
            grid.setRow(std::max(grid.topRow(), firstRow));
        } else {
            grid.setTopRow(std::clamp(1, firstRow, lastRow));
            grid.setRow(std::clamp(1, firstRow, lastRow));
        }
    }
    if (keyCode == KEY_DELETE) {
        grid.setRedraw(false);
        try {
            grid.setText(std::string(150, ' '));
            Text1->setText(QString::fromStdString(qd::text::trimRight(grid.text())));
            qd::sheet::clampWorkCell(g);
            qd::core::ROW_CALC(g);
            qd::core::TAX_TOTAL_CALC(g);
        } catch (const std::exception &) {
            // The cell keeps what was written before the failure.
        }
        grid.setRedraw(true);
        currentGridView().setFocus();
    }
    if (keyCode == KEY_C) {
        qd::sheet::EDIT_RANGE_SET(g, *makeEditCommandUi(app));
    }
    if (keyCode == KEY_V) {
        try {
            qd::sheet::GRID_BLOCK_PASTE(g, *makeEditCommandUi(app));
        } catch (const std::exception &e) {
            grid.setRedraw(true);
            beep();
            msgBox(qd::text::twoLines("貼付けできませんでした。", qd::files::failureText(e)));
        }
    }
}

void KIHON::Grid1_MouseDown(int button, int /*shift*/, int x, int y)
{
    if (button != qd::grid::RightButton)
        return;
    QWidget *area = currentGridView().viewport();
    const QPoint at(qd::qt::twipsToPixelsX(x), qd::qt::twipsToPixelsY(y));
    menus().popup(QStringLiteral("SERCH_000"), area->mapToGlobal(at));
}

void KIHON::GRID1_MouseMove(int /*button*/, int /*shift*/, int x, int y)
{
    g.GRID_MOUSE_X = x;
    g.GRID_MOUSE_Y = y;
}

void KIHON::GRID1_RowColChange()
{
    const FlexGrid &grid = g.curGrid();
    g.SEL_COL = static_cast<std::int16_t>(grid.col());
    g.SEL_ROW = static_cast<std::int16_t>(grid.row());
    g.SEL_ROW_SPAN = static_cast<std::int16_t>(g.SEL_ROW_END - g.SEL_ROW);
    g.SEL_COL_SPAN = static_cast<std::int16_t>(g.SEL_COL_END - g.SEL_COL);
}

void KIHON::GRID1_SelChange()
{
    const FlexGrid &grid = g.curGrid();
    g.SEL_COL_END = static_cast<std::int16_t>(grid.colSel());
    g.SEL_ROW_END = static_cast<std::int16_t>(grid.rowSel());
    g.SEL_ROW_SPAN = static_cast<std::int16_t>(g.SEL_ROW_END - g.SEL_ROW);
    g.SEL_COL_SPAN = static_cast<std::int16_t>(g.SEL_COL_END - g.SEL_COL);
}

// ---- the cell editor ------------------------------------------------------------------------

void KIHON::openCellEditor(bool withFocus)
{
    // The editor floats just below the last mouse position over the sheet, as wide as a row of
    // text; it stays inside the sheet frame, where the sheets are.
    const qd::qt::TwipsRect frame = qd::qt::geometryTwips(Frame1);
    const double height = Text1->sizeHint().height() * qd::qt::pixelsToTwipsY(1);
    double left = g.GRID_MOUSE_X - 500.0 - frame.left;
    double top = g.GRID_MOUSE_Y + 1200.0 - frame.top;
    left = std::clamp(left, 0.0, std::max(0.0, frame.width - CELL_EDITOR_WIDTH));
    top = std::clamp(top, 0.0, std::max(0.0, frame.height - height));
    qd::qt::setGeometryTwips(Text1, left, top, CELL_EDITOR_WIDTH, height);
    // The editor always shows the text of the cell it is opened on.
    Text1->setText(QString::fromStdString(qd::text::trimRight(g.curGrid().text())));
    Text1->show();
    Text1->raise();
    if (!withFocus)
        return;
    Text1->setFocus(Qt::OtherFocusReason);
    // A window without the input focus (in the background, or offscreen) hands out no focus
    // events; the editor then loads itself as if it had got the focus.
    if (!cellEditorFocused)
        Text1_GotFocus();
    // The input method places its candidate window at the editor's cursor, where it now is.
    QGuiApplication::inputMethod()->update(Qt::ImQueryAll);
}

void KIHON::Text1_GotFocus()
{
    cellEditorFocused = true;
    const FlexGrid &grid = g.curGrid();
    const std::string text = editorLoadText(grid.col(), grid.text());
    Text1->setText(QString::fromStdString(text));
    Text1->setSelection(0, static_cast<int>(Text1->text().size()));
}

void KIHON::Text1_KeyDown(int keyCode)
{
    FlexGrid &grid = g.curGrid();
    g.COL_NO = grid.col();
    g.ROW_NO = grid.row();
    if (keyCode != KEY_ENTER && keyCode != KEY_ESCAPE)
        return;
    try {
        const std::string value = editorWriteBack(grid.col(), Text1->text().toStdString());
        if (!editorValueFits(grid.col(), value)) {
            // A number its field cannot hold is refused: the cell keeps its value and the
            // editor stays open for the typing to be put right.
            beep();
            msgBox("数値を入力して下さい！");
            Text1->setFocus(Qt::OtherFocusReason);
            Text1->selectAll();
            return;
        }
        grid.setText(value);
    } catch (const std::exception &) {
        // The cell keeps what it held.
    }
    if (keyCode == KEY_ESCAPE)
        return;
    Text1->hide();
    currentGridView().setFocus();
    // Hiding the editor moves the focus, which reprices the row; without focus events (a
    // window in the background) the editor is left here all the same.
    if (cellEditorFocused)
        Text1_LostFocus();
}

void KIHON::Text1_LostFocus()
{
    cellEditorFocused = false;
    FlexGrid &grid = g.curGrid();
    // The editor can lose the focus while its document goes (closed, or never set up): there is
    // no row left to price then.
    if (Combo2->count() == 0 || grid.cols() < qd::core::SHEET_COLS)
        return;
    grid.setRedraw(false);
    try {
        qd::sheet::clampWorkCell(g);
        qd::core::ROW_CALC(g);
        qd::core::TAX_TOTAL_CALC(g);
    } catch (const std::exception &e) {
        grid.setRedraw(true);
        beep();
        msgBox(qd::text::twoLines("行を計算できませんでした。", qd::files::failureText(e)));
    }
    grid.setRedraw(true);
    currentGridView().setFocus();
}

// ---- frame and caption ----------------------------------------------------------------------

void KIHON::Frame1_DblClick()
{
    EditToolWindow &tool = app.editTool();
    auto *window = dynamic_cast<QWidget *>(&tool);
    if (!window)
        return; // the edit tool window is not part of this build
    // Shown the first time at the main window's right edge, where it covers the least of the
    // sheet (the names stand at the left): in the bottom right corner of the sheet's rows, clear
    // of its scroll bars; after that where it stood, or where the user moved it.
    const bool placed = window->property(EDIT_TOOL_PLACED).toBool();
    qd::qt::showModeless(window);
    if (!placed) {
        const QWidget *rows = currentGridView().viewport();
        QRect corner(rows->mapToGlobal(QPoint(0, 0)), rows->size());
        const QSize size = window->frameGeometry().size().expandedTo(window->size());
        if (corner.width() < size.width() || corner.height() < size.height())
            corner = frameGeometry().adjusted(0, 0, -EDIT_TOOL_MARGIN, -EDIT_TOOL_MARGIN);
        window->move(corner.right() + 1 - size.width(), corner.bottom() + 1 - size.height());
        window->setProperty(EDIT_TOOL_PLACED, true);
    }
    window->activateWindow();
    window->setFocus();
}

void KIHON::Label10_DblClick()
{
    struct Kind {
        const char *caption;
        QColor colour;
    };
    static const Kind next[3] = {{"総合計(請求書)", QColor(255, 0, 0)},
                                 {"総合計(納品書)", QColor(0, 0, 0)},
                                 {"総合計(見積書)", QColor(0, 0, 255)}};
    if (g.DOC_KIND < 0 || g.DOC_KIND > 2)
        return;
    const Kind &k = next[g.DOC_KIND];
    g.DOC_KIND = static_cast<std::int16_t>((g.DOC_KIND + 1) % 3);
    Label10->setText(QString::fromUtf8(k.caption));
    QPalette pal = Label10->palette();
    pal.setColor(QPalette::WindowText, k.colour);
    Label10->setPalette(pal);
}

} // namespace qd::forms
