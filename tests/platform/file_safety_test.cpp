// Rewrites, pairs and appends under a failing disk: every counted step is made to fail in turn,
// and after each run the old file is intact or the new one whole, nothing else is left in the
// folder, and the error carries the system's reason.
#include "platform/files/fault_plan.h"
#include "platform/files/file_error.h"
#include "platform/files/file_read.h"
#include "platform/files/record_append.h"
#include "platform/files/record_file.h"
#include "platform/files/safe_replace.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/fault_runs.h"
#include "tests/support/processes.h"
#include "tests/support/temp_install.h"

namespace fs = std::filesystem;
using namespace qd::files;
using qd::testing::entriesOf;
using qd::testing::readBytes;
using qd::testing::stepsOf;
using qd::testing::writeBytes;

namespace {

const std::string NO_SPACE = std::strerror(ENOSPC);

class FileSafety : public ::testing::Test {
protected:
    void TearDown() override { faults::clear(); }
    std::string path(const std::string &name) const { return (dir / name).string(); }

    // Runs `op` with its n-th counted step failing, for every step of a clean run. `reset` puts
    // the old files in place before each run; `check(threw)` looks at what is left.
    void failEachStep(const std::function<void()> &reset, const std::function<void()> &op,
                      const std::function<void(bool threw, int step)> &check)
    {
        reset();
        const int steps = stepsOf(op);
        ASSERT_GT(steps, 0);
        for (int n = 1; n <= steps; ++n) {
            reset();
            bool threw = false;
            {
                ScopedFault fault(FileStep::Any, n);
                try {
                    op();
                } catch (const FileError &e) {
                    threw = true;
                    EXPECT_EQ(e.reason(), NO_SPACE) << "step " << n << ": " << e.what();
                }
                EXPECT_TRUE(faults::fired()) << "step " << n;
            }
            check(threw, n);
        }
    }

    qd::testing::TempInstall inst{qd::testing::TempInstall::Content::Empty};
    const fs::path dir = inst.path();
};

} // namespace

TEST_F(FileSafety, FailedWriteLeavesHalfOfItsBytesAsADiskDoes)
{
    writeBytes(dir / "R.TXT", "");
    RecordFile f(path("R.TXT"), 8);
    ScopedFault fault(FileStep::Write, 1);
    try {
        f.put(1, "ABCDEFGH");
        ADD_FAILURE() << "the write reported success";
    } catch (const FileError &e) {
        EXPECT_EQ(e.reason(), NO_SPACE);
    }
    EXPECT_EQ(readBytes(dir / "R.TXT"), "ABCD");
    EXPECT_EQ(faults::count(FileStep::Write), 1);
    f.put(1, "ABCDEFGH"); // fires once
    EXPECT_EQ(readBytes(dir / "R.TXT"), "ABCDEFGH");
}

TEST_F(FileSafety, AFailureFromThenOnKeepsFailingAndAShortWriteFillsTheDisk)
{
    writeBytes(dir / "R.TXT", "");
    {
        // Opens and reads are steps of their own; Any still counts only the steps that change a file.
        const qd::testing::StepCounts counts = qd::testing::allStepsOf([&] {
            RecordFile f(path("R.TXT"), 8);
            f.put(1, "ABCDEFGH");
            (void)f.get(1);
        });
        EXPECT_EQ(counts.writes, 1);
        EXPECT_GE(counts.all, 3); // the open, the write, the read
        EXPECT_EQ(stepsOf([&] { RecordFile(path("R.TXT"), 8).get(1); }), 0);
    }
    {
        ScopedFault fault(FileStep::Write, 1, ENOSPC, FaultMode::FromThenOn);
        RecordFile f(path("R.TXT"), 8);
        EXPECT_THROW(f.put(1, "12345678"), FileError);
        EXPECT_THROW(f.put(1, "12345678"), FileError);
        EXPECT_NO_THROW((void)f.get(1)) << "only writes fail";
        EXPECT_EQ(readBytes(dir / "R.TXT"), "1234EFGH") << "half of the first write, nothing of the second";
    }
    {
        ScopedFault fault(FileStep::All, 1, EIO, FaultMode::FromThenOn);
        EXPECT_THROW((void)readWholeFile(path("R.TXT")), FileError) << "the lock file cannot be opened";
        EXPECT_THROW(RecordFile(path("R.TXT"), 8), FileError);
    }
    {
        ScopedFault fault(FileStep::Any, 1, ENOSPC, FaultMode::ShortWrite);
        RecordFile f(path("R.TXT"), 8);
        EXPECT_THROW(f.put(2, "IJKLMNOP"), FileError);
        EXPECT_THROW(f.put(2, "IJKLMNOP"), FileError);
        EXPECT_EQ(readBytes(dir / "R.TXT"), "1234EFGHIJKL") << "half of the first write only";
    }
}

TEST_F(FileSafety, SafeReplaceKeepsTheOldFileOrPutsTheWholeNewOne)
{
    const std::string oldBytes = "old1\r\nold2\r\n";
    const std::vector<std::pair<const char *, std::function<void()>>> replaces = {
        {"through the work copy",
         [&] {
             replaceThroughWorkCopy(path("TANPIN.TXT"), path("WTANPIN.TXT"), 6, [](RecordFile &w) {
                 for (const char *r : {"new1\r\n", "new2\r\n", "new3\r\n"})
                     w.append(r);
             });
         }},
        {"whole file", [&] { writeFileSafely(path("TANPIN.TXT"), "new1\r\nnew2\r\nnew3\r\n"); }},
    };
    for (const auto &[what, replace] : replaces) {
        SCOPED_TRACE(what);
        failEachStep([&] { writeBytes(dir / "TANPIN.TXT", oldBytes); }, replace, [&](bool threw, int step) {
            const std::string now = readBytes(dir / "TANPIN.TXT");
            if (threw)
                EXPECT_EQ(now, oldBytes) << "step " << step;
            else
                EXPECT_EQ(now, "new1\r\nnew2\r\nnew3\r\n") << "step " << step;
            EXPECT_EQ(entriesOf(dir), std::vector<std::string>{"TANPIN.TXT"}) << "step " << step;
        });
    }
}

TEST_F(FileSafety, PairIsReplacedWholeOrNotAtAll)
{
    const std::string head0 = "HEAD-OLD", lines0 = "LINES-OLD-LINES-OLD";
    const std::string head1 = "HEAD-NEW!", lines1 = "LINES-NEW";
    const auto replace = [&] { replaceFilePair({path("DOC.SSS"), head1}, {path("DOC.TXT"), lines1}); };
    for (const bool existed : {true, false}) {
        SCOPED_TRACE(existed ? "over an old pair" : "a new pair");
        const auto reset = [&] {
            fs::remove(dir / "DOC.SSS");
            fs::remove(dir / "DOC.TXT");
            if (existed) {
                writeBytes(dir / "DOC.SSS", head0);
                writeBytes(dir / "DOC.TXT", lines0);
            }
        };
        failEachStep(reset, replace, [&](bool threw, int step) {
            if (!threw) {
                EXPECT_EQ(readBytes(dir / "DOC.SSS"), head1) << "step " << step;
                EXPECT_EQ(readBytes(dir / "DOC.TXT"), lines1) << "step " << step;
                EXPECT_EQ(entriesOf(dir), (std::vector<std::string>{"DOC.SSS", "DOC.TXT"})) << "step " << step;
            } else if (existed) {
                EXPECT_EQ(readBytes(dir / "DOC.SSS"), head0) << "step " << step;
                EXPECT_EQ(readBytes(dir / "DOC.TXT"), lines0) << "step " << step;
                EXPECT_EQ(entriesOf(dir), (std::vector<std::string>{"DOC.SSS", "DOC.TXT"})) << "step " << step;
            } else {
                EXPECT_EQ(entriesOf(dir), std::vector<std::string>{}) << "step " << step;
            }
        });
    }

    // A pair replaced whole reports the stamps of the files it left.
    const auto stamps = replaceFilePair({path("DOC.SSS"), head0}, {path("DOC.TXT"), lines0});
    EXPECT_EQ(stamps.first, stampOf(path("DOC.SSS")));
    EXPECT_EQ(stamps.second, stampOf(path("DOC.TXT")));
    EXPECT_EQ(stamps.second.size, static_cast<std::int64_t>(lines0.size()));
}

TEST_F(FileSafety, FirstFileThatCannotBePutBackKeepsItsOldContentWhereTheErrorSays)
{
    // The renames fail once, or from then on (the old header then stays under its backup name).
    for (const FaultMode mode : {FaultMode::Once, FaultMode::FromThenOn}) {
        SCOPED_TRACE(mode == FaultMode::Once ? "once" : "from then on");
        fs::remove_all(dir / "DOC.TXT");
        writeBytes(dir / "DOC.SSS", "HEAD-OLD");
        fs::create_directory(dir / "DOC.TXT"); // the second file cannot be put in place
        std::string keptAt;
        try {
            ScopedFault fault(FileStep::Rename, 3, ENOSPC, mode); // and the first one cannot be put back
            replaceFilePair({path("DOC.SSS"), "HEAD-NEW"}, {path("DOC.TXT"), "LINES"});
            ADD_FAILURE() << "the pair reported success";
        } catch (const PairNotRestored &e) {
            EXPECT_EQ(e.reason(), NO_SPACE);
            EXPECT_TRUE(mayHaveChanged(e));
            keptAt = e.path();
            EXPECT_EQ(readBytes(keptAt), "HEAD-OLD") << "the old header is lost: " << e.what();
        }
        // The next saves of the document leave the file the message named alone.
        fs::remove(dir / "DOC.TXT");
        replaceFilePair({path("DOC.SSS"), "HEAD-NEXT"}, {path("DOC.TXT"), "LINES"});
        replaceFilePair({path("DOC.SSS"), "HEAD-LAST"}, {path("DOC.TXT"), "LINES"});
        EXPECT_EQ(readBytes(keptAt), "HEAD-OLD") << "the kept old header went with the next save";
        EXPECT_EQ(readBytes(dir / "DOC.SSS"), "HEAD-LAST");
        fs::remove(keptAt);
    }
}

// A rewrite by another user of the office keeps the file's rights, owner and group, so that the
// file stays the others' to change.
TEST_F(FileSafety, RewritesKeepTheRightsOwnerAndGroupOfTheFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only an administrator can hand a file to another user";
    for (const char *name : {"MAKER.TXT", "DOC.SSS", "DOC.TXT"}) {
        writeBytes(dir / name, "OLD");
        ASSERT_EQ(::chown((dir / name).c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chmod((dir / name).c_str(), 0660), 0);
    }
    writeFileSafely(path("MAKER.TXT"), "NEW");
    replaceFilePair({path("DOC.SSS"), "HEAD"}, {path("DOC.TXT"), "LINES"});
    for (const char *name : {"MAKER.TXT", "DOC.SSS", "DOC.TXT"}) {
        struct stat st {};
        ASSERT_EQ(::stat((dir / name).c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 65534u) << name;
        EXPECT_EQ(st.st_gid, 65534u) << name;
        EXPECT_EQ(st.st_mode & 07777, 0660u) << name;
    }
}

// On a file system mounted read-only every refused write tells the user so, not that a right
// is missing.
TEST_F(FileSafety, AReadOnlyFileSystemIsNamedAsTheReasonOfEveryRefusal)
{
    const fs::path mount = dir / "ro";
    fs::create_directory(mount);
    qd::testing::ChildProcess child([&] {
        // A mount of its own, seen by this process alone.
        if (::unshare(CLONE_NEWNS) != 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return 77;
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("none", mount.c_str(), "tmpfs", 0, nullptr) != 0)
            return 77;
        const std::string maker = (mount / "MAKER.TXT").string(), head = (mount / "DOC.SSS").string();
        const std::string lines = (mount / "DOC.TXT").string();
        // Written once before, so that their lock files are there.
        try {
            writeFileSafely(maker, "0001");
            replaceFilePair({head, "HEAD"}, {lines, "LINES"});
        } catch (const FileError &) {
            return 77; // a namespace without a user of its own cannot make files
        }
        if (::mount("none", mount.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return 77;
        const std::string readOnly = std::strerror(EROFS);
        int failed = 0, step = 0;
        const auto expectReadOnly = [&](const std::function<void()> &write) {
            ++step;
            try {
                write();
                failed = failed ? failed : step;
            } catch (const FileError &e) {
                if (e.reason() != readOnly && !failed)
                    failed = step;
            }
        };
        expectReadOnly([&] { writeFileSafely(maker, "0002"); });
        expectReadOnly([&] { appendRecords(maker, 4, "0003"); });
        expectReadOnly([&] { replaceFilePair({head, "NEW"}, {lines, "NEW"}); });
        expectReadOnly([&] { RecordFile(maker, 4).put(1, "0004"); });
        expectReadOnly([&] { writeFileSafely((mount / "NEW.TXT").string(), "0001"); });
        return failed;
    });
    const int status = child.wait();
    if (status == 77)
        GTEST_SKIP() << "no mount of its own can be made here";
    EXPECT_EQ(status, 0) << "the refusal of write " << status << " names another reason";
}

TEST_F(FileSafety, AppendAddsWholeRecordsOrNothing)
{
    const std::string old = "0001,A\r\n0002,B\r\n";
    const std::string added = "0003,C\r\n0004,D\r\n";
    failEachStep([&] { writeBytes(dir / "TANPIN.TXT", old); },
                 [&] { EXPECT_EQ(appendRecords(path("TANPIN.TXT"), 8, added), 3); },
                 [&](bool threw, int step) {
                     EXPECT_EQ(readBytes(dir / "TANPIN.TXT"), threw ? old : old + added) << "step " << step;
                     EXPECT_EQ(entriesOf(dir), std::vector<std::string>{"TANPIN.TXT"}) << "step " << step;
                 });

    // Under every step failing, once or from then on, and every write cut short: the records are
    // all there, or the file is as it was, or the error says that it may hold a part of them.
    const auto append = [&] { (void)appendRecords(path("TANPIN.TXT"), 8, added); };
    writeBytes(dir / "TANPIN.TXT", old);
    std::set<std::string> outcomes;
    for (const qd::testing::FaultCase &c : qd::testing::everyStepCases(qd::testing::allStepsOf(append))) {
        SCOPED_TRACE(c.name());
        writeBytes(dir / "TANPIN.TXT", old);
        std::string outcome = "written";
        c.arm();
        try {
            append();
        } catch (const FileError &e) {
            outcome = mayHaveChanged(e) ? "may hold" : "as it was";
            EXPECT_EQ(e.reason(), NO_SPACE);
        }
        faults::clear();
        const std::string now = readBytes(dir / "TANPIN.TXT");
        if (outcome == "written")
            EXPECT_EQ(now, old + added);
        else if (outcome == "as it was")
            EXPECT_EQ(now, old);
        else
            EXPECT_TRUE(now.size() > old.size() && now.starts_with(old) && (old + added).starts_with(now)) << now;
        EXPECT_EQ(entriesOf(dir), std::vector<std::string>{"TANPIN.TXT"});
        outcomes.insert(outcome);
    }
    // Every step of an append is one it cannot do without; a cut back that fails too is told.
    EXPECT_EQ(outcomes, (std::set<std::string>{"as it was", "may hold"}));

    // A partial record left by an older program keeps its bytes and is completed with blanks.
    writeBytes(dir / "TANPIN.TXT", old + "0003");
    EXPECT_EQ(appendRecords(path("TANPIN.TXT"), 8, "0004,D\r\n"), 4);
    EXPECT_EQ(readBytes(dir / "TANPIN.TXT"), old + "0003    0004,D\r\n");

    // Only whole records; a missing file is created.
    EXPECT_THROW(appendRecords(path("TANPIN.TXT"), 8, "0005,E\r"), FileError);
    EXPECT_THROW(appendRecords(path("TANPIN.TXT"), 8, ""), FileError);
    EXPECT_EQ(appendRecords(path("NEW.TXT"), 8, added), 1);
    EXPECT_EQ(readBytes(dir / "NEW.TXT"), added);
}

TEST_F(FileSafety, SnapshotAndStampsTellEveryRewrite)
{
    const FileSnapshot none = readWholeFile(path("NONE.TXT"));
    EXPECT_FALSE(none.exists);
    EXPECT_FALSE(stampOf(path("NONE.TXT")).exists);
    EXPECT_FALSE(fs::exists(dir / "NONE.TXT"));

    writeFileSafely(path("DOC.TXT"), "same size");
    const FileSnapshot first = readWholeFile(path("doc.txt"));
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.bytes, "same size");
    EXPECT_EQ(first.stamp, stampOf(path("DOC.TXT")));
    EXPECT_EQ(RecordFile(path("DOC.TXT"), 4).stamp(), first.stamp);

    // Another content of the same size, written at once: still a different stamp.
    writeFileSafely(path("DOC.TXT"), "SAME SIZE");
    EXPECT_NE(stampOf(path("DOC.TXT")), first.stamp);
    EXPECT_EQ(readWholeFile(path("DOC.TXT")).bytes, "SAME SIZE");
}
