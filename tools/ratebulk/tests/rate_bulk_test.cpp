// The bulk rate change on hand-built kind files: the range, the rate slots written, the records
// left alone, and the exit compaction.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files/fault_plan.h"
#include "platform/text/numbers.h"
#include "tests/support/fault_runs.h"
#include "tests/support/temp_install.h"
#include "tools/ratebulk/core/rate_bulk.h"

using namespace qd::ratebulk;
namespace r = qd::records;
using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::testing::writeBytes;
using qd::text::Fixed4;
using qd::text::valFixed;

namespace {

r::Record kindRecord(const RateBulkKind &k, const char *maker, const char *bunrui, const char *code, const char *name)
{
    r::Record rec(k.layout());
    rec.setRaw(r::Kind2::MAKER_CD, maker);
    rec.setRaw(r::Kind2::BUNRUI_CD, bunrui);
    rec.setRaw(k.codeField, code);
    rec.setText(k.nameField, name);
    for (int s = 0; s < r::RateSlots; ++s)
        rec.setNumber(k.rateFirst + s, 5000 + s, "00000");
    rec.setSeparators();
    return rec;
}

r::Record simple(const r::Layout &l, std::vector<std::string> fields)
{
    r::Record rec(l);
    for (std::size_t i = 0; i < fields.size(); ++i)
        rec.setText(static_cast<int>(i), fields[i]);
    rec.setSeparators();
    return rec;
}

const RateLine &lineStarting(const std::vector<RateLine> &lines, const std::string &start)
{
    for (const RateLine &l : lines)
        if (l.text.rfind(start, 0) == 0)
            return l;
    throw std::runtime_error("no line starting " + start);
}

// Major classes 01 and 02, classes 01..03 of 01, and a kind-2 file of major class 01 out of
// code order, with a deleted record inside the range.
struct RateFixture : ::testing::Test {
    TempInstall inst{TempInstall::Content::Empty};
    RateBulkState g{kind2()};
    std::vector<r::Record> kind2Recs;

    RateFixture()
    {
        g.INST_DIR = inst.dir();
        const r::Layout &m = r::MajorClass::layout();
        writeBytes(inst.data() / "MAKER.TXT",
                   simple(m, {"02", "ガラス"}).bytes() + simple(m, {"01", "アルミサッシ"}).bytes() + simple(m, {"00", "削除済"}).bytes());
        const r::Layout &c = r::Class::layout();
        writeBytes(inst.data() / "BUNRUI.TXT", simple(c, {"01", "03", "玄関ドア"}).bytes() + simple(c, {"01", "01", "引違い窓"}).bytes() +
                                                   simple(c, {"01", "02", "ＦＩＸ窓"}).bytes() + simple(c, {"02", "01", "板ガラス"}).bytes());
        const RateBulkKind &k1 = kind1();
        writeBytes(inst.data() / "HISYU101.TXT", kindRecord(k1, "01", "01", "1000", "引違い２枚建").bytes() +
                                                     kindRecord(k1, "01", "02", "2000", "ＦＩＸ").bytes() +
                                                     kindRecord(k1, "01", "03", "3000", "ドア").bytes());
        const RateBulkKind &k2 = kind2();
        kind2Recs = {kindRecord(k2, "01", "01", "1002", "網戸付"),   kindRecord(k2, "01", "01", "1001", "標準"),
                     kindRecord(k2, "01", "02", "2001", "単体"),     kindRecord(k2, "01", "02", "0000", "削除"),
                     kindRecord(k2, "01", "03", "3001", "採風"),     kindRecord(k2, "02", "01", "1001", "別の大分類")};
        std::string b;
        for (const r::Record &rec : kind2Recs)
            b += rec.bytes();
        writeBytes(inst.data() / "HISYU201.TXT", b);
    }

    std::string kindFile() const { return readBytes(inst.data() / "HISYU201.TXT"); }

    // Start 01/01/1000/`startKind2`, end 01/`endClass`/... through the lists as a user picks them.
    void chooseRange(const std::string &startKind2, const std::string &endClass, const std::string &endKind1,
                     const std::string &endKind2)
    {
        startMajorChosen(g, lineStarting(majorLines(g), "01"));
        startClassChosen(g, lineStarting(classLines(g, g.START_MAKER), "01"));
        const RateLine k1 = lineStarting(kind1Lines(g, g.START_MAKER, g.START_BUNRUI), "1000");
        startKind1Chosen(g, k1);
        startKind2Chosen(g, lineStarting(kind2Lines(g, g.START_MAKER, g.START_BUNRUI, k1.rec), startKind2));
        ASSERT_TRUE(endMajorChosen(g, lineStarting(majorLines(g), "01")));
        ASSERT_TRUE(endClassChosen(g, lineStarting(classLines(g, g.END_MAKER), endClass)));
        const RateLine e1 = lineStarting(kind1Lines(g, g.END_MAKER, g.END_BUNRUI), endKind1);
        ASSERT_TRUE(endKind1Chosen(g, e1));
        ASSERT_TRUE(endKind2Chosen(g, lineStarting(kind2Lines(g, g.END_MAKER, g.END_BUNRUI, e1.rec), endKind2)));
    }
};

} // namespace

TEST_F(RateFixture, ListsStandInCodeOrderAndLeaveOutDeletedKinds)
{
    const std::vector<RateLine> majors = majorLines(g);
    ASSERT_EQ(majors.size(), 3u); // a deleted major class is listed too
    EXPECT_EQ(majors[0].text.substr(0, 2), "00");
    EXPECT_EQ(majors[1].text.substr(0, 2), "01");
    startMajorChosen(g, majors[1]);
    const std::vector<RateLine> classes = classLines(g, 1);
    ASSERT_EQ(classes.size(), 3u);
    EXPECT_EQ(classes[0].text, "01 引違い窓" + std::string(12 + 5, ' ') + "00002");
    startClassChosen(g, classes[1]);
    const RateLine k1 = lineStarting(kind1Lines(g, 1, 2), "2000");
    const std::vector<RateLine> kinds = kind2Lines(g, 1, 2, k1.rec);
    ASSERT_EQ(kinds.size(), 1u); // not the deleted "0000"
    EXPECT_EQ(kinds[0].text.substr(0, 4), "2001");
    EXPECT_EQ(kinds[0].text.substr(kinds[0].text.size() - 6), "000003");
}

TEST_F(RateFixture, WriteChangesOnlyTheRateSlotsOfRecordsInRange)
{
    chooseRange("1001", "02", "2000", "2001");
    // The start record's rates were loaded: slot 1 held 05000.
    EXPECT_EQ(g.RATE[0], valFixed("50"));
    g.RATE[0] = valFixed("85");
    g.RATE[1] = valFixed("12.5");
    const std::string before = kindFile();

    const RateWriteResult result = RATE_WRITE(g);
    EXPECT_FALSE(result.rangeRefused);
    EXPECT_EQ(result.fileName, "HISYU201.TXT");
    // 1001, 1002, 2001 and the deleted record of class 02 (key 1,020,000) are in the range.
    EXPECT_EQ(result.written, 4);
    EXPECT_EQ(rateWriteMessage(result), "HISYU201.TXT の 4 件に率を書き込みました。");

    const std::string after = kindFile();
    ASSERT_EQ(after.size(), before.size());
    const int slot1 = r::Kind2::layout().fields[r::Kind2::RATE_FIRST].offset;
    const int slot2 = r::Kind2::layout().fields[r::Kind2::RATE_FIRST + 1].offset;
    for (int n = 0; n < 6; ++n) {
        const std::string was = before.substr(n * 256, 256), now = after.substr(n * 256, 256);
        const bool inRange = n <= 3;
        std::string expected = was;
        if (inRange) {
            expected.replace(slot1, 5, "08500");
            expected.replace(slot2, 5, "01250");
        }
        EXPECT_EQ(now, expected) << "record " << n + 1;
    }
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "WHINSYU2.TXT"));
}

TEST_F(RateFixture, ARangeThatWritesNothingSaysSoAndLeavesTheFile)
{
    const std::string before = kindFile();
    // Right after the start nothing is chosen: the range is refused.
    RateWriteResult result = RATE_WRITE(g);
    EXPECT_TRUE(result.rangeRefused);
    EXPECT_EQ(rateWriteMessage(result), RANGE_ERROR_TEXT);

    // Reversed: start 01/03/3001, end 01/01/1001 passes the level checks only in part.
    startMajorChosen(g, lineStarting(majorLines(g), "01"));
    startClassChosen(g, lineStarting(classLines(g, 1), "02"));
    EXPECT_TRUE(endMajorChosen(g, lineStarting(majorLines(g), "01")));
    EXPECT_FALSE(endClassChosen(g, lineStarting(classLines(g, 1), "01"))); // refused and not kept
    EXPECT_EQ(g.END_BUNRUI, 0);
    result = RATE_WRITE(g);
    EXPECT_TRUE(result.rangeRefused);

    // Major class 02 has no kind-2 file records of its own in range: nothing written, said so.
    rangeReset(g);
    startMajorChosen(g, lineStarting(majorLines(g), "02"));
    EXPECT_TRUE(endMajorChosen(g, lineStarting(majorLines(g), "02")));
    result = RATE_WRITE(g);
    EXPECT_FALSE(result.rangeRefused);
    EXPECT_EQ(result.written, 0);
    EXPECT_EQ(result.fileName, "HISYU202.TXT");
    EXPECT_NE(rateWriteMessage(result).find("該当するレコードはありません"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "HISYU202.TXT"));
    EXPECT_EQ(kindFile(), before);
}

TEST_F(RateFixture, ChoosingAnUpperLevelAgainResetsTheLowerOnes)
{
    chooseRange("1001", "03", "3000", "3001");
    startClassChosen(g, lineStarting(classLines(g, 1), "02"));
    EXPECT_EQ(g.START_HINSYU1, 0);
    EXPECT_EQ(g.START_HINSYU2, 0);
    endMajorChosen(g, lineStarting(majorLines(g), "02"));
    EXPECT_EQ(g.END_BUNRUI, 0);
    EXPECT_EQ(g.END_HINSYU2, 0);
    startMajorChosen(g, lineStarting(majorLines(g), "01"));
    EXPECT_EQ(g.START_BUNRUI, 0);
    EXPECT_EQ(g.END_MAKER, 2); // the end major class stays chosen
    EXPECT_EQ(g.END_HINSYU1, 0);
    // A range spanning major classes writes only the start major class's file, and says which.
    const RateWriteResult result = RATE_WRITE(g);
    EXPECT_EQ(result.fileName, "HISYU201.TXT");
    EXPECT_EQ(result.written, 5);
}

TEST_F(RateFixture, RefusedRatesAndDamagedFilesAreNeverWritten)
{
    struct Case {
        const char *text;
        bool fits;
    };
    for (const Case &c : std::vector<Case>{{"0", true},        {"85", true},          {"999.99", true},
                                           {"999.994", true},  {"999.995", false},    {"1000", false},
                                           {"-0.01", false},   {"2147483648", false}, {"1e30", false}})
        EXPECT_EQ(rateFits(valFixed(c.text)), c.fits) << c.text;

    chooseRange("1001", "01", "1000", "1002");
    const std::string cut = kindFile() + std::string(100, ' ');
    writeBytes(inst.data() / "HISYU201.TXT", cut);
    EXPECT_THROW(RATE_WRITE(g), qd::files::FileError);
    EXPECT_EQ(kindFile(), cut);

    const std::vector<CompactFailure> failures = KIND_FILES_COMPACT(g);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].path.find("HISYU201.TXT"), std::string::npos);
    EXPECT_EQ(failures[0].what, "最後のレコードが途中で切れています。大きさ 1,636 バイト：256 バイトのレコード 6 件と 100 バイト"); // what the user reads
    EXPECT_EQ(kindFile(), cut);
}

TEST_F(RateFixture, ExitCompactsEveryKindFileAndMakesTheMissingOnes)
{
    const std::string before = kindFile();
    EXPECT_TRUE(KIND_FILES_COMPACT(g).empty());
    const std::string after = kindFile();
    EXPECT_EQ(after, before.substr(0, 3 * 256) + before.substr(4 * 256)); // the "0000" record gone
    for (const char *name : {"HISYU200.TXT", "HISYU202.TXT"}) {
        EXPECT_TRUE(std::filesystem::exists(inst.data() / name)) << name;
        EXPECT_EQ(readBytes(inst.data() / name), "") << name;
    }
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "WHINSYU2.TXT"));
    // The kind-1 files belong to ratebulk1: untouched here.
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "HISYU100.TXT"));
}

TEST_F(RateFixture, RateBulk1WritesTheKind1Records)
{
    RateBulkState g1{kind1()};
    g1.INST_DIR = inst.dir();
    startMajorChosen(g1, lineStarting(majorLines(g1), "01"));
    startClassChosen(g1, lineStarting(classLines(g1, 1), "01"));
    startKind1Chosen(g1, lineStarting(kind1Lines(g1, 1, 1), "1000"));
    EXPECT_EQ(g1.RATE[19], valFixed("50.19")); // the start record's last slot
    endMajorChosen(g1, lineStarting(majorLines(g1), "01"));
    endClassChosen(g1, lineStarting(classLines(g1, 1), "02"));
    endKind1Chosen(g1, lineStarting(kind1Lines(g1, 1, 2), "2000"));
    g1.RATE.fill(Fixed4{});
    const RateWriteResult result = RATE_WRITE(g1);
    EXPECT_EQ(result.fileName, "HISYU101.TXT");
    EXPECT_EQ(result.written, 2);
    const std::string file = readBytes(inst.data() / "HISYU101.TXT");
    const int slot1 = r::Kind1::layout().fields[r::Kind1::RATE_FIRST].offset;
    EXPECT_EQ(file.substr(slot1, 5), "00000");
    EXPECT_EQ(file.substr(2 * 256 + slot1, 5), "05000"); // 3000 lies beyond the end
}

TEST_F(RateFixture, AFailingDiskAtAnyStepLeavesTheKindFileAsItWasOrWhollyWritten)
{
    chooseRange("1001", "02", "2000", "2001");
    g.RATE.fill(valFixed("77"));
    const std::string before = kindFile();
    const std::vector<std::string> entries = qd::testing::entriesOf(inst.data());
    const int steps = qd::testing::stepsOf([&] { RATE_WRITE(g); });
    const std::string after = kindFile();
    ASSERT_NE(after, before);
    ASSERT_GT(steps, 0);
    for (int n = 1; n <= steps; ++n) {
        writeBytes(inst.data() / "HISYU201.TXT", before);
        bool threw = false;
        {
            qd::files::ScopedFault fault(qd::files::FileStep::Any, n);
            try {
                RATE_WRITE(g);
            } catch (const qd::files::FileError &e) {
                threw = true;
                EXPECT_EQ(e.reason(), std::strerror(ENOSPC)) << "step " << n;
            }
        }
        EXPECT_EQ(kindFile(), threw ? before : after) << "step " << n;
        EXPECT_EQ(qd::testing::entriesOf(inst.data()), entries) << "step " << n;
    }
}
