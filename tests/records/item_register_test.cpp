// Single items registered into "\data\TANPIN.TXT": the next code, whole records only, and two
// programs registering at the same time.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/files/fault_plan.h"
#include "platform/files/file_error.h"
#include "platform/text/cp932.h"
#include "records/records_state.h"
#include "tests/support/fault_runs.h"
#include "tests/support/processes.h"
#include "tests/support/temp_install.h"

using namespace qd::records;
using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::testing::writeBytes;
namespace fs = std::filesystem;
namespace faults = qd::files::faults;

namespace {

constexpr int ITEM_LENGTH = 128;

std::string itemRecord(const std::string &code, const std::string &name)
{
    Record r(Item::layout());
    r.setSeparators();
    r.setText(Item::TANPIN_CD, code);
    r.setText(Item::NAME, name);
    return r.bytes();
}

std::vector<std::string> codesIn(const std::string &bytes)
{
    std::vector<std::string> codes;
    for (std::size_t at = 0; at + ITEM_LENGTH <= bytes.size(); at += ITEM_LENGTH)
        codes.push_back(bytes.substr(at, 4));
    return codes;
}

struct Registrar {
    explicit Registrar(const TempInstall &inst) { g.INST_DIR = inst.dir(); }
    bool add(const std::string &name, std::int32_t price, std::int32_t maxCode = 9999)
    {
        g.ITEM_EDIT_NAME = name;
        g.ITEM_EDIT_TANKA = price;
        g.ITEM_EDIT_GENKA = price / 2;
        return appendNextItem(g, maxCode);
    }
    RecordsState g;
};

} // namespace

TEST(ItemRegister, NextCodeAfterTheHighestIsAppendedWhole)
{
    TempInstall inst(TempInstall::Content::Empty);
    fs::create_directories(inst.data());
    const fs::path file = inst.data() / "TANPIN.TXT";
    writeBytes(file, itemRecord("0042", "既存品") + itemRecord("0000", "削除品") + itemRecord("0007", "古い品"));

    Registrar r(inst);
    ASSERT_TRUE(r.add("網戸　特注", 12800));
    EXPECT_EQ(r.g.ITEM_EDIT_CD, 43);
    ASSERT_TRUE(r.add("ガラス", 1500));
    const std::string bytes = readBytes(file);
    ASSERT_EQ(bytes.size(), 5u * ITEM_LENGTH);
    EXPECT_EQ(codesIn(bytes), (std::vector<std::string>{"0042", "0000", "0007", "0043", "0044"}));
    EXPECT_EQ(bytes.substr(3 * ITEM_LENGTH, 9), "0043," + qd::text::toCp932("網戸"));
    EXPECT_EQ(bytes.substr(4 * ITEM_LENGTH + 56, 16), "0001500,0000750,");
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(r.g.TANPIN_CTL.recordCount, 5);

    // Past the highest code nothing is written.
    writeBytes(file, bytes + itemRecord("9999", "最後"));
    EXPECT_FALSE(r.add("溢れ", 1));
    EXPECT_EQ(readBytes(file).size(), 6u * ITEM_LENGTH);
}

TEST(ItemRegister, AFailingDiskNeverLeavesHalfARecord)
{
    TempInstall inst(TempInstall::Content::Empty);
    fs::create_directories(inst.data());
    const fs::path file = inst.data() / "TANPIN.TXT";
    const std::string old = itemRecord("0001", "一") + itemRecord("0002", "二");
    Registrar r(inst);
    writeBytes(file, old);
    const int steps = qd::testing::stepsOf([&] { r.add("三", 300); });
    ASSERT_GT(steps, 0);
    const std::string whole = readBytes(file);
    for (int n = 1; n <= steps; ++n) {
        writeBytes(file, old);
        bool threw = false;
        {
            qd::files::ScopedFault fault(qd::files::FileStep::Any, n);
            try {
                r.add("三", 300);
            } catch (const qd::files::FileError &e) {
                threw = true;
                EXPECT_EQ(e.reason(), std::strerror(ENOSPC)) << "step " << n;
            }
        }
        EXPECT_EQ(readBytes(file), threw ? old : whole) << "step " << n;
        EXPECT_EQ(qd::testing::entriesOf(inst.data()), std::vector<std::string>{"TANPIN.TXT"}) << "step " << n;
        // The next registration takes the next code, not one a half record made look used.
        EXPECT_TRUE(r.add("四", 400));
        EXPECT_EQ(codesIn(readBytes(file)).back(), threw ? "0003" : "0004") << "step " << n;
    }
}

TEST(ItemRegister, TwoProgramsRegisteringAtOnceNeverShareACode)
{
    TempInstall inst(TempInstall::Content::Empty);
    fs::create_directories(inst.data());
    const fs::path file = inst.data() / "TANPIN.TXT";
    writeBytes(file, itemRecord("0010", "最初"));
    constexpr int PER_PROGRAM = 100;

    const auto registerMany = [&](const std::string &who) {
        Registrar r(inst);
        for (int i = 0; i < PER_PROGRAM; ++i)
            if (!r.add(who + std::to_string(i), i))
                return 1;
        return 0;
    };
    qd::testing::ChildProcess first([&] { return registerMany("甲"); });
    qd::testing::ChildProcess second([&] { return registerMany("乙"); });
    EXPECT_EQ(first.wait(), 0);
    EXPECT_EQ(second.wait(), 0);

    const std::string bytes = readBytes(file);
    ASSERT_EQ(bytes.size(), (1u + 2 * PER_PROGRAM) * ITEM_LENGTH) << "every record whole";
    const std::vector<std::string> codes = codesIn(bytes);
    const std::set<std::string> unique(codes.begin(), codes.end());
    EXPECT_EQ(unique.size(), codes.size()) << "no code given out twice";
    EXPECT_EQ(*unique.rbegin(), "0210");
    for (std::size_t at = 0; at < bytes.size(); at += ITEM_LENGTH)
        ASSERT_EQ(bytes.substr(at + ITEM_LENGTH - 2, 2), "\r\n") << "record " << at / ITEM_LENGTH + 1;
}
