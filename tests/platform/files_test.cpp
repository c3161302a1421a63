#include "platform/files/fault_plan.h"
#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/files/record_append.h"
#include "platform/files/record_file.h"
#include "platform/files/safe_replace.h"

#include <gtest/gtest.h>

#include "tests/support/fault_runs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;
using namespace qd::files;

namespace {

std::string readAll(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path &p, const std::string &bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A fresh folder per test, with drive "c:" pointed into it.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/qd_files_test_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        root = tmpl;
        fs::create_directories(root / "drive_c");
        if (const char *old = std::getenv("QUOTEDESK_DRIVE_C"))
            oldDriveC = old;
        ::setenv("QUOTEDESK_DRIVE_C", (root / "drive_c").c_str(), 1);
    }
    void TearDown() override
    {
        faults::clear();
        if (oldDriveC.empty())
            ::unsetenv("QUOTEDESK_DRIVE_C");
        else
            ::setenv("QUOTEDESK_DRIVE_C", oldDriveC.c_str(), 1);
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    // The system's own form of a path below the test folder, with backslashes.
    std::string sys(const std::string &rel) const
    {
        std::string s = root.string() + "\\" + rel;
        for (char &c : s)
            if (c == '/')
                c = '\\';
        return s;
    }
    fs::path root;
    std::string oldDriveC;
};

} // namespace

TEST(RecordCount, RoundsHalfToEven)
{
    struct Case {
        std::int64_t length;
        std::int32_t count;
    };
    // Record length 10: 1.4 records count 1, 1.5 count 2, 2.5 count 2, 3.5 count 4.
    const Case cases[] = {{0, 0}, {4, 0}, {5, 0}, {6, 1}, {10, 1}, {14, 1}, {15, 2},
                          {16, 2}, {25, 2}, {26, 3}, {35, 4}, {30, 3}};
    for (const auto &c : cases)
        EXPECT_EQ(recordCountOf(c.length, 10), c.count) << c.length;
    EXPECT_EQ(recordCountOf(100, 0), 0);
}

TEST_F(FilesTest, DriveCAndBackslashesMapToHostPaths)
{
    fs::create_directories(root / "drive_c" / "tamo");
    writeAll(root / "drive_c" / "tamo" / "tamo_dir.SSS", "x");
    for (const char *p : {"c:\\tamo\\tamo_dir.SSS", "C:\\TAMO\\TAMO_DIR.sss", "C:/tamo/tamo_dir.SSS"})
        EXPECT_EQ(hostPath(p), root / "drive_c" / "tamo" / "tamo_dir.SSS") << p;
    EXPECT_TRUE(fileExists("C:\\Tamo\\Tamo_Dir.sss"));
    EXPECT_TRUE(dirExists("c:\\TAMO"));
    EXPECT_FALSE(fileExists("c:\\TAMO"));

    ::setenv("QUOTEDESK_DRIVE_C", "/srv/qd_c", 1);
    EXPECT_EQ(hostPath("c:\\tamo\\x.SSS"), fs::path("/srv/qd_c/tamo/x.SSS"));
    ::unsetenv("QUOTEDESK_DRIVE_C");
    if (const char *home = std::getenv("HOME")) {
        EXPECT_EQ(driveCRoot(), fs::path(home) / ".quotedesk" / "drive_c");
    }
}

TEST_F(FilesTest, NamesAreFoundWhateverTheirCase)
{
    fs::create_directories(root / "inst" / "data");
    writeAll(root / "inst" / "data" / "maker.txt", "m");
    writeAll(root / "inst" / "data" / "010100.TXT", "p");

    EXPECT_EQ(hostPath(sys("inst\\data\\MAKER.TXT")), root / "inst" / "data" / "maker.txt");
    EXPECT_EQ(hostPath(sys("INST\\Data\\maker.TXT")), root / "inst" / "data" / "maker.txt");
    EXPECT_EQ(hostPath(sys("inst\\data\\010100.txt")), root / "inst" / "data" / "010100.TXT");

    // A new file takes the spelling given, in the folder as it exists.
    EXPECT_EQ(hostPath(sys("INST\\DATA\\New.Txt")), root / "inst" / "data" / "New.Txt");
    EXPECT_EQ(hostPath(sys("inst\\NoSuch\\A.TXT")), root / "inst" / "NoSuch" / "A.TXT");

    makeDir(sys("INST\\data\\TXT"));
    EXPECT_TRUE(fs::is_directory(root / "inst" / "data" / "TXT"));

    RecordFile f(sys("INST\\DATA\\MAKER.TXT"), 32);
    EXPECT_EQ(f.hostPath(), root / "inst" / "data" / "maker.txt");
    EXPECT_EQ(f.fileLength(), 1);

    removeFile(sys("Inst\\Data\\MAKER.txt"));
    EXPECT_FALSE(fs::exists(root / "inst" / "data" / "maker.txt"));
    EXPECT_NO_THROW(removeFile(sys("inst\\data\\MAKER.TXT"))); // already gone: no error

    changeDir(sys("INST\\DATA"));
    EXPECT_EQ(fs::canonical(currentDir()), fs::canonical(root / "inst" / "data"));
    changeDir("/");
    EXPECT_THROW(changeDir(sys("inst\\none")), FileError);
}

TEST_F(FilesTest, MissingFileIsCreatedEmptyUnlessReadOnly)
{
    RecordFile f(sys("IRO.TXT"), 32);
    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(f.recordCount(), 0);
    EXPECT_EQ(f.fileLength(), 0);
    f.close();
    EXPECT_TRUE(fs::exists(root / "IRO.TXT"));
    EXPECT_EQ(fs::file_size(root / "IRO.TXT"), 0u);

    EXPECT_THROW(RecordFile(sys("NONE.TXT"), 32, RecordFile::Mode::ReadOnly), FileError);
    EXPECT_FALSE(fs::exists(root / "NONE.TXT"));

    // A missing folder is an error with the path in its text.
    try {
        RecordFile g(sys("nofolder\\MAKER.TXT"), 32);
        FAIL() << "opened a file in a missing folder";
    } catch (const FileError &e) {
        EXPECT_NE(std::string(e.what()).find("MAKER.TXT"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("cannot be opened"), std::string::npos);
    }
    EXPECT_THROW(RecordFile(sys(""), 32), FileError); // a folder is no record file
    EXPECT_THROW(RecordFile(sys("IRO.TXT"), 0), FileError);
}

TEST_F(FilesTest, RecordsAreReadAndWrittenByNumber)
{
    // Two whole records and half of a third: 2.5 records count 2.
    writeAll(root / "T.TXT", "AAAAA\r\nBBBBB\r\nCC\r\n"); // 7, 7, 4 bytes: 18 / 7 = 2.57
    RecordFile f(sys("T.TXT"), 7);
    EXPECT_EQ(f.recordCount(), 3);
    EXPECT_EQ(f.get(2), "BBBBB\r\n");
    EXPECT_EQ(f.get(3), "CC\r\n   ");  // the partial record is padded with blanks
    EXPECT_EQ(f.get(9), "       ");   // past the end: all blanks
    EXPECT_THROW(f.get(0), FileError);

    f.put(1, "X");                    // padded to the record length
    f.put(2, "YYYYYYYYYY");           // cut to it
    EXPECT_EQ(f.get(1), "X      ");
    EXPECT_EQ(f.get(2), "YYYYYYY");

    // An append goes after the real end, the partial record rounded up.
    EXPECT_EQ(f.append("ZZZZZ\r\n"), 4);
    EXPECT_EQ(readAll(root / "T.TXT"), "X      YYYYYYYCC\r\n   ZZZZZ\r\n");

    // A write past the end fills the records between with blanks.
    f.put(6, "6666666");
    f.flush();
    EXPECT_EQ(f.recordCount(), 6);
    EXPECT_EQ(f.get(5), "       ");
    EXPECT_EQ(readAll(root / "T.TXT").size(), 42u);

    // Moving keeps the open file; the old object is closed.
    RecordFile g = std::move(f);
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(g.get(6), "6666666");

    RecordFile ro(sys("T.TXT"), 7, RecordFile::Mode::ReadOnly);
    EXPECT_EQ(ro.get(4), "ZZZZZ\r\n");
    EXPECT_THROW(ro.put(1, "no"), FileError);
    EXPECT_EQ(readAll(root / "T.TXT").substr(0, 7), "X      ");
}

TEST_F(FilesTest, RecordCountOfOpenFilesRoundsHalfToEven)
{
    struct Case {
        std::size_t bytes;
        std::int32_t count;
    };
    for (const Case &c : {Case{14, 1}, Case{15, 2}, Case{25, 2}, Case{0, 0}}) {
        writeAll(root / "R.TXT", std::string(c.bytes, 'r'));
        EXPECT_EQ(RecordFile(sys("R.TXT"), 10).recordCount(), c.count) << c.bytes;
    }
}

TEST_F(FilesTest, ReplaceThroughWorkCopy)
{
    writeAll(root / "TANPIN.TXT", "old1\r\nold2\r\n");
    replaceThroughWorkCopy(sys("tanpin.txt"), sys("WTANPIN.TXT"), 6, [](RecordFile &w) {
        w.put(1, "new1\r\n");
        w.append("new2\r\n");
        w.append("new3\r\n");
    });
    EXPECT_EQ(readAll(root / "TANPIN.TXT"), "new1\r\nnew2\r\nnew3\r\n");
    EXPECT_FALSE(fs::exists(root / "WTANPIN.TXT"));
    EXPECT_FALSE(fs::exists(root / "tanpin.txt")); // the master keeps its own spelling

    // A stale work copy from an interrupted run is emptied first.
    writeAll(root / "WTANPIN.TXT", "stale-stale-stale-");
    replaceThroughWorkCopy(sys("TANPIN.TXT"), sys("WTANPIN.TXT"), 6,
                           [](RecordFile &w) { EXPECT_EQ(w.recordCount(), 0); w.append("only\r\n"); });
    EXPECT_EQ(readAll(root / "TANPIN.TXT"), "only\r\n");
}

TEST_F(FilesTest, FailedReplaceLeavesTheMasterByteIdentical)
{
    const std::string original = "keep\r\n\x93\xFA\r\n";
    writeAll(root / "TANPIN.TXT", original);
    ::chmod((root / "TANPIN.TXT").c_str(), 0640);

    const auto fillThree = [](RecordFile &w) {
        for (int i = 0; i < 3; ++i)
            w.append("xxxx\r\n");
    };
    // The rename fails (as a full disk would at the last step): the master is reported with the
    // system's reason.
    for (const auto &replace : std::vector<std::function<void()>>{
             [&] { replaceThroughWorkCopy(sys("TANPIN.TXT"), sys("WTANPIN.TXT"), 6, fillThree); },
             [&] { writeFileSafely(sys("TANPIN.TXT"), "whole new content"); }}) {
        ScopedFault fault(FileStep::Rename, 1);
        try {
            replace();
            ADD_FAILURE() << "the replace reported success";
        } catch (const FileError &e) {
            EXPECT_EQ(e.path(), (root / "TANPIN.TXT").string());
            EXPECT_EQ(e.reason(), "No space left on device");
        }
        EXPECT_EQ(readAll(root / "TANPIN.TXT"), original);
    }

    // A fill that throws, of any kind, fails the same way.
    EXPECT_THROW(replaceThroughWorkCopy(sys("TANPIN.TXT"), sys("WTANPIN.TXT"), 6,
                                        [](RecordFile &w) { w.append("half\r\n"); throw 42; }),
                 FileError);
    EXPECT_EQ(readAll(root / "TANPIN.TXT"), original);

    // The work copy may not be the master itself.
    EXPECT_THROW(replaceThroughWorkCopy(sys("TANPIN.TXT"), sys("tanpin.TXT"), 6, fillThree), FileError);
    EXPECT_EQ(readAll(root / "TANPIN.TXT"), original);

    // Nothing left behind by the failures, and a good replace keeps the file's rights.
    EXPECT_EQ(qd::testing::entriesOf(root), (std::vector<std::string>{"TANPIN.TXT", "drive_c"}));
    writeFileSafely(sys("tanpin.txt"), "done");
    EXPECT_EQ(readAll(root / "TANPIN.TXT"), "done");
    EXPECT_EQ(fs::status(root / "TANPIN.TXT").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(qd::testing::entriesOf(root), (std::vector<std::string>{"TANPIN.TXT", "drive_c"}));
}

TEST_F(FilesTest, WriteProtectedFilesAreNeverReplacedOrWritten)
{
    // The read-only mark holds even for an administrator's program.
    const std::string original = "protected\r\n";
    writeAll(root / "MITUMORI.SSS", original);
    ::chmod((root / "MITUMORI.SSS").c_str(), 0444);

    const std::vector<std::pair<const char *, std::function<void()>>> writes = {
        {"replace", [&] { replaceThroughWorkCopy(sys("MITUMORI.SSS"), sys("WMITUMORI.SSS"), 11,
                                                 [](RecordFile &w) { w.append("new\r\n"); }); }},
        {"write", [&] { writeFileSafely(sys("MITUMORI.SSS"), "new"); }},
        {"pair", [&] { replaceFilePair({sys("MITUMORI.TXT"), "lines"}, {sys("MITUMORI.SSS"), "head"}); }},
        {"append", [&] { appendRecords(sys("MITUMORI.SSS"), 11, "appended\r\n "); }},
        {"put", [&] { RecordFile(sys("MITUMORI.SSS"), 11).put(1, "overwrite"); }},
        {"work copy", [&] { RecordFile(sys("MITUMORI.SSS"), 11, RecordFile::Mode::CreateEmpty); }},
    };
    for (const auto &[what, write] : writes) {
        try {
            write();
            ADD_FAILURE() << what << " wrote a write-protected file";
        } catch (const FileError &e) {
            EXPECT_EQ(e.reason(), "Permission denied") << what;
            EXPECT_NE(e.path().find("MITUMORI"), std::string::npos) << what;
        }
        EXPECT_EQ(readAll(root / "MITUMORI.SSS"), original) << what;
    }
    EXPECT_FALSE(fs::exists(root / "MITUMORI.TXT")) << "the pair was refused before either file was touched";
    EXPECT_EQ(RecordFile(sys("MITUMORI.SSS"), 11).get(1), original.substr(0, 11)) << "it can still be read";
}

TEST_F(FilesTest, CloseReportsAFailureOnlyForWrittenFiles)
{
    writeAll(root / "R.TXT", "0123456789");
    {
        RecordFile read(sys("R.TXT"), 5);
        read.get(1);
        ScopedFault fault(FileStep::Close, 1);
        EXPECT_NO_THROW(read.close()); // nothing written, nothing lost
        EXPECT_EQ(faults::count(FileStep::Close), 0);
    }
    RecordFile written(sys("R.TXT"), 5);
    written.put(2, "abcde");
    {
        ScopedFault fault(FileStep::Close, 1, EIO);
        try {
            written.close();
            ADD_FAILURE() << "a failed close was not reported";
        } catch (const FileError &e) {
            EXPECT_EQ(e.reason(), "Input/output error");
            EXPECT_EQ(e.path(), (root / "R.TXT").string());
        }
    }
    EXPECT_FALSE(written.isOpen());
    EXPECT_NO_THROW(written.close());

    // The destructor closes quietly whatever happens.
    {
        RecordFile quiet(sys("R.TXT"), 5);
        quiet.put(1, "zzzzz");
    }
    EXPECT_EQ(readAll(root / "R.TXT"), "zzzzzabcde");
}
