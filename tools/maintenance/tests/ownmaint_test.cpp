// ownmaint: the own-company record written on 終了 only, with its ten separators, and the rate
// field that takes only what quotedesk's rate selection reads.
#include "tools/maintenance/tests/maint_fixture.h"

#include <QPushButton>

#include <cerrno>

#include "platform/files/file_lock.h"
#include "records/layouts.h"
#include "tests/qtsupport/fault_press.h"
#include "tests/qtsupport/every_step_press.h"
#include "tests/support/fault_runs.h"
#include "tests/support/processes.h"
#include "tests/support/torn_file.h"
#include "tools/maintenance/lib/own_company.h"
#include "tools/maintenance/lib/sysfm.h"

namespace qd::testing {
namespace {

using qd::maint::SYSFM;
namespace fs = std::filesystem;
namespace O = qd::records::OwnCompany;

const QString RATE_MESSAGE = QStringLiteral("掛率は 空白、率ﾗﾝｸ 1～10、又は 999.99 までの掛率(%) で入力して下さい！");

class OwnMaint : public MaintTest {
protected:
    std::unique_ptr<SYSFM> openForm()
    {
        auto f = std::make_unique<SYSFM>();
        f->Form_Load();
        QApplication::setActiveWindow(f.get());
        return f;
    }
    static std::string field(const std::string &rec, int f)
    {
        const auto &d = O::layout().fields[static_cast<std::size_t>(f)];
        return qd::text::fromCp932(rec.substr(static_cast<std::size_t>(d.offset), static_cast<std::size_t>(d.width)));
    }
};

TEST_F(OwnMaint, EndWritesTheRecordWithItsTenSeparatorsAndNothingElseWrites)
{
    auto f = openForm();
    EXPECT_TRUE(fs::exists(file("SYSF.SSS")));
    EXPECT_EQ(readBytes(file("SYSF.SSS")), "");
    EXPECT_EQ(f->Text[8]->text(), QStringLiteral("T1234567890123"));
    EXPECT_EQ(focus(), f->Text[1]);

    type(f->Text[1], QStringLiteral("株式会社　見本サッシ"));
    EXPECT_EQ(focus(), f->Text[2]);
    type(f->Text[4], QStringLiteral("123-4567"));
    type(f->Text[7], QStringLiteral("3"));
    type(f->Text[8], QStringLiteral("T9876543210987"));
    type(f->Text[12], QStringLiteral("普通 1234567"));
    EXPECT_EQ(focus(), f->Command1);
    f->Text[5]->setFocus();
    f->Text[5]->setText(QStringLiteral("未確定"));
    f->Command1->setFocus(); // leaving without Enter drops the typing
    EXPECT_EQ(readBytes(file("SYSF.SSS")), "") << "nothing is written before 終了";

    press(f->Command1);
    EXPECT_TRUE(f->isUnloaded());
    const std::string rec = readBytes(file("SYSF.SSS"));
    ASSERT_EQ(rec.size(), 512u);
    std::vector<std::size_t> commas;
    for (std::size_t i = 0; i < rec.size(); ++i)
        if (rec[i] == ',')
            commas.push_back(i);
    EXPECT_EQ(commas, (std::vector<std::size_t>{50, 101, 152, 163, 179, 195, 254, 305, 356, 407}));
    EXPECT_EQ(rec.substr(510), "\r\n");
    EXPECT_EQ(qd::text::trim(field(rec, O::JISYA_NAME)), "株式会社　見本サッシ");
    EXPECT_EQ(field(rec, O::YUBIN_NO), "123-4567  ");
    EXPECT_EQ(qd::text::trim(field(rec, O::TEL_NO)), "");
    EXPECT_EQ(field(rec, O::KAKERITU), "3" + std::string(28, ' '));
    EXPECT_EQ(qd::text::trim(field(rec, O::TOUROKU_NO)), "T9876543210987");
    EXPECT_EQ(qd::text::trim(field(rec, O::FURIKOMI_4)), "普通 1234567");
    EXPECT_EQ(rec.substr(458, 52), std::string(52, ' '));
}

TEST_F(OwnMaint, TheRecordIsShownAtFullWidthAndWhatFollowsItInTheFileIsKept)
{
    qd::records::Record r(O::layout());
    r.setText(O::JISYA_NAME, "有限会社テスト");
    r.setText(O::KAKERITU, "85.5");
    r.setText(O::TOUROKU_NO, "T1111");
    r.setSeparators();
    const std::string tail = qd::text::fixedChars("second record, kept as it is", 510) + "\r\n";
    writeBytes(file("SYSF.SSS"), r.bytes() + tail);

    auto f = openForm();
    EXPECT_EQ(f->Text[1]->text().toStdString(), r.text(O::JISYA_NAME));
    f->Text[7]->setFocus();
    EXPECT_EQ(f->Text[7]->text(), QStringLiteral("85.5"));

    // A name beyond its 50 bytes keeps its whole text in the box; the record takes what fits.
    const QString longName = QString(26, QChar(0x4E9C)); // 52 bytes
    type(f->Text[1], longName);
    EXPECT_EQ(f->Text[1]->text(), longName);
    // 取消 writes nothing; 終了 writes record 1 and keeps the rest.
    {
        auto cancelled = openForm();
        press(cancelled->Command2);
        EXPECT_TRUE(cancelled->isUnloaded());
        EXPECT_EQ(readBytes(file("SYSF.SSS")), r.bytes() + tail);
    }
    press(f->Command1);
    const std::string bytes = readBytes(file("SYSF.SSS"));
    ASSERT_EQ(bytes.size(), 512u + tail.size());
    EXPECT_EQ(field(bytes, O::JISYA_NAME), qd::text::fixedChars(QString(25, QChar(0x4E9C)).toStdString(), 25));
    EXPECT_EQ(bytes.substr(512), tail);
    EXPECT_EQ(qd::text::trim(field(bytes, O::KAKERITU)), "85.5");
}

// A file that ends in a part of a record shows its whole record (or none) and is never written.
TEST_F(OwnMaint, AFileThatEndsInAPartOfARecordIsShownSoAndNeverWritten)
{
    qd::records::Record r(O::layout());
    r.setText(O::JISYA_NAME, "有限会社テスト");
    r.setSeparators();
    struct Case {
        std::size_t extra; // bytes after record 1, or of it alone (512 + extra < 512 * 2)
        bool whole;        // record 1 is whole
        const char *what;
    } const cases[] = {
        {10, true, "切れた最後の 10 バイトを除き、揃っているレコード 1 件だけを表示します。"},
        {300, false, "揃ったレコードが 1 件もないため、何も表示しません。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string bytes = c.whole ? r.bytes() + r.bytes().substr(0, c.extra) : r.bytes().substr(0, c.extra);
        writeBytes(file("SYSF.SSS"), bytes);
        seam.answerMessage(1, [&](const qd::qt::MessageRequest &m) {
            EXPECT_TRUE(m.text.startsWith(QString::fromUtf8(c.what) + u'\r')) << m.text.toStdString();
            EXPECT_TRUE(tellsOfTornFile(m.text.toStdString(), file("SYSF.SSS"), 512));
        });
        auto f = openForm();
        EXPECT_EQ(qd::text::trim(f->Text[1]->text().toStdString()), c.whole ? "有限会社テスト" : "");

        seam.answerMessage(1, [&](const qd::qt::MessageRequest &m) {
            EXPECT_TRUE(m.text.startsWith(QStringLiteral("自社データを保存できませんでした。元のファイルはそのままです。\r")));
            EXPECT_TRUE(tellsOfTornFile(m.text.toStdString(), file("SYSF.SSS"), 512));
        });
        press(f->Command1);
        EXPECT_FALSE(f->isUnloaded());
        EXPECT_EQ(readBytes(file("SYSF.SSS")), bytes);
    }
}

TEST_F(OwnMaint, ARecordThatCouldNotBeReadIsNeverWrittenOver)
{
    qd::records::Record r(O::layout());
    r.setText(O::JISYA_NAME, "有限会社テスト");
    r.setSeparators();
    writeBytes(file("SYSF.SSS"), r.bytes());

    // Another program holds the record while ownmaint starts: the boxes stay empty, and 終了
    // must not write them over the company's data.
    qd::testing::Signal locked, done;
    qd::testing::ChildProcess other([&] {
        const qd::files::FileLock lock(file("SYSF.SSS").string(), qd::files::LockKind::Exclusive);
        locked.post();
        return done.wait(std::chrono::seconds(60)) ? 0 : 1;
    });
    ASSERT_TRUE(locked.wait());
    seam.answerMessage(1, [](const qd::qt::MessageRequest &m) {
        EXPECT_TRUE(m.text.contains(QStringLiteral("SYSF.SSS"))) << m.text.toStdString();
    });
    auto f = openForm();
    done.post();
    EXPECT_EQ(other.wait(), 0);
    EXPECT_EQ(seam.messages().size(), 1);

    f->Command1->click();
    EXPECT_EQ(readBytes(file("SYSF.SSS")), r.bytes());
    press(f->Command2);
    EXPECT_TRUE(f->isUnloaded());
    EXPECT_EQ(readBytes(file("SYSF.SSS")), r.bytes());
}

// 終了 takes what is typed in the box that has the focus, as Enter would; a rate that Enter
// refuses writes nothing.
TEST_F(OwnMaint, EndTakesTextTypedWithoutEnter)
{
    auto f = openForm();
    typeOnly(f->Text[4], QStringLiteral("XY"));
    press(f->Command1);
    ASSERT_TRUE(f->isUnloaded());
    EXPECT_EQ(field(readBytes(file("SYSF.SSS")), O::YUBIN_NO), "XY" + std::string(8, ' '));

    f = openForm();
    EXPECT_EQ(f->Text[4]->text(), QStringLiteral("XY") + QString(8, u' ')) << "there on reopening";
    typeOnly(f->Text[7], QStringLiteral("ランクA"));
    seam.answerMessage(1);
    press(f->Command1);
    EXPECT_EQ(seam.messages().last(), RATE_MESSAGE);
    EXPECT_FALSE(f->isUnloaded());
    EXPECT_EQ(focus(), f->Text[7]);
    EXPECT_EQ(f->Text[7]->selectedText(), QStringLiteral("ランクA"));
    EXPECT_EQ(field(readBytes(file("SYSF.SSS")), O::KAKERITU), std::string(29, ' ')) << "nothing written";
    f->Text[7]->insert(QStringLiteral("85.5"));
    press(f->Command1);
    ASSERT_TRUE(f->isUnloaded());
    EXPECT_EQ(field(readBytes(file("SYSF.SSS")), O::KAKERITU), "85.5" + std::string(25, ' '));

    // By the keys alone: Tab from the fax box onto 終了, then Enter.
    f = openForm();
    f->Text[6]->setFocus();
    QTest::keyClicks(f->Text[6], QStringLiteral("03-1234"));
    QTest::keyClick(f->Text[6], Qt::Key_Tab);
    ASSERT_EQ(focus(), f->Command1);
    QTest::keyClick(f->Command1, Qt::Key_Return);
    ASSERT_TRUE(f->isUnloaded());
    EXPECT_EQ(field(readBytes(file("SYSF.SSS")), O::FAX_NO), "03-1234" + std::string(8, ' '));
}

// 終了 with a postcode typed and not confirmed, on a disk that fails at each step of the
// record's rewrite in turn. Up to the rename the old file stays byte for byte and the window
// stays open with the typed postcode, one message naming the file and the system's reason; the
// folder's flush after the rename comes when the new file is in place whole, and the tool ends.
// No work copy is left, and 終了 again writes the postcode.
TEST_F(OwnMaint, EndUnderAFailingDiskKeepsTheOldRecordOrWritesTheNewOne)
{
    qd::records::Record r(O::layout());
    r.setText(O::JISYA_NAME, "有限会社テスト");
    r.setSeparators();
    const std::string before = r.bytes() + qd::text::fixedChars("second record, kept as it is", 510) + "\r\n";
    writeBytes(file("SYSF.SSS"), before);
    const std::vector<std::string> entries = entriesOf(inst.data());
    // The window opened afresh on the file as it was, the postcode typed into its box.
    std::unique_ptr<SYSFM> f;
    const auto typed = [&] {
        writeBytes(file("SYSF.SSS"), before);
        f = openForm();
        typeOnly(f->Text[4], QStringLiteral("123-4567"));
    };
    typed();
    const int steps = stepsOf([&] { press(f->Command1); });
    const std::string after = readBytes(file("SYSF.SSS"));
    ASSERT_TRUE(f->isUnloaded());
    ASSERT_EQ(field(after, O::YUBIN_NO), "123-4567  ");
    ASSERT_EQ(after.substr(512), before.substr(512));
    ASSERT_GT(steps, 0);

    FaultPress run(file("SYSF.SSS"), inst.data(), entries, QStringLiteral("SYSF.SSS"), before, after, steps);
    run.fresh = typed;
    run.press = [&] { press(f->Command1); };
    run.refused = [&](const QString &) {
        EXPECT_FALSE(f->isUnloaded());
        EXPECT_EQ(f->Text[4]->text().trimmed(), QStringLiteral("123-4567"));
    };
    run.written = [&] { EXPECT_TRUE(f->isUnloaded()); };
    pressUnderEachFault(seam, run);

    // Every step failing, the lock, the read of the old file and the work copy's open too, once
    // or from then on: nothing after the rename can turn a written record into "そのまま".
    EveryStepPress every;
    every.file = file("SYSF.SSS");
    every.before = before;
    every.after = after;
    every.fileName = QStringLiteral("SYSF.SSS");
    every.asItWas = QStringLiteral("元のファイルはそのままです");
    every.fresh = typed;
    every.press = [&] { press(f->Command1); };
    const PressOutcomes outcomes = pressUnderEveryStep(seam, every);
    RecordProperty("outcomes", outcomesText(outcomes));
    EXPECT_EQ(outcomes.count("may hold"), 0u);
    EXPECT_EQ(outcomes.count("landed"), 0u) << "nothing is read after the rename";
}

TEST_F(OwnMaint, TheRateFieldTakesOnlyWhatRateSelectionReads)
{
    struct Case {
        const char *text;
        bool readable;
    } const cases[] = {
        {"", true},       {"   ", true},    {"1", true},      {"10", true},    {" 3 ", true}, {"3.0", true},
        {"85", true},     {"85.5", true},   {"999.99", true}, {"0", false},    {"2.5", false}, {"10.5", true},
        {"11.123", false}, {"1000", false}, {"-5", false},    {"abc", false},  {"１０", false}, {"5%", false},
        {"8.", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(qd::maint::isReadableRate(c.text), c.readable) << c.text;

    auto f = openForm();
    seam.answerMessage(1);
    type(f->Text[7], QStringLiteral("ランク3"));
    EXPECT_EQ(seam.messages().last(), RATE_MESSAGE);
    EXPECT_EQ(seam.calls().back().message.title, QStringLiteral("ownmaint"));
    EXPECT_EQ(focus(), f->Text[7]);
    EXPECT_EQ(f->Text[7]->selectedText(), QStringLiteral("ランク3")) << "the refused text stays, selected";
    EXPECT_EQ(f->g.SYSF_EDIT[7], std::string(29, ' '));
    // quotedesk takes the cost rate of a percentage from the field's first six characters: the
    // rate goes in without the blanks typed around it ("   85.5" would give a cost rate of 85).
    type(f->Text[7], QStringLiteral("   85.5 "));
    EXPECT_EQ(f->g.SYSF_EDIT[7], "85.5");
    type(f->Text[7], QStringLiteral("7"));
    EXPECT_EQ(f->g.SYSF_EDIT[7], "7");
    EXPECT_EQ(focus(), f->Text[8]);
    // Esc goes back and drops the typing; in the first box it stays there.
    type(f->Text[8], QStringLiteral("x"), 27);
    EXPECT_EQ(focus(), f->Text[7]);
    type(f->Text[1], QStringLiteral("x"), 27);
    EXPECT_EQ(focus(), f->Text[1]);
    EXPECT_EQ(f->Text[1]->text().toStdString(), std::string(50, ' '));
}

} // namespace
} // namespace qd::testing
