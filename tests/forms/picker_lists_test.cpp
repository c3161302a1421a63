// What the product pickers' lists show at the forms' own sizes: every line whole, a code with a
// name as wide as its field takes, without the record number that only the handlers read, and
// no horizontal scroll bar over lines that have nothing past the list's edge.
#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

#include <string>

#include "quotedesk/entry/list_lines.h"
#include "quotedesk/entry/ssgarasufm.h"
#include "quotedesk/entry/sskensa.h"
#include "quotedesk/entry/ssset.h"
#include "tests/forms/picker_fixture.h"
#include "tests/qtsupport/list_lines.h"

namespace {

using namespace qd::entry_test;
using qd::qt::ListBox;
using qd::testing::linesShowWhole;

// A name of `bytes` in full-width characters: the widest its field takes.
std::string widest(int bytes)
{
    std::string s;
    for (int i = 0; i < bytes / 2; ++i)
        s += "ア";
    return s;
}

void append(const qd::testing::TempInstall &inst, const char *file, const Record &r)
{
    const std::filesystem::path path = inst.data() / file;
    qd::testing::writeBytes(path, qd::testing::readBytes(path) + r.bytes());
}

// Beside the fixture's records, one of each master with the widest name its field takes, all
// under major class 01, class 01, kind 1 1000 and section 01 where they belong to one; price line
// 5 of 01011000.TXT has a symbol and a remark as wide as their fields, and set SET00002.TXT holds
// it under the widest set name.
void addWidestRecords(const qd::testing::TempInstall &inst)
{
    append(inst, "MAKER.TXT", rec(MajorClass::layout(), {{MajorClass::MAKER_CD, "03"}, {MajorClass::NAME, widest(20)}}));
    append(inst, "BUNRUI.TXT",
           rec(Class::layout(), {{Class::MAKER_CD, "01"}, {Class::BUNRUI_CD, "02"}, {Class::NAME, widest(20)}}));
    append(inst, "CIHO.TXT", rec(Section::layout(), {{Section::CIHO_CD, "03"}, {Section::NAME, widest(20)}}));
    append(inst, "IRO.TXT",
           rec(Color::layout(), {{Color::MAKER_CD, "01"}, {Color::IRO_CD, "04"}, {Color::NAME, widest(20)}}));
    append(inst, "HISYU101.TXT", kind(Kind1::layout(), "01", "01", "1200", widest(36), 0, 0));
    append(inst, "HISYU201.TXT", kind(Kind2::layout(), "01", "01", "1003", widest(32), 0, 0));
    append(inst, "01011000.TXT",
           price({"01", "01", "1001", "01", std::string(25, 'W'), "", 0, 0, 0, 0, {{1, 1000}}, widest(50)}));
    writeSet(inst, "SET00002.TXT", {setComponent(inst, "01011000.TXT", 5, widest(30), 1, 1)});
}

int lineOf(const ListBox *list, const std::string &code)
{
    for (int i = 0; i < list->lineCount(); ++i)
        if (qd::forms::lineAt(list, i).code == code)
            return i;
    return -1;
}

struct Shown {
    ListBox *list;
    int recordDigits; // the record number that ends each line; 0: none
};

TEST(PickerLists, TheUnitPriceSearchShowsEveryLineWholeWithoutItsRecordNumber)
{
    PickerDesk<qd::forms::SSKENSA> d;
    addWidestRecords(d.desk.inst);
    auto &f = d.open();
    QApplication::setActiveWindow(&f);
    f.List2->setListIndex(0);
    f.List1->setListIndex(0);
    f.List3->setListIndex(0);
    f.List4->setListIndex(lineOf(f.List4, "1001"));
    f.List5->setListIndex(0);
    ASSERT_EQ(f.List6->lineCount(), 2);
    for (const Shown &s : {Shown{f.List2, 5}, {f.List1, 5}, {f.List3, 6}, {f.List4, 6}, {f.List5, 5}, {f.List7, 4},
                           {f.List6, 6}})
        EXPECT_TRUE(linesShowWhole(s.list, s.recordDigits));
    // The price line keeps the item's codes after its remark, in the fixed-pitch columns.
    EXPECT_TRUE(f.List6->shownText(1).endsWith(QStringLiteral("   01011001")));
    // The headings stand over their lists, and the widened colour and section lists stay beside
    // the kind lists, inside the form.
    for (auto [list, heading] : {std::pair{f.List7, f.Label7}, {f.List5, f.Label4}, {f.List3, f.Label2}}) {
        EXPECT_EQ(heading->x(), list->x());
        EXPECT_EQ(heading->width(), list->width());
    }
    EXPECT_LT(f.List3->geometry().right(), f.List7->x());
    EXPECT_LE(f.List7->geometry().right(), f.width());
}

TEST(PickerLists, TheSetSearchShowsEveryLineWholeWithoutItsRecordNumber)
{
    PickerDesk<qd::forms::SSSET> d;
    addWidestRecords(d.desk.inst);
    auto &f = d.open();
    QApplication::setActiveWindow(&f);
    EXPECT_TRUE(linesShowWhole(f.List9));
    f.List9->setListIndex(0);
    EXPECT_TRUE(linesShowWhole(f.List8, 6));
    // Enter on the component puts every master list on it.
    f.List8->setListIndex(0);
    f.List8_KeyDown(13);
    for (const Shown &s : {Shown{f.List2, 5}, {f.List1, 5}, {f.List3, 6}, {f.List4, 6}, {f.List5, 5}, {f.List7, 4},
                           {f.List6, 6}}) {
        EXPECT_TRUE(s.list->isVisible()) << s.list->objectName().toStdString();
        EXPECT_TRUE(linesShowWhole(s.list, s.recordDigits));
    }
    EXPECT_LT(f.List3->geometry().right(), f.List5->x());
    EXPECT_LE(f.List5->geometry().right(), f.width());
}

TEST(PickerLists, TheSingleItemPickerShowsEveryLineWholeWithoutItsRecordNumber)
{
    PickerDesk<qd::forms::SSGARASUFM> d;
    Record item = rec(Item::layout(), {{Item::TANPIN_CD, "0009"}, {Item::NAME, widest(50)}});
    item.setNumber(Item::TANKA, 100, "0000000");
    item.setNumber(Item::GENKA, 50, "0000000");
    writeRecords(d.desk.inst.dir() + "\\data\\TANPIN.TXT", 128,
                 {item, rec(Item::layout(), {{Item::TANPIN_CD, "0001"}, {Item::NAME, "網戸"}})});
    auto &f = d.open();
    QApplication::setActiveWindow(&f);
    EXPECT_TRUE(linesShowWhole(f.List1, 5));
    EXPECT_EQ(f.List1->shownText(0), QStringLiteral("0001 網戸"));
}

} // namespace
