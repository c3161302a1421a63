#include "platform/qt/qt_seam.h"
#include "platform/qt/scripted_seam.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

using namespace qd::qt;
using Kind = SeamCall::Kind;

TEST(ScriptedSeam, AnswersInOrderAndRecordsEveryCall)
{
    ScriptedSeam script;
    SeamGuard guard(script);
    bool checked = false;
    script.answerMessage(Answer::No, [&](const MessageRequest &r) { checked = r.buttons == Buttons::YesNo; })
        .answerInput(QStringLiteral("物件A"))
        .cancelInput()
        .answerOpen(QStringLiteral("/inst/data/TXT/見積1.TXT"))
        .cancelSave();

    beep();
    EXPECT_EQ(msgBox(QStringLiteral("終了しますか？ "), Buttons::YesNo), Answer::No);
    EXPECT_TRUE(checked);
    EXPECT_EQ(inputBox(QStringLiteral("物件名を入れてください。"), QStringLiteral("タイトルファイル名"),
                       QStringLiteral("新規")),
              QStringLiteral("物件A"));
    EXPECT_EQ(inputBox(QStringLiteral("発行日を入れてください。")), QString());

    FileDialogRequest open;
    open.initDir = QStringLiteral("/inst\\data\\TXT");
    open.filter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|");
    open.fileName = QStringLiteral("*.TXT");
    open.flags = OverwritePromptFlag;
    open.cancelError = true;
    const FileDialogResult opened = showOpen(open);
    EXPECT_FALSE(opened.cancelled);
    EXPECT_EQ(opened.fileName, QStringLiteral("/inst/data/TXT/見積1.TXT"));
    EXPECT_EQ(opened.fileTitle, QStringLiteral("見積1.TXT"));
    EXPECT_TRUE(showSave(FileDialogRequest{}).cancelled);

    script.setProcessResult(false);
    EXPECT_FALSE(startProcess(QStringLiteral("/inst\\groupmaint.exe"), {QStringLiteral("-x")},
                              QStringLiteral("/inst")));
    doEvents();
    doEvents();

    const auto &calls = script.calls();
    ASSERT_EQ(calls.size(), 7u);
    const Kind kinds[] = {Kind::Beep, Kind::Message, Kind::Input, Kind::Input,
                          Kind::Open, Kind::Save,    Kind::Process};
    for (size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].kind, kinds[i]) << i;
    EXPECT_EQ(calls[1].message.text, QStringLiteral("終了しますか？ "));
    // An empty title is the program's own title.
    EXPECT_EQ(calls[1].message.title, QStringLiteral("test_qt"));
    EXPECT_EQ(calls[1].answer, Answer::No);
    EXPECT_EQ(calls[2].input.title, QStringLiteral("タイトルファイル名"));
    EXPECT_EQ(calls[2].input.defaultText, QStringLiteral("新規"));
    EXPECT_EQ(calls[3].input.title, QStringLiteral("test_qt"));
    EXPECT_EQ(calls[4].file.initDir, open.initDir);
    EXPECT_EQ(calls[4].file.filter, open.filter);
    EXPECT_EQ(calls[4].file.fileName, open.fileName);
    EXPECT_EQ(calls[4].file.flags, OverwritePromptFlag);
    EXPECT_TRUE(calls[4].file.cancelError);
    EXPECT_EQ(calls[6].process.program, QStringLiteral("/inst\\groupmaint.exe"));
    EXPECT_EQ(calls[6].process.arguments, QStringList{QStringLiteral("-x")});
    EXPECT_EQ(calls[6].process.workingDir, QStringLiteral("/inst"));
    EXPECT_EQ(calls[6].answer, 0);
    EXPECT_EQ(script.beepCount(), 1);
    EXPECT_EQ(script.doEventsCount(), 2);
    EXPECT_EQ(script.problems(), QString());
}

TEST(ScriptedSeam, DialogsAgainstTheScriptFail)
{
    struct Case {
        const char *what;
        std::function<void(ScriptedSeam &)> script;
        std::function<void()> dialog;
    };
    const Case cases[] = {
        {"message with an empty script", [](ScriptedSeam &) {},
         [] { msgBox(QStringLiteral("既に読込中です。")); }},
        {"message where an input box is due",
         [](ScriptedSeam &s) { s.answerInput(QStringLiteral("x")); },
         [] { msgBox(QStringLiteral("既に読込中です。")); }},
        {"Yes given to an OK box", [](ScriptedSeam &s) { s.answerMessage(Answer::Yes); },
         [] { msgBox(QStringLiteral("既に読込中です。")); }},
        {"OK given to a question", [](ScriptedSeam &s) { s.answerMessage(Answer::Ok); },
         [] { msgBox(QStringLiteral("終了しますか？"), Buttons::YesNo); }},
        {"save dialog where an open dialog is due", [](ScriptedSeam &s) { s.cancelOpen(); },
         [] { showSave({}); }},
        {"input box with an empty script", [](ScriptedSeam &) {}, [] { inputBox(QStringLiteral("?")); }},
    };
    for (const Case &c : cases) {
        ScriptedSeam script;
        SeamGuard guard(script);
        c.script(script);
        EXPECT_THROW(c.dialog(), ScriptError) << c.what;
        EXPECT_EQ(script.errors().size(), 1) << c.what;
        EXPECT_FALSE(script.problems().isEmpty()) << c.what;
    }

    // An answer the code never asked for is reported too.
    ScriptedSeam script;
    script.answerMessage(Answer::Yes);
    EXPECT_TRUE(script.problems().contains(QStringLiteral("never came")));
}

TEST(ScriptedSeam, GuardPutsThePreviousSeamBack)
{
    Seam *before = &seam();
    {
        ScriptedSeam outer;
        SeamGuard g1(outer);
        {
            ScriptedSeam inner;
            SeamGuard g2(inner);
            EXPECT_EQ(&seam(), &inner);
        }
        EXPECT_EQ(&seam(), &outer);
    }
    EXPECT_EQ(&seam(), before);
    EXPECT_NE(dynamic_cast<QtSeam *>(before), nullptr);
}

TEST(QtSeam, MessageTextLineBreaks)
{
    // Two-sentence messages are joined by LF CR LF CR; the tools join lines by a lone CR.
    EXPECT_EQ(displayText(QStringLiteral("一行目\n\r\n\r二行目")), QStringLiteral("一行目\n\n二行目"));
    EXPECT_EQ(displayText(QStringLiteral("a\rb\r\nc")), QStringLiteral("a\nb\nc"));
}

TEST(QtSeam, ResolvesTheProgramFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile tool(dir.filePath(QStringLiteral("groupmaint")));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.close();
    const QString expected = QFileInfo(tool).absoluteFilePath();
    const QString inst = dir.path();
    EXPECT_EQ(QFileInfo(resolveProgram(inst + QStringLiteral("\\groupmaint.exe"))).absoluteFilePath(),
              expected);
    EXPECT_EQ(QFileInfo(resolveProgram(inst + QStringLiteral("\\GROUPMAINT"))).absoluteFilePath(),
              expected);
    EXPECT_EQ(resolveProgram(inst + QStringLiteral("\\SETTEI.EXE")), QString());
    EXPECT_EQ(resolveProgram(QStringLiteral("sh")), QStringLiteral("sh"));
}

TEST(QtSeam, StartsAProgramDetachedInItsWorkingFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QtSeam qt;
    ASSERT_TRUE(qt.startProcess({QStringLiteral("/bin/sh"),
                                 {QStringLiteral("-c"), QStringLiteral("pwd > out.tmp && mv out.tmp out")},
                                 dir.path()}));
    const QString out = dir.filePath(QStringLiteral("out"));
    for (int i = 0; i < 500 && !QFileInfo::exists(out); ++i)
        QThread::msleep(10);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "the started program wrote nothing";
    EXPECT_EQ(QFileInfo(QString::fromLocal8Bit(f.readAll()).trimmed()).canonicalFilePath(),
              QFileInfo(dir.path()).canonicalFilePath());

    // A missing program or working folder is reported, nothing is started.
    EXPECT_FALSE(qt.startProcess({dir.filePath(QStringLiteral("nosuch.exe")), {}, {}}));
    EXPECT_FALSE(qt.startProcess({QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("true")},
                                  dir.filePath(QStringLiteral("nosuchdir"))}));
}
