// The built programs: started through quotedesk's own launcher they open their window with the
// install folder as their working folder; a tool whose folder is missing says which and ends,
// creating nothing.
#include "tools/maintenance/tests/maint_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <fstream>

#include "quotedesk/mainwindow/launcher.h"
#include "tools/maintenance/lib/maint_program.h"

namespace qd::testing {
namespace {

namespace fs = std::filesystem;

// The running processes of a program file that work in a folder.
std::vector<pid_t> processesOf(const fs::path &program, const fs::path &folder)
{
    std::vector<pid_t> found;
    std::error_code ec;
    const fs::path wanted = fs::canonical(program, ec);
    const fs::path where = fs::canonical(folder, ec);
    for (const auto &entry : fs::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code e1, e2;
        const fs::path exe = fs::read_symlink(entry.path() / "exe", e1);
        const fs::path cwd = fs::read_symlink(entry.path() / "cwd", e2);
        if (!e1 && !e2 && exe == wanted && cwd == where)
            found.push_back(static_cast<pid_t>(std::stoi(name)));
    }
    return found;
}

bool waitFor(const std::function<bool()> &done, int ms = 30000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QTest::qWait(25);
    }
    return true;
}

TEST(MaintenanceLaunch, EachProgramStartedByTheLauncherOpensInTheInstallFolder)
{
    // quotedesk's menu starts all of them but glassmaint; each makes its master when it loads.
    const struct {
        const char *program;
        const char *master;
    } programs[] = {{"groupmaint", "MAKER.TXT"}, {"sectmaint", "CIHO.TXT"},   {"classmaint", "BUNRUI.TXT"},
                    {"colormaint", "IRO.TXT"},   {"itemmaint", "TANPIN.TXT"}, {"partnermaint", "TOKF.SSS"},
                    {"ownmaint", "SYSF.SSS"}};
    TempInstall inst(TempInstall::Content::Empty);
    fs::create_directories(inst.data());
    const fs::path before = fs::current_path();
    fs::current_path(inst.driveC()); // quotedesk itself works in another folder
    for (const auto &p : programs) {
        SCOPED_TRACE(p.program);
        const fs::path built = fs::path(QD_BIN_DIR) / p.program;
        ASSERT_TRUE(fs::exists(built));
        // The program file in the install folder, where the launcher looks first.
        fs::create_symlink(built, inst.path() / p.program);
        ASSERT_TRUE(qd::forms::launchProgram(inst.dir(), QStringLiteral("\\%1.exe").arg(QString::fromLatin1(p.program))));
        // It runs in the install folder, and its window has loaded: it made its master there.
        EXPECT_TRUE(waitFor([&] { return fs::exists(inst.data() / p.master) && !processesOf(built, inst.path()).empty(); }))
            << "the window did not load in the install folder";
        for (const pid_t pid : processesOf(built, inst.path()))
            ::kill(pid, SIGTERM);
        EXPECT_TRUE(waitFor([&] { return processesOf(built, inst.path()).empty(); }));
    }
    fs::current_path(before);
}

// On the demo install folder each tool, glassmaint with its "\ALMI" folder included, gets past
// its start: its window opens, without a message, and the program runs until it is closed.
TEST(MaintenanceLaunch, EachProgramOpensOnTheDemoFolder)
{
    TempInstall inst;
    struct BackHome {
        fs::path home = fs::current_path();
        ~BackHome() { fs::current_path(home); }
    } backHome;
    fs::current_path(inst.path());
    qd::qt::ScriptedSeam seam;
    qd::qt::SeamGuard guard{seam};
    int count = 0;
    const char *const *programs = qd::maint::maintenancePrograms(&count);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(programs[i]);
        QString shown;
        QTimer closer;
        closer.setSingleShot(true);
        QObject::connect(&closer, &QTimer::timeout, [&shown] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isVisible()) {
                    shown = w->windowTitle();
                    w->close();
                }
        });
        closer.start(0);
        char name[] = "tool";
        char *argv[] = {name, nullptr};
        EXPECT_EQ(qd::maint::runMaintenanceTool(1, argv, programs[i]), 0);
        EXPECT_EQ(shown.toStdString(), programs[i]);
    }
    EXPECT_EQ(seam.beepCount(), 0);
    EXPECT_EQ(seam.problems().toStdString(), "");
}

TEST_F(MaintTest, AMissingFolderIsNamedAndTheToolEndsCreatingNothing)
{
    struct Case {
        const char *program;
        const char *folder;
    } const cases[] = {{"glassmaint", "ALMI"}, {"groupmaint", "data"}, {"ownmaint", "data"}};
    fs::remove_all(inst.data());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.program);
        seam.answerMessage(1, [&c](const qd::qt::MessageRequest &m) {
            EXPECT_TRUE(m.text.startsWith(QStringLiteral("「%1」フォルダがありません。").arg(QString::fromLatin1(c.folder))))
                << m.text.toStdString();
            EXPECT_EQ(m.title.toStdString(), c.program);
        });
        char name[] = "tool";
        char *argv[] = {name, nullptr};
        EXPECT_EQ(qd::maint::runMaintenanceTool(1, argv, c.program), 1);
        EXPECT_EQ(seam.beepCount(), 1);
        EXPECT_TRUE(fs::is_empty(inst.path())) << "nothing is created";
        seam.clearCalls();
    }
}

} // namespace
} // namespace qd::testing
