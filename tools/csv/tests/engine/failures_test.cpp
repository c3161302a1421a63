// A disk that fails in the middle of an export or an import leaves the master and the old CSV
// file as they were, and a csvprice run goes on with its other entries.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "platform/files/fault_plan.h"
#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/text/cp932.h"
#include "tests/support/fault_runs.h"
#include "tests/support/temp_install.h"
#include "tests/support/torn_file.h"
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
        // Count the steps of a run that succeeds, keep what it gives, then put the files back.
        const int steps = qd::testing::stepsOf(run);
        const auto done = snapshot(inst.data());
        EXPECT_NE(done, before);
        auto restore = [&] {
            for (const auto &[file, bytes] : before)
                writeBytes(inst.data() / file, bytes);
        };
        restore();
        int refused = 0;
        for (int n = 1; n <= steps; ++n) {
            SCOPED_TRACE("failing step " + std::to_string(n));
            bool threw = false;
            {
                qd::files::ScopedFault fault(FileStep::Any, n);
                try {
                    run();
                } catch (const qd::files::FileError &) {
                    threw = true;
                }
                EXPECT_TRUE(qd::files::faults::fired());
            }
            // Refused: nothing changed and no work copy left. Not refused (the folder's own flush
            // after the rename): the run was done whole.
            EXPECT_EQ(snapshot(inst.data()), threw ? before : done);
            refused += threw ? 1 : 0;
            restore();
        }
        EXPECT_GE(refused, 4); // write, flush, close and rename of the work copy at least
    }
}

TEST(CsvFailures, PriceRunConvertsEachEntryOnceAndGoesOnPastRefusedOnes)
{
    const std::vector<std::string> keys = {"01011000", "01011100", "01022000", "02011000"};
    for (int workers : {1, 4}) {
        SCOPED_TRACE(workers);
        TempInstall inst;
        const auto masters = snapshot(inst.data());
        qd::files::faults::clear();
        EXPECT_TRUE(convertPriceKeys(inst.dir(), {"01022000", "01011000", "01022000"}, Direction::Export, workers).empty());
        // One CSV file put in place per key: no file is written twice, nor by two threads.
        EXPECT_EQ(qd::files::faults::count(FileStep::Rename), 2);
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
        EXPECT_EQ(failures[0].message, "01011100.CSV は UTF-8 で保存されています。Shift-JIS で保存し直して下さい。");
        EXPECT_EQ(readBytes(inst.data() / "01011100.txt"), masters.at("01011100.txt"));
        EXPECT_EQ(readBytes(inst.data() / "01011000.TXT"), masters.at("01011000.txt"));
        EXPECT_EQ(readBytes(inst.data() / "02011000.TXT"), masters.at("02011000.txt"));
    }
}

// A list-price file that ends in a part of a record is exported with its whole lines and told of;
// the other entries are exported as ever.
TEST(CsvFailures, PriceRunTellsOfAFileExportedWithItsWholeRecordsOnly)
{
    TempInstall inst;
    const std::filesystem::path master = inst.data() / "01011000.txt";
    const std::string torn = qd::testing::tearLastRecord(master, 600);
    std::vector<qd::records::PartialRecordNotice> inPart;
    EXPECT_TRUE(convertPriceKeys(inst.dir(), {"01011000", "01022000"}, Direction::Export, 1, &inPart).empty());
    ASSERT_EQ(inPart.size(), 1u);
    EXPECT_EQ(inPart[0].what, "切れた最後の 10 バイトを除き、揃っているレコード 90 件だけを書き出しました。");
    EXPECT_TRUE(qd::testing::tellsOfTornFile(inPart[0].file, master, 600));
    const std::string csv = readBytes(inst.data() / "01011000.CSV");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 90);
    EXPECT_EQ(readBytes(master), torn);
}

// A file that cannot be written is named with the system's reason, in the words of the other
// messages: no programmer's text.
TEST(CsvFailures, PriceRunNamesTheFileThatCouldNotBeWrittenAndWhy)
{
    TempInstall inst;
    const std::filesystem::path csv = inst.data() / "01011000.CSV";
    writeBytes(csv, "old");
    std::filesystem::permissions(csv, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const auto failures = convertPriceKeys(inst.dir(), {"01011000"}, Direction::Export, 1);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].message, "ファイルを読み書きできませんでした：" + csv.string() + " (Permission denied)");
    EXPECT_EQ(readBytes(csv), "old");
}

// Exports the keys with so little address space left that no thread's 8 MB stack fits, but the
// run's own bytes do; true when every entry was converted.
bool exportWithoutRoomForThreads(const TempInstall &inst, const std::vector<std::string> &keys)
{
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const auto room = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (4u << 20);
    const struct rlimit limit = {room, room};
    ::setrlimit(RLIMIT_AS, &limit);
    return convertPriceKeys(inst.dir(), keys, Direction::Export, 4).empty() &&
           std::filesystem::exists(inst.data() / "02011000.CSV");
}

// A run on a machine that cannot give it another thread converts every entry all the same, on
// the window's own thread.
TEST(CsvFailuresDeathTest, PriceRunWithoutThreadsToSpareStillConvertsEveryEntry)
{
    TempInstall inst;
    const std::vector<std::string> keys = {"01011000", "01011100", "01022000", "02011000"};
    EXPECT_EXIT(std::_Exit(exportWithoutRoomForThreads(inst, keys) ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

} // namespace
