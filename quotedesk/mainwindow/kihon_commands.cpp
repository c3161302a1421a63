// The menu commands of the main window that act on the current sheet or show another form:
// size-print modes, calculation unit, column display sets, the document name into a row,
// recalculation of all rows, product entry, the edit tool window, the colour form, the header
// form, the tax settings and the launcher.
#include "quotedesk/mainwindow/kihon.h"

#include <QWidget>

#include <algorithm>

#include "platform/files/file_error.h"
#include "platform/qt/forms.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/core/tax_totals.h"
#include "quotedesk/mainwindow/launcher.h"
#include "quotedesk/mainwindow/mitfm.h"
#include "quotedesk/mainwindow/quotedesk_app.h"
#include "quotedesk/mainwindow/syohizei_calc_frm.h"
#include "quotedesk/sheet/grid_display.h"
#include "quotedesk/sheet/selection.h"

namespace qd::forms {

using qd::core::Fixed4;
using qd::grid::FlexGrid;
using qd::text::twoLines;

namespace {

// A form of another part of the program, loaded (hidden) by its hook; nullptr while that form
// is not part of the program.
QWidget *loadedForm(const std::function<QWidget *()> &hook)
{
    return hook ? hook() : nullptr;
}

} // namespace

// ---- size-print modes -----------------------------------------------------------------------

namespace {

void setSizeMode(KIHON &k, std::int16_t mode)
{
    FlexGrid &grid = k.g.curGrid();
    grid.setRedraw(false);
    k.g.SIZE_MODE = mode;
    k.KIHON_CAPTION_SET();
    grid.setRedraw(true);
    k.currentGridView().setFocus();
}

} // namespace

void KIHON::GARASU_MIRI_Click() { setSizeMode(*this, 1); }
void KIHON::GARASU_SYAKU_Click() { setSizeMode(*this, 2); }
void KIHON::GARASU_DEL_Click() { setSizeMode(*this, 0); }

// ---- calculation unit -----------------------------------------------------------------------

void KIHON::KEISAN_Click(int unit)
{
    FlexGrid &grid = g.curGrid();
    qd::sheet::SEL_RANGE_ORDER(g);
    grid.setRedraw(false);
    qd::sheet::SEL_RANGE_SAVE(g);
    setMousePointer(11);

    g.CALC_UNIT = static_cast<std::int16_t>(unit);
    g.CALC_ADJ = static_cast<std::int16_t>(unit - 1);
    KIHON_CAPTION_SET();

    qd::sheet::takeBlockFromSelection(g);

    // The selection is recalculated in place: every cell of the block is written back onto
    // itself trimmed, and every row of the block becomes the current row before it is repriced,
    // so each selected row gets the new unit. No row is inserted.
    g.COPY_GRID_IDX = g.CUR_SLOT;
    g.INSERT_ROWS = 0;
    const int firstRow = qd::sheet::clampRow(grid, std::max<int>(g.BLOCK_ROW, 1));
    const int lastRow = qd::sheet::clampRow(grid, g.BLOCK_ROW_END);
    const int firstCol = qd::sheet::clampCol(grid, g.BLOCK_COL);
    const int colSpan = g.BLOCK_COL_SPAN;
    try {
        grid.setRow(firstRow);
        grid.setCol(firstCol);
        g.ROW_NO = grid.row();
        g.COL_NO = grid.col();
        for (int r = firstRow; r <= lastRow; ++r) {
            for (int c = 0; c <= colSpan && firstCol + c < grid.cols(); ++c)
                grid.setCell(r, firstCol + c, qd::text::trim(grid.cell(r, firstCol + c)));
            grid.setRow(r);
            qd::core::ROW_CALC(g);
        }
        qd::core::TAX_TOTAL_CALC(g);
        grid.setCol(qd::sheet::clampCol(grid, g.COL_NO));
        grid.setRow(qd::sheet::clampRow(grid, g.ROW_NO));
    } catch (const std::exception &e) {
        setMousePointer(0);
        grid.setRedraw(true);
        beep();
        msgBox(twoLines("再計算できませんでした。", qd::files::failureText(e)));
    }
    qd::sheet::SEL_RANGE_SET(g);
    grid.setRedraw(true);
    currentGridView().setFocus();
}

// ---- column display sets --------------------------------------------------------------------

namespace {

void setDisplaySet(KIHON &k, std::int16_t mode)
{
    FlexGrid &grid = k.g.curGrid();
    grid.setRedraw(false);
    try {
        k.g.DISP_MODE = mode;
        if (mode == 0)
            qd::sheet::GRID_DISP_NOMAL_SET(k.g, k);
        else
            qd::sheet::GRID_DISP_SITEI_SET(k.g, k);
        k.app.editTool().setStoreWidthsEnabled(mode == 1);
        k.GRID_HEADER_SET();
        k.KIHON_CAPTION_SET();
        qd::core::GRID_PAGE_NUMBER(k.g);
    } catch (const std::exception &e) {
        grid.setRedraw(true);
        k.beep();
        k.msgBox(twoLines("表示を切り替えられませんでした。", qd::files::failureText(e)));
    }
    grid.setRedraw(true);
    k.currentGridView().setFocus();
}

} // namespace

void KIHON::NOMAL_WIDTH_Click() { setDisplaySet(*this, 0); }
void KIHON::SITEI_WIDTH_Click() { setDisplaySet(*this, 1); }

// ---- search menu (the sheet's pop-up) -------------------------------------------------------

void KIHON::INPUT_bukkenmei_Click()
{
    FlexGrid &grid = g.curGrid();
    // The name goes into a data row: after the cursor went to the caption row it goes to row 1.
    g.ROW_NO = std::clamp<std::int32_t>(g.ROW_NO, 1, std::max(1, grid.rows() - 1));
    g.INSERT_ROWS = 1;
    grid.setRedraw(false);
    try {
        qd::core::GRID_ROWS_INSERT(g);
        grid.setRedraw(true);
        grid.setRow(static_cast<int>(g.ROW_NO));
        grid.setCol(2);
        grid.setText(qd::text::trim(g.CUR_DOC_NAME));
    } catch (const std::exception &e) {
        g.INSERT_ROWS = 0;
        grid.setRedraw(true);
        beep();
        msgBox(twoLines("行を挿入できませんでした。", qd::files::failureText(e)));
    }
}

void KIHON::all_grid_calc_Click()
{
    FlexGrid &grid = g.curGrid();
    grid.setRedraw(false);
    try {
        qd::core::GRID_LAST_ROW(g);
        if (g.LAST_ROW > 0) {
            qd::sheet::clampWorkCell(g);
            const int last = g.LAST_ROW;
            for (int r = 1; r <= last; ++r) {
                grid.setRow(r);
                qd::core::ROW_CALC(g);
            }
            qd::core::TAX_TOTAL_CALC(g);
        }
    } catch (const std::exception &e) {
        grid.setRedraw(true);
        beep();
        msgBox(twoLines("再計算できませんでした。", qd::files::failureText(e)));
    }
    grid.setRedraw(true);
}

namespace {

void showProductEntry(KIHON &k, const std::function<QWidget *()> &hook)
{
    qd::core::LINE_REC_CLEAR(k.g);
    if (QWidget *form = loadedForm(hook))
        qd::qt::showModeless(form);
}

} // namespace

void KIHON::SERCH_SYOHIN_Click() { showProductEntry(*this, hooks.SSKENSA); }
void KIHON::SERCH_SETHIN_Click() { showProductEntry(*this, hooks.SSSET); }
void KIHON::SERCH_GARASU_Click() { showProductEntry(*this, hooks.SSGARASUFM); }

void KIHON::HENSYU_MENU_DISP_Click() { Frame1_DblClick(); }

// ---- colour form, header form, tax settings ------------------------------------------------

void KIHON::IRO_SETTEI_Click()
{
    FlexGrid &grid = g.curGrid();
    g.COL_NO = grid.col();
    g.ROW_NO = grid.row();
    QWidget *form = loadedForm(hooks.IRO_SET);
    if (!form)
        return; // the colour form is not part of this build: the main window stays usable
    form->show();
    setEnabled(false); // the colour form enables the main window again when it closes
    // Below and left of the last mouse position over the sheet; a place that would put part of
    // the form off the screen (a click near its left or lower edge) gives way the least that
    // shows it whole.
    qd::qt::setGeometryTwips(form, g.GRID_MOUSE_X - 500.0, g.GRID_MOUSE_Y + 1200.0, 5355, 6060);
    qd::qt::keepOnScreen(form);
    form->raise();
    form->activateWindow();
    if (QWidget *list = form->findChild<QWidget *>(QStringLiteral("List1")))
        list->setFocus();
    if (hooks.IRO_SET_SHOWN)
        hooks.IRO_SET_SHOWN();
}

void KIHON::ZOKUSEI_MIT_Click()
{
    // A header form already open is only brought to the front.
    const bool loaded = app.forms.isLoaded<MITFM>();
    MITFM &form = app.forms.get<MITFM>();
    if (!loaded)
        form.Form_Load();
    else
        qd::qt::showModeless(&form);
}

void KIHON::SYOHIZEI_000_Click()
{
    syohizei_calc_frm &form = app.forms.get<syohizei_calc_frm>();
    qd::qt::showModeless(&form);
    g.LINE_TAX_RATE = Fixed4();
}

// ---- launcher -------------------------------------------------------------------------------

void KIHON::launchFromMenu(const QString &menuEntry)
{
    if (const char *literal = launchLiteral(menuEntry))
        launchProgram(g.INST_DIR, QString::fromLatin1(literal));
}

} // namespace qd::forms
