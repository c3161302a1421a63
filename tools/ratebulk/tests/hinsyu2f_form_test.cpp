// HINSYU2F and HINSYU1F on the demo install folder, through the handlers a user's clicks and keys
// reach, with the messages answered by the scripted seam.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/scripted_seam.h"
#include "platform/text/numbers.h"
#include "tests/qtsupport/every_step_press.h"
#include "tests/qtsupport/fault_press.h"
#include "tests/qtsupport/list_lines.h"
#include "tests/support/fault_runs.h"
#include "tests/support/temp_install.h"
#include "tests/support/torn_file.h"
#include "tools/ratebulk/forms/hinsyu2f.h"

using namespace qd::ratebulk;
namespace r = qd::records;
using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::text::valFixed;

namespace {

class RateForm : public ::testing::Test {
protected:
    TempInstall inst;
    qd::qt::ScriptedSeam seam;
    qd::qt::SeamGuard guard{seam};

    RateForm() { seam.setScreenSizeOverride(qd::qt::ScreenSize{1280, 800, 96, 96, 0, 0}); }
    void TearDown() override { EXPECT_EQ(seam.problems().toStdString(), ""); }

    std::unique_ptr<HINSYU2F> open(RateBulkState &g)
    {
        g.INST_DIR = inst.dir();
        auto f = std::make_unique<HINSYU2F>(g);
        f->Form_Load();
        return f;
    }
    static void choose(ListBox *list, const QString &start)
    {
        for (int i = 0; i < list->lineCount(); ++i)
            if (list->lineText(i).startsWith(start)) {
                list->setListIndex(i);
                return;
            }
        FAIL() << list->objectName().toStdString() << " has no line " << start.toStdString();
    }
    static void typeInto(EntryBox *box, const QString &text)
    {
        box->GotFocus();
        box->setText(text);
        box->KeyDown(13);
    }
    std::string file(const char *name) const { return readBytes(inst.data() / name); }
};

} // namespace

TEST_F(RateForm, ARangeOfKind2RecordsGetsTheTypedRatesAndTheCountIsShown)
{
    RateBulkState g(kind2());
    auto f = open(g);
    EXPECT_EQ(f->windowTitle(), "☆☆☆　品種2率の一括設定　☆☆☆");
    choose(f->List2, "01");
    choose(f->List1, "01");
    choose(f->List3, "1000");
    choose(f->List4, "1002");
    EXPECT_EQ(f->rateBox(1)->text(), "64.00"); // the start record's sales rate 1
    choose(f->List7, "01");
    choose(f->List8, "01");
    choose(f->List6, "1100");
    choose(f->List5, "1101");
    typeInto(f->rateBox(1), "85");
    EXPECT_EQ(f->rateBox(1)->text(), "85.00");
    // A rate typed without Enter is taken by 実行 as Enter would take it.
    QApplication::setActiveWindow(f.get());
    f->rateBox(2)->setFocus();
    QTest::keyClicks(f->rateBox(2), "12.5");

    const std::string before = file("HISYU201.TXT");
    seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) {
        EXPECT_EQ(m.text, "HISYU201.TXT の 3 件に率を書き込みました。"); // 1002, 1003, 1101
        EXPECT_EQ(m.title, "ratebulk2");
    });
    QTest::mouseClick(f->Command2, Qt::LeftButton);
    EXPECT_EQ(g.RATE[1], valFixed("12.5"));
    EXPECT_EQ(f->rateBox(2)->text(), "12.50");
    const std::string after = file("HISYU201.TXT");
    const int slot1 = r::Kind2::layout().fields[r::Kind2::RATE_FIRST].offset;
    for (int n = 0; n < static_cast<int>(before.size() / 256); ++n) {
        const std::string code = before.substr(n * 256 + 6, 4);
        const bool inRange = code == "1002" || code == "1003" || code == "1101";
        EXPECT_EQ(after.substr(n * 256 + slot1, 11), inRange ? "08500,01250" : before.substr(n * 256 + slot1, 11)) << code;
    }
}

TEST_F(RateForm, AReversedRangeIsRefusedAndWritesNothing)
{
    RateBulkState g(kind2());
    auto f = open(g);
    const std::string before = file("HISYU201.TXT");
    choose(f->List2, "01");
    choose(f->List1, "02");
    choose(f->List7, "01");
    seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) { EXPECT_EQ(m.text, "指定が間違っています。\r指定し直して下さい。"); });
    choose(f->List8, "01");
    EXPECT_EQ(f->List8->listIndex(), -1);
    EXPECT_EQ(f->List6->lineCount(), 0);

    // The end stops at major class 01 itself, before the start's class 02.
    seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) { EXPECT_EQ(m.text, "指定が間違っています。\r指定し直して下さい。"); });
    f->Command2_Click();
    EXPECT_EQ(file("HISYU201.TXT"), before);
}

TEST_F(RateForm, ARateASlotCannotHoldIsRefusedAndNotStored)
{
    RateBulkState g(kind2());
    auto f = open(g);
    g.RATE[0] = valFixed("62");
    seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) { EXPECT_EQ(m.text, "率は 0.00～999.99 の範囲で入力して下さい！"); });
    typeInto(f->rateBox(1), "1000");
    seam.answerMessage(qd::qt::Answer::Ok);
    typeInto(f->rateBox(1), "-5");
    seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) { EXPECT_EQ(m.text, "数値を入力して下さい！"); });
    typeInto(f->rateBox(1), "8a"); // no number
    EXPECT_EQ(seam.messages().size(), 3);
    EXPECT_EQ(g.RATE[0], valFixed("62"));
    f->rateBox(1)->LostFocus();
    EXPECT_EQ(f->rateBox(1)->text(), "62.00");

    // 実行 refuses a typed rate as Enter does, and writes nothing.
    const std::string before = file("HISYU201.TXT");
    choose(f->List2, "01");
    choose(f->List1, "01");
    choose(f->List3, "1000");
    choose(f->List4, "1002");
    QApplication::setActiveWindow(f.get());
    f->rateBox(1)->setFocus();
    QTest::keyClicks(f->rateBox(1), "1000");
    seam.answerMessage(qd::qt::Answer::Ok);
    QTest::mouseClick(f->Command2, Qt::LeftButton);
    EXPECT_EQ(seam.messages().last(), "率は 0.00～999.99 の範囲で入力して下さい！");
    EXPECT_EQ(QApplication::focusWidget(), f->rateBox(1));
    EXPECT_EQ(f->rateBox(1)->selectedText(), "1000");
    EXPECT_EQ(file("HISYU201.TXT"), before);
}

// 実行 with a rate typed and not confirmed, on a disk that fails at each step of the kind file's
// rewrite in turn. Up to the rename the kind file stays byte for byte, and the one message names
// it and the system's reason, with no word of records written; the folder's flush after the
// rename comes when the new file is in place whole, and the count is told. No work copy is left,
// the form keeps its range and the typed rate, and 実行 again writes it.
TEST_F(RateForm, RunUnderAFailingDiskKeepsTheKindFileOrWritesTheNewOne)
{
    using Choice = std::pair<ListBox *HINSYU2F::*, const char *>;
    const struct {
        const RateBulkKind &kind;
        std::vector<Choice> range;
        const char *fileName;
        const char *told;
    } cases[] = {
        {kind2(),
         {{&HINSYU2F::List2, "01"}, {&HINSYU2F::List1, "01"}, {&HINSYU2F::List3, "1000"}, {&HINSYU2F::List4, "1002"},
          {&HINSYU2F::List7, "01"}, {&HINSYU2F::List8, "01"}, {&HINSYU2F::List6, "1100"}, {&HINSYU2F::List5, "1101"}},
         "HISYU201.TXT", "HISYU201.TXT の 3 件に率を書き込みました。"},
        {kind1(),
         {{&HINSYU2F::List2, "01"}, {&HINSYU2F::List1, "01"}, {&HINSYU2F::List3, "1000"},
          {&HINSYU2F::List7, "01"}, {&HINSYU2F::List8, "02"}, {&HINSYU2F::List6, "2000"}},
         "HISYU101.TXT", "HISYU101.TXT の 3 件に率を書き込みました。"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kind.program);
        const std::string before = file(c.fileName);
        const std::vector<std::string> entries = qd::testing::entriesOf(inst.data());
        // The form opened afresh on the kind file as it was, the range chosen and a rate typed.
        RateBulkState g(c.kind);
        std::unique_ptr<HINSYU2F> f;
        const auto typed = [&] {
            qd::testing::writeBytes(inst.data() / c.fileName, before);
            f = open(g);
            for (const auto &[list, start] : c.range)
                choose(f.get()->*list, start);
            QApplication::setActiveWindow(f.get());
            f->rateBox(2)->setFocus();
            QTest::keyClicks(f->rateBox(2), "12.5");
        };
        const auto run = [&] { QTest::mouseClick(f->Command2, Qt::LeftButton); };
        typed();
        seam.clearCalls();
        seam.answerMessage(qd::qt::Answer::Ok);
        const int steps = qd::testing::stepsOf(run);
        ASSERT_EQ(seam.messages(), QStringList{c.told});
        const std::string after = file(c.fileName);
        ASSERT_NE(after, before);
        ASSERT_GT(steps, 0);

        qd::testing::FaultPress write(inst.data() / c.fileName, inst.data(), entries, QString::fromUtf8(c.fileName),
                                      before, after, steps);
        write.toldOnWrite = QStringList{c.told};
        write.fresh = typed;
        write.press = run;
        write.refused = [&](const QString &message) {
            EXPECT_FALSE(message.contains(QStringLiteral("書き込みました"))) << message.toStdString();
            EXPECT_FALSE(f->isUnloaded());
            EXPECT_EQ(f->rateBox(2)->text(), "12.50");
        };
        qd::testing::pressUnderEachFault(seam, write);

        // Every step failing, the opens of the locks and the read of the kind file too, once or
        // from then on: the kind file is as it was or holds the rates, told as it holds them.
        qd::testing::EveryStepPress every;
        every.file = inst.data() / c.fileName;
        every.before = before;
        every.after = after;
        every.fileName = QString::fromUtf8(c.fileName);
        every.alsoNamed = {QString::fromUtf8(c.kind.workFile)};
        every.asItWas = QStringLiteral("そのまま");
        every.landed = QStringLiteral("書き込みました");
        every.fresh = typed;
        every.press = run;
        const qd::testing::PressOutcomes outcomes = qd::testing::pressUnderEveryStep(seam, every);
        RecordProperty(std::string("outcomes ") + c.kind.program, qd::testing::outcomesText(outcomes));
        EXPECT_EQ(outcomes.count("may hold"), 0u) << "a kind file is rewritten whole or not at all";
        EXPECT_EQ(qd::testing::entriesOf(inst.data()), entries) << "no work copy is left";
    }
}

// Typed with the keys and refused by Enter or Esc: the box keeps the refused text selected with
// the focus; once left it shows the stored rate again.
TEST_F(RateForm, ARefusedRateStaysSelectedInItsBoxUntilTheBoxIsLeft)
{
    RateBulkState g(kind2());
    auto f = open(g);
    QApplication::setActiveWindow(f.get());
    g.RATE[2] = valFixed("85");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(key == Qt::Key_Return ? "Enter" : "Esc");
        EntryBox *box = f->rateBox(3);
        box->setFocus();
        EXPECT_EQ(box->selectedText(), "85");
        QTest::keyClicks(box, "8564");
        seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) { EXPECT_EQ(m.text, "率は 0.00～999.99 の範囲で入力して下さい！"); });
        QTest::keyClick(box, key);
        EXPECT_EQ(seam.messages().size(), 1);
        EXPECT_EQ(QApplication::focusWidget(), box);
        EXPECT_EQ(box->text(), "8564");
        EXPECT_EQ(box->selectedText(), "8564");
        EXPECT_EQ(g.RATE[2], valFixed("85"));
        f->List2->setFocus();
        EXPECT_EQ(box->text(), "85.00");
        seam.clearCalls();
    }
}

// Chosen through every list of the range, each list shows its lines whole, without the record
// number at the end of the class and kind lines.
TEST_F(RateForm, EveryListLineShowsWholeWithoutItsRecordNumber)
{
    for (const RateBulkKind *kind : {&kind2(), &kind1()}) {
        SCOPED_TRACE(kind->program);
        RateBulkState g(*kind);
        auto f = open(g);
        for (ListBox *l : {f->List2, f->List1, f->List3, f->List4, f->List7, f->List8, f->List6, f->List5})
            if (l)
                l->setListIndex(0);
        for (ListBox *l : {f->List2, f->List7})
            EXPECT_TRUE(qd::testing::linesShowWhole(l, 0));
        for (ListBox *l : {f->List1, f->List8})
            EXPECT_TRUE(qd::testing::linesShowWhole(l, 5));
        for (ListBox *l : {f->List3, f->List4, f->List6, f->List5}) {
            if (l) {
                EXPECT_TRUE(qd::testing::linesShowWhole(l, 6));
            }
        }
    }
}

TEST_F(RateForm, EndCompactsEveryKindFileOfRateBulk1)
{
    RateBulkState g(kind1());
    auto f = open(g);
    EXPECT_EQ(f->List4, nullptr);
    EXPECT_EQ(f->windowTitle(), "☆☆☆　品種1率の一括設定　☆☆☆");
    // A deleted kind-1 record in the demo's file of major class 02.
    std::string kinds = file("HISYU102.TXT");
    kinds.replace(6, 4, "0000");
    qd::testing::writeBytes(inst.data() / "HISYU102.TXT", kinds);
    f->Command5_Click();
    EXPECT_TRUE(f->isUnloaded());
    EXPECT_EQ(file("HISYU102.TXT"), kinds.substr(256));
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "WHINSYU1.TXT"));
}

TEST_F(RateForm, AKindFileThatEndsInAPartOfARecordIsListedSoAndNeverWritten)
{
    const std::filesystem::path kindFile = inst.data() / "HISYU201.TXT";
    const std::string torn = qd::testing::tearLastRecord(kindFile, 256);
    RateBulkState g(kind2());
    auto f = open(g);
    const auto tells = [&](const QString &start) {
        seam.answerMessage(qd::qt::Answer::Ok, [=](const qd::qt::MessageRequest &m) {
            EXPECT_TRUE(m.text.startsWith(start)) << m.text.toStdString();
            EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), kindFile, 256));
            EXPECT_EQ(m.title, "ratebulk2");
        });
    };
    // The kind files are read when the start major class is chosen: once told, listed whole.
    tells(QStringLiteral("切れた最後の 10 バイトを除き、揃っているレコード 9 件だけを表示します。\r"));
    choose(f->List2, "01");
    choose(f->List1, "01");
    choose(f->List3, "1000");
    choose(f->List4, "1002");
    choose(f->List7, "01");
    choose(f->List8, "01");
    choose(f->List6, "1100");
    choose(f->List5, "1101");
    EXPECT_EQ(seam.pendingAnswers(), 0);

    tells(QString());
    f->Command2->click();
    tells(QStringLiteral("次のファイルは整理できませんでした。"));
    f->Command5->click();
    EXPECT_TRUE(f->isUnloaded());
    EXPECT_EQ(readBytes(kindFile), torn);
}

// The major classes, cut short by more than half a record: both lists of them show the whole
// records, and the form says so once, when it stands.
TEST_F(RateForm, MajorClassesThatEndInAPartOfARecordAreListedWholeAndToldOfOnce)
{
    const std::filesystem::path makers = inst.data() / "MAKER.TXT";
    RateBulkState before(kind2());
    const int majors = open(before)->List2->lineCount();
    const std::string torn = qd::testing::tearLastRecord(makers, 32, 20);
    seam.answerMessage(qd::qt::Answer::Ok, [&](const qd::qt::MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("切れた最後の 20 バイトを除き、揃っているレコード"))) << m.text.toStdString();
        EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), makers, 32));
    });
    RateBulkState g(kind2());
    auto f = open(g);
    EXPECT_EQ(f->List2->lineCount(), majors);
    EXPECT_EQ(f->List7->lineCount(), majors);
    f->Command4->click(); // 取消 fills them again: nothing more to tell
    EXPECT_EQ(seam.pendingAnswers(), 0);
    EXPECT_EQ(readBytes(makers), torn);
}
