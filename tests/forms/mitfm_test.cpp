// The header form MITFM: the partner list, the field protocol of its boxes, and the header
// record it writes.
#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <cerrno>
#include <cstring>

#include "platform/text/numbers.h"
#include "quotedesk/core/rate_select.h"
#include "quotedesk/entry/price_item.h"
#include "quotedesk/entry/ssset.h"
#include "quotedesk/mainwindow/mitfm.h"
#include "records/record.h"
#include "tests/forms/forms_fixture.h"
#include "tests/qtsupport/fault_press.h"
#include "tests/qtsupport/every_step_press.h"
#include "tests/support/fault_runs.h"
#include "tests/support/torn_file.h"

using qd::forms::KIHON;
using qd::forms::MITFM;
using qd::qt::MessageRequest;

namespace qd::testing {
namespace {

class HeaderForm : public QuotedeskFixture {
protected:
    MITFM &openForm()
    {
        KIHON &k = start();
        openSample(k);
        k.menus().click(QStringLiteral("ZOKUSEI_MIT"));
        MITFM *f = app->forms.ifLoaded<MITFM>();
        EXPECT_NE(f, nullptr);
        return *f;
    }
    std::filesystem::path headerFile(const std::string &name = "見本見積") const
    {
        return inst.data() / "TXT" / (name + ".SSS");
    }
    // The form as the menu shows it again, active, for keys and clicks to reach it.
    MITFM &showAgain()
    {
        app->kihon().menus().click(QStringLiteral("ZOKUSEI_MIT"));
        MITFM *f = app->forms.ifLoaded<MITFM>();
        EXPECT_NE(f, nullptr);
        activate(*f);
        return *f;
    }
    static void activate(MITFM &f)
    {
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
    }
    // Keys typed into box n over what it shows, as a user types them.
    static void keyIn(MITFM &f, int n, const QString &typed)
    {
        f.Text[n]->setFocus();
        EXPECT_EQ(QApplication::focusWidget(), f.Text[n]);
        f.Text[n]->selectAll();
        for (const char32_t ch : typed.toUcs4()) {
            if (ch < 0x80) {
                QTest::keyClick(f.Text[n], static_cast<char>(ch));
                continue;
            }
            // Japanese comes from the input method, committed character by character.
            QInputMethodEvent commit;
            commit.setCommitString(QString::fromUcs4(&ch, 1));
            QApplication::sendEvent(f.Text[n], &commit);
        }
    }
    std::string headerField(int offset, int width)
    {
        return qd::text::fromCp932(readBytes(headerFile()).substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(width)));
    }
    static std::string text(const QLineEdit *t) { return t->text().toStdString(); }
    // The demo's first set put in at `row` through the set search: its two components follow
    // at rows row + 1 and row + 2, priced at the header's rate.
    void addFirstSet(KIHON &k, int row)
    {
        g().ROW_NO = row;
        k.SERCH_SETHIN_Click();
        auto *set = app->forms.ifLoaded<qd::forms::SSSET>();
        ASSERT_NE(set, nullptr);
        set->List9->setListIndex(0);
        ASSERT_EQ(set->List8->lineCount(), 2);
        set->Command1->click();
    }
    // Typing into box n and pressing Enter (13), Escape (27) or nothing.
    static void typeInto(MITFM &f, int n, const QString &typed, int key)
    {
        f.Text_GotFocus(n);
        f.Text[n]->setText(typed);
        if (key)
            f.Text_KeyDown(n, key);
    }
};

TEST_F(HeaderForm, LoadsThePartnersAndTheHeaderOfTheDocument)
{
    MITFM &f = openForm();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.windowTitle(), QStringLiteral("見積情報"));
    ASSERT_EQ(f.Combo1->count(), 8);
    // The line keeps the record number for the handler; the drop-down shows the code and name.
    const std::string first = f.Combo1->itemData(0).toString().toStdString();
    EXPECT_EQ(first, "0001 " + qd::text::fixedChars("株式会社　山川建設", 50) + std::string(10, ' ') + "00001");
    EXPECT_EQ(qd::text::charCount(first), 70u);
    EXPECT_EQ(f.Combo1->itemText(0), QStringLiteral("0001 株式会社　山川建設"));
    EXPECT_EQ(f.Combo1->currentIndex(), -1);
    EXPECT_EQ(qd::text::trim(text(f.Text[2])), "見本邸　新築工事");
    EXPECT_EQ(qd::text::trim(text(f.Text[5])), "2026/12/20");
    EXPECT_EQ(text(f.Text[7]), "3.00");

    // Shown again while it is loaded: brought to the front, not refilled.
    f.Text[3]->setText(QStringLiteral("途中"));
    app->kihon().menus().click(QStringLiteral("ZOKUSEI_MIT"));
    EXPECT_EQ(app->forms.ifLoaded<MITFM>(), &f);
    EXPECT_EQ(text(f.Text[3]), "途中");
}

TEST_F(HeaderForm, DeletedPartnersAreNotListedAndAChoiceFillsThePartnerName)
{
    // Record 2 of the partners marked deleted.
    auto bytes = readBytes(inst.data() / "TOKF.SSS");
    bytes.replace(64, 4, "0000");
    writeBytes(inst.data() / "TOKF.SSS", bytes);
    MITFM &f = openForm();
    ASSERT_EQ(f.Combo1->count(), 7);
    EXPECT_EQ(f.Combo1->itemText(1).left(4), QStringLiteral("0003"));
    EXPECT_TRUE(f.Combo1->itemData(1).toString().endsWith(QStringLiteral("00003")));

    f.Combo1_Click(1);
    EXPECT_EQ(g().HEAD_TOKUI, qd::text::fixedChars("東和ハウジング株式会社", 50));
    EXPECT_EQ(qd::text::trim(text(f.Text[1])), "東和ハウジング株式会社");
    // Cancelled: the choice stays in the global, the file is not written.
    const std::string before = readBytes(headerFile());
    f.COMMAND2_CLICK();
    EXPECT_EQ(app->forms.ifLoaded<MITFM>(), nullptr);
    EXPECT_EQ(qd::text::trim(g().HEAD_TOKUI), "東和ハウジング株式会社");
    EXPECT_EQ(readBytes(headerFile()), before);
}

// The partner drop-down shows each partner's code and name whole, a name as wide as its field
// too, without the record number that ends its line, and no scroll bar under the lines.
TEST_F(HeaderForm, ThePartnerDropDownShowsCodeAndNameWhole)
{
    qd::records::Record wide(qd::records::Partner::layout());
    wide.setSeparators();
    wide.setText(qd::records::Partner::TOKUI_CD, "0099");
    wide.setText(qd::records::Partner::NAME, "アアアアアアアアアアアアアアアアアアアアアアアアア"); // 50 bytes
    writeBytes(inst.data() / "TOKF.SSS", readBytes(inst.data() / "TOKF.SSS") + wide.bytes());
    MITFM &f = openForm();
    f.Combo1->showPopup();
    QApplication::processEvents();
    QAbstractItemView *view = f.Combo1->view();
    const QFontMetrics metrics(view->font());
    ASSERT_EQ(f.Combo1->count(), 9);
    for (int i = 0; i < f.Combo1->count(); ++i) {
        const QString shown = f.Combo1->itemText(i);
        SCOPED_TRACE(shown.toStdString());
        EXPECT_EQ(shown, f.Combo1->itemData(i).toString().left(shown.size()));
        EXPECT_EQ(f.Combo1->itemData(i).toString().mid(shown.size()).trimmed(), QStringLiteral("%1").arg(i + 1, 5, 10, QLatin1Char('0')));
        EXPECT_FALSE(shown.endsWith(u' '));
        EXPECT_GE(view->visualRect(view->model()->index(i, 0)).width(), metrics.horizontalAdvance(shown));
    }
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
    f.Combo1->hidePopup();
}

// A partner file that ends in more than half of a record lists its whole records only, and the
// form says so each time it loads.
TEST_F(HeaderForm, APartnerFileThatEndsInAPartOfARecordListsItsWholeRecordsAndSaysSo)
{
    const std::filesystem::path partners = inst.data() / "TOKF.SSS";
    const std::string torn = tearLastRecord(partners, 64, 40);
    KIHON &k = start();
    openSample(k);
    seam.answerMessage(qd::qt::Answer::Ok, [&](const MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("切れた最後の 40 バイトを除き、揃っているレコード 8 件だけを表示します。\n\r\n\r")))
            << m.text.toStdString();
        EXPECT_TRUE(tellsOfTornFile(m.text.toStdString(), partners, 64));
    });
    k.menus().click(QStringLiteral("ZOKUSEI_MIT"));
    ASSERT_NE(app->forms.ifLoaded<MITFM>(), nullptr);
    EXPECT_EQ(app->forms.ifLoaded<MITFM>()->Combo1->count(), 8);
    EXPECT_EQ(seam.messages().size(), 1u);
    EXPECT_EQ(readBytes(partners), torn);
}

TEST_F(HeaderForm, OnlyValuesConfirmedWithEnterAreWrittenAtTheirOffsets)
{
    MITFM &f = openForm();
    typeInto(f, 1, QStringLiteral("株式会社　新取引先"), 13);
    typeInto(f, 2, QStringLiteral("未確定の物件名"), 0); // typed, not confirmed
    f.Text_LostFocus(2);
    EXPECT_EQ(qd::text::trim(text(f.Text[2])), "見本邸　新築工事") << "the typing is dropped";
    typeInto(f, 3, QStringLiteral("現場渡し"), 13);
    typeInto(f, 4, QStringLiteral("取消される条件"), 27);
    EXPECT_EQ(text(f.Text[4]), qd::text::trimRight(g().HEAD_SIHARAI));
    typeInto(f, 5, QStringLiteral("2027/01/31"), 13);
    typeInto(f, 6, QStringLiteral("60日"), 13);
    typeInto(f, 7, QStringLiteral("12.5"), 13);
    EXPECT_EQ(g().HEAD_RATE, qd::text::Fixed4::fromRaw(125000));
    EXPECT_EQ(text(f.Text[7]), "12.50");
    f.Command1_Click();
    EXPECT_EQ(app->forms.ifLoaded<MITFM>(), nullptr);

    const std::string rec = readBytes(headerFile());
    ASSERT_EQ(rec.size(), 256u);
    auto field = [&rec](int offset, int width) { return qd::text::fromCp932(rec.substr(offset, width)); };
    EXPECT_EQ(field(0, 50), qd::text::fixedChars("株式会社　新取引先", 41)); // 18 bytes + blanks
    EXPECT_EQ(qd::text::trim(field(51, 50)), "見本邸　新築工事");
    EXPECT_EQ(qd::text::trim(field(102, 30)), "現場渡し");
    EXPECT_EQ(qd::text::trim(field(133, 30)), "月末締め翌月末払い");
    EXPECT_EQ(field(164, 10), "2027/01/31");
    EXPECT_EQ(qd::text::trim(field(175, 10)), "60日");
    EXPECT_EQ(field(186, 10), "12.50     ");
    for (int sep : {50, 101, 132, 163, 174, 185, 196})
        EXPECT_EQ(rec[static_cast<std::size_t>(sep)], ',') << sep;
    EXPECT_EQ(rec.substr(197, 57), std::string(57, ' '));
    EXPECT_EQ(rec.substr(254), "\r\n");
}

TEST_F(HeaderForm, BoxesShowValuesWithoutPaddingAndRefuseOneTheirFieldCannotHold)
{
    MITFM &f = openForm();
    ASSERT_EQ(qd::text::cp932Width(g().HEAD_BUKKEN), 50u) << "read padded from its field";
    f.Text_GotFocus(2);
    EXPECT_EQ(text(f.Text[2]), "見本邸　新築工事");
    EXPECT_EQ(f.Text[2]->cursorPosition(), 8) << "typing at the end lands after the name";
    typeInto(f, 2, f.Text[2]->text() + QStringLiteral("体"), 13);
    EXPECT_EQ(g().HEAD_BUKKEN, "見本邸　新築工事体");

    // Twenty-six full-width characters are 52 bytes: refused, said, and left to shorten.
    const QString tooWide = QString(26, QChar(0x7A93)); // 窓
    seam.answerMessage(qd::qt::Answer::Ok, [](const MessageRequest &m) {
        EXPECT_EQ(m.text.toStdString(), "物件名は全角25文字（半角50文字）までです。");
    });
    typeInto(f, 2, tooWide, 13);
    EXPECT_EQ(seam.beepCount(), 1);
    EXPECT_EQ(g().HEAD_BUKKEN, "見本邸　新築工事体") << "the value stays as last confirmed";
    EXPECT_EQ(f.Text[2]->text(), tooWide);
    EXPECT_EQ(f.Text[2]->selectedText(), QStringLiteral("窓")) << "what lies beyond the field is selected";

    // "終了" takes the refused text through the same check: said again, nothing written.
    const std::string before = readBytes(headerFile());
    seam.answerMessage(qd::qt::Answer::Ok, [](const MessageRequest &m) {
        EXPECT_EQ(m.text.toStdString(), "物件名は全角25文字（半角50文字）までです。");
    });
    f.Command1_Click();
    EXPECT_EQ(app->forms.ifLoaded<MITFM>(), &f);
    EXPECT_EQ(readBytes(headerFile()), before);
    // Escape gives the box its value back, and that is what "終了" writes.
    f.Text_KeyDown(2, 27);
    f.Command1_Click();
    const std::string rec = readBytes(headerFile());
    EXPECT_EQ(qd::text::trim(qd::text::fromCp932(rec.substr(51, 50))), "見本邸　新築工事体");
}

// Typed into the rate box and confirmed with Enter, the rate is rounded once: the box shows it,
// the header keeps it and a set's products are priced at it. Enter leaves the focus on "終了",
// and Enter there presses it.
TEST_F(HeaderForm, TheRateIsRoundedOnceForTheBoxTheFileAndTheProducts)
{
    KIHON &k = start();
    openSample(k);
    // 10.004999 is 10.00, rank 10 of the kind records (read to four decimals first it was the
    // percentage 10.01).
    const struct {
        const char *typed, *shown, *rank;
    } cases[] = {{"12.34499", "12.34", "0"},
                 {"10.004999", "10.00", "10.00"},
                 {"72.345", "72.35", "0"},
                 {"999.994", "999.99", "0"}};
    int row = 1;
    for (const auto &c : cases) {
        MITFM &f = showAgain();
        keyIn(f, 7, QString::fromLatin1(c.typed));
        QTest::keyClick(f.Text[7], Qt::Key_Return);
        EXPECT_EQ(text(f.Text[7]), c.shown) << c.typed;
        ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget *>(f.Command1)) << c.typed;
        QTest::keyClick(f.Command1, Qt::Key_Return);
        ASSERT_EQ(app->forms.ifLoaded<MITFM>(), nullptr) << c.typed;
        EXPECT_EQ(headerField(186, 10), qd::text::fixedChars(c.shown, 10)) << c.typed;

        // The demo's first set: its components take the header's rate as a percentage.
        addFirstSet(k, row);
        ASSERT_FALSE(HasFatalFailure());
        const auto &grid = g().curGrid();
        for (int r = row + 1; r <= row + 2; ++r) {
            EXPECT_EQ(qd::text::trim(grid.cell(r, qd::entry::C_RITU_KBN)), c.rank) << c.typed << ", row " << r;
            if (std::string(c.rank) == "0") {
                EXPECT_EQ(grid.cell(r, qd::entry::C_KAKERITU), c.shown) << c.typed << ", row " << r;
                EXPECT_EQ(qd::text::trim(grid.cell(r, qd::entry::C_GENKA_RITU)), c.shown) << c.typed << ", row " << r;
            }
        }
        row += 3;
    }
}

// A click into the rate box leaves the rate shown selected: what is typed is the rate, on the
// sample's 3.00 as on a new document's 0.00. Enter shows it, "終了" writes it into the header and
// the products added afterwards are priced at it.
TEST_F(HeaderForm, ARateTypedAfterAClickIntoItsBoxIsTheRateOfTheFileAndTheProducts)
{
    for (const bool sample : {true, false}) {
        SCOPED_TRACE(sample ? "sample" : "new document");
        app.reset();
        app = std::make_unique<qd::forms::QuotedeskApp>();
        app->endProgram = [this] { ++ended; };
        KIHON &k = start();
        if (sample)
            openSample(k);
        else
            newDocument(k, QStringLiteral("新規率"));
        k.menus().click(QStringLiteral("ZOKUSEI_MIT"));
        MITFM *f = app->forms.ifLoaded<MITFM>();
        ASSERT_NE(f, nullptr);
        activate(*f);
        QLineEdit *rate = f->Text[7];
        QTest::mouseClick(rate, Qt::LeftButton, {}, QPoint(rate->width() - 6, rate->height() / 2));
        ASSERT_EQ(QApplication::focusWidget(), rate);
        EXPECT_EQ(rate->selectedText().toStdString(), sample ? "3.00" : "0.00");
        QTest::keyClicks(rate, QStringLiteral("80"));
        EXPECT_EQ(text(rate), "80");
        QTest::keyClick(rate, Qt::Key_Return);
        EXPECT_EQ(text(rate), "80.00");
        ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget *>(f->Command1));
        QTest::keyClick(f->Command1, Qt::Key_Return); // 終了
        ASSERT_EQ(app->forms.ifLoaded<MITFM>(), nullptr);
        const std::string header = readBytes(headerFile(sample ? "見本見積" : "新規率"));
        ASSERT_EQ(header.size(), 256u);
        EXPECT_EQ(header.substr(186, 10), "80.00     ");

        // The demo's first set: its components take the header's rate as a percentage.
        addFirstSet(k, 1);
        ASSERT_FALSE(HasFatalFailure());
        for (int r = 2; r <= 3; ++r) {
            EXPECT_EQ(g().curGrid().cell(r, qd::entry::C_KAKERITU), "80.00") << "row " << r;
            EXPECT_EQ(qd::text::trim(g().curGrid().cell(r, qd::entry::C_GENKA_RITU)), "80.00") << "row " << r;
        }
    }
}

// The form comes up with the focus in the partner name, the name selected for the typing to
// replace it. Gone to the back and shown again it moves no focus: the typing stays as it was.
TEST_F(HeaderForm, TheFormComesUpWithThePartnerNameSelected)
{
    MITFM &f = openForm();
    activate(f);
    ASSERT_EQ(QApplication::focusWidget(), f.Text[1]);
    EXPECT_EQ(text(f.Text[1]), "株式会社　山川建設");
    EXPECT_EQ(f.Text[1]->selectedText().toStdString(), text(f.Text[1]));
    QTest::keyClicks(f.Text[1], QStringLiteral("ABC"));
    EXPECT_EQ(text(f.Text[1]), "ABC");

    app->kihon().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app->kihon()));
    showAgain();
    ASSERT_EQ(QApplication::focusWidget(), f.Text[1]);
    EXPECT_EQ(text(f.Text[1]), "ABC");
    EXPECT_FALSE(f.Text[1]->hasSelectedText());
}

// With the main window in front, a click into a box of the form moves the focus there, as the
// form comes to the front after the click (a desktop that does not bring a window to the front
// before the click reaches it): the box left drops what was typed without Enter, the box clicked
// shows its value selected. So each time, whichever box had the focus before.
TEST_F(HeaderForm, AClickIntoABoxOfTheFormInTheBackMovesTheFocusThere)
{
    MITFM &f = openForm();
    activate(f);
    keyIn(f, 2, QStringLiteral("ABC"));
    const auto clickInTheBack = [&](int n) {
        app->kihon().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&app->kihon()));
        QTest::mouseClick(f.Text[n], Qt::LeftButton, {}, QPoint(f.Text[n]->width() - 6, f.Text[n]->height() / 2));
        activate(f);
        ASSERT_EQ(QApplication::focusWidget(), f.Text[n]);
    };
    clickInTheBack(7);
    EXPECT_EQ(f.Text[7]->selectedText().toStdString(), "3.00");
    EXPECT_EQ(text(f.Text[2]), "見本邸　新築工事");
    clickInTheBack(2);
    EXPECT_EQ(f.Text[2]->selectedText().toStdString(), "見本邸　新築工事");
    QTest::keyClicks(f.Text[2], QStringLiteral("XY"));
    EXPECT_EQ(text(f.Text[2]), "XY");
    EXPECT_EQ(text(f.Text[7]), "3.00");
}

// A refusal of "終了" that put the form in the back leaves the box that holds the refused text
// with the focus, the part to mend selected, once the form is in front again.
TEST_F(HeaderForm, ARefusedTextStaysInItsBoxWhenTheMessageTookTheFormToTheBack)
{
    MITFM &f = openForm();
    activate(f);
    const QString tooWide = QString(26, QChar(0x7A93)); // 窓
    keyIn(f, 2, tooWide);
    seam.answerMessage(qd::qt::Answer::Ok, [this](const MessageRequest &) {
        app->kihon().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&app->kihon()));
    });
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    ASSERT_EQ(seam.messages().size(), 1);
    ASSERT_FALSE(f.isActiveWindow());
    activate(f);
    EXPECT_EQ(QApplication::focusWidget(), f.Text[2]);
    EXPECT_EQ(text(f.Text[2]), tooWide.toStdString());
    EXPECT_EQ(f.Text[2]->selectedText().toStdString(), "窓");
}

// "終了" first takes what was typed into a box without Enter through the checks of Enter; a
// refusal is said once and nothing is written. "取消" takes nothing.
TEST_F(HeaderForm, TheEndButtonTakesTextTypedWithoutEnterThroughTheChecksOfEnter)
{
    KIHON &k = start();
    openSample(k);
    const QString tooLong = QString(29, QChar(0x7A93)); // 窓: 58 bytes for the 50 of the field
    const struct {
        int box;
        QString typed;
        const char *refusal; // nullptr: taken and written
        int offset, width;
        const char *written;
    } cases[] = {
        {2, tooLong, "物件名は全角25文字（半角50文字）までです。", 0, 0, nullptr},
        {7, QStringLiteral("abc"), "数値を入力して下さい！", 0, 0, nullptr},
        {7, QStringLiteral("123456789.5"), "掛率は 0.00～999.99 の範囲で入力して下さい！", 0, 0, nullptr},
        {2, QStringLiteral("見本😀邸"), "物件名には「😀」を使えません。", 0, 0, nullptr},
        {2, QStringLiteral("見本邸　増築工事"), nullptr, 51, 50, "見本邸　増築工事"},
        {3, QStringLiteral("現場渡し"), nullptr, 102, 30, "現場渡し"},
        {7, QStringLiteral("12.34499"), nullptr, 186, 10, "12.34"},
    };
    for (const auto &c : cases) {
        MITFM &f = showAgain();
        const std::string before = readBytes(headerFile());
        keyIn(f, c.box, c.typed);
        seam.clearCalls();
        if (c.refusal)
            seam.answerMessage(qd::qt::Answer::Ok, [&c](const MessageRequest &m) {
                EXPECT_EQ(m.text.toStdString(), c.refusal);
            });
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QCoreApplication::processEvents();
        if (c.refusal) {
            EXPECT_EQ(seam.messages().size(), 1) << c.refusal;
            EXPECT_EQ(seam.beepCount(), 1) << c.refusal;
            EXPECT_EQ(readBytes(headerFile()), before) << c.refusal;
            EXPECT_EQ(app->forms.ifLoaded<MITFM>(), &f) << c.refusal;
            EXPECT_EQ(QApplication::focusWidget(), f.Text[c.box]) << c.refusal;
            QTest::mouseClick(f.Command2, Qt::LeftButton); // 取消
            EXPECT_EQ(readBytes(headerFile()), before) << c.refusal;
            continue;
        }
        EXPECT_EQ(seam.messages(), QStringList()) << c.written;
        ASSERT_EQ(app->forms.ifLoaded<MITFM>(), nullptr) << c.written;
        EXPECT_EQ(qd::text::trimRight(headerField(c.offset, c.width)), c.written);
        // Shown again, the form shows what was written.
        MITFM &again = showAgain();
        EXPECT_EQ(qd::text::trimRight(text(again.Text[c.box])), c.written);
        again.COMMAND2_CLICK();
    }

    // Typed without Enter and cancelled: neither the file nor the value changes.
    MITFM &f = showAgain();
    const std::string before = readBytes(headerFile());
    const std::string project = g().HEAD_BUKKEN;
    keyIn(f, 2, QStringLiteral("取り消す名前"));
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    EXPECT_EQ(app->forms.ifLoaded<MITFM>(), nullptr);
    EXPECT_EQ(readBytes(headerFile()), before);
    EXPECT_EQ(g().HEAD_BUKKEN, project);
}

// "終了" with a project name typed and not confirmed, on a disk that fails at each step of the
// header's rewrite in turn. Up to the rename the old header stays byte for byte and the form
// stays open with the typed name, one message naming the file and the system's reason; the
// folder's flush after the rename comes when the new header is in place whole, so the form ends
// without a word. No work copy is left, and "終了" again writes the name.
TEST_F(HeaderForm, TheEndButtonUnderAFailingDiskKeepsTheOldHeaderOrWritesTheNewOne)
{
    const std::filesystem::path folder = inst.data() / "TXT";
    const std::string before = readBytes(headerFile());
    const std::vector<std::string> entries = entriesOf(folder);
    const QString typed = QStringLiteral("見本邸　増築工事");
    // A fresh quotedesk on the sample as it was, the name typed into its box without Enter.
    const auto typedForm = [&]() -> MITFM & {
        writeBytes(headerFile(), before);
        app.reset();
        app = std::make_unique<qd::forms::QuotedeskApp>();
        app->endProgram = [this] { ++ended; };
        MITFM &f = openForm();
        activate(f);
        keyIn(f, 2, typed);
        return f;
    };
    const auto press = [](MITFM &f) {
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QCoreApplication::processEvents();
    };
    MITFM *f = &typedForm();
    const int steps = stepsOf([&] { press(*f); });
    const std::string after = readBytes(headerFile());
    ASSERT_EQ(app->forms.ifLoaded<MITFM>(), nullptr);
    ASSERT_EQ(qd::text::trimRight(headerField(51, 50)), typed.toStdString());
    ASSERT_GT(steps, 0);

    FaultPress run(headerFile(), folder, entries, QStringLiteral("見本見積.SSS"), before, after, steps);
    run.fresh = [&] { f = &typedForm(); };
    run.press = [&] { press(*f); };
    run.refused = [&](const QString &) {
        ASSERT_EQ(app->forms.ifLoaded<MITFM>(), f);
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(qd::text::trimRight(text(f->Text[2])), typed.toStdString());
    };
    run.written = [&] { EXPECT_EQ(app->forms.ifLoaded<MITFM>(), nullptr); };
    pressUnderEachFault(seam, run);

    // Every step failing, the lock, the read of the old header and the work copy's open too, once
    // or from then on: a header that was written is never told as left unchanged.
    EveryStepPress every;
    every.file = headerFile();
    every.before = before;
    every.after = after;
    every.fileName = QStringLiteral("見本見積.SSS");
    every.asItWas = QStringLiteral("元のファイルは変更されていません");
    every.fresh = run.fresh;
    every.press = run.press;
    // A form that wrote has gone: there is nothing to press again.
    every.again = [&] {
        if (app->forms.ifLoaded<MITFM>() == f)
            press(*f);
    };
    const PressOutcomes outcomes = pressUnderEveryStep(seam, every);
    RecordProperty("outcomes", outcomesText(outcomes));
    EXPECT_EQ(outcomes.count("may hold"), 0u);
    EXPECT_EQ(outcomes.count("landed"), 0u) << "nothing is read after the rename";
}

TEST_F(HeaderForm, TheRateWrittenForANewDocumentIsTheRateOfItsNewProducts)
{
    KIHON &k = start();
    newDocument(k, QStringLiteral("新規率"));
    k.menus().click(QStringLiteral("ZOKUSEI_MIT"));
    MITFM *f = app->forms.ifLoaded<MITFM>();
    ASSERT_NE(f, nullptr);
    typeInto(*f, 7, QStringLiteral("72"), 13);
    f->Command1_Click();
    ASSERT_EQ(readBytes(headerFile("新規率")).size(), 256u);

    // A product entered before the first save takes the header's 72 %, not the own-company rank.
    qd::core::RATE_SELECT(g());
    EXPECT_EQ(g().RATE_VALUE, qd::text::Fixed4::fromInt(72));
}

TEST_F(HeaderForm, TheRateMustBeANumber)
{
    MITFM &f = openForm();
    typeInto(f, 7, QStringLiteral("3"), 13);
    EXPECT_EQ(text(f.Text[7]), "3.00");
    for (const char *typed : {"abc", "", "12,5", "1.2.3"}) {
        seam.answerMessage(qd::qt::Answer::Ok, [](const MessageRequest &m) {
            EXPECT_EQ(m.text, QStringLiteral("数値を入力して下さい！"));
        });
        typeInto(f, 7, QString::fromUtf8(typed), 13);
        EXPECT_EQ(g().HEAD_RATE, qd::text::Fixed4::fromInt(3)) << typed;
        EXPECT_EQ(text(f.Text[7]), "3.00") << typed;
    }
    EXPECT_EQ(seam.beepCount(), 4);
}

// A rate is taken as it is shown, or not at all: the products hold 掛率 and 原価率 in six
// characters (999.99), and a rate below 0 is none. Refused, the typing stays selected.
TEST_F(HeaderForm, ARateTheProductsCannotTakeAsShownIsRefusedOnEnter)
{
    MITFM &f = openForm();
    activate(f);
    const struct {
        const char *typed, *shown; // shown: nullptr when refused
    } cases[] = {{"1000", nullptr},       {"999.995", nullptr}, {"123456789.5", nullptr}, {"-5", nullptr},
                 {"999.994", "999.99"}, {"-0.004", "0.00"},   {"0", "0.00"}};
    for (const auto &c : cases) {
        const qd::text::Fixed4 before = g().HEAD_RATE;
        keyIn(f, 7, QString::fromLatin1(c.typed));
        seam.clearCalls();
        if (!c.shown)
            seam.answerMessage(qd::qt::Answer::Ok, [](const MessageRequest &m) {
                EXPECT_EQ(m.text.toStdString(), "掛率は 0.00～999.99 の範囲で入力して下さい！");
            });
        QTest::keyClick(f.Text[7], Qt::Key_Return);
        if (c.shown) {
            EXPECT_EQ(text(f.Text[7]), c.shown) << c.typed;
            EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget *>(f.Command1)) << c.typed;
            continue;
        }
        EXPECT_EQ(seam.messages().size(), 1) << c.typed;
        EXPECT_EQ(g().HEAD_RATE, before) << c.typed;
        EXPECT_EQ(QApplication::focusWidget(), f.Text[7]) << c.typed;
        EXPECT_EQ(text(f.Text[7]), c.typed);
        EXPECT_EQ(f.Text[7]->selectedText(), f.Text[7]->text()) << c.typed;
    }
}

TEST_F(HeaderForm, EscapeInTheFirstBoxRestoresItAndKeepsTheFocusThere)
{
    MITFM &f = openForm();
    f.activateWindow();
    f.Text[1]->setFocus();
    typeInto(f, 1, QStringLiteral("打ち間違い"), 27);
    EXPECT_EQ(qd::text::trim(text(f.Text[1])), "株式会社　山川建設");
    EXPECT_EQ(qd::text::trim(g().HEAD_TOKUI), "株式会社　山川建設");
    if (QApplication::focusWidget()) {
        EXPECT_EQ(QApplication::focusWidget(), f.Text[1]);
    }
}

TEST_F(HeaderForm, ABlankDocumentNameIsAskedForAndBecomesTheHeaderName)
{
    KIHON &k = start();
    openSample(k);
    g().CUR_DOC_NAME = "";
    seam.answerInput(QString(), [](const qd::qt::InputRequest &r) {
        EXPECT_EQ(r.prompt, QStringLiteral("ファイル名を入れてください。"));
        EXPECT_EQ(r.title, QStringLiteral("タイトルファイル名"));
        EXPECT_EQ(r.defaultText, QStringLiteral("新規"));
    });
    k.menus().click(QStringLiteral("ZOKUSEI_MIT"));
    EXPECT_EQ(g().HEAD_NAME, "新規");
    EXPECT_EQ(g().CUR_DOC_NAME, "新規.TXT");
    EXPECT_EQ(g().HEAD_BUKKEN, "新規");
    MITFM *f = app->forms.ifLoaded<MITFM>();
    ASSERT_NE(f, nullptr);
    f->Command1_Click();
    EXPECT_TRUE(std::filesystem::exists(headerFile("新規")));
}

TEST_F(HeaderForm, AHeaderThatCannotBeWrittenKeepsTheFormOpen)
{
    MITFM &f = openForm();
    g().DOC_DIR = instDir() + "\\no such folder";
    seam.answerMessage(qd::qt::Answer::Ok, [](const MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("見積情報を保存できませんでした。"))) << m.text.toStdString();
        // The file and the system's reason, without the file layer's own words.
        EXPECT_TRUE(m.text.contains(QStringLiteral("no such folder"))) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(QString::fromUtf8(std::strerror(ENOENT)))) << m.text.toStdString();
        EXPECT_FALSE(m.text.contains(QStringLiteral("The file"))) << m.text.toStdString();
    });
    f.Command1_Click();
    EXPECT_EQ(app->forms.ifLoaded<MITFM>(), &f);
}

} // namespace
} // namespace qd::testing
