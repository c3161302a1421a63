// Set file editing on the demo install folder: a set made through the master lists, listed with
// its total, changed, cut down and removed, and the writes that must not happen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/files/fault_plan.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "records/set_files.h"
#include "tests/support/fault_runs.h"
#include "tests/support/temp_install.h"
#include "tools/setitemreg/core/item_choice.h"
#include "tools/setitemreg/core/price_panels.h"
#include "tools/setitemreg/core/set_editing.h"

using namespace qd::setitemreg;
namespace r = qd::records;
using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::testing::writeBytes;

namespace {

const ChoiceLine &lineStarting(const std::vector<ChoiceLine> &lines, const std::string &start)
{
    auto it = std::find_if(lines.begin(), lines.end(), [&](const ChoiceLine &l) { return l.text.rfind(start, 0) == 0; });
    if (it == lines.end())
        throw std::runtime_error("no line starting " + start);
    return *it;
}

// Chooses major class 01, class 01, kind 1 10xx, kind 2 `kind2`, section `ciho`, colour `iro`
// and the price line number `line` (from 0) of the demo data, as the lists would.
void chooseItem(SethinState &g, const std::string &kind2, const std::string &ciho, const std::string &iro, int line)
{
    majorChosen(g, lineStarting(majorLines(g), "01"));
    classChosen(g, lineStarting(classLines(g), "01"));
    const ChoiceLine kind1 = lineStarting(kind1Lines(g), "1000");
    kind1Chosen(g, kind1);
    kind2Chosen(g, lineStarting(kind2Lines(g, kind1.rec), kind2));
    sectionChosen(g, lineStarting(sectionLines(g), ciho));
    colourChosen(g, lineStarting(colourLines(g), iro));
    const std::vector<ChoiceLine> prices = priceLines(g);
    priceLineChosen(g, prices.at(static_cast<std::size_t>(line)));
}

// A record of the given raw fields, separators and end bytes set.
r::Record recordOf(const r::Layout &layout, const std::vector<std::pair<int, std::string>> &fields)
{
    r::Record rec(layout);
    rec.setSeparators();
    for (const auto &[field, raw] : fields)
        rec.setRaw(field, raw);
    return rec;
}

struct SetFixture : ::testing::Test {
    TempInstall inst;
    SethinState g;
    SetFixture() { g.INST_DIR = inst.dir(); }

    std::filesystem::path setFile(int code) const { return inst.data() / r::setFileName(code); }

    // Set `code` named `name` with the given components (kind 2, section, colour, line, quantity).
    struct Part {
        const char *kind2, *ciho, *iro;
        int line;
        const char *qty;
    };
    void makeSet(int code, const std::string &name, const std::vector<Part> &parts)
    {
        for (const Part &p : parts) {
            SET_OPEN_BY_CODE(g, code);
            ASSERT_TRUE(SET_NAME_TAKE(g, name));
            chooseItem(g, p.kind2, p.ciho, p.iro, p.line);
            ASSERT_EQ(SET_QTY_TAKE(g, p.qty), QtyAnswer::Taken);
            SET_COMPONENT_ADD(g);
            SET_CLOSE(g);
        }
    }
};

} // namespace

TEST_F(SetFixture, ANewSetIsWrittenAtItsFirstComponentAndListsWithTheSharedTotal)
{
    EXPECT_FALSE(SET_OPEN_BY_CODE(g, 12));
    EXPECT_FALSE(std::filesystem::exists(setFile(12))); // nothing written for an empty set
    makeSet(12, "勝手口セット", {{"1001", "01", "03", 0, "2"}});

    const std::string bytes = readBytes(setFile(12));
    ASSERT_EQ(bytes.size(), 160u);
    r::Record rec(r::SetItem::layout());
    rec.setBytes(bytes);
    EXPECT_EQ(qd::text::trim(rec.text(r::SetItem::SET_NAME)), "勝手口セット");
    EXPECT_EQ(bytes.substr(30, 15), ",01,01,1001,01,");
    EXPECT_EQ(rec.raw(r::SetItem::IRO_CD), "03");
    EXPECT_EQ(rec.raw(r::SetItem::SURYO), "00002");
    EXPECT_EQ(bytes.substr(130), "," + std::string(27, ' ') + "\r\n");
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "WSET00012.TXT"));

    ASSERT_TRUE(SET_OPEN_BY_CODE(g, 12));
    const std::vector<ListedComponent> listed = SET_LIST_READ(g);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].recordNo, 1);
    EXPECT_EQ(listed[0].line.substr(listed[0].line.size() - 6), "000001");
    EXPECT_EQ(qd::text::trim(g.CUR_SET_NAME), "勝手口セット");
    EXPECT_EQ(g.SET_CODE, 12);

    // The line's colour 03 price, twice: the total every reader of the set shows.
    const r::SetItemPrice price = r::SET_ITEM_PRICE(g, listed[0].rec);
    ASSERT_TRUE(price.lineFound);
    EXPECT_GT(price.listPrice, 0);
    EXPECT_EQ(g.SET_TOTAL, 2 * price.listPrice);
    EXPECT_EQ(g.SET_TOTAL, r::SET_TOTAL_OF(g, {listed[0].rec}));
}

TEST_F(SetFixture, DeleteTakesComponentsOutThroughTheWorkCopyKeepingTheOrder)
{
    makeSet(7, "窓セット", {{"1001", "01", "01", 0, "1"}, {"1002", "02", "02", 1, "3"}, {"1003", "03", "05", 2, "4"}});
    const std::string before = readBytes(setFile(7));
    ASSERT_EQ(before.size(), 480u);

    SET_OPEN_BY_CODE(g, 7);
    ASSERT_EQ(SET_LIST_READ(g).size(), 3u);
    EXPECT_EQ(SET_COMPONENTS_DELETE(g, {2}), 1);
    const std::string after = readBytes(setFile(7));
    EXPECT_EQ(after, before.substr(0, 160) + before.substr(320));
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "WSET00007.TXT"));

    // The set is open again on the new file: its list shows what remains.
    const std::vector<ListedComponent> listed = SET_LIST_READ(g);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[1].rec.bytes(), before.substr(320));

    EXPECT_EQ(SET_COMPONENTS_DELETE(g, {1, 2}), 2);
    EXPECT_EQ(readBytes(setFile(7)), "");
    EXPECT_TRUE(SET_LIST_READ(g).empty());
    SET_FILE_REMOVE(g);
    EXPECT_FALSE(std::filesystem::exists(setFile(7)));
    EXPECT_FALSE(g.SET_OPEN);
}

TEST_F(SetFixture, ChangeReplacesTheChosenComponentAndRenamesEveryOne)
{
    makeSet(3, "旧名", {{"1001", "01", "01", 0, "1"}, {"1002", "02", "02", 1, "3"}});
    SET_OPEN_BY_CODE(g, 3);
    SET_LIST_READ(g);
    ASSERT_TRUE(SET_NAME_TAKE(g, "新名"));
    chooseItem(g, "1003", "03", "04", 0);
    ASSERT_EQ(SET_QTY_TAKE(g, "5"), QtyAnswer::Taken);
    SET_COMPONENT_CHANGE(g, 1);

    const std::vector<ListedComponent> listed = SET_LIST_READ(g);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].rec.raw(r::SetItem::HINSYU2_CD), "1003");
    EXPECT_EQ(listed[0].rec.raw(r::SetItem::SURYO), "00005");
    EXPECT_EQ(listed[1].rec.raw(r::SetItem::HINSYU2_CD), "1002");
    for (const ListedComponent &c : listed)
        EXPECT_EQ(qd::text::trim(c.rec.text(r::SetItem::SET_NAME)), "新名");
    EXPECT_THROW(SET_COMPONENT_CHANGE(g, 3), std::logic_error);
    EXPECT_THROW(SET_COMPONENT_CHANGE(g, 0), std::logic_error);
}

TEST_F(SetFixture, ASetEndingInARecordWithoutANameKeepsTheNameOfItsComponents)
{
    // A record whose name is blank (left by a delete that was cut off) after the component.
    makeSet(4, "勝手口セット", {{"1001", "01", "01", 0, "1"}});
    r::Record blankName(r::SetItem::layout());
    blankName.setSeparators();
    writeBytes(setFile(4), readBytes(setFile(4)) + blankName.bytes());

    SET_OPEN_BY_CODE(g, 4);
    ASSERT_EQ(SET_LIST_READ(g).size(), 1u);
    EXPECT_EQ(qd::text::trim(g.CUR_SET_NAME), "勝手口セット");

    // Changing the component keeps the set's name in it.
    chooseItem(g, "1002", "02", "02", 0);
    ASSERT_EQ(SET_QTY_TAKE(g, "2"), QtyAnswer::Taken);
    SET_COMPONENT_CHANGE(g, 1);
    r::Record first(r::SetItem::layout());
    first.setBytes(readBytes(setFile(4)).substr(0, 160));
    EXPECT_EQ(qd::text::trim(first.text(r::SetItem::SET_NAME)), "勝手口セット");
    EXPECT_EQ(first.raw(r::SetItem::HINSYU2_CD), "1002");
}

TEST_F(SetFixture, WritesThatWouldLoseDataAreRefusedAndLeaveTheFile)
{
    makeSet(5, "浴室セット", {{"1001", "01", "01", 0, "1"}, {"1002", "02", "02", 1, "3"}});
    const std::string original = readBytes(setFile(5));

    // Another program changed the set after it was listed: record numbers may mean others now.
    SET_OPEN_BY_CODE(g, 5);
    SET_LIST_READ(g);
    writeBytes(setFile(5), original.substr(160));
    EXPECT_THROW(SET_COMPONENTS_DELETE(g, {1}), qd::files::FileError);
    EXPECT_THROW(SET_COMPONENT_CHANGE(g, 1), qd::files::FileError);
    EXPECT_THROW(SET_FILE_REMOVE(g), qd::files::FileError);
    EXPECT_EQ(readBytes(setFile(5)), original.substr(160));

    // A file that ends in a part of a record is counted by its whole records and never written.
    const std::string cut = original + original.substr(0, 100);
    writeBytes(setFile(5), cut);
    SET_OPEN_BY_CODE(g, 5);
    EXPECT_EQ(SET_LIST_READ(g).size(), 2u);
    EXPECT_THROW(SET_COMPONENT_ADD(g), qd::files::FileError);
    EXPECT_THROW(SET_COMPONENTS_DELETE(g, {1}), qd::files::FileError);
    EXPECT_THROW(SET_FILE_REMOVE(g), qd::files::FileError);
    EXPECT_EQ(readBytes(setFile(5)), cut);
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "WSET00005.TXT"));

    // No set open: nothing can be written anywhere.
    SET_CLOSE(g);
    EXPECT_THROW(SET_COMPONENT_ADD(g), std::logic_error);
}

TEST(SetAnswers, QuantityAndNameAnswers)
{
    struct Case {
        const char *answer;
        QtyAnswer result;
        std::int32_t qty;
    };
    const std::vector<Case> cases = {
        {"", QtyAnswer::Cancelled, 77},  {"2", QtyAnswer::Taken, 2},       {"123456", QtyAnswer::Taken, 12345},
        {"abc", QtyAnswer::Taken, 0},    {" 3 ", QtyAnswer::Taken, 3},     {"2.5", QtyAnswer::Taken, 2},
        {"3.5", QtyAnswer::Taken, 4},    {"-5", QtyAnswer::Refused, 77},   {"9e9", QtyAnswer::Refused, 77},
    };
    for (const Case &c : cases) {
        SethinState g;
        g.SET_QTY = 77;
        EXPECT_EQ(SET_QTY_TAKE(g, c.answer), c.result) << c.answer;
        EXPECT_EQ(g.SET_QTY, c.qty) << c.answer;
    }

    SethinState g;
    g.CUR_SET_NAME = "残る名";
    EXPECT_FALSE(SET_NAME_TAKE(g, "   "));
    EXPECT_FALSE(SET_NAME_TAKE(g, ""));
    EXPECT_EQ(g.CUR_SET_NAME, "残る名");
    EXPECT_TRUE(SET_NAME_TAKE(g, "とても長いセットの名前はここで切れます"));
    EXPECT_EQ(qd::text::cp932Width(g.CUR_SET_NAME), 30u);
}

TEST_F(SetFixture, ItemChoiceFollowsTheCodesOfTheChosenLines)
{
    majorChosen(g, lineStarting(majorLines(g), "01"));
    EXPECT_EQ(g.SEL_MAKER, 1);
    const std::vector<ChoiceLine> classes = classLines(g);
    ASSERT_EQ(classes.size(), 3u);
    EXPECT_EQ(classes[1].text, "02 ＦＩＸ窓" + std::string(12 + 5, ' ') + "00002");
    classChosen(g, classes[0]);
    const ChoiceLine kind1 = lineStarting(kind1Lines(g), "1100");
    kind1Chosen(g, kind1);
    const std::vector<ChoiceLine> kinds2 = kind2Lines(g, kind1.rec);
    ASSERT_EQ(kinds2.size(), 2u); // 1101, 1102: only the kind 2 of kind 1 11xx
    EXPECT_EQ(kinds2[0].text.substr(0, 4), "1101");
    kind2Chosen(g, kinds2[1]);
    sectionChosen(g, lineStarting(sectionLines(g), "02"));
    EXPECT_EQ(g.PRICE_FILE_KEY, "01011100");
    const std::vector<ChoiceLine> prices = priceLines(g);
    ASSERT_FALSE(prices.empty());
    for (const ChoiceLine &p : prices) {
        EXPECT_EQ(p.rec.raw(r::Price::HINSYU2_CD), "1102");
        EXPECT_EQ(p.rec.raw(r::Price::CIHO_CD), "02");
    }
    priceLineChosen(g, prices[0]);
    EXPECT_EQ(g.SEL_KIGO, prices[0].rec.raw(r::Price::KIGO));

    // A kind 1 chosen before a section: a key that is no file name lists nothing.
    g.SEL_MAKER = -1;
    sectionChosen(g, lineStarting(sectionLines(g), "02"));
    EXPECT_TRUE(priceLines(g).empty());
}

TEST_F(SetFixture, ComponentPanelShowsTheColourPriceTheTotalCounts)
{
    // A price line whose slot 3 has a colour but no price, and slot 17 beyond the grid.
    namespace P = r::Price;
    namespace S = r::SetItem;
    const r::Record line = recordOf(P::layout(), {{P::MAKER_CD, "01"}, {P::BUNRUI_CD, "01"}, {P::HINSYU2_CD, "1001"},
                                                  {P::CIHO_CD, "01"}, {P::KIGO, "PANEL-1"}, {P::W_MIRI, "01234"},
                                                  {P::W_SYAKU, "0250"}, {P::iroCd(1), "001"}, {P::tanka(1), "0001000"},
                                                  {P::iroCd(2), "002"}, {P::tanka(2), "0002000"}, {P::iroCd(3), "003"},
                                                  {P::iroCd(4), "004"}, {P::tanka(4), "0004000"}, {P::iroCd(17), "004"},
                                                  {P::tanka(17), "0004500"}});
    writeBytes(inst.data() / "01011000.txt", line.bytes());
    r::Record comp = recordOf(S::layout(), {{S::MAKER_CD, "01"}, {S::BUNRUI_CD, "01"}, {S::HINSYU2_CD, "1001"},
                                            {S::CIHO_CD, "01"}, {S::KIGO, "PANEL-1"}, {S::IRO_CD, "04"},
                                            {S::SURYO, "00012"}});
    comp.setText(S::SET_NAME, "見本");

    const PanelContent p = componentPanel(g, comp, 1);
    EXPECT_TRUE(p.lineFound);
    EXPECT_EQ(qd::text::trim(p.majorName), "アルミサッシ");
    EXPECT_EQ(qd::text::trim(p.className), "引違い窓");
    EXPECT_EQ(qd::text::trim(p.kind1Name), "引違い２枚建");
    EXPECT_EQ(qd::text::trim(p.kind2Name), "標準タイプ");
    EXPECT_EQ(qd::text::trim(p.sectionName), "半外付");
    EXPECT_EQ(qd::text::trim(p.colourName), "ホワイト");
    EXPECT_EQ(p.colourPrice, "4,500"); // the last slot of colour 4, as the total takes it
    EXPECT_EQ(r::SET_ITEM_PRICE(g, comp).amount(), 12 * 4500);
    EXPECT_EQ(p.quantity, "12");
    EXPECT_EQ(g.SET_QTY, 12);
    EXPECT_EQ(p.wMm, "123.4");
    EXPECT_EQ(p.wShaku, "2.50");
    EXPECT_EQ(p.hMm, "0.0");
    // Each entry shows its own slot's colour and price; the priceless slot 3 shows 0.
    EXPECT_EQ(qd::text::trim(p.colourNames[2]), "ブロンズ");
    EXPECT_EQ(p.prices[2], "0");
    EXPECT_EQ(qd::text::trim(p.colourNames[3]), "ホワイト");
    EXPECT_EQ(p.prices[3], "4,000");
    EXPECT_EQ(p.prices[4], "4,500"); // slot 17 fills entry 5
    EXPECT_EQ(p.colourNames[5], FRAME2_EMPTY_COLOUR);
    EXPECT_EQ(p.prices[5], "0");

    comp.setRaw(r::SetItem::KIGO, "GONE");
    const PanelContent missing = componentPanel(g, comp, 1);
    EXPECT_FALSE(missing.lineFound);
    EXPECT_EQ(qd::text::trim(missing.majorName), "アルミサッシ");
    EXPECT_EQ(missing.colourPrice, "");
    EXPECT_EQ(missing.prices[0], "");
}

TEST_F(SetFixture, AFailingDiskAtAnyStepLeavesTheSetAsItWasOrWhollyWritten)
{
    makeSet(9, "窓セット", {{"1001", "01", "01", 0, "1"}, {"1002", "02", "02", 1, "3"}});
    const std::string before = readBytes(setFile(9));
    const std::vector<std::string> entries = qd::testing::entriesOf(inst.data());
    const auto run = [&] {
        SET_OPEN_BY_CODE(g, 9);
        SET_LIST_READ(g);
        SET_COMPONENTS_DELETE(g, {1});
    };
    const int steps = qd::testing::stepsOf(run);
    const std::string after = readBytes(setFile(9));
    ASSERT_EQ(after, before.substr(160));
    ASSERT_GT(steps, 0);
    for (int n = 1; n <= steps; ++n) {
        writeBytes(setFile(9), before);
        bool threw = false;
        {
            qd::files::ScopedFault fault(qd::files::FileStep::Any, n);
            try {
                run();
            } catch (const qd::files::FileError &e) {
                threw = true;
                EXPECT_EQ(e.reason(), std::strerror(ENOSPC)) << "step " << n;
            }
        }
        EXPECT_EQ(readBytes(setFile(9)), threw ? before : after) << "step " << n;
        EXPECT_EQ(qd::testing::entriesOf(inst.data()), entries) << "step " << n;
    }
}
