// The edit tool window itself: above the main window, its option buttons, hints and value box,
// the selection routines the commands share, and the view commands (font size, heights and
// widths, fixed columns, storing the widths).
#include <QApplication>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>

#include "platform/qt/forms.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/sheet/selection.h"
#include "tests/forms/edit_fixture.h"

using qd::forms::HENSYU_MENU;
using qd::forms::KIHON;

namespace qd::testing {
namespace {

class EditTool : public EditFixture {};

TEST_F(EditTool, IsTheMainWindowsEditToolAndStaysUsableAboveIt)
{
    g().EDIT_AXIS = 1; // as left by an earlier session of the window
    KIHON &k = start();
    ASSERT_TRUE(app->editToolLoaded()) << "the start-up blanks the value box, which loads the window";
    auto *w = dynamic_cast<HENSYU_MENU *>(&app->editTool());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle().toStdString(), "==== 編集ﾒﾆｭｰ ====");
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->Option2->isChecked()) << "the option follows EDIT_AXIS when the window loads";
    EXPECT_FALSE(w->Option1->isChecked());
    EXPECT_FALSE(w->isVisible()) << "loaded, not shown";

    k.HENSYU_MENU_DISP_Click();
    EXPECT_TRUE(w->isVisible());
    k.setEnabled(false); // as while the colour form is open
    EXPECT_TRUE(w->isEnabled());
    k.setEnabled(true);

    // The sheet set-up of a new document chooses "行" again.
    newDocument(k, QStringLiteral("窓"));
    EXPECT_EQ(g().EDIT_AXIS, 0);
    EXPECT_TRUE(w->Option1->isChecked());
    w->Option2->click();
    EXPECT_EQ(g().EDIT_AXIS, 1);
    EXPECT_FALSE(w->Option1->isChecked());

    // Layout at the window's own sizes (15 twips a pixel on the test screen).
    const qd::qt::TwipsRect frame = qd::qt::geometryTwips(w->Frame5);
    EXPECT_NEAR(frame.left, 1680, 15);
    EXPECT_NEAR(frame.top, 840, 15);
    EXPECT_EQ(w->Frame3->title().toStdString(), "行・列の操作【列全体の指定は不可】");
    EXPECT_EQ(w->Command20->text().toStdString(), "行高↑");
}

TEST_F(EditTool, HintsStandBesideTheButtonsAndTheBareWindowHidesThem)
{
    KIHON &k = openNew();
    k.HENSYU_MENU_DISP_Click();
    HENSYU_MENU &w = tool();
    ASSERT_TRUE(w.isVisible());
    const QList<QPushButton *> buttons = w.findChildren<QPushButton *>();
    auto onScreen = [](const QWidget *b) { return QRect(b->mapToGlobal(QPoint(0, 0)), b->size()); };
    struct Case {
        QPushButton *button;
        const char *text;
        double width, height;
    };
    const Case cases[] = {
        {w.Command8, "指定行数を挿入", 1680, 220},
        {w.Command2, "boxへ設定した値を\n指定のｾﾙ範囲に貼付", 2100, 440},
        {w.Command11, "品名の列表示を\n固定化します", 1680, 440},
        {w.Command15, "指定行範囲を【X】として、まとめます\nまとめ行の下に金額合計行を作成し\nまとめ行は印刷・合計されません", 3360,
         660},
        {w.Command16, "指定範囲のまとめ行を解除します\nまとめ行の下の合計行を削除必要です", 3570, 440},
        {w.Command17, "指定行を単品として登録します", 2940, 220},
        {w.Command22, "行高/列巾 縮小", 1680, 220},
    };
    for (const Case &c : cases) {
        // The pointer arrives over the button.
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(c.button, &enter);
        EXPECT_FALSE(w.Text1->isHidden()) << c.text;
        EXPECT_EQ(w.Text1->text().toStdString(), c.text);
        const qd::qt::TwipsRect r = qd::qt::geometryTwips(w.Text1);
        // At least the table's size; a font larger than the window was laid out for gets a larger box.
        EXPECT_GE(r.width, c.width - 15) << c.text;
        EXPECT_GE(r.height, c.height - 15) << c.text;
        // Whole, and over none of the window's buttons: clicks reach them.
        EXPECT_GE(w.Text1->width(), w.Text1->sizeHint().width()) << c.text;
        const QRect hint = w.Text1->frameGeometry();
        for (const QPushButton *b : buttons)
            EXPECT_FALSE(hint.intersects(onScreen(b))) << c.text << " covers " << b->objectName().toStdString();
        EXPECT_TRUE(w.Text1->testAttribute(Qt::WA_TransparentForMouseEvents));
        // Beside the button it explains, as far as the screen lets it.
        const QRect area = w.screen()->availableGeometry();
        EXPECT_TRUE(hint.left() == onScreen(c.button).left() || hint.right() == area.right()) << c.text;
        EXPECT_TRUE(area.contains(hint)) << c.text;
    }
    w.showHint(w.Command20); // no hint of its own: the last one stays
    EXPECT_EQ(w.Text1->text().toStdString(), "行高/列巾 縮小");
    w.Form_MouseMove();
    EXPECT_TRUE(w.Text1->isHidden());
    w.showHint(w.Command8);
    w.hide();
    EXPECT_TRUE(w.Text1->isHidden()) << "the hint goes with the window";
}

TEST_F(EditTool, OpensAtTheMainWindowsRightEdgeAndAfterThatWhereTheUserPutIt)
{
    KIHON &k = openNew();
    sheet().raiseMouseMove(0, 0, 3000, 2000); // over the names, where it used to open
    k.HENSYU_MENU_DISP_Click();
    HENSYU_MENU &w = tool();
    const QRect main = k.frameGeometry();
    const QRect at = w.frameGeometry();
    EXPECT_TRUE(main.contains(at)) << "inside the main window";
    EXPECT_GT(at.left(), main.center().x()) << "at its right edge";
    EXPECT_LE(main.right() - at.right(), 40);
    // The names and designations stay in sight, and the scroll bars within reach.
    qd::qt::GridView &view = k.currentGridView();
    for (const QScrollBar *bar : {view.verticalScrollBar(), view.horizontalScrollBar()}) {
        const QRect track(bar->mapToGlobal(QPoint(0, 0)), bar->size());
        EXPECT_FALSE(bar->isVisible() && track.intersects(at)) << bar->orientation();
    }
    const QRect rows(view.viewport()->mapToGlobal(QPoint(0, 0)), view.viewport()->size());
    EXPECT_EQ(at.bottomRight(), rows.bottomRight()) << "in the corner of the rows";
    for (int c : {col::HINMEI, col::KOSYO}) {
        const QRect cell = view.cellRect(view.grid().topRow(), c);
        const QRect column(view.mapToGlobal(QPoint(cell.left(), 0)), QSize(cell.width(), view.height()));
        EXPECT_FALSE(column.intersects(at)) << "column " << c;
    }

    // Moved by the user, hidden, shown again: where the user put it.
    w.move(at.topLeft() - QPoint(200, 150));
    const QPoint moved = w.pos();
    w.hide();
    int f1 = 112;
    sheet().raiseKeyDown(f1, 0);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.pos(), moved);
}

TEST_F(EditTool, ValueBoxTakesOnlyWhatEnterConfirmsAndLeavesTheBlockAlone)
{
    openNew();
    HENSYU_MENU &w = tool();
    g().BLOCK_ROW = 3;
    g().BLOCK_ROW_END = 5;
    g().BLOCK_COL = 2;
    g().BLOCK_COL_END = 4;
    select(7, 9, 8, 10);

    w.Text3_GotFocus();
    EXPECT_EQ(g().ROW_NO, 7);
    EXPECT_EQ(g().COL_NO, 9);
    EXPECT_EQ(g().BLOCK_ROW, 3) << "the focus of the value box keeps the copied block";
    EXPECT_EQ(g().BLOCK_COL_END, 4);

    w.Text3->setText(QStringLiteral("typed, not confirmed"));
    w.Text3_LostFocus();
    EXPECT_EQ(w.Text3->text().toStdString(), "");
    EXPECT_EQ(g().EDIT_VALUE, std::string(100, ' '));

    w.Text3->setText(QStringLiteral("  12  "));
    w.Text3_KeyDown(13);
    EXPECT_EQ(g().EDIT_VALUE, "12" + std::string(98, ' '));
    EXPECT_EQ(w.Text3->text().toStdString(), "12");

    w.Text3->setText(QStringLiteral("99"));
    w.Text3_KeyDown(27);
    EXPECT_EQ(w.Text3->text().toStdString(), "12") << "Esc drops the typing";

    w.Text3->setText(QString(120, QLatin1Char('x')));
    w.Text3_KeyDown(13);
    EXPECT_EQ(g().EDIT_VALUE, std::string(100, 'x'));
}

TEST_F(EditTool, SelectionRoutinesOrderSaveAndRestore)
{
    openNew();
    select(12, 3, 5, 6); // dragged upwards
    EXPECT_EQ(g().SEL_ROW, 12);
    EXPECT_EQ(g().SEL_ROW_END, 5);
    qd::sheet::SEL_RANGE_ORDER(g());
    EXPECT_EQ(g().SEL_ROW, 5);
    EXPECT_EQ(g().SEL_ROW_END, 12);
    EXPECT_EQ(g().SAVED_ROW, 5);
    EXPECT_EQ(g().SAVED_ROW_END, 12);

    g().SAVED_ROW = 77;
    select(2, 3, 4, 6);
    qd::sheet::SEL_RANGE_ORDER(g());
    EXPECT_EQ(g().SEL_ROW, 2);
    EXPECT_EQ(g().SAVED_ROW, 77) << "a selection made downwards leaves the saved values";

    qd::sheet::SEL_RANGE_SAVE(g());
    select(9, 9, 9, 9);
    qd::sheet::SEL_RANGE_SET(g());
    EXPECT_FALSE(sheet().redraw()) << "the caller switches Redraw on";
    EXPECT_EQ(sheet().row(), 2);
    EXPECT_EQ(sheet().colSel(), 6);
    EXPECT_EQ(g().SEL_ROW_END, 4) << "the grid's events bring SEL_* back in line";
    EXPECT_EQ(g().SEL_COL_SPAN, 3);

    // A saved selection past the end of a sheet that has lost rows lands on its last row.
    g().SAVED_ROW = g().SAVED_ROW_END = 1200;
    qd::sheet::SEL_RANGE_SET(g());
    EXPECT_EQ(sheet().row(), sheet().rows() - 1);
    sheet().setRedraw(true);
}

TEST_F(EditTool, FontSizeStepsBetweenSixtyAndHundredFortyPercent)
{
    openNew();
    HENSYU_MENU &w = tool();
    struct Case {
        int before;
        bool up;
        int after;
    };
    for (const Case &c : {Case{140, true, 100}, Case{130, true, 140}, Case{100, true, 110}, Case{60, false, 100},
                          Case{70, false, 60}}) {
        g().FONT_PCT = c.before;
        c.up ? w.Command19_Click() : w.Command18_Click();
        EXPECT_EQ(g().FONT_PCT, c.after) << c.before << (c.up ? " +" : " -");
        EXPECT_NEAR(sheet().fontSize(), c.after / 100.0 * 12, 0.001);
        EXPECT_EQ(sheet().row(), 0);
        EXPECT_EQ(sheet().col(), 1);
    }
}

TEST_F(EditTool, RowHeightsAndColumnWidthsOfTheSelection)
{
    openNew();
    HENSYU_MENU &w = tool();
    w.Option1_Click();
    sheet().setRowHeight(4, 280);
    sheet().setRowHeight(5, 100);
    sheet().setRowHeight(6, 1);
    select(6, 2, 4, 2); // from the bottom up
    w.Command22_Click();
    EXPECT_EQ(sheet().rowHeight(4), 180);
    EXPECT_EQ(sheet().rowHeight(5), 1);
    EXPECT_EQ(sheet().rowHeight(6), 1);
    EXPECT_EQ(sheet().rowHeight(7), 280) << "rows outside the selection keep theirs";

    w.Option2_Click();
    sheet().setColWidth(3, 9950);
    sheet().setColWidth(2, 10000);
    select(1, 3, 1, 2); // from right to left
    w.Command23_Click();
    EXPECT_EQ(sheet().colWidth(3), 10000);
    EXPECT_EQ(sheet().colWidth(2), 10000);
    // Down subtracts a step from a stored width beyond the largest; up brings it to the largest.
    sheet().setColWidth(2, 12000);
    w.Command22_Click();
    EXPECT_EQ(sheet().colWidth(2), 11900);
    EXPECT_EQ(sheet().colWidth(3), 9900);
    w.Command23_Click();
    EXPECT_EQ(sheet().colWidth(2), 10000);

    // The fixed columns toggle 1 - 2 - 1.
    w.Command11_Click();
    EXPECT_EQ(g().FIXED_COLS, 2);
    EXPECT_EQ(sheet().fixedCols(), 2);
    w.Command11_Click();
    EXPECT_EQ(g().FIXED_COLS, 1);
    EXPECT_EQ(sheet().fixedCols(), 1);
}

// The 440 bytes of a display-settings record as they lie in the file.
std::string displayRecord(int row0, int row1, const std::array<int, 25> &widths, int zoom)
{
    std::string b;
    auto le = [&](std::int64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF));
    };
    le(std::int64_t{row0} * 10000, 8);
    le(std::int64_t{row1} * 10000, 8);
    for (int w : widths)
        le(std::int64_t{w} * 10000, 8);
    le(zoom, 4);
    b.append(218, ' ');
    b += "\n\n";
    return b;
}

TEST_F(EditTool, StoreWidthsWritesTheRecordOfTheModeInForce)
{
    openNew();
    HENSYU_MENU &w = tool();
    ASSERT_EQ(g().DISP_MODE, 1) << "a new document shows the chosen columns";
    std::array<int, 25> widths{};
    for (int c = 0; c < 25; ++c) {
        widths[static_cast<std::size_t>(c)] = 300 + 40 * c;
        sheet().setColWidth(c, widths[static_cast<std::size_t>(c)]);
    }
    sheet().setRowHeight(0, 700);
    sheet().setRowHeight(1, 320);
    g().FONT_PCT = 120;
    w.Command3_Click();
    const std::string expected = displayRecord(700, 320, widths, 120);
    ASSERT_EQ(expected.size(), 440u);
    EXPECT_EQ(readBytes(inst.data() / "GRID_DISP_SITEI_FILE.fil"), expected);

    // A group at row 1 squeezes that row; the data-row height in force is what is stored.
    sheet().setCell(1, col::HINMEI, "【x】まとめ");
    qd::core::GRID_PAGE_NUMBER(g());
    ASSERT_EQ(sheet().rowHeight(1), 100);
    sheet().setRowHeight(0, 700); // the page numbering put the set's caption height back
    sheet().setColWidth(0, widths[0]);
    g().DISP_MODE = 0;
    w.Command3_Click();
    EXPECT_EQ(readBytes(inst.data() / "GRID_DISP_NOMAL_FILE.fil"), displayRecord(700, 280, widths, 120));
    EXPECT_EQ(sheet().rowHeight(1), 100) << "the sheet keeps its squeezed row";

    // Any other mode stores nothing.
    g().DISP_MODE = 2;
    sheet().setRowHeight(0, 900);
    w.Command3_Click();
    EXPECT_EQ(readBytes(inst.data() / "GRID_DISP_NOMAL_FILE.fil"), displayRecord(700, 280, widths, 120));
}

} // namespace
} // namespace qd::testing
