// The tools' list boxes: the order of sorted lists (also as a rewrite uses it without a list),
// the Click that every way of choosing a line raises, and the file list box.
#include "platform/qt/file_list_box.h"
#include "platform/qt/list_box.h"
#include "tests/support/temp_install.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace qd::qt;

namespace {

QStringList texts(const ListBox &l)
{
    QStringList out;
    for (int i = 0; i < l.lineCount(); ++i)
        out << l.lineText(i);
    return out;
}

QPoint centreOfLine(ListBox &l, int row) { return l.visualRect(l.model()->index(row, 0)).center(); }

} // namespace

TEST(ListBox, SortedLinesTakeTheirPlaceOneByOneOrAllAtOnce)
{
    ListBox one;
    one.setSorted(true);
    const QStringList adds = {"12 B", "05 Z", "05 A", "99 x", "05 A", "10 b"};
    for (const QString &t : adds)
        one.addLine(t, t.size());
    EXPECT_EQ(texts(one), (QStringList{"05 A", "05 A", "05 Z", "10 b", "12 B", "99 x"}));
    EXPECT_EQ(one.addLine(QStringLiteral("06")), 3);

    // The same lines added in one step, onto lines already there, stand where one add after the
    // other puts them; each line keeps its own value.
    ListBox bulk;
    bulk.setSorted(true);
    bulk.addLine(QStringLiteral("05 A"), QStringLiteral("first"));
    std::vector<ListBoxLine> more;
    for (const QString &t : adds)
        more.push_back({t, t == QStringLiteral("05 A") ? QVariant(QStringLiteral("later")) : QVariant()});
    bulk.addLines(more);
    EXPECT_EQ(texts(bulk), (QStringList{"05 A", "05 A", "05 A", "05 Z", "10 b", "12 B", "99 x"}));
    EXPECT_EQ(bulk.lineData(0).toString(), QStringLiteral("first"));
    EXPECT_EQ(bulk.lineData(1).toString(), QStringLiteral("later"));

    // An unsorted list keeps the order of adding.
    ListBox plain;
    plain.addLines({{"12", {}}, {"05", {}}});
    plain.addLine(QStringLiteral("01"));
    EXPECT_EQ(texts(plain), (QStringList{"12", "05", "01"}));
    plain.removeLine(1);
    plain.removeLine(7);
    EXPECT_EQ(texts(plain), (QStringList{"12", "01"}));
    EXPECT_EQ(plain.lineText(5), QString());
}

TEST(ListBox, ChoosingALineByProgramMouseOrKeyboardRaisesClickChangingLinesDoesNot)
{
    ListBox l;
    l.setSorted(true);
    QSignalSpy clicks(&l, &ListBox::Click);
    for (const char *t : {"03", "01", "02"})
        l.addLine(QString::fromLatin1(t));
    EXPECT_EQ(l.listIndex(), -1);

    l.setListIndex(1);
    EXPECT_EQ(l.listIndex(), 1);
    EXPECT_EQ(clicks.count(), 1);
    l.setListIndex(1); // the line already chosen: still a click
    EXPECT_EQ(clicks.count(), 2);
    l.setListIndex(-1);
    EXPECT_EQ(l.listIndex(), -1);
    l.setListIndex(9);
    EXPECT_EQ(clicks.count(), 2);

    l.setListIndex(2);
    l.addLine(QStringLiteral("00"));
    EXPECT_EQ(l.listIndex(), 3) << "the choice moves with its line";
    l.removeLine(3);
    l.clearLines();
    EXPECT_EQ(clicks.count(), 3);

    l.addLines({{"01", {}}, {"02", {}}, {"03", {}}});
    l.resize(200, 200);
    l.show();
    QApplication::setActiveWindow(&l);
    QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, centreOfLine(l, 1));
    EXPECT_EQ(l.listIndex(), 1);
    EXPECT_EQ(clicks.count(), 4);
    QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, centreOfLine(l, 1));
    EXPECT_EQ(clicks.count(), 5) << "a click on the chosen line";
    QTest::keyClick(&l, Qt::Key_Down);
    EXPECT_EQ(l.listIndex(), 2);
    EXPECT_EQ(clicks.count(), 6);

    QSignalSpy keys(&l, &ListBox::KeyDown);
    QTest::keyClick(&l, Qt::Key_Return);
    QTest::keyClick(&l, Qt::Key_Escape);
    ASSERT_EQ(keys.count(), 2);
    EXPECT_EQ(keys[0][0].toInt(), 13);
    EXPECT_EQ(keys[1][0].toInt(), 27);
    EXPECT_EQ(l.listIndex(), 2) << "Enter chooses nothing";
}

TEST(ListBox, BlanksThatPadALineToItsWidthShowAsNothing)
{
    // Major classes' lines end in their names padded to the field's width; the lines are as
    // wide as the last one, which has no blanks to spare. The padded lines show just as they
    // would unpadded: their blanks are cut at the edge, not replaced by an ellipsis.
    const QString name = QStringLiteral("01 アルミサッシ");
    const QString last = QStringLiteral("07 ABCDEFGHIJ");
    ListBox padded, plain;
    padded.addLines({{name + QString(14, u' '), {}}, {last, {}}});
    plain.addLines({{name, {}}, {last, {}}});
    const QFontMetrics fm(padded.font());
    const int width = fm.horizontalAdvance(name) + 40;
    ASSERT_GT(fm.horizontalAdvance(padded.lineText(0)), width);
    const auto firstLine = [width](ListBox &l) {
        l.resize(width, 100);
        l.show();
        const int height = l.visualRect(l.model()->index(0, 0)).height();
        return l.viewport()->grab(QRect(0, 0, l.viewport()->width(), height)).toImage();
    };
    EXPECT_TRUE(firstLine(padded) == firstLine(plain));
}

TEST(ListBox, ALineShowsItsTextWithoutTheRecordNumberAndTheBlanksThatEndIt)
{
    // The record number at a line's end is the program's: it is kept in the line, not shown.
    struct Case {
        int hiddenTail;
        QString text, ownShown, shown;
    } const cases[] = {
        {0, QStringLiteral("01 アルミサッシ      "), {}, QStringLiteral("01 アルミサッシ")},
        {5, QStringLiteral("05 ABC") + QString(27, u' ') + QStringLiteral("00017"), {}, QStringLiteral("05 ABC")},
        {6, QStringLiteral("1001 標準タイプ") + QString(15, u' ') + QStringLiteral("000003"), {}, QStringLiteral("1001 標準タイプ")},
        {5, QStringLiteral("12345"), {}, QString()},
        {0, QStringLiteral("セット A") + QString(11, u' ') + QStringLiteral("SET00001.TXT"), QStringLiteral("セット A  SET00001.TXT"),
         QStringLiteral("セット A  SET00001.TXT")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        ListBox l;
        l.setHiddenTail(c.hiddenTail);
        l.addLine(c.text, 7, c.ownShown);
        EXPECT_EQ(l.shownText(0), c.shown);
        EXPECT_EQ(l.model()->index(0, 0).data().toString(), c.shown);
        EXPECT_EQ(l.lineText(0), c.text) << "the line itself is whole";
        EXPECT_EQ(l.lineData(0).toInt(), 7);
        // Told afterwards, the list shows its lines anew.
        l.setHiddenTail(0);
        EXPECT_EQ(l.shownText(0), c.ownShown.isEmpty() ? c.text.trimmed() : c.shown);
    }
}

TEST(ListBox, AHorizontalScrollBarComesOnlyForALineWiderThanTheList)
{
    const QString tail = QString(50, u' ') + QStringLiteral("00001");
    ListBox l;
    l.setSorted(true);
    l.setHiddenTail(5);
    l.resize(QFontMetrics(l.font()).horizontalAdvance(QStringLiteral("0001 株式会社　山川建設")) + 60, 150);
    l.addLines({{QStringLiteral("0001 株式会社　山川建設") + tail, 1}, {QStringLiteral("0002 北町ガラス店") + tail, 2}});
    l.show();
    QApplication::processEvents();
    EXPECT_FALSE(l.horizontalScrollBar()->isVisible()) << "nothing to the right to be seen";

    // A wide line anywhere in the list, not only the last, can be scrolled to its end.
    const QString wide = QStringLiteral("0003 ") + QString(40, QChar(0x30A2));
    l.addLine(wide + tail, 3);
    l.addLine(QStringLiteral("0004 X") + tail, 4);
    QApplication::processEvents();
    ASSERT_TRUE(l.horizontalScrollBar()->isVisible());
    const int row = 2;
    ASSERT_EQ(l.shownText(row), wide);
    EXPECT_GE(l.horizontalScrollBar()->maximum() + l.viewport()->width(), QFontMetrics(l.font()).horizontalAdvance(wide));

    // Lines that come and go above the wide one leave it reaching past the edge; once it goes,
    // nothing does.
    l.addLine(QStringLiteral("0000 Y") + tail, 5);
    QApplication::processEvents();
    EXPECT_TRUE(l.horizontalScrollBar()->isVisible());
    l.removeLine(0);
    l.removeLine(0);
    QApplication::processEvents();
    EXPECT_TRUE(l.horizontalScrollBar()->isVisible());
    ASSERT_EQ(l.shownText(1), wide);
    l.removeLine(1);
    QApplication::processEvents();
    EXPECT_FALSE(l.horizontalScrollBar()->isVisible());
}

TEST(ListBox, ExtendedSelectionTakesSeveralLines)
{
    ListBox l;
    l.setSelectionKind(ListBox::Selection::Extended);
    l.addLines({{"a", 1}, {"b", 2}, {"c", 3}, {"d", 4}});
    l.resize(200, 200);
    l.show();
    QApplication::setActiveWindow(&l);
    QSignalSpy clicks(&l, &ListBox::Click);
    QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, centreOfLine(l, 0));
    QTest::mouseClick(l.viewport(), Qt::LeftButton, Qt::ControlModifier, centreOfLine(l, 2));
    QTest::mouseClick(l.viewport(), Qt::LeftButton, Qt::ControlModifier, centreOfLine(l, 3));
    EXPECT_EQ(l.selectedLines(), (QList<int>{0, 2, 3}));
    EXPECT_EQ(l.listIndex(), 3);
    QTest::mouseClick(l.viewport(), Qt::LeftButton, Qt::ControlModifier, centreOfLine(l, 3));
    EXPECT_EQ(l.selectedLines(), (QList<int>{0, 2}));
    EXPECT_EQ(clicks.count(), 4);
    l.setLineSelected(1, true);
    EXPECT_TRUE(l.isLineSelected(1));
    EXPECT_EQ(clicks.count(), 4);
}

TEST(FileListBox, ListsTheFolderAgainWhenItsFolderOrPatternChanges)
{
    qd::testing::TempInstall inst(qd::testing::TempInstall::Content::Empty);
    const std::filesystem::path data = inst.data();
    for (const char *f : {"set00010.txt", "SET00002.TXT", "SET00001.TXT", ".set00003.txt.lock", "MAKER.TXT"})
        qd::testing::writeBytes(data / f, "x");
    const std::string folder = inst.dir() + "\\data\\";

    FileListBox box;
    box.setPattern(QStringLiteral("SET*.TXT"));
    EXPECT_EQ(box.lineCount(), 0);
    box.setPath(QString::fromStdString(folder));
    EXPECT_EQ(texts(box), (QStringList{"SET00001.TXT", "SET00002.TXT", "set00010.txt"}));
    box.setListIndex(1);
    EXPECT_EQ(box.fileName(), QStringLiteral("SET00002.TXT"));
    qd::testing::writeBytes(data / "SET00000.TXT", "x");
    box.refresh();
    EXPECT_EQ(box.lineCount(), 4);
    EXPECT_EQ(box.fileName(), QString());
    box.setPattern(QStringLiteral("maker.txt"));
    EXPECT_EQ(texts(box), QStringList{"MAKER.TXT"});
}
