// Record layouts, buffers and openers against hand-built bytes and awkward files.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/text/cp932.h"
#include "records/layouts.h"
#include "records/records_state.h"
#include "records/whole_file.h"
#include "tests/support/temp_install.h"

using namespace qd::records;
using qd::testing::TempInstall;
using qd::text::toCp932;

namespace {

std::string pad(const std::string &utf8, std::size_t width)
{
    std::string b = toCp932(utf8);
    b.resize(width, ' ');
    return b;
}
std::string blanks(std::size_t n) { return std::string(n, ' '); }
const std::string CRLF = "\r\n";

struct GoldenCase {
    const char *name;
    std::function<Record()> build;
    std::string expected;
};

} // namespace

TEST(RecordLayouts, WrittenRecordsEqualHandBuiltBytesAndReadBack)
{
    const std::vector<GoldenCase> cases = {
        {"major class",
         [] {
             Record r(MajorClass::layout());
             r.setText(MajorClass::MAKER_CD, "01");
             r.setText(MajorClass::NAME, "アルミサッシ");
             r.setSeparators();
             return r;
         },
         "01," + pad("アルミサッシ", 20) + "," + blanks(6) + CRLF},
        {"class",
         [] {
             Record r(Class::layout());
             r.setText(Class::MAKER_CD, "02");
             r.setText(Class::BUNRUI_CD, "11");
             r.setText(Class::NAME, "複層ｶﾞﾗｽ");
             r.setSeparators();
             return r;
         },
         "02,11," + pad("複層ｶﾞﾗｽ", 20) + "," + blanks(3) + CRLF},
        {"item",
         [] {
             RecordsState g;
             TANPIN_REC_CLEAR(g);
             TANPIN_SEP_SET(g);
             g.ITEM_EDIT_CD = 7;
             g.ITEM_EDIT_NAME = "網戸";
             g.ITEM_EDIT_TANKA = 1234;
             g.ITEM_EDIT_GENKA = 987;
             TANPIN_REC_SET(g);
             return g.TANPIN_REC;
         },
         "0007," + pad("網戸", 50) + ",0001234,0000987," + blanks(54) + CRLF},
        {"partner",
         [] {
             Record r(Partner::layout());
             r.setText(Partner::TOKUI_CD, "0012");
             r.setText(Partner::NAME, "山川建設");
             r.setSeparators();
             return r;
         },
         "0012," + pad("山川建設", 50) + "," + blanks(6) + CRLF},
        {"kind 1 with rates",
         [] {
             Record r(Kind1::layout());
             r.setText(Kind1::MAKER_CD, "01");
             r.setText(Kind1::BUNRUI_CD, "02");
             r.setText(Kind1::HINSYU1_CD, "1000");
             r.setText(Kind1::NAME, "引違い");
             r.setNumber(Kind1::uriRate(1), 6550, "00000");
             r.setNumber(Kind1::siireRate(1), 5000, "00000");
             r.setSeparators();
             return r;
         },
         [] {
             std::string s = "01,02,1000," + pad("引違い", 36) + ",06550,05000,";
             for (int k = 3; k <= 20; ++k)
                 s += blanks(5) + ",";
             return s + blanks(86) + CRLF;
         }()},
        {"own company: no separator between rate and registration number",
         [] {
             Record r(OwnCompany::layout());
             r.setText(OwnCompany::JISYA_NAME, "見本");
             r.setText(OwnCompany::KAKERITU, "3");
             r.setText(OwnCompany::TOUROKU_NO, "T1");
             r.setText(OwnCompany::FURIKOMI_4, "振込");
             r.setSeparators();
             return r;
         },
         pad("見本", 50) + "," + blanks(50) + "," + blanks(50) + "," + blanks(10) + "," + blanks(15) + "," +
             blanks(15) + "," + pad("3", 29) + pad("T1", 29) + "," + blanks(50) + "," + blanks(50) + "," +
             blanks(50) + "," + pad("振込", 50) + blanks(52) + CRLF},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Record r = c.build();
        ASSERT_EQ(r.bytes().size(), static_cast<std::size_t>(r.layout().length));
        EXPECT_EQ(r.bytes(), c.expected);
        Record back(r.layout());
        back.setBytes(c.expected);
        for (int f = 0; f < back.fieldCount(); ++f)
            EXPECT_EQ(back.text(f), r.text(f)) << r.layout().fields[f].name;
    }
}

TEST(RecordLayouts, FieldOffsetsMatchTheFileFormats)
{
    struct OffsetCase { const Layout &layout; int field; int offset; int width; };
    const OffsetCase cases[] = {
        {OwnCompany::layout(), OwnCompany::TOUROKU_NO, 225, 29},
        {OwnCompany::layout(), OwnCompany::FURIKOMI_4, 408, 50},
        {OwnCompany::layout(), OwnCompany::FILLER, 458, 52},
        {Kind1::layout(), Kind1::rateSlot(1), 48, 5},
        {Kind1::layout(), Kind1::rateSlot(20), 48 + 6 * 19, 5},
        {Kind2::layout(), Kind2::rateSlot(1), 44, 5},
        {Kind2::layout(), Kind2::FILLER, 164, 90},
        {Price::layout(), Price::KIGO, 14, 25},
        {Price::layout(), Price::W_SYAKU, 73, 4},
        {Price::layout(), Price::iroCd(1), 83, 3},
        {Price::layout(), Price::tanka(20), 87 + 12 * 19, 7},
        {Price::layout(), Price::grpText(4), 323 + 43 * 3, 20},
        {Price::layout(), Price::BIKO, 495, 50},
        {Item::layout(), Item::GENKA, 64, 7},
        {InstallDir::layout(), InstallDir::INSTALL_DIR, 128, 512},
        {DocHeader::layout(), DocHeader::KAKERITU, 186, 10},
        {DocLine::layout(), DocLine::ZEI_GAKU, 645, 15},
        {DocLine::layout(), DocLine::HINBAN, 548, 85},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.layout.fields[c.field].name);
        EXPECT_EQ(c.layout.fields[c.field].offset, c.offset);
        EXPECT_EQ(c.layout.fields[c.field].width, c.width);
    }

    // Numbered fields carry their names as the file formats spell them.
    struct NameCase { const Layout &layout; int field; const char *name; };
    const NameCase names[] = {
        {Kind1::layout(), Kind1::uriRate(1), "URI_RATE_01"},   {Kind2::layout(), Kind2::siireRate(10), "SIIRE_RATE_10"},
        {Price::layout(), Price::iroCd(20), "IRO_CD_20"},      {Price::layout(), Price::tanka(1), "TANKA_01"},
        {Price::layout(), Price::grpText(1), "GRP_1_TEXT"},    {Price::layout(), Price::grpText(4) + 1, "GRP_4_CD"},
        {Price::layout(), Price::grpText(2) + 3, "GRP_2_VAL_B"}, {Price::layout(), Price::BIKO - 1, "GRP_4_KBN"},
    };
    for (const auto &c : names)
        EXPECT_STREQ(c.layout.fields[c.field].name, c.name);
}

TEST(RecordBuffers, NumbersAndTextsReadBackTheWayTheProgramsTakeThem)
{
    Record k(Kind1::layout());
    k.setText(Kind1::uriRate(1), "06550");
    EXPECT_EQ(k.fixedValue(Kind1::uriRate(1)) / qd::text::Fixed4::fromInt(100), qd::text::Fixed4::fromRaw(655000));
    EXPECT_EQ(k.number(Kind1::uriRate(2)), 0); // blank rate slot
    k.setText(Kind1::siireRate(1), "ab12");
    EXPECT_EQ(k.number(Kind1::siireRate(1)), 0); // letters where digits belong

    // 15 double-byte characters in a 20-byte field keep 10.
    Record m(MajorClass::layout());
    m.setText(MajorClass::NAME, "一二三四五六七八九十百千万億兆");
    EXPECT_EQ(m.text(MajorClass::NAME), "一二三四五六七八九十");
    // A cut that would split a character drops it and pads with a blank.
    m.setText(MajorClass::NAME, "a一二三四五六七八九十");
    EXPECT_EQ(m.text(MajorClass::NAME), "a一二三四五六七八九 ");
    EXPECT_EQ(m.raw(MajorClass::NAME).size(), 20u);
}

TEST(RecordBuffers, ANumberUnderAZeroPatternKeepsItsSignInItsWidth)
{
    // A discount item's negative price takes its sign into the seven places of TANKA and reads
    // back as itself; a value too wide for the field keeps its last digits, and nothing of it
    // reaches the separator after it.
    struct Case {
        std::int64_t value;
        const char *stored;
        std::int64_t reads;
    } const cases[] = {
        {1234567, "1234567", 1234567}, {0, "0000000", 0},           {-5, "-000005", -5},
        {-999999, "-999999", -999999}, {12345678, "2345678", 2345678}, {-1000000, "-000000", 0},
    };
    for (const Case &c : cases) {
        Record r(Item::layout());
        r.setSeparators();
        r.setNumber(Item::TANKA, c.value, "0000000");
        EXPECT_EQ(r.raw(Item::TANKA), c.stored) << c.value;
        EXPECT_EQ(r.number(Item::TANKA), c.reads) << c.value;
        EXPECT_EQ(r.bytes()[63], ',');
    }
}

TEST(RecordBuffers, OwnCompanyNameIsCutAtItsFirstNul)
{
    RecordsState g;
    std::string bytes = g.SYSF_REC.bytes();
    bytes.replace(0, 8, std::string("ABC\0xyz!", 8));
    g.SYSF_REC.setBytes(bytes);
    SYSF_TO_GLOBALS(g);
    EXPECT_EQ(g.OWN_JISYA_NAME, "ABC" + blanks(47));
    EXPECT_EQ(g.SYSF_REC.raw(OwnCompany::JISYA_NAME), "ABC" + blanks(47));
    EXPECT_EQ(g.OWN_KAKERITU.size(), 29u);
}

TEST(RecordOpeners, OpenCountAndCreateFilesBelowTheInstallFolder)
{
    TempInstall inst(TempInstall::Content::Empty);
    std::filesystem::create_directories(inst.data());
    RecordsState g;
    g.INST_DIR = inst.dir() + "   ";

    // Missing file: created empty, 0 records; the install folder is trimmed in place.
    TOKF_OPEN(g);
    EXPECT_EQ(g.INST_DIR, inst.dir());
    EXPECT_EQ(g.TOKF_CTL.recordCount, 0);
    g.TOKF_CTL.close();
    EXPECT_TRUE(std::filesystem::exists(inst.data() / "TOKF.SSS"));

    // Partial records round half to even.
    struct CountCase { int bytes; int count; };
    for (const CountCase c : {CountCase{45, 1}, CountCase{48, 2}, CountCase{80, 2}, CountCase{0, 0}}) {
        qd::testing::writeBytes(inst.data() / "maker.txt", std::string(c.bytes, 'x'));
        MAKER_OPEN(g); // found as MAKER.TXT whatever the case on disk
        EXPECT_EQ(g.MAKER_CTL.recordCount, c.count) << c.bytes << " bytes";
        EXPECT_EQ(g.MAKER_CTL.lastRecord, c.count);
        EXPECT_EQ(g.REC_CURSOR, 1);
        g.MAKER_CTL.close();
    }
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "MAKER.TXT"));

    g.MAJOR_NO = 3;
    HISYU1_OPEN(g);
    EXPECT_EQ(std::filesystem::path(g.HISYU1_CTL.file.hostPath()).filename(), "HISYU103.TXT");
    g.HISYU1_CTL.close();

    // The read-only price opener never creates a missing list-price file.
    g.TANKA_NAME = " 01011000.txt ";
    TANKA_OPEN_READ(g);
    EXPECT_EQ(g.TANKA_NAME, "01011000.txt");
    EXPECT_EQ(g.TANKA_CTL.recordCount, 0);
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "01011000.txt"));
}

TEST(RecordOpeners, BadFilesReadWithoutCrashing)
{
    TempInstall inst(TempInstall::Content::Empty);
    RecordsState g;
    g.INST_DIR = inst.dir();
    // A truncated second record, a lone lead byte, NULs and letters in the code field.
    std::string bytes = "01," + pad("サッシ", 20) + "," + blanks(6) + CRLF;
    bytes += std::string("A\x82", 2) + "," + std::string("\0\0\x81", 3) + "\xff\xfe";
    qd::testing::writeBytes(inst.data() / "MAKER.TXT", bytes);
    MAKER_OPEN(g);
    ASSERT_EQ(g.MAKER_CTL.recordCount, 1); // 40 bytes of 32-byte records
    for (int n = 1; n <= 3; ++n) {
        g.MAKER_CTL.get(n, g.MAKER_REC);
        EXPECT_EQ(g.MAKER_REC.bytes().size(), 32u);
        (void)g.MAKER_REC.text(MajorClass::NAME);
        (void)g.MAKER_REC.number(MajorClass::MAKER_CD);
    }
    g.MAKER_CTL.get(2, g.MAKER_REC);
    EXPECT_EQ(g.MAKER_REC.number(MajorClass::MAKER_CD), 0);
    g.MAKER_CTL.close();
}

TEST(DemoInstall, WritesTheMastersAProgramNeeds)
{
    TempInstall inst;
    for (const char *f : {"MAKER.TXT", "BUNRUI.TXT", "IRO.TXT", "CIHO.TXT", "HISYU101.TXT", "HISYU201.TXT",
                          "TANPIN.TXT", "TOKF.SSS", "SYSF.SSS", "syohizei_calc.fil", "01011000.txt"})
        EXPECT_TRUE(std::filesystem::exists(inst.data() / f)) << f;
    EXPECT_TRUE(std::filesystem::is_directory(inst.data() / "SELECT"));
    EXPECT_EQ(std::filesystem::file_size(inst.data() / "syohizei_calc.fil"), 64u);
    EXPECT_EQ(std::filesystem::file_size(inst.data() / "SYSF.SSS"), 512u);

    RecordsState g;
    g.INST_DIR = inst.dir();
    g.MAJOR_NO = 1;
    HISYU2_OPEN(g);
    ASSERT_GT(g.HISYU2_CTL.recordCount, 0);
    g.HISYU2_CTL.get(1, g.HISYU2_REC);
    for (int rank = 1; rank <= 10; ++rank)
        EXPECT_GT(g.HISYU2_REC.number(Kind2::uriRate(rank)), 0) << rank;
    g.HISYU2_CTL.close();
}

TEST(WholeFile, RecordsCountedWholeOrRoundedAsTheOpenersCountThem)
{
    TempInstall inst(TempInstall::Content::Empty);
    std::filesystem::create_directories(inst.data());
    const std::string path = inst.dir() + "\\data\\MAKER.TXT";
    const WholeRecords missing = readWholeRecords(path, 32, RecordCount::Rounded);
    EXPECT_FALSE(missing.exists);
    EXPECT_EQ(missing.count, 0);
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "MAKER.TXT"));

    // A part of a record at the end is left out, or (rounded, from half a record on) completed
    // with blanks.
    struct Case {
        int bytes, whole, rounded;
    } const cases[] = {{0, 0, 0}, {45, 1, 1}, {48, 1, 2}, {64, 2, 2}, {80, 2, 2}, {81, 2, 3}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes);
        const std::string bytes(static_cast<std::size_t>(c.bytes), 'x');
        qd::testing::writeBytes(inst.data() / "MAKER.TXT", bytes);
        const WholeRecords whole = readWholeRecords(path, 32);
        const WholeRecords rounded = readWholeRecords(path, 32, RecordCount::Rounded);
        EXPECT_EQ(whole.count, c.whole);
        EXPECT_EQ(rounded.count, c.rounded);
        EXPECT_EQ(whole.partialBytes, c.bytes % 32);
        EXPECT_EQ(whole.bytes, bytes.substr(0, static_cast<std::size_t>(c.whole) * 32));
        std::string completed = bytes;
        completed.resize(static_cast<std::size_t>(c.rounded) * 32, ' ');
        EXPECT_EQ(rounded.bytes, completed);
        EXPECT_EQ(readRecordList(path, MajorClass::layout(), RecordCount::Rounded).size(),
                  static_cast<std::size_t>(c.rounded));
    }
}

TEST(WholeFile, AFileThatEndsInAPartOfARecordIsToldOfOnceInOneWording)
{
    const std::string path = "C:\\inst\\data\\TANPIN.TXT";
    const std::string file = qd::files::hostPath(path).string();
    struct Case {
        std::int64_t size;
        std::int32_t length;
        PartialRecordUse use;
        const char *what, *reason;
    } const cases[] = {
        {2314, 128, PartialRecordUse::Shown, "切れた最後の 10 バイトを除き、揃っているレコード 18 件だけを表示します。",
         "最後のレコードが途中で切れています。大きさ 2,314 バイト：128 バイトのレコード 18 件と 10 バイト"},
        {250, 160, PartialRecordUse::Shown, "切れた最後の 90 バイトを除き、揃っているレコード 1 件だけを表示します。",
         "最後のレコードが途中で切れています。大きさ 250 バイト：160 バイトのレコード 1 件と 90 バイト"},
        {100, 160, PartialRecordUse::Shown, "揃ったレコードが 1 件もないため、何も表示しません。",
         "最後のレコードが途中で切れています。大きさ 100 バイト：160 バイトのレコード 0 件と 100 バイト"},
        {2314, 128, PartialRecordUse::Exported, "切れた最後の 10 バイトを除き、揃っているレコード 18 件だけを書き出しました。",
         "最後のレコードが途中で切れています。大きさ 2,314 バイト：128 バイトのレコード 18 件と 10 バイト"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const PartialRecordNotice n = partialRecordNotice(path, c.size, c.length, c.use);
        EXPECT_EQ(n.what, c.what);
        EXPECT_EQ(n.file, file + " (" + c.reason + ")");
        EXPECT_EQ(n.text("\r"), n.what + "\r" + n.file);
    }

    // Once per file and size, however often its lists are filled; again once it changed or the
    // form that shows it loads again. A file of whole records is never noted.
    PartialRecordNotes notes;
    notes.see(path, 2314, 128);
    notes.see(path, 2314, 128);
    notes.see("C:\\inst\\data\\MAKER.TXT", 96, 32);
    ASSERT_EQ(notes.take().size(), 1u);
    EXPECT_TRUE(notes.take().empty());
    notes.see(path, 2314, 128);
    EXPECT_TRUE(notes.take().empty());
    notes.see(path, 2320, 128);
    EXPECT_EQ(notes.take().size(), 1u);
    notes.forget();
    notes.see(path, 2320, 128);
    EXPECT_EQ(notes.takeTexts("\r").size(), 1u);

    TempInstall inst(TempInstall::Content::Empty);
    std::filesystem::create_directories(inst.data());
    const std::string maker = inst.dir() + "\\data\\MAKER.TXT";
    qd::testing::writeBytes(inst.data() / "MAKER.TXT", std::string(32 * 3 + 20, 'x'));
    EXPECT_EQ(readShownRecords(maker, MajorClass::layout(), notes).size(), 3u);
    notes.see(inst.dir() + "/data/maker.txt", 116, 32); // the same file, spelt otherwise
    const std::vector<PartialRecordNotice> told = notes.take();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].file.find("大きさ 116 バイト：32 バイトのレコード 3 件と 20 バイト"), std::string::npos);
}

TEST(WholeFile, NoRecordIsAppendedAfterAPartOfARecord)
{
    TempInstall inst(TempInstall::Content::Empty);
    std::filesystem::create_directories(inst.data());
    const std::string path = inst.dir() + "\\data\\MAKER.TXT";
    const std::string record = "01,A" + std::string(26, ' ') + "\r\n";
    const std::string torn = record + record.substr(0, 10);
    qd::testing::writeBytes(inst.data() / "MAKER.TXT", torn);
    try {
        appendWholeRecords(path, 32, record);
        ADD_FAILURE() << "appended after a part of a record";
    } catch (const qd::files::FileError &e) {
        EXPECT_EQ(e.path(), qd::files::hostPath(path).string());
        EXPECT_EQ(e.reason(), "最後のレコードが途中で切れています。大きさ 42 バイト：32 バイトのレコード 1 件と 10 バイト");
    }
    EXPECT_EQ(qd::testing::readBytes(inst.data() / "MAKER.TXT"), torn);

    qd::testing::writeBytes(inst.data() / "MAKER.TXT", record);
    EXPECT_EQ(appendWholeRecords(path, 32, record), 2);
    EXPECT_EQ(appendWholeRecords(inst.dir() + "\\data\\NEW.TXT", 32, record), 1);
    EXPECT_EQ(qd::testing::readBytes(inst.data() / "MAKER.TXT"), record + record);
}
