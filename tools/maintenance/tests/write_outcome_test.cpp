// What the list-type tools tell of a write against what their master holds: "追加", "変更",
// "削除" (the mark, and itemmaint's compaction) and "終了" pressed with every step of the file
// layer failing in turn, then pressed again on a sound disk; "追加" of a code the master already
// holds; and the words for a write that landed before the list could be read again, and for an
// append that could not be cut back.
#include "tools/maintenance/tests/maint_fixture.h"

#include <QPushButton>

#include <cerrno>
#include <cstring>

#include "platform/text/numbers.h"
#include "tests/qtsupport/every_step_press.h"

namespace qd::testing {
namespace {

using qd::maint::ListEditor;
using qd::maint::ListTool;
using qd::records::Record;
namespace fs = std::filesystem;

const QString AS_IT_WAS = QStringLiteral("元のファイルはそのままです");
const QString MAY_HOLD = QStringLiteral("ファイルに書き込めませんでした。書きかけのレコードがファイルに残っているかもしれません。");
const QString DUPLICATE = QStringLiteral("ｺｰﾄﾞが重複しています。やり直して下さい！");

class WriteOutcome : public MaintTest {
protected:
    WriteOutcome()
    {
        fs::create_directories(inst.path() / "ALMI");
        writeBytes(file("MAKER.TXT"), joined({record(tool("groupmaint"), 1, "アルミ")}));
    }

    static fs::path masterOf(const ListTool &t, const TempInstall &inst) { return inst.path() / (t.folder + 1) / t.master; }
    // The list line of a code starts with the code under its stored pattern.
    static QString codeStart(const ListTool &t, int code)
    {
        return QString::fromStdString(qd::text::format(code, t.codePattern)) + u' ';
    }
    // Two records, codes 1 and 2, under major class 1 where the tool has major classes.
    static std::string twoRecords(const ListTool &t) { return joined({record(t, 1, "A", 1), record(t, 2, "B", 1)}); }

    // The tool opened afresh on `before`, its major class 1 chosen.
    void openOn(const ListTool &t, const std::string &before)
    {
        writeBytes(masterOf(t, inst), before);
        f = open(t.program);
        if (t.twoLevel())
            f->List2->setListIndex(0);
    }
    // The press of `button` on the tool opened afresh by `fresh`, with every step failing in turn;
    // the outcomes are kept as a property of the test, under the program and `command`.
    PressOutcomes pressEveryStep(const char *command, const ListTool &t, const std::string &before, const std::string &after,
                                 const QString &landed, const std::function<void()> &fresh,
                                 QPushButton *ListEditor::*button)
    {
        EveryStepPress p;
        p.file = masterOf(t, inst);
        p.before = before;
        p.after = after;
        p.fileName = QString::fromUtf8(t.master);
        p.asItWas = AS_IT_WAS;
        p.landed = landed;
        p.mayHold = MAY_HOLD;
        p.fresh = [this, &t, &before, fresh] {
            openOn(t, before);
            fresh();
        };
        p.press = [this, button] { press(f.get()->*button); };
        if (t.twoLevel())
            p.alsoNamed = {QStringLiteral("MAKER.TXT")};
        const PressOutcomes outcomes = pressUnderEveryStep(seam, p);
        std::string counts;
        for (const auto &[outcome, n] : outcomes)
            counts += (counts.empty() ? "" : ", ") + outcome + " " + std::to_string(n);
        RecordProperty(std::string(t.program) + "_" + command, counts);
        f.reset();
        return outcomes;
    }

    std::unique_ptr<ListEditor> f;
};

// "追加" under each failure: a failure before the append lands leaves the master as it was and
// says so; an append that could not be cut back says the file may hold the record; a failure
// after it landed, as the list is read again, says the record was added and the list could not
// be read. The boxes are emptied after a landed append, and "追加" again never writes the code a
// second time.
TEST_F(WriteOutcome, AddUnderEveryFailingStepNeverSaysAsItWasOfAChangedFileNorWritesTwice)
{
    for (const ListTool *tp : qd::maint::listTools()) {
        const ListTool &t = *tp;
        SCOPED_TRACE(t.program);
        const std::string before = twoRecords(t);
        const std::string after = before + record(t, 7, "新規", 1, 1200, 800).bytes();
        const PressOutcomes outcomes = pressEveryStep(
            "add", t, before, after, QStringLiteral("追加しました。一覧を読み直せませんでした。"),
            [&] {
                type(f->Text1, QStringLiteral("7"));
                type(f->Text2, QStringLiteral("新規"));
                if (t.hasPrices()) {
                    type(f->Text3, QStringLiteral("1200"));
                    type(f->Text4, QStringLiteral("800"));
                }
            },
            &ListEditor::Command1);
        // Every step after the append reads the list: none fails without a word.
        for (const char *outcome : {"as it was", "landed", "may hold"})
            EXPECT_GT(outcomes.count(outcome), 0u) << outcome;
    }
}

// "変更" of the record of code 2: its rewrite leaves the master as it was up to the rename; the
// list read again after it fails as a change that was made.
TEST_F(WriteOutcome, ChangeUnderEveryFailingStepTellsWhatTheFileHolds)
{
    for (const char *program : {"groupmaint", "classmaint", "itemmaint", "glassmaint", "partnermaint"}) {
        SCOPED_TRACE(program);
        const ListTool &t = tool(program);
        const std::string before = twoRecords(t);
        const std::string after = before.substr(0, before.size() / 2) + record(t, 2, "変えた", 1).bytes();
        const PressOutcomes outcomes = pressEveryStep(
            "change", t, before, after, QStringLiteral("変更しました。一覧を読み直せませんでした。"),
            [&] {
                f->List1->setListIndex(lineStartingWith(f->List1, codeStart(t, 2)));
                type(f->Text2, QStringLiteral("変えた"));
            },
            &ListEditor::Command2);
        for (const char *outcome : {"as it was", "landed", "written"})
            EXPECT_GT(outcomes.count(outcome), 0u) << outcome;
        EXPECT_EQ(outcomes.count("may hold"), 0u);
    }
}

// "削除": the mark goes in through the rewrite of "変更" and nothing is read after it; itemmaint's
// compaction starts the tool again, and a list it cannot read then is told as a deletion made.
TEST_F(WriteOutcome, DeleteUnderEveryFailingStepTellsWhatTheFileHolds)
{
    for (const char *program : {"groupmaint", "sectmaint", "colormaint", "glassmaint", "partnermaint", "itemmaint"}) {
        SCOPED_TRACE(program);
        const ListTool &t = tool(program);
        const bool compacts = t.deletion == ListTool::Deletion::Compact;
        Record gone = record(t, 2, "B", 1);
        t.markDeleted(gone);
        Record marked = record(t, 9, "消した", 1);
        t.markDeleted(marked);
        const std::string before = twoRecords(t) + (compacts ? marked.bytes() : std::string());
        const std::string after = compacts ? record(t, 1, "A").bytes() : record(t, 1, "A", 1).bytes() + gone.bytes();
        const PressOutcomes outcomes = pressEveryStep(
            "delete", t, before, after, QStringLiteral("削除しました。一覧を読み直せませんでした。"),
            [&] { f->List1->setListIndex(lineStartingWith(f->List1, codeStart(t, 2))); }, &ListEditor::Command3);
        for (const char *outcome : {"as it was", "written"})
            EXPECT_GT(outcomes.count(outcome), 0u) << outcome;
        EXPECT_EQ(outcomes.count("landed") > 0, compacts);
        EXPECT_EQ(outcomes.count("may hold"), 0u);
    }
}

// "終了" rewrites the master without its deleted records in code order, then ends the tool; a
// rewrite that failed leaves the master and the tool, and "終了" again rewrites it.
TEST_F(WriteOutcome, EndUnderEveryFailingStepTellsWhatTheFileHolds)
{
    for (const char *program : {"groupmaint", "sectmaint", "classmaint", "colormaint", "glassmaint", "partnermaint"}) {
        SCOPED_TRACE(program);
        const ListTool &t = tool(program);
        const fs::path master = masterOf(t, inst);
        const std::string before = writeThreeWithADeletedOne(t, master);
        const std::string after = joined({record(t, 1, "A"), record(t, 5, "E")});
        const PressOutcomes outcomes = pressEveryStep("end", t, before, after, QString(), [] {}, &ListEditor::Command5);
        for (const char *outcome : {"as it was", "written"})
            EXPECT_GT(outcomes.count(outcome), 0u) << outcome;
        EXPECT_EQ(outcomes.count("may hold"), 0u);
    }
}

// A code that the master got from another program after the list was filled is refused by "追加"
// as a duplicate, with nothing written and the typed values kept; a section marked deleted and
// a class of another major class do not hold the code.
TEST_F(WriteOutcome, AddRefusesACodeTheFileHoldsNowForALiveRecord)
{
    struct Case {
        const char *program;
        int major;       // the major class of the record the other program writes
        bool deleted;    // it is marked deleted
        bool refused;
    } const cases[] = {
        {"groupmaint", 0, false, true}, {"sectmaint", 0, false, true},   {"sectmaint", 0, true, false},
        {"classmaint", 1, false, true}, {"classmaint", 3, false, false}, {"colormaint", 1, false, true},
        {"itemmaint", 0, false, true},  {"glassmaint", 0, false, true},  {"partnermaint", 0, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.program) + " major " + std::to_string(c.major) + (c.deleted ? " deleted" : ""));
        const ListTool &t = tool(c.program);
        const fs::path master = masterOf(t, inst);
        const std::string before = twoRecords(t);
        openOn(t, before);
        type(f->Text1, QStringLiteral("7"));
        type(f->Text2, QStringLiteral("新規"));

        Record other = record(t, 7, "他から", c.major);
        if (c.deleted)
            t.markDeleted(other);
        const std::string held = before + other.bytes();
        writeBytes(master, held);
        if (c.refused)
            seam.answerMessage(1);
        press(f->Command1);
        if (!c.refused) {
            EXPECT_EQ(readBytes(master), held + record(t, 7, "新規", 1).bytes());
            EXPECT_EQ(seam.messages().size(), 0);
            continue;
        }
        ASSERT_EQ(seam.messages().size(), 1);
        EXPECT_EQ(seam.messages()[0], DUPLICATE);
        EXPECT_EQ(readBytes(master), held) << "nothing written";
        EXPECT_EQ(focus(), f->Text1);
        EXPECT_EQ(f->Text1->text(), QStringLiteral("7"));
        EXPECT_EQ(f->Text2->text().trimmed(), QStringLiteral("新規"));
        // Another code is written as typed.
        type(f->Text1, QStringLiteral("8"));
        press(f->Command1);
        EXPECT_EQ(readBytes(master), held + record(t, 8, "新規", 1).bytes());
        seam.clearCalls();
    }
}

// The two messages of a write that changed the file: an append that landed and a list that
// could not be read again after it; an append whose flush failed and whose cut back failed too,
// so that the file may hold the record. Neither says the file is as it was, and "追加" again
// writes the code no second time.
TEST_F(WriteOutcome, AWriteThatChangedTheFileIsToldSo)
{
    const ListTool &t = tool("groupmaint");
    const fs::path master = masterOf(t, inst);
    const std::string before = twoRecords(t);
    const std::string after = before + record(t, 7, "新規").bytes();
    const QString path = QString::fromStdString(master.string());
    const auto typed = [&] {
        openOn(t, before);
        type(f->Text1, QStringLiteral("7"));
        type(f->Text2, QStringLiteral("新規"));
    };
    typed();
    const int reads = [&] {
        qd::files::faults::clear();
        press(f->Command1);
        return qd::files::faults::count(qd::files::FileStep::Read);
    }();
    qd::files::faults::clear();

    // The last read is the list's, after the append.
    typed();
    seam.answerMessage(1);
    {
        qd::files::ScopedFault fault(qd::files::FileStep::Read, reads, EIO);
        press(f->Command1);
    }
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_EQ(seam.messages()[0], QStringLiteral("追加しました。一覧を読み直せませんでした。\r") + path + QStringLiteral(" (") +
                                      QString::fromUtf8(std::strerror(EIO)) + u')');
    EXPECT_EQ(readBytes(master), after);
    EXPECT_EQ(f->Text1->text(), QString()) << "the boxes are emptied as after any add";
    EXPECT_EQ(f->Text2->text(), QString());
    EXPECT_EQ(f->List1->lineCount(), 0);
    EXPECT_EQ(focus(), f->List1);
    seam.answerMessage(1);
    press(f->Command1);
    EXPECT_EQ(seam.messages().last(), DUPLICATE);
    EXPECT_EQ(readBytes(master), after);
    type(f->Text1, QStringLiteral("8"));
    press(f->Command1);
    EXPECT_EQ(lines(f->List1).size(), 4) << "the next add reads the list again";
    seam.clearCalls();

    // The append's write, flush and close are its only steps that change a file: the flush
    // fails, and so does every step after it, the cut back too.
    typed();
    seam.answerMessage(1);
    {
        qd::files::ScopedFault fault(qd::files::FileStep::Any, 2, ENOSPC, qd::files::FaultMode::FromThenOn);
        press(f->Command1);
    }
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_EQ(seam.messages()[0], MAY_HOLD + u'\r' + path + QStringLiteral(" (") + QString::fromUtf8(std::strerror(ENOSPC)) + u')');
    EXPECT_EQ(readBytes(master), after);
    EXPECT_EQ(f->Text1->text(), QStringLiteral("7")) << "the typed values stay";
    seam.answerMessage(1);
    press(f->Command1);
    EXPECT_EQ(seam.messages().last(), DUPLICATE);
    EXPECT_EQ(readBytes(master), after);
}

} // namespace
} // namespace qd::testing
