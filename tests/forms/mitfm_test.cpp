// The header form MITFM: the partner list, the field protocol of its boxes, and the header
// record it writes.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <cerrno>
#include <cstring>

#include "platform/text/numbers.h"
#include "quotedesk/core/rate_select.h"
#include "quotedesk/mainwindow/mitfm.h"
#include "records/record.h"
#include "tests/forms/forms_fixture.h"
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
    static std::string text(const QLineEdit *t) { return t->text().toStdString(); }
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
    const std::string first = f.Combo1->itemText(0).toStdString();
    EXPECT_EQ(first, "0001 " + qd::text::fixedChars("株式会社　山川建設", 50) + std::string(10, ' ') + "00001");
    EXPECT_EQ(qd::text::charCount(first), 70u);
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
    EXPECT_TRUE(f.Combo1->itemText(1).endsWith(QStringLiteral("00003")));

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

    f.Command1_Click();
    const std::string rec = readBytes(headerFile());
    EXPECT_EQ(qd::text::trim(qd::text::fromCp932(rec.substr(51, 50))), "見本邸　新築工事体");
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
