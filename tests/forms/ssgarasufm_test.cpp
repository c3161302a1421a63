// The single-item picker: its list in code order without deleted items and the search in the
// names, the priced row it adds, the prices a row can hold, and the rewrite of the item master
// in code order on "終了" (or nothing at all when a step of it fails).
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>


#include "platform/files/fault_plan.h"
#include "platform/qt/entry_box.h"
#include "platform/text/cp932.h"
#include "quotedesk/entry/price_item.h"
#include "quotedesk/entry/ssgarasufm.h"
#include "tests/forms/picker_fixture.h"
#include "tests/qtsupport/every_step_press.h"
#include "tests/support/torn_file.h"

namespace {

using qd::entry_test::EntryDesk;
using qd::forms::SSGARASUFM;
using namespace qd::entry;
namespace I = qd::records::Item;

qd::records::Record item(const char *code, const char *name, int tanka, int genka)
{
    qd::records::Record r = qd::entry_test::rec(I::layout(), {{I::TANPIN_CD, code}, {I::NAME, name}});
    r.setNumber(I::TANKA, tanka, "0000000");
    r.setNumber(I::GENKA, genka, "0000000");
    return r;
}

struct ItemDesk : qd::entry_test::PickerDesk<SSGARASUFM> {
    std::filesystem::path master = desk.inst.data() / "TANPIN.TXT";

    // With `torn`, the master's last record is cut short (tearLastRecord) and the picker is
    // expected to say so as it loads.
    explicit ItemDesk(bool torn = false)
    {
        // Record order 5, 120, a deleted item, 13.
        qd::entry_test::writeRecords(desk.inst.dir() + "\\data\\TANPIN.TXT", 128,
                                     {item("0005", "網戸　標準", 4800, 3100), item("0120", "取付工事費", 15000, 9000),
                                      item("0000", "削除した錠", 100, 50), item("0013", "クレセント錠", 1234, 700)});
        if (torn) {
            qd::testing::tearLastRecord(master, 128);
            seam.answerMessage(qd::qt::Answer::Ok, [this](const qd::qt::MessageRequest &m) {
                EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), master, 128));
                EXPECT_TRUE(m.text.startsWith(QStringLiteral("切れた最後の 10 バイトを除き、揃っているレコード 4 件だけを表示します。\n\r\n\r")));
            });
        }
        open();
    }
    std::vector<std::string> codes() const
    {
        std::vector<std::string> v;
        for (int i = 0; i < form->List1->lineCount(); ++i)
            v.push_back(form->List1->lineText(i).toStdString().substr(0, 4));
        return v;
    }
    // Chooses the item of `code` in the list, as a click does.
    void choose(const std::string &code)
    {
        for (int i = 0; i < form->List1->lineCount(); ++i)
            if (form->List1->lineText(i).toStdString().substr(0, 4) == code)
                form->List1->setListIndex(i);
    }
};

TEST(SSGARASUFM, ListsLiveItemsInCodeOrderAndFindsNames)
{
    ItemDesk d;
    auto &f = *d.form;
    EXPECT_EQ(d.codes(), (std::vector<std::string>{"0005", "0013", "0120"}));
    EXPECT_EQ(f.List1->lineText(1).toStdString(),
              "0013 " + qd::text::fixedChars("クレセント錠", 44) + std::string(50, ' ') + "00004");
    for (QPushButton *b : {f.Command1, f.Command4, f.Command5})
        EXPECT_FALSE(b->isEnabled());

    struct Case {
        const char *typed;
        std::vector<std::string> codes;
    } cases[] = {{"錠", {"0013"}}, {"  工事  ", {"0120"}}, {"ドア", {}}, {"   ", {}}};
    for (const Case &c : cases) {
        f.Text5->GotFocus();
        f.Text5->setText(QString::fromUtf8(c.typed));
        f.Text5->KeyDown(13);
        EXPECT_EQ(d.codes(), c.codes) << c.typed;
        EXPECT_EQ(f.Text5->text().toStdString(), qd::text::trim(c.typed));
        EXPECT_FALSE(f.Option5->isChecked());
    }
    f.Option5->click();
    EXPECT_TRUE(f.Option5->isChecked());
    EXPECT_EQ(d.codes().size(), 3u);
    EXPECT_EQ(f.Text5->text(), QString());
    f.Text5->GotFocus();
    EXPECT_EQ(f.Text5->text(), QStringLiteral("   ")); // the last search text comes back

    d.choose("0013");
    EXPECT_EQ(f.Text1->text(), QStringLiteral("13"));
    EXPECT_EQ(f.Text2->text().trimmed(), QStringLiteral("クレセント錠"));
    EXPECT_EQ(f.Text3->text(), QStringLiteral("1,234"));
    EXPECT_EQ(f.Text4->text(), QStringLiteral("700"));
    for (QPushButton *b : {f.Command1, f.Command4, f.Command5})
        EXPECT_TRUE(b->isEnabled());
}

TEST(SSGARASUFM, AddsTheItemAsAPricedRow)
{
    struct Case {
        std::int16_t unit;
        const char *typedPrice; // nullptr: the stored price
        const char *teika, *tanka, *kingaku;
        std::int32_t total;
    } cases[] = {
        {1, nullptr, "1,234", "1,234", "1,234", 1234},
        {100, nullptr, "1,234", "1,300", "1,300", 1300}, // rounded up to the calculation unit
        {1, "2,000", "2,000", "2,000", "2,000", 2000},
        {1, "-999,999", "-999,999", "-999,999", "-999,999", -999999},
    };
    for (const Case &c : cases) {
        ItemDesk d;
        auto &f = *d.form;
        d.g.CALC_UNIT = c.unit;
        d.g.CALC_ADJ = static_cast<std::int16_t>(c.unit - 1);
        d.choose("0013");
        if (c.typedPrice) {
            f.Text3->GotFocus();
            f.Text3->setText(QString::fromUtf8(c.typedPrice));
            f.Text3->KeyDown(13);
        }
        f.Command1_Click();
        const auto &grid = d.g.curGrid();
        EXPECT_EQ(grid.cell(1, C_HINMEI), qd::text::fixedChars("クレセント錠", 44)) << c.unit;
        EXPECT_EQ(grid.cell(1, C_SURYO), "1");
        EXPECT_EQ(grid.cell(1, C_TEIKA), c.teika) << c.unit;
        EXPECT_EQ(grid.cell(1, C_TANKA), c.tanka) << c.unit;
        EXPECT_EQ(grid.cell(1, C_KINGAKU), c.kingaku) << c.unit;
        EXPECT_EQ(grid.cell(1, C_GENKA), "700");
        EXPECT_EQ(grid.cell(1, C_ARARI), qd::text::format(std::int64_t{c.total - 700}, "###,###,###"));
        EXPECT_EQ(grid.cell(1, C_ZEI_RITU), "10.00");
        EXPECT_EQ(qd::text::trim(grid.cell(2, C_HINMEI)), "既存の行");
        EXPECT_EQ(d.g.DOC_AMOUNT_TOTAL, c.total);
        EXPECT_FALSE(f.isVisible());
        EXPECT_TRUE(grid.redraw());
    }
}

TEST(SSGARASUFM, PricesBeyondTheRowsFieldsAreRefused)
{
    ItemDesk d;
    auto &f = *d.form;
    d.choose("0005");
    for (const char *typed : {"10,000,000", "-1000000", "99999999999"}) {
        d.seam.answerMessage(qd::qt::Answer::Ok);
        f.Text3->GotFocus();
        f.Text3->setText(QString::fromUtf8(typed));
        f.Text3->KeyDown(13);
        EXPECT_EQ(d.g.ITEM_TANKA, 4800) << typed;
    }
    EXPECT_EQ(d.seam.messages().size(), 3);
    EXPECT_EQ(d.seam.messages().first(), QStringLiteral("数値を入力して下さい！"));
    EXPECT_EQ(d.seam.beepCount(), 3);
    // A text that is no number is refused with the same message.
    d.seam.answerMessage(qd::qt::Answer::Ok);
    f.Text4->GotFocus();
    f.Text4->setText(QStringLiteral("abc"));
    f.Text4->KeyDown(13);
    EXPECT_EQ(d.g.ITEM_GENKA, 3100);
    EXPECT_EQ(d.seam.messages().size(), 4);
    EXPECT_EQ(d.seam.messages().last(), QStringLiteral("数値を入力して下さい！"));
    f.Text4->setText(QStringLiteral("9,999,999"));
    f.Text4->KeyDown(13);
    EXPECT_EQ(d.g.ITEM_GENKA, 9999999);
}

// "明細追加" takes a price or cost typed without Enter through the checks of Enter: one the row
// can hold prices the row; a refused one is said, adds nothing, and stays selected in its box with
// the focus, also after Enter refused it first, so no box shows a price other than the row's.
TEST(SSGARASUFM, AddTakesAPriceTypedWithoutEnterOrRefusesIt)
{
    enum Box { Price, Cost };
    struct Case {
        Box box;
        const char *typed;
        bool enterFirst;
        const char *teika, *genka; // the row's; nullptr: refused, no row
    } const cases[] = {
        {Price, "5000", false, "5,000", "3,100"},
        {Cost, "2,500", false, "4,800", "2,500"},
        {Price, "12,345,678", false, nullptr, nullptr},
        {Price, "12,345,678", true, nullptr, nullptr},
        {Cost, "abc", false, nullptr, nullptr},
        {Cost, "-1000000", true, nullptr, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.box == Price ? "単価 " : "原価 ") + c.typed + (c.enterFirst ? " Enter" : ""));
        ItemDesk d;
        auto &f = *d.form;
        QApplication::setActiveWindow(&f);
        d.choose("0005");
        qd::qt::EntryBox *box = c.box == Price ? f.Text3 : f.Text4;
        const QString typed = QString::fromUtf8(c.typed);
        box->setFocus();
        box->insert(typed);
        if (c.enterFirst) {
            d.seam.answerMessage(qd::qt::Answer::Ok);
            QTest::keyClick(box, Qt::Key_Return);
        }
        if (!c.teika)
            d.seam.answerMessage(qd::qt::Answer::Ok);
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        const auto &grid = d.g.curGrid();
        if (c.teika) {
            EXPECT_EQ(grid.cell(1, C_TEIKA), c.teika);
            EXPECT_EQ(grid.cell(1, C_GENKA), c.genka);
            EXPECT_EQ(d.seam.messages().size(), 0);
            EXPECT_FALSE(f.isVisible());
            continue;
        }
        EXPECT_EQ(d.seam.messages().size(), c.enterFirst ? 2 : 1);
        EXPECT_EQ(d.seam.messages().last(), QStringLiteral("数値を入力して下さい！"));
        EXPECT_EQ(qd::text::trim(grid.cell(1, C_HINMEI)), "既存の行") << "no row added";
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), box);
        EXPECT_EQ(box->text(), typed);
        EXPECT_EQ(box->selectedText(), typed);
        EXPECT_EQ(d.g.ITEM_TANKA, 4800);
        EXPECT_EQ(d.g.ITEM_GENKA, 3100);
    }
}

TEST(SSGARASUFM, EndRewritesTheMasterInCodeOrderWithoutDeletedItems)
{
    ItemDesk d;
    const std::string before = qd::testing::readBytes(d.master);
    d.choose("0005");
    d.form->Command5_Click();
    EXPECT_FALSE(d.form->isVisible());
    const std::string after = qd::testing::readBytes(d.master);
    ASSERT_EQ(after.size(), 3u * 128);
    EXPECT_EQ(after.substr(0, 128), before.substr(0, 128));   // 0005
    EXPECT_EQ(after.substr(128, 128), before.substr(384, 128)); // 0013
    EXPECT_EQ(after.substr(256, 128), before.substr(128, 128)); // 0120
    EXPECT_FALSE(std::filesystem::exists(d.desk.inst.data() / "WTANPIN.TXT"));
}

TEST(SSGARASUFM, AFailingRewriteLeavesTheMasterAsItWas)
{
    for (const qd::files::FileStep step :
         {qd::files::FileStep::Write, qd::files::FileStep::Flush, qd::files::FileStep::Rename}) {
        ItemDesk d;
        const std::string before = qd::testing::readBytes(d.master);
        d.choose("0005");
        d.seam.answerMessage(qd::qt::Answer::Ok);
        {
            qd::files::ScopedFault fault(step, 1);
            d.form->Command5->click();
            EXPECT_TRUE(qd::files::faults::fired());
        }
        EXPECT_EQ(qd::testing::readBytes(d.master), before);
        EXPECT_FALSE(std::filesystem::exists(d.desk.inst.data() / "WTANPIN.TXT"));
        ASSERT_EQ(d.seam.messages().size(), 1);
        EXPECT_TRUE(d.seam.messages()[0].startsWith(QStringLiteral("単品ファイルを書き直せませんでした。")));
        EXPECT_TRUE(d.seam.messages()[0].contains(QStringLiteral("TANPIN.TXT")));
        EXPECT_TRUE(d.form->isVisible()); // the picker stays, to try again or be closed
    }
}

// 終了 reads and writes nothing after its rename: under every step failing it leaves the master
// as it was or rewritten, and the picker that stays rewrites it when pressed again.
TEST(SSGARASUFM, EndUnderEveryFailingStepLeavesTheMasterAsItWasOrRewritten)
{
    ItemDesk d;
    const std::string before = qd::testing::readBytes(d.master);
    qd::testing::EveryStepPress p;
    p.file = d.master;
    p.before = before;
    p.fileName = QStringLiteral("TANPIN.TXT");
    p.asItWas = QStringLiteral("そのまま");
    p.fresh = [&] {
        qd::testing::writeBytes(d.master, before);
        delete d.form.data();
        d.open();
        d.choose("0005");
    };
    p.press = [&] { d.form->Command5->click(); };
    p.fresh();
    p.press();
    p.after = qd::testing::readBytes(d.master);
    ASSERT_NE(p.after, before);
    const qd::testing::PressOutcomes outcomes = qd::testing::pressUnderEveryStep(d.seam, p);
    ::testing::Test::RecordProperty("outcomes", qd::testing::outcomesText(outcomes));
    EXPECT_EQ(outcomes.count("may hold"), 0u);
    EXPECT_EQ(outcomes.count("landed"), 0u) << "nothing is told of a rewrite that landed";
    EXPECT_FALSE(std::filesystem::exists(d.desk.inst.data() / "WTANPIN.TXT"));
}

TEST(SSGARASUFM, AMasterThatEndsInAPartOfARecordIsShownSoAndNeverRewritten)
{
    ItemDesk d(true);
    const std::string before = qd::testing::readBytes(d.master);
    EXPECT_EQ(d.codes(), (std::vector<std::string>{"0005", "0013", "0120"}));
    EXPECT_EQ(d.seam.messages().size(), 1);
    EXPECT_EQ(d.seam.beepCount(), 1);

    // Refilling the list tells nothing new; the end refuses and says why.
    d.form->Option5->click();
    d.choose("0005");
    d.seam.answerMessage(qd::qt::Answer::Ok, [&](const qd::qt::MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("単品ファイルを書き直せませんでした。")));
        EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), d.master, 128));
    });
    d.form->Command5->click();
    EXPECT_EQ(qd::testing::readBytes(d.master), before);
    EXPECT_FALSE(std::filesystem::exists(d.desk.inst.data() / "WTANPIN.TXT"));
    EXPECT_TRUE(d.form->isVisible());
}

} // namespace
