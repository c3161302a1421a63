// The kind and list-price file families: which names belong to them, what the lists show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/cp932.h"
#include "records/layouts.h"
#include "tests/support/temp_install.h"
#include "tools/csv/engine/file_families.h"

namespace {

using namespace qd::csv;

TEST(CsvFileFamilies, PriceFilesAreNamedByEightDigits)
{
    struct Case {
        const char *name, *ext;
        bool price;
    };
    const Case cases[] = {
        {"01020100.TXT", "TXT", true},  {"01020100.txt", "TXT", true},  {"01020100.CSV", "CSV", true},
        {"01020100A.TXT", "TXT", false}, {"0123.TXT", "TXT", false},    {"0102010.TXT", "TXT", false},
        {"0102O100.TXT", "TXT", false},  {"01020100.CSV", "TXT", false}, {"01020100.TXT.TXT", "TXT", false},
        {"１２３４５６７８.TXT", "TXT", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(isPriceFileName(c.name, c.ext), c.price) << c.name;
    EXPECT_EQ(priceFiles("/inst", "01020100").master, "/inst\\data\\01020100.TXT");
    EXPECT_EQ(priceFiles("/inst", "01020100").csv, "/inst\\data\\01020100.CSV");
}

TEST(CsvFileFamilies, KindFilesNameTheirMajorClass)
{
    EXPECT_EQ(kindFileMajor("HISYU105.TXT", 1, false), 5);
    EXPECT_EQ(kindFileMajor("hisyu112.txt", 1, false), 12);
    EXPECT_EQ(kindFileMajor("品種205.CSV", 2, true), 5);
    EXPECT_EQ(kindFileMajor("HISYU205.TXT", 1, false), std::nullopt);
    EXPECT_EQ(kindFileMajor("HISYU105X.TXT", 1, false), std::nullopt);
    EXPECT_EQ(kindFileMajor("HISYU1AB.TXT", 1, false), std::nullopt);
    EXPECT_EQ(kindFileMajor("品種105.TXT", 1, true), std::nullopt);
    EXPECT_EQ(kindMasterName(2, 5), "HISYU205.TXT");
    EXPECT_EQ(kindCsvName(1, 5), "品種105.CSV");
    const ConversionFiles f = kindFiles("/inst", 2, 5);
    EXPECT_EQ(f.master, "/inst\\data\\HISYU205.TXT");
    EXPECT_EQ(f.csv, "/inst\\data\\品種205.CSV");
    EXPECT_EQ(f.check.majorClass, 5);
}

TEST(CsvFileFamilies, KindListShowsEachFileUnderItsMajorClassName)
{
    using namespace qd::records;
    std::string makers;
    for (auto [cd, name] : {std::pair{"01", "アルミサッシ"}, {"05", "ガラス"}, {"05", "ガラス（旧）"}}) {
        Record r(MajorClass::layout());
        r.setSeparators();
        r.setText(MajorClass::MAKER_CD, cd);
        r.setText(MajorClass::NAME, name);
        makers += r.bytes();
    }
    const std::vector<std::string> files = {"HISYU101.TXT", "HISYU103.TXT", "HISYU105.TXT", "HISYU105.BAK"};
    // A file of no major class is not listed; a class that stands twice is listed twice; names
    // keep their blanks.
    EXPECT_EQ(kindListLines(files, 1, false, makers),
              (std::vector<std::string>{"01 アルミサッシ        ", "05 ガラス              ", "05 ガラス（旧）        "}));
    EXPECT_TRUE(kindListLines(files, 1, false, "").empty());
    // More than half a record after the last whole one is no major class: no line of its own.
    EXPECT_EQ(kindListLines(files, 1, false, makers + makers.substr(0, 20)), kindListLines(files, 1, false, makers));
}

TEST(CsvFileFamilies, PriceEntryShowsTheNamesOfItsClasses)
{
    qd::testing::TempInstall inst;
    const PriceEntryInfo info = priceEntryInfo(inst.dir(), "01011000");
    EXPECT_EQ(info.majorName, "アルミサッシ        ");
    EXPECT_EQ(info.className, "引違い窓            ");
    EXPECT_EQ(info.kindName, "引違い２枚建" + std::string(24, ' '));
    const PriceEntryInfo none = priceEntryInfo(inst.dir(), "09019900");
    EXPECT_EQ(none.majorName, "情報がありません。");
    EXPECT_EQ(none.className, "情報がありません。");
    EXPECT_EQ(none.kindName, "情報がありません。");

    // The class file ends in more than half of its first record: only whole records name a
    // class, and the file is noted for the user.
    const auto classes = inst.data() / "BUNRUI.TXT";
    const std::string bytes = qd::testing::readBytes(classes);
    qd::testing::writeBytes(classes, bytes.substr(0, 32) + bytes.substr(0, 20));
    qd::records::PartialRecordNotes notes;
    EXPECT_EQ(priceEntryInfo(inst.dir(), "01011000", &notes).className, "引違い窓            ");
    EXPECT_EQ(priceEntryInfo(inst.dir(), "01011000", &notes).className, "引違い窓            ");
    const std::vector<qd::records::PartialRecordNotice> told = notes.take();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].file.find("BUNRUI.TXT (最後のレコードが途中で切れています。大きさ 52 バイト"), std::string::npos)
        << told[0].file;
}

} // namespace
