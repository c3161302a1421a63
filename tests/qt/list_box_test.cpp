// The tools' list boxes: the order of sorted lists (also as a rewrite uses it without a list),
// the Click that every way of choosing a line raises, and the file list box.
#include "platform/qt/file_list_box.h"
#include "platform/qt/list_box.h"
#include "platform/qt/list_order.h"
#include "tests/support/temp_install.h"

#include <QApplication>
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

TEST(ListOrder, CodesSortNumericallyLettersWithoutCaseEqualKeysKeepTheirOrder)
{
    struct Case {
        const char *a, *b;
        int sign;
    } const cases[] = {
        {"05 ABC", "12 ABC", -1},   {"0003 X", "0010 A", -1}, {"05 abc", "05 ABD", -1},
        {"05 ABC", "05 abc", -1},   {"05", "05 ", -1},        {" 5", "05", -1},
        {"99 Z", "-0 A", 1},        {"亜", "ｱ", -1},            {"A", "ｱ", -1},
        {"05 同じ", "05 同じ", 0},
    };
    for (const Case &c : cases) {
        const int got = compareListText(c.a, c.b);
        EXPECT_EQ((got > 0) - (got < 0), c.sign) << c.a << " / " << c.b;
        EXPECT_EQ(-((got > 0) - (got < 0)), (compareListText(c.b, c.a) > 0) - (compareListText(c.b, c.a) < 0));
    }
    // Equal keys come back in the order given: records of equal code in their file order.
    EXPECT_EQ(sortedOrder({"07", "03", "07", "01", "03"}), (std::vector<int>{3, 1, 4, 0, 2}));
    EXPECT_TRUE(sortedOrder({}).empty());
}

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

TEST(FileListBox, ListsMatchingFilesInAscendingNameOrderAnyLetterCase)
{
    struct Case {
        const char *name, *pattern;
        bool match;
    } const cases[] = {
        {"SET00001.TXT", "SET*.TXT", true}, {"set00002.txt", "SET*.TXT", true}, {"SET1.CSV", "SET*.TXT", false},
        {"HISYU101.TXT", "HISYU1*.TXT", true}, {"品種101.CSV", "品種1*.CSV", true}, {"品種201.CSV", "品種1*.CSV", false},
        {"A.TXT", "?.TXT", true},           {"亜.TXT", "?.TXT", true},          {"AB.TXT", "?.TXT", false},
        {"README", "*.*", true},            {"x.csv", "*.txt;*.CSV", true},     {"SET.TXT.BAK", "SET*.TXT", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(fileNameMatches(c.name, c.pattern), c.match) << c.name << " " << c.pattern;

    qd::testing::TempInstall inst(qd::testing::TempInstall::Content::Empty);
    const std::filesystem::path data = inst.data();
    for (const char *f : {"set00010.txt", "SET00002.TXT", "SET00001.TXT", ".set00003.txt.lock", "MAKER.TXT"})
        qd::testing::writeBytes(data / f, "x");
    std::filesystem::create_directories(data / "SET00009.TXT"); // a folder, not a file
    const std::string folder = inst.dir() + "\\data\\";
    EXPECT_EQ(filesInFolder(folder, "SET*.TXT"), (std::vector<std::string>{"SET00001.TXT", "SET00002.TXT", "set00010.txt"}));
    EXPECT_TRUE(filesInFolder(inst.dir() + "\\nothing", "*.*").empty());

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
