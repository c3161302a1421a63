// SELECT files written under a failing disk: the old pair stays or the new one is whole.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files/fault_plan.h"
#include "platform/files/file_error.h"
#include "quotedesk/core/select_files.h"
#include "quotedesk/core/sheet_setup.h"
#include "tests/core/sheet_fakes.h"
#include "tests/support/fault_runs.h"
#include "tests/support/temp_install.h"

namespace qd::core {
namespace {

using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::testing::writeBytes;
using sheet_test::Desk;
namespace fs = std::filesystem;

TEST(SelectFiles, WriteKeepsTheOldPairOrWritesTheWholeNewOne)
{
    TempInstall inst;
    const fs::path folder = inst.data() / "SELECT";
    const std::string dir = inst.dir() + "/data/SELECT";
    Desk d(inst);
    SHEET_INIT(d.g);
    for (int row = 1; row <= 3; ++row)
        d.g.curGrid().setCell(row, 2, "窓" + std::to_string(row));
    d.g.HEAD_TOKUI = "元の取引先";
    SELECT_FILE_WRITE(d.g, dir, "網戸", 1, 1);
    const std::string oldHead = readBytes(folder / "網戸.SSS") + "後ろの記録";
    writeBytes(folder / "網戸.SSS", oldHead);
    const std::string oldLines = readBytes(folder / "網戸.TXT");
    const std::vector<std::string> entries = qd::testing::entriesOf(folder);

    d.g.HEAD_TOKUI = "新しい取引先";
    const auto write = [&] { SELECT_FILE_WRITE(d.g, dir, "網戸", 1, 3); };
    const int steps = qd::testing::stepsOf(write);
    const std::string newHead = readBytes(folder / "網戸.SSS");
    const std::string newLines = readBytes(folder / "網戸.TXT");
    ASSERT_EQ(newLines.size(), 3u * 1024);
    EXPECT_EQ(newHead.substr(256), "後ろの記録") << "what follows record 1 stays";
    ASSERT_GT(steps, 0);

    for (int n = 1; n <= steps; ++n) {
        writeBytes(folder / "網戸.SSS", oldHead);
        writeBytes(folder / "網戸.TXT", oldLines);
        bool threw = false;
        {
            qd::files::ScopedFault fault(qd::files::FileStep::Any, n);
            try {
                write();
            } catch (const qd::files::FileError &e) {
                threw = true;
                EXPECT_EQ(e.reason(), std::strerror(ENOSPC)) << "step " << n;
            }
        }
        EXPECT_EQ(readBytes(folder / "網戸.SSS"), threw ? oldHead : newHead) << "step " << n;
        EXPECT_EQ(readBytes(folder / "網戸.TXT"), threw ? oldLines : newLines) << "step " << n;
        EXPECT_EQ(qd::testing::entriesOf(folder), entries) << "step " << n;
    }
}

} // namespace
} // namespace qd::core
