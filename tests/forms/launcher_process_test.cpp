// The launcher with real programs: where a tool is looked for, and a real start of a small
// program that records where and how it was started.
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/wait.h>

#include "platform/files/paths.h"
#include "platform/qt/qt_seam.h"
#include "quotedesk/mainwindow/launcher.h"
#include "tests/support/temp_install.h"

namespace qd::testing {
namespace {

namespace fs = std::filesystem;

void writeProgram(const fs::path &p, const std::string &script)
{
    writeBytes(p, "#!/bin/sh\n" + script);
    fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec);
}

QString q(const fs::path &p) { return QString::fromStdString(p.string()); }

TEST(Launcher, ProgramsAreLookedForInTheInstallFolderThenBesideQuotedesk)
{
    TempInstall inst(TempInstall::Content::Empty);
    const fs::path beside = inst.driveC() / "bin";
    fs::create_directories(beside);
    writeProgram(beside / "csvitem", "exit 0\n");
    writeProgram(beside / "partnermaint", "exit 0\n");
    writeProgram(inst.path() / "partnermaint", "exit 0\n");
    writeBytes(beside / "csvgroup", "not a program"); // not executable

    using qd::forms::resolveLaunchProgram;
    const std::string dir = "  " + inst.dir() + "  "; // INST_DIR as the program holds it
    EXPECT_EQ(resolveLaunchProgram(dir, QStringLiteral("\\partnermaint.exe"), q(beside)).toStdString(),
              inst.dir() + "\\partnermaint.exe");
    EXPECT_EQ(resolveLaunchProgram(dir, QStringLiteral("\\csvitem.exe"), q(beside)).toStdString(),
              (beside / "csvitem").string());
    EXPECT_EQ(resolveLaunchProgram(dir, QStringLiteral("\\csvgroup.exe"), q(beside)).toStdString(),
              inst.dir() + "\\csvgroup.exe");
    EXPECT_EQ(resolveLaunchProgram(dir, QStringLiteral("\\SETTEI.EXE"), q(beside)).toStdString(),
              inst.dir() + "\\SETTEI.EXE");
    // A program file in the install folder that cannot run does not start.
    writeBytes(inst.path() / "kind1maint", "not a program");
    qd::qt::QtSeam host;
    EXPECT_FALSE(host.startProcess({q(inst.path() / "kind1maint"), {}, QString::fromStdString(inst.dir())}));
}

TEST(Launcher, StartsARealProgramWithoutArgumentsInTheInstallFolder)
{
    TempInstall inst(TempInstall::Content::Empty);
    writeProgram(inst.path() / "partnermaint", "{ pwd; echo \"$#\"; } > started.tmp && mv started.tmp started.txt\n");
    // quotedesk itself works in another folder.
    const fs::path before = fs::current_path();
    fs::current_path(inst.driveC());

    EXPECT_TRUE(qd::forms::launchProgram(inst.dir(), QStringLiteral("\\partnermaint.exe")));
    const fs::path marker = inst.path() / "started.txt";
    QElapsedTimer timer;
    timer.start();
    while (!fs::exists(marker) && timer.elapsed() < 10000)
        QTest::qWait(20);
    fs::current_path(before);
    ASSERT_TRUE(fs::exists(marker)) << "the program did not run";

    const std::string out = readBytes(marker);
    const std::size_t nl = out.find('\n');
    ASSERT_NE(nl, std::string::npos);
    EXPECT_EQ(fs::canonical(out.substr(0, nl)), fs::canonical(inst.path()));
    EXPECT_EQ(out.substr(nl + 1), "0\n") << "no arguments";

    // quotedesk does not wait for the program and keeps no child behind: once it has ended
    // there is nothing left to reap.
    int status = 0;
    errno = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

} // namespace
} // namespace qd::testing
