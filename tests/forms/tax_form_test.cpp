// The tax settings form: what it shows, what it saves, what Cancel leaves behind.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cerrno>

#include "quotedesk/core/tax_settings.h"
#include "quotedesk/mainwindow/syohizei_calc_frm.h"
#include "tests/forms/forms_fixture.h"
#include "tests/qtsupport/fault_press.h"
#include "tests/qtsupport/every_step_press.h"
#include "tests/support/fault_runs.h"

using qd::core::Fixed4;
using qd::forms::KIHON;
using qd::forms::syohizei_calc_frm;

namespace qd::testing {
namespace {

using TaxForm = QuotedeskFixture;

constexpr int ENTER = 13;

std::filesystem::path taxFile(const TempInstall &inst) { return inst.data() / "syohizei_calc.fil"; }

TEST_F(TaxForm, ShowsTheSettingsSavesSixtyFourBytesAndTotalsAgain)
{
    KIHON &k = start();
    openSample(k);
    ASSERT_EQ(k.Label11->text().toStdString(), "消費税額(外税)");

    k.SYOHIZEI_000_Click();
    syohizei_calc_frm &f = app->forms.get<syohizei_calc_frm>();
    EXPECT_EQ(f.windowTitle().toStdString(), "= 消費税・端数処理の属性値 =");
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(g().TAX_RATE, Fixed4::fromInt(10));
    EXPECT_TRUE(f.Option5->isChecked()); // 外税
    EXPECT_EQ(f.Text1->text().toStdString(), "1");
    EXPECT_EQ(g().LINE_TAX_RATE, Fixed4());

    f.Text2->setText(QStringLiteral("8.5"));
    f.Text2_KeyDown(ENTER);
    EXPECT_EQ(g().TAX_RATE, Fixed4::fromRaw(85000));
    EXPECT_EQ(f.Text2->text().toStdString(), "8.50");
    f.Option_Click(4); // 内税
    f.Option_Click(3); // 四捨五入
    EXPECT_FALSE(f.Option5->isChecked());
    EXPECT_FALSE(f.Option2->isChecked());
    f.Command1_Click();

    const std::string bytes = readBytes(taxFile(inst));
    ASSERT_EQ(bytes.size(), 64u);
    EXPECT_EQ(bytes.substr(14, 48), std::string(48, ' '));
    EXPECT_EQ(bytes.substr(62), "\n\r");
    const qd::core::TaxSettings s = qd::core::decodeTaxSettings(bytes);
    EXPECT_EQ(s.ZEI_RITU, Fixed4::fromRaw(85000));
    EXPECT_EQ(s.HASU_TANI, 1);
    EXPECT_EQ(s.HASU_MODE, 3);
    EXPECT_EQ(s.ZEI_KBN, 0);
    EXPECT_FALSE(app->forms.isLoaded<syohizei_calc_frm>());

    // The sample's rows carry 10 %: now included in the amount of 126,375 yen.
    EXPECT_EQ(k.Label11->text().toStdString(), "消費税額(内税)");
    EXPECT_EQ(k.Text6->text().toStdString(), "11,489"); // 11,488.6 rounded half up
    EXPECT_EQ(k.Text7->text(), k.Text4->text());
}

TEST_F(TaxForm, CancelPutsTheStoredSettingsBack)
{
    KIHON &k = start();
    openSample(k);
    const std::string before = readBytes(taxFile(inst));
    const auto unit = g().TAX_ROUND_UNIT;
    const auto mode = g().TAX_ROUND_MODE;

    k.SYOHIZEI_000_Click();
    syohizei_calc_frm &f = app->forms.get<syohizei_calc_frm>();
    f.Text2->setText(QStringLiteral("5"));
    f.Text2_KeyDown(ENTER);
    f.Text1->setText(QStringLiteral("10"));
    f.Text1_KeyDown(ENTER);
    f.Option_Click(4);
    f.Option_Click(1);
    ASSERT_EQ(g().TAX_MODE, 0);
    f.Command2_Click();

    EXPECT_FALSE(app->forms.isLoaded<syohizei_calc_frm>());
    EXPECT_EQ(g().TAX_RATE, Fixed4::fromInt(10));
    EXPECT_EQ(g().TAX_ROUND_UNIT, unit);
    EXPECT_EQ(g().TAX_ROUND_MODE, mode);
    EXPECT_EQ(g().TAX_MODE, 1);
    EXPECT_EQ(readBytes(taxFile(inst)), before);
}

TEST_F(TaxForm, RatesAndUnitsOutsideZeroToHundredAreRefused)
{
    KIHON &k = start();
    openSample(k);
    const std::string before = readBytes(taxFile(inst));
    k.SYOHIZEI_000_Click();
    syohizei_calc_frm &f = app->forms.get<syohizei_calc_frm>();

    const struct {
        const char *rate;
        bool refused;
    } rates[] = {{"100.5", false}, {"101.5", true}, {"-0.4", false}, {"-1", true}, {"0", false}};
    for (const auto &c : rates) {
        f.Text2->setText(QString::fromLatin1(c.rate));
        f.Text2_KeyDown(ENTER);
        if (c.refused)
            seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) {
                EXPECT_EQ(m.text.toStdString(), "数値を入力して下さい！");
            });
        f.Text2_LostFocus();
        EXPECT_EQ(f.errorFlag(), c.refused ? 1 : 0) << c.rate;
    }

    // Text that is no number changes nothing.
    f.Text2->setText(QStringLiteral("abc"));
    f.Text2_KeyDown(ENTER);
    EXPECT_EQ(g().TAX_RATE, Fixed4());

    f.Text1->setText(QStringLiteral("1000"));
    f.Text1_KeyDown(ENTER);
    seam.answerMessage(qd::qt::Answer::Ok);
    f.Text1_LostFocus();
    EXPECT_EQ(f.errorFlag(), 1);

    // A refused value is never saved.
    seam.answerMessage(qd::qt::Answer::Ok);
    f.Command1_Click();
    EXPECT_TRUE(app->forms.isLoaded<syohizei_calc_frm>());
    EXPECT_EQ(readBytes(taxFile(inst)), before);
    f.Command2_Click();
}

TEST_F(TaxForm, AfterTheMessageTheFocusIsBackInTheBoxOfTheRefusedValueWithItsTextSelected)
{
    KIHON &k = start();
    openSample(k);
    k.SYOHIZEI_000_Click();
    syohizei_calc_frm &f = app->forms.get<syohizei_calc_frm>();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.Text2->setFocus();
    ASSERT_TRUE(f.Text2->hasFocus());

    // 150 and Enter: the focus moves on to the unit box, and leaving the rate box refuses the
    // rate. The message box takes the active window from the form while it stands.
    f.Text2->selectAll();
    QTest::keyClicks(f.Text2, QStringLiteral("150"));
    seam.answerMessage(qd::qt::Answer::Ok, [&k](const qd::qt::MessageRequest &m) {
        EXPECT_EQ(m.text.toStdString(), "数値を入力して下さい！");
        k.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&k));
    });
    QTest::keyClick(f.Text2, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return seam.pendingAnswers() == 0 && QApplication::focusWidget() == f.Text2; }))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
    EXPECT_EQ(f.Text2->text(), QStringLiteral("150"));
    EXPECT_EQ(f.Text2->selectedText(), f.Text2->text()) << "typing replaces the refused value";
    f.Command2_Click();
}

void activate(syohizei_calc_frm &f)
{
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
}

// Types `typed` over the whole text of a box, the focus in it, as a user does.
void typeOver(QLineEdit *box, const char *typed)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QString::fromLatin1(typed));
}

// One click shows one message at most. After Enter has taken a value out of range (and leaving
// its box has said so), a click on "設定して終了" says it once and saves nothing, click after
// click; "キャンセル" says nothing.
TEST_F(TaxForm, OneClickOnAButtonShowsOneMessageAtMost)
{
    KIHON &k = start();
    openSample(k);
    const std::string before = readBytes(taxFile(inst));
    const auto refusal = [](const qd::qt::MessageRequest &m) { EXPECT_EQ(m.text.toStdString(), "数値を入力して下さい！"); };
    const struct {
        bool unit;
        const char *typed;
    } cases[] = {{false, "150"}, {true, "500"}};
    for (const auto &c : cases) {
        k.SYOHIZEI_000_Click();
        syohizei_calc_frm &f = app->forms.get<syohizei_calc_frm>();
        activate(f);
        QLineEdit *box = c.unit ? f.Text1 : f.Text2;
        typeOver(box, c.typed);
        seam.answerMessage(qd::qt::Answer::Ok, refusal);
        QTest::keyClick(box, Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return seam.pendingAnswers() == 0 && QApplication::focusWidget() == box; }))
            << c.typed;

        for (int click = 1; click <= 2; ++click) {
            seam.clearCalls();
            seam.answerMessage(qd::qt::Answer::Ok, refusal);
            QTest::mouseClick(f.Command1, Qt::LeftButton);
            QTest::qWait(50); // the handlers of leaving the box run after the click
            EXPECT_EQ(seam.messages().size(), 1) << c.typed << ", click " << click;
            ASSERT_TRUE(app->forms.isLoaded<syohizei_calc_frm>());
            EXPECT_EQ(readBytes(taxFile(inst)), before) << c.typed;
            EXPECT_EQ(QApplication::focusWidget(), box) << c.typed << ", click " << click;
        }
        seam.clearCalls();
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QTest::qWait(50);
        EXPECT_EQ(seam.messages(), QStringList()) << c.typed;
        EXPECT_FALSE(app->forms.isLoaded<syohizei_calc_frm>());
        EXPECT_EQ(readBytes(taxFile(inst)), before);
    }
}

// "設定して終了" takes what was typed into a box without Enter as Enter takes it, whether it is
// clicked or reached with Tab and pressed with Enter: saved, or refused with one message and
// nothing written, the focus back in the box.
TEST_F(TaxForm, TheSaveButtonTakesTextTypedWithoutEnter)
{
    KIHON &k = start();
    openSample(k);
    const struct {
        bool unit, byTab;
        const char *typed;
        const char *refusal; // nullptr: saved
        std::int64_t rateRaw;
        std::int16_t unitSaved;
    } cases[] = {
        {false, false, "8", nullptr, 80000, 1},
        {false, true, "8.125", nullptr, 81300, 1},
        {true, false, "10", nullptr, 100000, 10},
        {false, false, "abc", "数値を入力して下さい！", 0, 0},
        {false, true, "150", "数値を入力して下さい！", 0, 0},
        {true, false, "", "数値を入力して下さい！", 0, 0},
    };
    for (const auto &c : cases) {
        writeBytes(taxFile(inst), qd::core::encodeTaxSettings({Fixed4::fromInt(10), 1, 3, 1}));
        const std::string before = readBytes(taxFile(inst));
        k.SYOHIZEI_000_Click();
        syohizei_calc_frm &f = app->forms.get<syohizei_calc_frm>();
        activate(f);
        QLineEdit *box = c.unit ? f.Text1 : f.Text2;
        typeOver(box, c.typed);
        if (c.typed[0] == '\0')
            QTest::keyClick(box, Qt::Key_Delete);
        seam.clearCalls();
        if (c.refusal)
            seam.answerMessage(qd::qt::Answer::Ok, [&c](const qd::qt::MessageRequest &m) {
                EXPECT_EQ(m.text.toStdString(), c.refusal);
            });
        if (c.byTab) {
            QTest::keyClick(box, Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget *>(f.Command1)) << c.typed;
            QTest::keyClick(f.Command1, Qt::Key_Return);
        } else {
            QTest::mouseClick(f.Command1, Qt::LeftButton);
        }
        QTest::qWait(50); // the handlers of leaving the box run after the click
        if (!c.refusal) {
            EXPECT_EQ(seam.messages(), QStringList()) << c.typed;
            EXPECT_FALSE(app->forms.isLoaded<syohizei_calc_frm>()) << c.typed;
            const qd::core::TaxSettings saved = qd::core::decodeTaxSettings(readBytes(taxFile(inst)));
            EXPECT_EQ(saved.ZEI_RITU.raw(), c.rateRaw) << c.typed;
            EXPECT_EQ(saved.HASU_TANI, c.unitSaved) << c.typed;
            continue;
        }
        EXPECT_EQ(seam.messages().size(), 1) << c.typed;
        EXPECT_EQ(seam.pendingAnswers(), 0) << c.typed;
        ASSERT_TRUE(app->forms.isLoaded<syohizei_calc_frm>()) << c.typed;
        EXPECT_EQ(readBytes(taxFile(inst)), before) << c.typed;
        EXPECT_EQ(QApplication::focusWidget(), box) << c.typed;
        EXPECT_EQ(box->selectedText(), box->text()) << c.typed;
        seam.clearCalls();
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QTest::qWait(50);
        EXPECT_EQ(seam.messages(), QStringList()) << c.typed;
        EXPECT_EQ(readBytes(taxFile(inst)), before) << c.typed;
    }
}

// "設定して終了" with a rate typed and not confirmed, on a disk that fails at each step of the
// settings' rewrite in turn. Up to the rename the old settings stay byte for byte and the form
// stays open with the typed rate, one message naming the file and the system's reason; the
// folder's flush after the rename comes when the new file is in place whole, so the form ends.
// No work copy is left, and the button again saves the rate.
TEST_F(TaxForm, TheSaveButtonUnderAFailingDiskKeepsTheOldSettingsOrWritesTheNewOne)
{
    KIHON &k = start();
    openSample(k);
    const std::string before = readBytes(taxFile(inst));
    const std::vector<std::string> entries = entriesOf(inst.data());
    // The form loaded afresh from the settings as they were, 8 typed into the rate box.
    const auto typedForm = [&]() -> syohizei_calc_frm & {
        writeBytes(taxFile(inst), before);
        k.SYOHIZEI_000_Click();
        syohizei_calc_frm &f = app->forms.get<syohizei_calc_frm>();
        activate(f);
        f.Text2->setFocus();
        f.Text2->selectAll();
        QTest::keyClicks(f.Text2, QStringLiteral("8"));
        return f;
    };
    const auto press = [](syohizei_calc_frm &f) {
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QTest::qWait(20); // the handlers of leaving the box run after the click
    };
    syohizei_calc_frm *f = &typedForm();
    const int steps = stepsOf([&] { press(*f); });
    const std::string after = readBytes(taxFile(inst));
    ASSERT_FALSE(app->forms.isLoaded<syohizei_calc_frm>());
    ASSERT_EQ(qd::core::decodeTaxSettings(after).ZEI_RITU, Fixed4::fromInt(8));
    ASSERT_GT(steps, 0);

    FaultPress run(taxFile(inst), inst.data(), entries, QStringLiteral("syohizei_calc.fil"), before, after, steps);
    run.fresh = [&] { f = &typedForm(); };
    run.press = [&] { press(*f); };
    run.refused = [&](const QString &) {
        ASSERT_TRUE(app->forms.isLoaded<syohizei_calc_frm>());
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(f->Text2->text(), QStringLiteral("8.00"));
    };
    run.written = [&] { EXPECT_FALSE(app->forms.isLoaded<syohizei_calc_frm>()); };
    pressUnderEachFault(seam, run);

    // Every step failing, the opens and the read of the old settings too, once or from then on.
    EveryStepPress every;
    every.file = taxFile(inst);
    every.before = before;
    every.after = after;
    every.fileName = QStringLiteral("syohizei_calc.fil");
    every.asItWas = QStringLiteral("保存できませんでした"); // the words of a save that did not happen
    every.fresh = run.fresh;
    every.press = run.press;
    // A form that saved has gone: there is nothing to press again.
    every.again = [&] {
        if (app->forms.isLoaded<syohizei_calc_frm>())
            press(*f);
    };
    const PressOutcomes outcomes = pressUnderEveryStep(seam, every);
    RecordProperty("outcomes", outcomesText(outcomes));
    EXPECT_EQ(outcomes.count("may hold"), 0u);
    EXPECT_EQ(outcomes.count("landed"), 0u) << "nothing is read after the rename";
}

// The rate typed is rounded once, to the two decimals the box shows and the rows take; Enter
// runs the form from the rate box to "設定して終了", and Enter there saves.
TEST_F(TaxForm, TheRateIsRoundedOnceAndEnterRunsTheFormToItsSave)
{
    KIHON &k = start();
    openSample(k);
    const struct {
        const char *typed, *shown;
        std::int64_t raw;
    } cases[] = {{"10.004999", "10.00", 100000}, {"8.125", "8.13", 81300}};
    for (const auto &c : cases) {
        k.SYOHIZEI_000_Click();
        syohizei_calc_frm &f = app->forms.get<syohizei_calc_frm>();
        activate(f);
        typeOver(f.Text2, c.typed);
        QTest::keyClick(f.Text2, Qt::Key_Return);
        EXPECT_EQ(f.Text2->text().toStdString(), c.shown);
        EXPECT_EQ(g().TAX_RATE.raw(), c.raw) << c.typed;
        ASSERT_EQ(QApplication::focusWidget(), f.Text1);
        QTest::keyClick(f.Text1, Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget *>(f.Command1));
        QTest::keyClick(f.Command1, Qt::Key_Return);
        QTest::qWait(20);
        EXPECT_FALSE(app->forms.isLoaded<syohizei_calc_frm>()) << c.typed;
        EXPECT_EQ(qd::core::decodeTaxSettings(readBytes(taxFile(inst))).ZEI_RITU.raw(), c.raw) << c.typed;
    }
}

} // namespace
} // namespace qd::testing
