#include "platform/qt/grid_view.h"

#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using qd::grid::FlexGrid;
using qd::qt::GridView;

namespace {

// A sheet of 1000 x 25 as the main window sets it up, shown in a view on screen.
struct Sheet {
    FlexGrid g;
    std::vector<std::string> log;
    std::unique_ptr<GridView> view;

    Sheet()
    {
        g.setRows(1000);
        g.setCols(25);
        g.setRowHeight(0, 680);
        for (int r = 1; r < 1000; ++r)
            g.setRowHeight(r, 280);
        for (int c = 0; c < 25; ++c)
            g.setColWidth(c, 1000);
        g.setColWidth(4, 20);
        view = std::make_unique<GridView>(g);
        view->resize(900, 500);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        g.events.rowColChange = [this] { log.push_back("RowColChange"); };
        g.events.click = [this] { log.push_back("Click"); };
        g.events.mouseDown = [this](int button, int, int, int) {
            log.push_back("MouseDown " + std::to_string(button));
        };
    }
    QWidget *vp() const { return view->viewport(); }
    // The middle of a cell in viewport coordinates.
    QPoint at(int r, int c) const
    {
        return view->cellRect(r, c).center() - vp()->geometry().topLeft();
    }
};

} // namespace

TEST(GridView, TwipsBecomePixelsAtTheScreensDpi)
{
    struct Case {
        int twips, dpi, pixels;
    };
    for (const Case &t : std::vector<Case>{{1500, 96, 100}, {15, 96, 1}, {20, 96, 1}, {1, 96, 0},
                                           {100, 96, 7}, {280, 96, 19}, {4340, 96, 289},
                                           {1440, 144, 144}, {20, 192, 3}})
        EXPECT_EQ(qd::qt::twipsToPixels(t.twips, t.dpi), t.pixels) << t.twips << " at " << t.dpi;
    EXPECT_EQ(qd::qt::pixelsToTwips(30, 96), 450);

    Sheet s;
    const int dpiX = s.view->logicalDpiX(), dpiY = s.view->logicalDpiY();
    const QRect c2 = s.view->cellRect(1, 2), c3 = s.view->cellRect(1, 3);
    EXPECT_EQ(c2.width(), qd::qt::twipsToPixels(1000, dpiX));
    EXPECT_EQ(c2.height(), qd::qt::twipsToPixels(280, dpiY));
    EXPECT_EQ(c3.left(), c2.left() + c2.width());
    EXPECT_EQ(s.view->cellRect(0, 2).height(), qd::qt::twipsToPixels(680, dpiY));
    EXPECT_LE(s.view->cellRect(1, 4).width(), 2); // a 20-twip column is out of sight
    s.g.setRowHeight(5, 1);
    EXPECT_EQ(s.view->cellRect(5, 2).height(), 0);

    // The pointer's position reaches MouseMove in twips.
    int x = -1, y = -1;
    s.g.events.mouseMove = [&](int, int, int mx, int my) { x = mx, y = my; };
    QTest::mouseMove(s.vp(), QPoint(30, 40));
    EXPECT_EQ(x, qd::qt::pixelsToTwips(30, dpiX));
    EXPECT_EQ(y, qd::qt::pixelsToTwips(40, dpiY));
}

TEST(GridView, KeysReachKeyDownBeforeTheViewMoves)
{
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int code, shift;
    };
    for (const Case &t : std::vector<Case>{{Qt::Key_Return, {}, 13, 0},
                                           {Qt::Key_Enter, Qt::KeypadModifier, 13, 0},
                                           {Qt::Key_Escape, {}, 27, 0},
                                           {Qt::Key_Left, {}, 37, 0},
                                           {Qt::Key_Down, Qt::ShiftModifier, 40, 1},
                                           {Qt::Key_Delete, {}, 46, 0},
                                           {Qt::Key_F1, {}, 112, 0},
                                           {Qt::Key_C, Qt::ControlModifier, 67, 2},
                                           {Qt::Key_V, {}, 86, 0},
                                           {Qt::Key_7, Qt::AltModifier, 55, 4}}) {
        EXPECT_EQ(qd::qt::gridKeyCode(t.key, t.mods), t.code) << t.key;
        EXPECT_EQ(qd::qt::gridShiftMask(t.mods), t.shift) << t.key;
    }

    Sheet s;
    s.g.setCol(2);
    s.g.setRow(5);
    std::vector<std::string> seen;
    s.g.events.keyDown = [&](int &key, int shift) {
        seen.push_back(std::to_string(key) + "/" + std::to_string(shift) + " at row " +
                       std::to_string(s.g.row()));
        if (key == 38)
            key = 0; // swallowed: the view does not move
    };
    QTest::keyClick(s.view.get(), Qt::Key_Down);
    EXPECT_EQ(s.g.row(), 6);
    QTest::keyClick(s.view.get(), Qt::Key_Up);
    EXPECT_EQ(s.g.row(), 6);
    // C and V (with or without Ctrl) reach the handler and never move the cursor.
    QTest::keyClick(s.view.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(s.view.get(), Qt::Key_V);
    EXPECT_EQ(s.g.row(), 6);
    EXPECT_EQ(s.g.col(), 2);
    // Ctrl pressed alone is a key of its own (17).
    EXPECT_EQ(seen, (std::vector<std::string>{"40/0 at row 5", "38/0 at row 6", "17/2 at row 6",
                                              "67/2 at row 6", "86/0 at row 6"}));

    // Shift+Down moves the selection's other corner, the current cell stays.
    QTest::keyClick(s.view.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(s.g.row(), 6);
    EXPECT_EQ(s.g.rowSel(), 7);
}

TEST(GridView, TheHandlersMovesComeFirstAndTheViewKeepsTheCellInSight)
{
    // The sheet's Down key: one row of scrolling, the cursor on the new top row, then the
    // view's own step down.
    Sheet s;
    s.g.setRow(1);
    s.g.events.keyDown = [&](int &key, int) {
        if (key == 40) {
            s.g.setTopRow(s.g.topRow() + 1);
            s.g.setRow(s.g.topRow());
        }
    };
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(s.view.get(), Qt::Key_Down);
    EXPECT_EQ(s.g.topRow(), 4);
    EXPECT_EQ(s.g.row(), 5);
    EXPECT_EQ(s.view->verticalScrollBar()->value(), 4);
    EXPECT_EQ(s.view->cellRect(4, 2).top(), s.view->cellRect(0, 2).bottom() + 1);

    // Page Down far below the view scrolls the cell into sight.
    s.g.events.keyDown = nullptr;
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(s.view.get(), Qt::Key_PageDown);
    const QRect cell = s.view->cellRect(s.g.row(), 2);
    EXPECT_GT(s.g.row(), 40);
    EXPECT_TRUE(s.vp()->geometry().contains(cell)) << s.g.row();
}

TEST(GridView, RightClickRaisesOnlyMouseDownAndLeavesTheSelection)
{
    Sheet s;
    s.g.select(3, 2, 6, 3);
    s.log.clear();
    QTest::mouseClick(s.vp(), Qt::RightButton, {}, s.at(10, 5));
    EXPECT_EQ(s.log, (std::vector<std::string>{"MouseDown 2"}));
    EXPECT_EQ(s.g.row(), 3);
    EXPECT_EQ(s.g.col(), 2);
    EXPECT_EQ(s.g.rowSel(), 6);
    EXPECT_EQ(s.g.colSel(), 3);

    s.log.clear();
    QTest::mouseClick(s.vp(), Qt::LeftButton, {}, s.at(10, 5));
    EXPECT_EQ(s.log, (std::vector<std::string>{"MouseDown 1", "RowColChange", "Click"}));
    EXPECT_EQ(s.g.row(), 10);
    EXPECT_EQ(s.g.col(), 5);
    EXPECT_EQ(s.g.rowSel(), 10);
}

TEST(GridView, DraggingAndHeaderClicksSelectLikeTheSheetExpects)
{
    Sheet s;
    // Dragged upwards: the current cell stays where the drag began.
    QTest::mousePress(s.vp(), Qt::LeftButton, {}, s.at(12, 3));
    QTest::mouseMove(s.vp(), s.at(8, 2));
    QTest::mouseRelease(s.vp(), Qt::LeftButton, {}, s.at(8, 2));
    EXPECT_EQ(s.g.row(), 12);
    EXPECT_EQ(s.g.col(), 3);
    EXPECT_EQ(s.g.rowSel(), 8);
    EXPECT_EQ(s.g.colSel(), 2);

    // A caption cell selects its whole column; a page-column cell its whole row.
    QTest::mouseClick(s.vp(), Qt::LeftButton, {}, s.at(0, 5));
    EXPECT_EQ(std::vector<int>({s.g.row(), s.g.col(), s.g.rowSel(), s.g.colSel()}),
              std::vector<int>({1, 5, 999, 5}));
    s.g.setFixedCols(2);
    QTest::mouseClick(s.vp(), Qt::LeftButton, {}, s.at(7, 1));
    EXPECT_EQ(std::vector<int>({s.g.row(), s.g.col(), s.g.rowSel(), s.g.colSel()}),
              std::vector<int>({7, 2, 7, 24}));
}

TEST(GridView, TheViewFollowsTheGridsEditsTopRowAndRedraw)
{
    Sheet s;
    QAbstractItemModel *m = s.view->model();
    s.g.setCell(3, 2, "品名の行");
    s.g.setBackColor(3, 0, qd::grid::rgb(200, 200, 200));
    EXPECT_EQ(m->data(m->index(3, 2)).toString(), QStringLiteral("品名の行"));
    EXPECT_EQ(m->data(m->index(3, 0), Qt::BackgroundRole).value<QColor>(), QColor(200, 200, 200));

    s.g.addItem("a\tb", 3);
    EXPECT_EQ(m->rowCount(), 1001);
    EXPECT_EQ(m->data(m->index(4, 2)).toString(), QStringLiteral("品名の行"));
    EXPECT_EQ(m->data(m->index(3, 1)).toString(), QStringLiteral("b"));

    // TopRow set by code scrolls the view; scrolling by the user sets TopRow.
    s.g.setTopRow(50);
    EXPECT_EQ(s.view->verticalScrollBar()->value(), 50);
    EXPECT_EQ(s.view->cellRect(50, 2).top(), s.view->cellRect(0, 2).bottom() + 1);
    s.view->verticalScrollBar()->setValue(70);
    EXPECT_EQ(s.g.topRow(), 70);
    s.g.setTopRow(1000); // past the last scroll position: lowered to it
    EXPECT_EQ(s.g.topRow(), s.view->verticalScrollBar()->maximum());
    EXPECT_LT(s.g.topRow(), 1000);

    // No repaint while Redraw is off; what changed meanwhile shows when it goes on.
    s.g.setRedraw(false);
    EXPECT_FALSE(s.vp()->updatesEnabled());
    s.g.setRows(500);
    EXPECT_EQ(m->rowCount(), 1001); // told once Redraw is back on
    s.g.setRedraw(true);
    EXPECT_TRUE(s.vp()->updatesEnabled());
    EXPECT_EQ(m->rowCount(), 500);
    EXPECT_EQ(s.view->verticalScrollBar()->maximum(), s.g.topRow());
}

TEST(GridView, WidthsAndHeightsFollowTheFontSizeAsAZoom)
{
    Sheet s;
    s.g.setFontSize(12);
    const int width = s.view->colPixels(2), height = s.view->rowPixels(5), room = s.view->textRoom(2);
    s.view->setZoomBase(12);
    EXPECT_EQ(s.view->colPixels(2), width) << "as given at the base size";
    s.g.setFontSize(16.8); // 140 percent
    EXPECT_DOUBLE_EQ(s.view->zoom(), 1.4);
    EXPECT_NEAR(s.view->colPixels(2), width * 1.4, 1);
    EXPECT_NEAR(s.view->rowPixels(5), height * 1.4, 1);
    EXPECT_NEAR(s.view->textRoom(2), room * 1.4, 2);
    EXPECT_EQ(s.view->cellRect(5, 3).left(), s.view->cellRect(5, 2).right() + 1);
    EXPECT_EQ(s.g.colWidth(2), 1000) << "the grid's own widths stay as they were";

    // The face is drawn at its share of the grid's size.
    QFont face(QStringLiteral("IPAGothic"));
    s.view->setCellFace(face, 0.75);
    EXPECT_DOUBLE_EQ(s.view->cellFont().pointSizeF(), 16.8 * 0.75);
    s.g.setFontSize(12);
    EXPECT_DOUBLE_EQ(s.view->cellFont().pointSizeF(), 9.0);
}

TEST(GridView, ATapIsAClickEvenWhenItsReleaseComesWhileThePressGivesTheFocus)
{
    Sheet s;
    // The focus is elsewhere in the window, as in the cell editor.
    auto *other = new QLineEdit(s.view.get());
    other->setGeometry(0, 0, 40, 10);
    other->show();
    s.view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(s.view.get()));
    other->setFocus();
    ASSERT_TRUE(other->hasFocus());
    int clicks = 0;
    s.g.events.click = [&] { ++clicks; };
    // A handler of the focus lets pending events run, and the tap's release is among them.
    const QPoint at = s.at(5, 3);
    s.g.events.gotFocus = [&] { QTest::mouseRelease(s.vp(), Qt::LeftButton, {}, at); };
    QTest::mousePress(s.vp(), Qt::LeftButton, {}, at);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(s.g.row(), 5);
    EXPECT_EQ(s.g.col(), 3);

    // The next press and drag select as ever: the early release was used up.
    s.g.events.gotFocus = nullptr;
    QTest::mousePress(s.vp(), Qt::LeftButton, {}, s.at(7, 2));
    QTest::mouseMove(s.vp(), s.at(9, 4));
    EXPECT_EQ(clicks, 1);
    QTest::mouseRelease(s.vp(), Qt::LeftButton, {}, s.at(9, 4));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(s.g.rowSel(), 9);
}

TEST(GridView, AFigureWiderThanItsCellShowsItsRightEnd)
{
    Sheet s;
    s.g.setFontSize(12);
    s.g.setColWidth(2, 500); // narrower than an eight-digit amount, its text centred
    s.g.setColAlignment(2, qd::grid::Align::CenterCenter);
    s.g.setColWidth(3, 3000); // wide enough, its text on the right
    s.g.setColAlignment(3, qd::grid::Align::RightCenter);
    for (int c : {2, 3})
        s.g.setCell(5, c, "12,345,678");
    s.g.setRow(9);
    s.g.setCol(6);
    ASSERT_GT(QFontMetrics(s.view->cellFont()).horizontalAdvance(QStringLiteral("12,345,678")), s.view->textRoom(2));
    s.view->viewport()->repaint();

    // The narrow cell ends in the same digits, drawn the same, as the wide one.
    const QImage shot = s.view->viewport()->grab().toImage();
    const QRect narrow = s.view->cellRect(5, 2).translated(-s.vp()->geometry().topLeft());
    const QRect wide = s.view->cellRect(5, 3).translated(-s.vp()->geometry().topLeft());
    const int span = s.view->textRoom(2);
    int differing = 0, ink = 0;
    for (int dx = 1; dx <= span; ++dx)
        for (int y = narrow.top() + 1; y < narrow.bottom(); ++y) {
            const QRgb a = shot.pixel(narrow.right() - dx, y), b = shot.pixel(wide.right() - dx, y);
            differing += a != b;
            ink += qGray(b) < 128;
        }
    EXPECT_GT(ink, 0);
    EXPECT_EQ(differing, 0);
}
