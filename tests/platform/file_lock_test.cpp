// The locks between programs, with real second programs (fork): who waits for whom, what
// nests within one program, and what a crashed program leaves.
#include "platform/files/file_lock.h"
#include "platform/files/safe_replace.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <string>

#include "tests/support/processes.h"
#include "tests/support/temp_install.h"

namespace fs = std::filesystem;
using namespace qd::files;
using namespace std::chrono_literals;
using qd::testing::ChildProcess;
using qd::testing::Signal;

namespace {

constexpr auto SHORT_WAIT = 150ms;

class FileLocks : public ::testing::Test {
protected:
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(dir / "ro", fs::perms::owner_all, ec);
    }

    // Whether this program gets the lock within the short wait.
    bool gets(LockKind kind) const { return tryLock(file, kind); }

    static bool tryLock(const std::string &file, LockKind kind)
    {
        try {
            FileLock lock(file, kind, SHORT_WAIT);
            return true;
        } catch (const LockBusy &) {
            return false;
        }
    }

    // A second program, started before this one locks anything, that tries the lock when asked.
    struct Prober {
        Signal ask, answer;
        ChildProcess child;
        explicit Prober(const std::string &file)
            : child([this, file] {
                  for (int c; (c = ask.receive(std::chrono::seconds(60))) == 'S' || c == 'E';)
                      answer.post(tryLock(file, c == 'E' ? LockKind::Exclusive : LockKind::Shared) ? '1' : '0');
                  return 0;
              })
        {
        }
        ~Prober() { ask.post('Q'); }
        bool gets(LockKind kind)
        {
            ask.post(kind == LockKind::Exclusive ? 'E' : 'S');
            return answer.receive() == '1';
        }
    };

    // A second program that takes the lock, reports that it holds it, and keeps it until told.
    struct Holder {
        Signal locked, done;
        ChildProcess child;
        Holder(const std::string &file, LockKind kind)
            : child([this, file, kind] {
                  FileLock lock(file, kind);
                  locked.post();
                  return done.wait() ? 0 : 1;
              })
        {
        }
    };

    qd::testing::TempInstall inst{qd::testing::TempInstall::Content::Empty};
    const fs::path dir = inst.path();
    const std::string file = (dir / "TANPIN.TXT").string();
};

} // namespace

TEST_F(FileLocks, AWriterExcludesEveryoneAndReadersOnlyWriters)
{
    struct Case {
        LockKind held, asked;
        bool granted;
    };
    const Case cases[] = {
        {LockKind::Exclusive, LockKind::Exclusive, false},
        {LockKind::Exclusive, LockKind::Shared, false},
        {LockKind::Shared, LockKind::Exclusive, false},
        {LockKind::Shared, LockKind::Shared, true},
    };
    for (const Case &c : cases) {
        Holder other(file, c.held);
        ASSERT_TRUE(other.locked.wait());
        EXPECT_EQ(gets(c.asked), c.granted) << int(c.held) << " held, " << int(c.asked) << " asked";
        other.done.post();
        EXPECT_EQ(other.child.wait(), 0);
        EXPECT_TRUE(gets(c.asked)) << "free again once the other program let go";
    }
}

TEST_F(FileLocks, BusyFileTellsTheUserItIsInUse)
{
    Holder other(file, LockKind::Exclusive);
    ASSERT_TRUE(other.locked.wait());
    const auto start = std::chrono::steady_clock::now();
    try {
        writeFileSafely(file, "mine");
        ADD_FAILURE() << "wrote a file another program holds";
    } catch (const LockBusy &e) {
        EXPECT_EQ(e.reason(), "他のプログラムで使用中です");
        EXPECT_EQ(e.path(), file);
        EXPECT_EQ(failureText(e), file + " (他のプログラムで使用中です)");
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, kLockWait - 100ms) << "the writer waited before it gave up";
    EXPECT_FALSE(fs::exists(file));
    other.done.post();
    EXPECT_EQ(other.child.wait(), 0);
}

TEST_F(FileLocks, WaitingWriterGoesOnOnceTheLockIsFree)
{
    Holder other(file, LockKind::Exclusive);
    ASSERT_TRUE(other.locked.wait());
    ChildProcess release([&] {
        ::usleep(300 * 1000);
        other.done.post();
        return 0;
    });
    EXPECT_NO_THROW(writeFileSafely(file, "after the other program"));
    EXPECT_EQ(release.wait(), 0);
    EXPECT_EQ(other.child.wait(), 0);
}

TEST_F(FileLocks, ACrashedProgramLeavesNoLock)
{
    Holder other(file, LockKind::Exclusive);
    ASSERT_TRUE(other.locked.wait());
    other.child.kill();
    other.child.wait();
    EXPECT_TRUE(gets(LockKind::Exclusive));
}

TEST_F(FileLocks, LocksNestWithinOneProgram)
{
    {
        // However the file is named, it is one lock: no program waits for itself.
        FileLock outer(file, LockKind::Exclusive, SHORT_WAIT);
        const fs::path here = fs::current_path();
        fs::current_path(dir);
        FileLock relative(std::string("./sub/../tanpin.txt"), LockKind::Exclusive, SHORT_WAIT);
        fs::current_path(here);
        FileLock shared((dir / "." / "TANPIN.TXT").string(), LockKind::Shared, SHORT_WAIT);
        EXPECT_NO_THROW(writeFileSafely(file, "written under the caller's lock"));
    }

    // A shared lock raised to exclusive keeps others out; lowered again, it lets readers in.
    Prober other(file);
    FileLock reading(file, LockKind::Shared);
    {
        FileLock writing(file, LockKind::Exclusive);
        EXPECT_FALSE(other.gets(LockKind::Shared));
    }
    EXPECT_TRUE(other.gets(LockKind::Shared));
    EXPECT_FALSE(other.gets(LockKind::Exclusive));
    reading.release();
    EXPECT_TRUE(other.gets(LockKind::Exclusive));
}

TEST_F(FileLocks, LockFilesStayOutOfEveryList)
{
    for (const char *name : {"SET00012.TXT", "01010000.TXT", "001.emf", "IRO.CSV", "見積1.SSS"}) {
        const std::string lockName = FileLock::lockPathOf(dir / name).filename().string();
        EXPECT_EQ(lockName.front(), '.') << name;
        for (const char *pattern : {R"(SET.*\.TXT)", R"(\d{8}\.TXT)", R"(\d+\.emf)", R"(.*\.CSV)", R"(.*\.TXT)"})
            EXPECT_FALSE(std::regex_match(lockName, std::regex(pattern, std::regex::icase))) << lockName;
    }
    { FileLock lock((dir / "IRO.CSV").string(), LockKind::Exclusive); }
    EXPECT_TRUE(fs::exists(dir / ".iro.csv.lock"));
    EXPECT_EQ(fs::status(dir / ".iro.csv.lock").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write |
                  fs::perms::others_read | fs::perms::others_write)
        << "every user of the install folder can lock it";
}

TEST_F(FileLocks, FoldersNobodyMayWriteAreReadWithoutALockFile)
{
    const std::string missing = (dir / "none" / "MAKER.TXT").string();
    EXPECT_NO_THROW(FileLock(missing, LockKind::Shared));
    EXPECT_THROW(FileLock(missing, LockKind::Exclusive), FileError);

    // A folder this user may read but not write (an administrator looks as an ordinary user).
    fs::create_directories(dir / "ro");
    for (const fs::path &p : {dir.parent_path(), dir})
        fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    const std::string inRo = (dir / "ro" / "MAKER.TXT").string();
    ChildProcess user([&] {
        if (::getuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 2;
        if (::access((dir / "ro").c_str(), W_OK) == 0)
            return 3;
        if (::access((dir / "ro").c_str(), R_OK | X_OK) != 0)
            return 7;
        try {
            FileLock shared(inRo, LockKind::Shared);
        } catch (...) {
            return 4;
        }
        try {
            FileLock lock(inRo, LockKind::Exclusive);
            return 5;
        } catch (const FileError &e) {
            return e.reason() == "Permission denied" ? 0 : 6;
        }
    });
    EXPECT_EQ(user.wait(), 0);
}
