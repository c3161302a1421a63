// A disk that fails in the middle of an export or an import leaves the master and the old CSV
// file as they were, and a csvprice run goes on with its other entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/files/fault_plan.h"
#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/files/safe_replace.h"
#include "platform/text/cp932.h"
#include "tests/support/temp_install.h"
#include "tools/csv/engine/csv_convert.h"
#include "tools/csv/engine/file_families.h"
#include "tools/csv/engine/price_run.h"

namespace {

using namespace qd::csv;
using qd::files::FileStep;
using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::testing::writeBytes;

// Every file of the data folder with its bytes (the lock files aside).
std::map<std::string, std::string> snapshot(const std::filesystem::path &data)
{
    std::map<std::string, std::string> files;
    for (const auto &e : std::filesystem::directory_iterator(data))
        if (e.is_regular_file() && !e.path().filename().string().ends_with(".lock"))
            files[e.path().filename().string()] = readBytes(e.path());
    return files;
}

// The CSV file as an earlier export left it, and a master changed since, so that both an export
// and an import would change a file.
void prepare(const ConversionFiles &f)
{
    exportFile(groupTable(), f.master, f.csv);
    writeBytes(qd::files::hostPath(f.csv), readBytes(qd::files::hostPath(f.csv)) +
                                               qd::text::toCp932("09,新しい大分類\r\n"));
}

TEST(CsvFailures, EveryFailingWriteStepLeavesMasterAndCsvFile)
{
    TempInstall inst;
    const ConversionFiles f = singleFiles(inst.dir(), groupTable());
    prepare(f);
    const auto before = snapshot(inst.data());

    const std::pair<const char *, std::function<void()>> runs[] = {
        {"export", [&] { exportFile(groupTable(), f.master, f.csv); }},
        {"import", [&] { importFile(groupTable(), f.csv, f.master); }},
    };
    for (const auto &[name, run] : runs) {
        SCOPED_TRACE(name);
        // Count the steps of a run that succeeds, then put the files back.
        qd::files::faults::clear();
        run();
        const int steps = qd::files::faults::count(FileStep::Any);
        EXPECT_NE(snapshot(inst.data()), before);
        for (const auto &[file, bytes] : before)
            writeBytes(inst.data() / file, bytes);
        if (steps == 0)
            GTEST_SKIP() << "the file layer counts no write steps";
        for (int n = 1; n <= steps; ++n) {
            SCOPED_TRACE("failing step " + std::to_string(n));
            {
                qd::files::ScopedFault fault(FileStep::Any, n);
                EXPECT_THROW(run(), qd::files::FileError);
                EXPECT_TRUE(qd::files::faults::fired());
            }
            EXPECT_EQ(snapshot(inst.data()), before);
        }
    }
}

TEST(CsvFailures, AFailedRenameLeavesMasterAndCsvFile)
{
    TempInstall inst;
    const ConversionFiles f = singleFiles(inst.dir(), groupTable());
    prepare(f);
    const auto before = snapshot(inst.data());
    qd::files::setBeforeRenameHook([](const std::filesystem::path &) { throw std::runtime_error("disk full"); });
    EXPECT_THROW(exportFile(groupTable(), f.master, f.csv), qd::files::FileError);
    EXPECT_THROW(importFile(groupTable(), f.csv, f.master), qd::files::FileError);
    qd::files::setBeforeRenameHook({});
    EXPECT_EQ(snapshot(inst.data()), before);
}

TEST(CsvFailures, PriceRunConvertsEachEntryOnceAndGoesOnPastRefusedOnes)
{
    const std::vector<std::string> keys = {"01011000", "01011100", "01022000", "02011000"};
    for (int workers : {1, 4}) {
        SCOPED_TRACE(workers);
        TempInstall inst;
        const auto masters = snapshot(inst.data());
        EXPECT_TRUE(convertPriceKeys(inst.dir(), {"01022000", "01011000", "01022000"}, Direction::Export, workers).empty());
        EXPECT_TRUE(std::filesystem::exists(inst.data() / "01011000.CSV"));
        EXPECT_FALSE(std::filesystem::exists(inst.data() / "01011100.CSV"));

        // One CSV file spoilt and two masters gone: the others come back, the spoilt one is named
        // and its master kept.
        EXPECT_TRUE(convertPriceKeys(inst.dir(), keys, Direction::Export, workers).empty());
        writeBytes(inst.data() / "01011100.CSV", "\xEF\xBB\xBF");
        std::filesystem::remove(inst.data() / "01011000.txt");
        std::filesystem::remove(inst.data() / "02011000.txt");
        const auto failures = convertPriceKeys(inst.dir(), keys, Direction::Import, workers);
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_EQ(failures[0].key, "01011100");
        EXPECT_EQ(failures[0].message, "01011100.CSV は UTF-8 で保存されています。Shift-JIS（CSV）で保存し直して下さい。");
        EXPECT_EQ(readBytes(inst.data() / "01011100.txt"), masters.at("01011100.txt"));
        EXPECT_EQ(readBytes(inst.data() / "01011000.TXT"), masters.at("01011000.txt"));
        EXPECT_EQ(readBytes(inst.data() / "02011000.TXT"), masters.at("02011000.txt"));
    }
}

} // namespace
