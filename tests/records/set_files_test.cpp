// Set files and the list price of a set component, on small hand-built files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/text/cp932.h"
#include "records/set_files.h"
#include "tests/support/fault_runs.h"
#include "tests/support/temp_install.h"

using namespace qd::records;
using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::testing::writeBytes;

namespace {

struct Component {
    std::string name = "玄関セット";
    std::string maker = "01", bunrui = "02", hinsyu2 = "2001", ciho = "00";
    std::string kigo = "DR-1", biko = "";
    std::string iro = "05", suryo = "00001";
};

Record component(const Component &c)
{
    Record r(SetItem::layout());
    r.setText(SetItem::SET_NAME, c.name);
    r.setRaw(SetItem::MAKER_CD, c.maker);
    r.setRaw(SetItem::BUNRUI_CD, c.bunrui);
    r.setRaw(SetItem::HINSYU2_CD, c.hinsyu2);
    r.setRaw(SetItem::CIHO_CD, c.ciho);
    r.setRaw(SetItem::KIGO, qd::text::toCp932(c.kigo));
    r.setRaw(SetItem::BIKO, qd::text::toCp932(c.biko));
    r.setRaw(SetItem::IRO_CD, c.iro);
    r.setRaw(SetItem::SURYO, c.suryo);
    r.setSeparators();
    return r;
}

struct Slot {
    std::string iro, tanka;
};

Record priceLine(const std::string &kigo, const std::vector<Slot> &slots, const std::string &biko = "",
                 const std::string &hinsyu2 = "2001")
{
    Record p(Price::layout());
    p.setRaw(Price::MAKER_CD, "01");
    p.setRaw(Price::BUNRUI_CD, "02");
    p.setRaw(Price::HINSYU2_CD, hinsyu2);
    p.setRaw(Price::CIHO_CD, "00");
    p.setRaw(Price::KIGO, kigo);
    p.setRaw(Price::BIKO, biko);
    for (std::size_t s = 0; s < slots.size(); ++s) {
        p.setRaw(Price::iroCd(static_cast<int>(s) + 1), slots[s].iro);
        p.setRaw(Price::tanka(static_cast<int>(s) + 1), slots[s].tanka);
    }
    p.setSeparators();
    return p;
}

std::string bytesOf(const std::vector<Record> &records)
{
    std::string b;
    for (const Record &r : records)
        b += r.bytes();
    return b;
}

} // namespace

TEST(SetFiles, RecordIsTheSharedByteLayout)
{
    Record r = component({});
    r.setNumber(SetItem::SURYO, 12, "00000");
    const std::string expected = qd::text::toCp932("玄関セット") + std::string(20, ' ') + ",01,02,2001,00," + "DR-1" +
                                 std::string(21, ' ') + "," + std::string(50, ' ') + ",05,00012," +
                                 std::string(27, ' ') + "\r\n";
    EXPECT_EQ(r.bytes(), expected);
    EXPECT_EQ(r.bytes().size(), 160u);
}

TEST(SetFiles, CodesAndFileNamesReadBackOnlyForOneToNinetyNineThousand)
{
    EXPECT_EQ(setFileName(12), "SET00012.TXT");
    EXPECT_EQ(setFileName(99999), "SET99999.TXT");
    EXPECT_THROW(setFileName(0), std::out_of_range);
    EXPECT_THROW(setFileName(100000), std::out_of_range);
    EXPECT_THROW(setFileName(-1), std::out_of_range);

    const std::vector<std::pair<const char *, int>> names = {
        {"SET00012.TXT", 12}, {"set00120.txt", 120}, {"Set99999.Txt", 99999}, {"SET00000.TXT", 0},
        {"SET123456.TXT", 0}, {"SET-0001.TXT", 0}, {"SET0001A.TXT", 0}, {"SET00012.TXT.bak", 0},
        {"WSET00012.TXT", 0}, {"SET 0012.TXT", 0},
    };
    for (const auto &[name, code] : names)
        EXPECT_EQ(setCodeOf(name), code) << name;
}

TEST(SetFiles, OpenCountsWholeRecordsAndNeverCreatesTheFile)
{
    TempInstall inst(TempInstall::Content::Empty);
    std::filesystem::create_directories(inst.data());
    RecordsState g;
    g.INST_DIR = inst.dir();

    g.SET_FILE_NAME = " SET00007.TXT ";
    SET_FILE_OPEN(g);
    EXPECT_EQ(g.SET_FILE_NAME, "SET00007.TXT");
    EXPECT_EQ(g.SET_CTL.recordCount, 0);
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "SET00007.TXT"));

    // 250 bytes: one whole record and 90 bytes of a second (a rounding count would make it 2).
    const std::string one = component({}).bytes();
    writeBytes(inst.data() / "set00008.txt", one + one.substr(0, 90));
    g.SET_FILE_NAME = "SET00008.TXT";
    SET_FILE_OPEN(g);
    EXPECT_EQ(g.SET_CTL.recordCount, 1);
    EXPECT_EQ(setPartialBytes(g), 90);

    g.SET_FILE_NAME = "..\\SET00008.TXT";
    EXPECT_THROW(SET_FILE_OPEN(g), qd::files::FileError);
    g.SET_FILE_NAME = "SET123456.TXT";
    EXPECT_THROW(SET_FILE_OPEN(g), qd::files::FileError);
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "SET123456.TXT"));
}

TEST(SetFiles, ListShowsSetsInNameOrderWithoutTouchingTheOpenSet)
{
    TempInstall inst(TempInstall::Content::Empty);
    RecordsState g;
    g.INST_DIR = inst.dir();
    Component c;
    c.name = "浴室セット";
    const std::string bath = component(c).bytes();
    std::string withNul = component({}).bytes();
    withNul.replace(4, 1, std::string(1, '\0')); // after "玄関": a NUL, then other bytes
    writeBytes(inst.data() / "SET00003.TXT", bath + bath);
    writeBytes(inst.data() / "set00001.txt", withNul);
    writeBytes(inst.data() / "SET00002.TXT", "");                     // no records: no set
    writeBytes(inst.data() / "SET00004.TXT", bath.substr(0, 100));    // no whole record
    writeBytes(inst.data() / "SET123456.TXT", bath);                  // no set code
    writeBytes(inst.data() / "SET-0001.TXT", bath);
    writeBytes(inst.data() / "OTHER.TXT", bath);

    g.SET_FILE_NAME = "SET00003.TXT";
    SET_FILE_OPEN(g);
    g.SET_CTL.get(2, g.SET_REC);
    const Record openRec = g.SET_REC;

    const std::vector<SetListEntry> list = SET_FILE_LIST(g);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].fileName, "set00001.txt");
    EXPECT_EQ(list[0].code, 1);
    EXPECT_EQ(list[0].setName, "玄関" + std::string(26, ' '));
    EXPECT_EQ(list[1].fileName, "SET00003.TXT");
    EXPECT_EQ(list[1].records, 2);
    EXPECT_EQ(qd::text::trim(list[1].setName), "浴室セット");

    EXPECT_EQ(g.SET_FILE_NAME, "SET00003.TXT");
    EXPECT_TRUE(g.SET_CTL.file.isOpen());
    EXPECT_EQ(g.SET_REC, openRec);
    EXPECT_EQ(g.SET_CTL.recordCount, 2);
}

TEST(SetFiles, ComponentPriceTakesTheLastSlotOfItsColourOnTheTrimmedLine)
{
    struct Case {
        const char *what;
        Component comp;
        std::vector<Record> lines;
        bool found;
        std::int64_t price;
        std::int64_t amount;
    };
    auto with = [](auto change) {
        Component c;
        change(c);
        return c;
    };
    const std::string nulKigo = std::string("AB") + '\0' + "xyz";
    const std::vector<Case> cases = {
        {"colour compared by value", with([](Component &c) { c.suryo = "00003"; }),
         {priceLine("DR-1", {{"003", "0001000"}, {"005", "0001200"}})}, true, 1200, 3600},
        {"blank-led code is the same colour", with([](Component &) {}),
         {priceLine("DR-1", {{"  5", "0000800"}})}, true, 800, 800},
        {"two slots of the colour: the last", with([](Component &) {}),
         {priceLine("DR-1", {{"005", "0001000"}, {"004", "0000500"}, {"005", "0001100"}})}, true, 1100, 1100},
        {"colourless item priced in colour 000", with([](Component &c) { c.iro = "00"; }),
         {priceLine("DR-1", {{"000", "0000600"}})}, true, 600, 600},
        {"no slot of the colour", with([](Component &c) { c.iro = "07"; }),
         {priceLine("DR-1", {{"005", "0001000"}})}, true, 0, 0},
        {"symbol cut at NUL on the line", with([](Component &c) { c.kigo = "AB"; }),
         {priceLine(nulKigo, {{"005", "0000900"}})}, true, 900, 900},
        {"leading blanks on either side", with([](Component &c) { c.kigo = " DR-1"; c.biko = "網戸別途"; }),
         {priceLine("DR-1  ", {{"005", "0000700"}}, qd::text::toCp932("  網戸別途"))}, true, 700, 700},
        {"remark must agree", with([](Component &c) { c.biko = "網戸別途"; }),
         {priceLine("DR-1", {{"005", "0000700"}})}, false, 0, 0},
        {"kind 2 must agree", with([](Component &) {}),
         {priceLine("DR-1", {{"005", "0000700"}}, "", "2002")}, false, 0, 0},
        {"first matching line", with([](Component &) {}),
         {priceLine("DR-1", {{"005", "0000100"}}), priceLine("DR-1", {{"005", "0000200"}})}, true, 100, 100},
        {"blank quantity", with([](Component &c) { c.suryo = "     "; }),
         {priceLine("DR-1", {{"005", "0001000"}})}, true, 1000, 0},
    };
    for (const Case &k : cases) {
        TempInstall inst(TempInstall::Content::Empty);
        // The price file is named with ".txt", the rule names it with ".TXT": letter case aside.
        writeBytes(inst.data() / "01022000.txt", bytesOf(k.lines));
        RecordsState g;
        g.INST_DIR = inst.dir();
        const SetItemPrice p = SET_ITEM_PRICE(g, component(k.comp));
        EXPECT_EQ(p.lineFound, k.found) << k.what;
        EXPECT_EQ(p.listPrice, k.price) << k.what;
        EXPECT_EQ(p.amount(), k.amount) << k.what;
        if (k.found) {
            EXPECT_EQ(g.TANKA_REC, k.lines[p.lineRecord - 1]) << k.what;
        }
    }
}

TEST(SetFiles, MissingOrUnnamedPriceFilesPriceNothingAndStayMissing)
{
    TempInstall inst(TempInstall::Content::Empty);
    std::filesystem::create_directories(inst.data());
    RecordsState g;
    g.INST_DIR = inst.dir();

    SetItemPrice p = SET_ITEM_PRICE(g, component({}));
    EXPECT_FALSE(p.lineFound);
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "01022000.TXT"));

    Component odd;
    odd.maker = "..";
    odd.bunrui = "/x";
    const Record r = component(odd);
    EXPECT_EQ(setPriceFileName(r), "");
    p = SET_ITEM_PRICE(g, r);
    EXPECT_FALSE(p.lineFound);
    EXPECT_TRUE(qd::testing::entriesOf(inst.data()).empty());
}

TEST(SetFiles, TotalAddsListPriceTimesQuantityOfEveryComponent)
{
    TempInstall inst(TempInstall::Content::Empty);
    writeBytes(inst.data() / "01022000.TXT",
               bytesOf({priceLine("A", {{"005", "0001200"}}), priceLine("B", {{"012", "0000450"}})}));
    RecordsState g;
    g.INST_DIR = inst.dir();
    Component a, b, gone, lost;
    a.kigo = "A";
    a.suryo = "00003";
    b.kigo = "B";
    b.iro = "12";
    b.suryo = "00010";
    gone = a;
    gone.name = "";  // no component: not priced
    lost.kigo = "C"; // no price line: adds nothing
    EXPECT_EQ(SET_TOTAL_OF(g, {component(a), component(b), component(gone), component(lost)}), 8100);

    writeBytes(inst.data() / "SET00012.TXT", component(a).bytes() + component(b).bytes());
    g.SET_FILE_NAME = "SET00012.TXT";
    SET_FILE_OPEN(g);
    EXPECT_EQ(SET_TOTAL_OF_OPEN_SET(g), 8100);
}

TEST(SetFiles, DemoSetsListAndPriceEveryComponent)
{
    TempInstall inst;
    RecordsState g;
    g.INST_DIR = inst.dir();
    const std::vector<SetListEntry> list = SET_FILE_LIST(g);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].fileName, "SET00001.TXT");
    EXPECT_EQ(qd::text::trim(list[1].setName), "テラス屋根・フェンスセット");
    for (const SetListEntry &e : list) {
        g.SET_FILE_NAME = e.fileName;
        SET_FILE_OPEN(g);
        ASSERT_EQ(g.SET_CTL.recordCount, 2);
        for (std::int32_t n = 1; n <= g.SET_CTL.recordCount; ++n) {
            g.SET_CTL.get(n, g.SET_REC);
            const SetItemPrice p = SET_ITEM_PRICE(g, g.SET_REC);
            EXPECT_TRUE(p.lineFound) << e.fileName << " " << n;
            EXPECT_GT(p.listPrice, 0) << e.fileName << " " << n;
        }
        EXPECT_GT(SET_TOTAL_OF_OPEN_SET(g), 0);
    }
}
