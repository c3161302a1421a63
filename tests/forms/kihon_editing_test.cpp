// In-cell editing of the sheet through the main window: the floating editor and its Enter /
// Escape / leave protocol, the sheet's keys, mouse and selection events, the size-print modes.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "platform/qt/forms.h"
#include "quotedesk/core/documents.h"
#include "tests/forms/edit_fixture.h"

using qd::forms::KIHON;
using qd::grid::FlexGrid;

namespace qd::testing {
namespace {

// Sheet columns by caption.
constexpr int C_HINMEI = 2, C_W = 4, C_SURYO = 9, C_KAKERITU = 12, C_TEIKA = 13, C_TANKA = 14, C_KINGAKU = 15,
              C_BIKO = 16, C_GENKA_RITU = 17, C_GENKA = 18, C_GENKA_KINGAKU = 19, C_ARARI = 20;

class KihonEditing : public EditFixture {
protected:
    // Enter on the sheet, typing into the editor (which replaces the cell's text), then `key`.
    void type(KIHON &k, int row, int col, const QString &text, Qt::Key key = Qt::Key_Return)
    {
        sheet().setRow(row);
        sheet().setCol(col);
        int enter = 13;
        sheet().raiseKeyDown(enter, 0);
        ASSERT_TRUE(k.Text1->isVisible());
        ASSERT_EQ(k.Text1->selectedText(), k.Text1->text()) << "the loaded text is selected";
        // Keys are typed one by one; text beyond ASCII comes as an input method gives it.
        bool ascii = true;
        for (QChar ch : text)
            ascii = ascii && ch.unicode() < 0x80;
        if (ascii)
            QTest::keyClicks(k.Text1, text);
        else
            k.Text1->insert(text);
        QTest::keyClick(k.Text1, key);
    }
};

TEST_F(KihonEditing, TypedPricesRepriceTheRowAndTheTotals)
{
    KIHON &k = openNew();
    g().CALC_UNIT = 10;
    g().CALC_ADJ = 9;
    type(k, 1, C_TEIKA, QStringLiteral("12345"));
    type(k, 1, C_KAKERITU, QStringLiteral("55"));
    type(k, 1, C_SURYO, QStringLiteral("3"));
    type(k, 1, C_GENKA_RITU, QStringLiteral("40"));

    EXPECT_FALSE(k.Text1->isVisible()) << "Enter hides the editor";
    EXPECT_EQ(cell(1, C_TEIKA), "12,345");
    EXPECT_EQ(cell(1, C_KAKERITU), "55.00");
    EXPECT_EQ(cell(1, C_TANKA), "6,790");
    EXPECT_EQ(cell(1, C_KINGAKU), "20,370");
    EXPECT_EQ(cell(1, C_GENKA), "4,940");
    EXPECT_EQ(cell(1, C_GENKA_KINGAKU), "14,820");
    EXPECT_EQ(cell(1, C_ARARI), "5,550");
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL, 20370);
    EXPECT_EQ(k.Text4->text().toStdString(), "20,370");
    EXPECT_FALSE(k.Text7->text().isEmpty());
    // The cursor is back on the cell that was edited last.
    EXPECT_EQ(sheet().row(), 1);
    EXPECT_EQ(sheet().col(), C_GENKA_RITU);
}

TEST_F(KihonEditing, NumbersAreReadAsTheyStartAndTextsAreTrimmed)
{
    KIHON &k = openNew();
    type(k, 2, C_TANKA, QStringLiteral("1,234"));
    EXPECT_EQ(cell(2, C_TANKA), "1");
    type(k, 2, C_TEIKA, QStringLiteral("abc"));
    EXPECT_EQ(cell(2, C_TEIKA), "");
    type(k, 2, C_W, QStringLiteral("1820"));
    EXPECT_EQ(cell(2, C_W), "1820.0");
    type(k, 2, C_SURYO, QStringLiteral("  12.5 "));
    EXPECT_EQ(cell(2, C_SURYO), "12.5");
    type(k, 2, C_HINMEI, QStringLiteral("  網戸  "));
    EXPECT_EQ(cell(2, C_HINMEI), "網戸");
    type(k, 2, C_BIKO, QString::fromUtf8("ｶﾞﾗｽ 2mm"));
    EXPECT_EQ(cell(2, C_BIKO), "ガラス　２ｍｍ");

    // A cell showing 12,345 is loaded as 12345 and written back as 12,345.
    sheet().setCell(3, C_TANKA, "12,345");
    sheet().setRow(3);
    sheet().setCol(C_TANKA);
    int enter = 13;
    sheet().raiseKeyDown(enter, 0);
    EXPECT_EQ(k.Text1->text().toStdString(), "12345");
    QTest::keyClick(k.Text1, Qt::Key_Return);
    EXPECT_EQ(cell(3, C_TANKA), "12,345");
}

TEST_F(KihonEditing, AValueItsFieldCannotHoldIsRefusedAndTheOldOneKept)
{
    KIHON &k = openNew();
    type(k, 1, C_TEIKA, QStringLiteral("9999999"));
    type(k, 1, C_SURYO, QStringLiteral("99999"));
    ASSERT_EQ(cell(1, C_TEIKA), "9,999,999");

    // One more than each field holds: the list price would be stored as 9,999,999, the
    // quantity priced as 10000.
    for (const auto &[col, typed] : {std::pair{C_TEIKA, "99999999999"}, std::pair{C_SURYO, "100000"},
                                     std::pair{C_KAKERITU, "10000"}, std::pair{C_W, "1000000"}}) {
        const std::string before = cell(1, col);
        seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) {
            EXPECT_EQ(m.text.toStdString(), "数値を入力して下さい！");
        });
        type(k, 1, col, QString::fromLatin1(typed));
        EXPECT_EQ(cell(1, col), before) << typed;
        ASSERT_TRUE(k.Text1->isVisible()) << "the editor stays for the typing to be put right";
        k.Text1->setText(QStringLiteral("12"));
        QTest::keyClick(k.Text1, Qt::Key_Return);
        EXPECT_FALSE(k.Text1->isVisible());
    }
    EXPECT_EQ(cell(1, C_TEIKA), "12");
    EXPECT_EQ(cell(1, C_KAKERITU), "12.00");
    EXPECT_EQ(cell(1, C_KINGAKU), "12");
}

TEST_F(KihonEditing, EscapeWritesAndKeepsTheEditorALeaveRepricesAndTypingAloneChangesNothing)
{
    KIHON &k = openNew();
    sheet().setCell(1, C_TEIKA, "10,000");
    sheet().setCell(1, C_SURYO, "2");
    type(k, 1, C_KAKERITU, QStringLiteral("65"), Qt::Key_Escape);
    EXPECT_EQ(cell(1, C_KAKERITU), "65.00");
    EXPECT_TRUE(k.Text1->isVisible()) << "Escape leaves the editor open";
    EXPECT_EQ(cell(1, C_TANKA), "") << "nothing is repriced while the editor holds the focus";

    // Leaving the editor reprices the row, whether or not its value was written back.
    k.Text1_LostFocus();
    EXPECT_EQ(cell(1, C_TANKA), "6,500");
    EXPECT_EQ(cell(1, C_KINGAKU), "13,000");
    // A click on the sheet hides it.
    sheet().raiseClick();
    EXPECT_FALSE(k.Text1->isVisible());

    // Typing and then leaving the editor leaves the cell as it was.
    sheet().setRow(1);
    sheet().setCol(C_SURYO);
    int enter = 13;
    sheet().raiseKeyDown(enter, 0);
    QTest::keyClicks(k.Text1, QStringLiteral("9"));
    k.Text1_LostFocus();
    EXPECT_EQ(cell(1, C_SURYO), "2");
    EXPECT_EQ(cell(1, C_KINGAKU), "13,000");
}

TEST_F(KihonEditing, DeleteBlanksTheCellAndRepricesTheRow)
{
    KIHON &k = openNew();
    sheet().setCell(4, C_TANKA, "500");
    type(k, 4, C_SURYO, QStringLiteral("3"));
    EXPECT_EQ(cell(4, C_KINGAKU), "1,500");
    sheet().setRow(4);
    sheet().setCol(C_SURYO);
    int del = 46;
    sheet().raiseKeyDown(del, 0);
    EXPECT_EQ(del, 46) << "the key goes on to the grid";
    EXPECT_EQ(cell(4, C_SURYO), std::string(150, ' '));
    EXPECT_EQ(k.Text1->text().toStdString(), "") << "the editor shows the value, not its padding";
    EXPECT_EQ(cell(4, C_KINGAKU), "");
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL, 0);
}

TEST_F(KihonEditing, UpAndDownScrollTheSheetAndStayInsideIt)
{
    openNew();
    FlexGrid &s = sheet();
    struct Case {
        int key, row, top;
        int rowAfter, topAfter;
    };
    const Case cases[] = {
        {40, 10, 1, 2, 2},      // Down scrolls one row, the cursor on the new top row
        {40, 900, 800, 801, 801},
        {40, 950, 940, 900, 900},
        {38, 20, 15, 14, 14},   // Up scrolls back one row
        {38, 10, 1, 1, 1},      // never above the first data row
        {38, 3, 1, 1, 1},
    };
    for (const Case &c : cases) {
        s.setTopRow(c.top);
        s.setRow(c.row);
        int key = c.key;
        s.raiseKeyDown(key, 0);
        EXPECT_EQ(s.row(), c.rowAfter) << c.key << " on row " << c.row;
        EXPECT_EQ(s.topRow(), c.topAfter) << c.key << " on row " << c.row;
        EXPECT_EQ(g().ROW_NO, c.row);
    }
}

TEST_F(KihonEditing, SelectionIsTrackedAsTheUserDragsIt)
{
    openNew();
    sheet().select(20, 5, 10, 3); // dragged from row 20 up to row 10, right to left
    EXPECT_EQ(g().SEL_ROW, 20);
    EXPECT_EQ(g().SEL_ROW_END, 10);
    EXPECT_EQ(g().SEL_ROW_SPAN, -10);
    EXPECT_EQ(g().SEL_COL, 5);
    EXPECT_EQ(g().SEL_COL_END, 3);
    EXPECT_EQ(g().SEL_COL_SPAN, -2);
    sheet().setRow(7); // code moving the cell collapses the selection
    EXPECT_EQ(g().SEL_ROW, 7);
    EXPECT_EQ(g().SEL_ROW_END, 7);
    EXPECT_EQ(g().SEL_ROW_SPAN, 0);
}

TEST_F(KihonEditing, MouseOverTheSheetPlacesTheEditorAndTheRightButtonOpensTheSearchMenu)
{
    KIHON &k = openNew();
    // Positions beyond 32767 twips (a wide screen) are kept whole.
    sheet().raiseMouseMove(0, 0, 40000, 50000);
    EXPECT_EQ(g().GRID_MOUSE_X, 40000);
    EXPECT_EQ(g().GRID_MOUSE_Y, 50000);

    sheet().setRow(5);
    sheet().setCol(C_HINMEI);
    sheet().setCell(5, C_HINMEI, "引違い窓");
    sheet().raiseMouseMove(0, 0, 3000, 2000);
    sheet().raiseDblClick();
    EXPECT_EQ(g().ROW_NO, 5);
    EXPECT_EQ(g().COL_NO, C_HINMEI);
    ASSERT_TRUE(k.Text1->isVisible());
    EXPECT_EQ(k.Text1->text().toStdString(), "引違い窓");
    const qd::qt::TwipsRect r = qd::qt::geometryTwips(k.Text1);
    const qd::qt::TwipsRect frame = qd::qt::geometryTwips(k.Frame1);
    EXPECT_NEAR(r.width, 10000, 20);
    EXPECT_NEAR(r.left, 3000 - 500 - frame.left, 20);
    EXPECT_NEAR(r.top, 2000 + 1200 - frame.top, 20);
    // Far off the sheet the editor still opens where it can be seen.
    sheet().raiseMouseMove(0, 0, 40000, 50000);
    sheet().raiseDblClick();
    const qd::qt::TwipsRect far = qd::qt::geometryTwips(k.Text1);
    EXPECT_LE(far.left + far.width, frame.width + 20);
    EXPECT_LE(far.top + far.height, frame.height + 20);
    sheet().raiseClick();

    QMenu *search = k.menus().menu(QStringLiteral("SERCH_000"));
    ASSERT_NE(search, nullptr);
    sheet().raiseMouseDown(qd::grid::LeftButton, 0, 500, 500);
    EXPECT_FALSE(search->isVisible());
    sheet().raiseMouseDown(qd::grid::RightButton, 0, 500, 500);
    EXPECT_TRUE(search->isVisible()) << "the search menu pops up although it is off the menu bar";
    EXPECT_FALSE(k.menus().isVisible(QStringLiteral("SERCH_000")));
    search->close();
}

TEST_F(KihonEditing, ADoubleClickOpensTheValueWithoutItsPaddingWithTheFocusAndTheCursorAtItsEnd)
{
    KIHON &k = openNew();
    k.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&k));
    // A name as it is loaded from its 200-byte field.
    sheet().setCell(5, C_HINMEI, "山田様亭" + std::string(192, ' '));
    sheet().setRow(5);
    sheet().setCol(C_HINMEI);
    sheet().raiseMouseMove(0, 0, 3000, 2000);
    sheet().raiseDblClick();
    ASSERT_TRUE(k.Text1->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), k.Text1) << "typing goes into the editor at once";
    EXPECT_EQ(k.Text1->text().toStdString(), "山田様亭");
    EXPECT_EQ(k.Text1->selectedText(), k.Text1->text());
    EXPECT_EQ(k.Text1->cursorPosition(), 4);

    // The input method is told where the cursor stands: inside the editor, after the name.
    const QRect cursor = k.Text1->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_TRUE(k.Text1->rect().contains(cursor.center())) << cursor.x() << "," << cursor.y();
    EXPECT_LE(cursor.left(), k.Text1->fontMetrics().horizontalAdvance(k.Text1->text()) + 12);

    // A click at the end of the box and a typed character land right after the name.
    QTest::mouseClick(k.Text1, Qt::LeftButton, {}, QPoint(k.Text1->width() - 4, k.Text1->height() / 2));
    EXPECT_EQ(k.Text1->cursorPosition(), 4);
    k.Text1->insert(QStringLiteral("体"));
    QTest::keyClick(k.Text1, Qt::Key_Return);
    EXPECT_EQ(cell(5, C_HINMEI), "山田様亭体");
}

TEST_F(KihonEditing, SizePrintModesShowInTheCaption)
{
    KIHON &k = openNew();
    k.menus().click(QStringLiteral("GARASU_DEL"));
    EXPECT_EQ(g().SIZE_MODE, 0);
    EXPECT_TRUE(k.windowTitle().contains(QStringLiteral("【寸法:印刷しない】")));
    k.menus().click(QStringLiteral("GARASU_SYAKU")); // unavailable: nothing happens
    EXPECT_EQ(g().SIZE_MODE, 0);
    k.menus().click(QStringLiteral("GARASU_MIRI"));
    EXPECT_EQ(g().SIZE_MODE, 1);
    EXPECT_TRUE(k.windowTitle().contains(QStringLiteral("【寸法:ﾐﾘ印刷】")));
}

TEST_F(KihonEditing, CopyAndPasteKeysActWithOrWithoutCtrl)
{
    KIHON &k = openNew();
    sheet().setCell(2, C_HINMEI, "複写元");
    sheet().setCell(2, 3, "A1");
    sheet().setRow(2);
    sheet().setCol(C_HINMEI);
    sheet().select(2, C_HINMEI, 2, 3);
    QTest::keyClick(&k.currentGridView(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(g().BLOCK_ROW, 2);
    EXPECT_EQ(g().BLOCK_COL, C_HINMEI);
    EXPECT_EQ(g().BLOCK_COL_END, 3);
    EXPECT_EQ(g().COPY_GRID_IDX, g().CUR_SLOT);
    EXPECT_EQ(cell(2, C_HINMEI), "複写元") << "the letter never reaches a cell";

    sheet().setRow(6);
    sheet().setCol(C_HINMEI);
    QTest::keyClick(&k.currentGridView(), Qt::Key_V);
    EXPECT_EQ(qd::text::trim(cell(6, C_HINMEI)), "複写元");
    EXPECT_EQ(qd::text::trim(cell(6, 3)), "A1");
}

} // namespace
} // namespace qd::testing
