// The boxes of quotedesk's forms that select their value as the focus arrives: reached by a
// mouse click or by Tab, what the user types replaces the value shown, and Enter takes it.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <string>

#include "platform/qt/entry_box.h"
#include "platform/text/numbers.h"
#include "quotedesk/entry/ssgarasufm.h"
#include "quotedesk/mainwindow/form_links.h"
#include "quotedesk/mainwindow/mitfm.h"
#include "quotedesk/mainwindow/syohizei_calc_frm.h"
#include "quotedesk/printing/mitumori.h"
#include "quotedesk/printing/print_context.h"
#include "quotedesk/printing/prnt.h"
#include "quotedesk/sheet/hensyu_menu.h"
#include "tests/forms/forms_fixture.h"

namespace qd::testing {
namespace {

using qd::forms::KIHON;
using qd::text::trim;

class FocusClicks : public QuotedeskFixture {
protected:
    // A fresh quotedesk on the sample document.
    KIHON &fresh()
    {
        app.reset();
        app = std::make_unique<qd::forms::QuotedeskApp>();
        app->endProgram = [this] { ++ended; };
        KIHON &k = start();
        openSample(k);
        return k;
    }
    template <class Form>
    Form &loaded()
    {
        Form *f = app->forms.ifLoaded<Form>();
        EXPECT_NE(f, nullptr);
        return *f;
    }
    qd::printing::PRNT &preview(KIHON &k)
    {
        seam.answerMessage(qd::qt::Answer::Yes); // 消費税印刷しますか？
        k.menus().click(QStringLiteral("PRN_PRINT"));
        qd::printing::PrintContext &ctx = qd::forms::printContext(*app);
        ctx.availablePrinters = [] { return QStringList{}; };
        ctx.mitumori.ifLoaded()->Command2->click();
        QApplication::processEvents();
        qd::printing::PRNT *p = ctx.prnt.ifLoaded();
        EXPECT_NE(p, nullptr);
        p->Command1->click(); // 印刷: the page range
        return *p;
    }
    // The control that Tab leaves for the box.
    static QWidget *before(QLineEdit *box)
    {
        for (QWidget *w = box->previousInFocusChain(); w != box; w = w->previousInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled())
                return w;
        return nullptr;
    }
};

TEST_F(FocusClicks, TypingIntoABoxReachedByAClickOrByTabReplacesItsValue)
{
    struct Box {
        const char *name;
        std::function<QLineEdit *(KIHON &)> open; // the form shown, the box in it
        const char *typed;
        std::function<std::string()> taken; // the value Enter took, as it is kept
        const char *expected;
        bool byTab = true; // the focus can come by Tab
    };
    const Box boxes[] = {
        {"見積情報 物件名",
         [this](KIHON &k) {
             k.menus().click(QStringLiteral("ZOKUSEI_MIT"));
             return loaded<qd::forms::MITFM>().Text[2];
         },
         "ABC", [this] { return trim(g().HEAD_BUKKEN); }, "ABC"},
        {"見積情報 掛率",
         [this](KIHON &k) {
             k.menus().click(QStringLiteral("ZOKUSEI_MIT"));
             return loaded<qd::forms::MITFM>().Text[7];
         },
         "80", [this] { return qd::text::format(g().HEAD_RATE, "##0.00"); }, "80.00"},
        {"消費税 端数処理",
         [this](KIHON &k) {
             k.SYOHIZEI_000_Click();
             return loaded<qd::forms::syohizei_calc_frm>().Text1;
         },
         "10", [this] { return std::to_string(g().TAX_ROUND_UNIT); }, "10"},
        {"消費税 税率",
         [this](KIHON &k) {
             k.SYOHIZEI_000_Click();
             return loaded<qd::forms::syohizei_calc_frm>().Text2;
         },
         "8", [this] { return qd::text::format(g().TAX_RATE, "##0.00"); }, "8.00"},
        {"編集メニュー 値",
         [this](KIHON &k) {
             g().EDIT_VALUE = qd::text::fixedChars("前の値", 100);
             k.HENSYU_MENU_DISP_Click();
             return loaded<qd::forms::HENSYU_MENU>().Text3;
         },
         "ABC", [this] { return trim(g().EDIT_VALUE); }, "ABC"},
        {"セルの編集",
         [this](KIHON &k) {
             g().curGrid().setRow(1);
             g().curGrid().setCol(2);
             k.GRID1_DblClick();
             k.currentGridView().setFocus(); // the editor stays open
             return k.Text1;
         },
         "ABC", [this] { return trim(g().curGrid().cell(1, 2)); }, "ABC", false},
        {"単品 検索",
         [this](KIHON &k) {
             g().SEARCH_TEXT = "前の検索";
             k.SERCH_GARASU_Click();
             return loaded<qd::forms::SSGARASUFM>().Text5;
         },
         "AB", [this] { return g().SEARCH_TEXT; }, "AB"},
        {"単品 単価",
         [this](KIHON &k) {
             k.SERCH_GARASU_Click();
             auto &f = loaded<qd::forms::SSGARASUFM>();
             f.List1->setListIndex(0);
             return f.Text3;
         },
         "500", [this] { return std::to_string(g().ITEM_TANKA); }, "500"},
        {"プレビュー 開始ページ", [this](KIHON &k) { return preview(k).Text2; }, "1",
         [this] { return std::to_string(g().PRN_FROM); }, "1"},
        {"プレビュー 終了ページ", [this](KIHON &k) { return preview(k).Text3; }, "1",
         [this] { return std::to_string(g().PRN_TO); }, "1"},
    };
    for (const Box &b : boxes) {
        for (const bool byTab : {false, true}) {
            if (byTab && !b.byTab)
                continue;
            SCOPED_TRACE(std::string(b.name) + (byTab ? " by Tab" : " by a click"));
            KIHON &k = fresh();
            QLineEdit *box = b.open(k);
            ASSERT_NE(box, nullptr);
            QWidget *window = box->window();
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
            QWidget *from = before(box);
            ASSERT_NE(from, nullptr);
            from->setFocus(Qt::OtherFocusReason);
            QApplication::processEvents();
            ASSERT_NE(QApplication::focusWidget(), box);
            const QString shown = box->text();
            if (byTab)
                QTest::keyClick(from, Qt::Key_Tab);
            else // where a user clicks into a box: right of the value it shows
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 6, box->height() / 2));
            ASSERT_EQ(QApplication::focusWidget(), box);
            EXPECT_FALSE(box->text().isEmpty()) << "the box shows its value: " << shown.toStdString();
            EXPECT_EQ(box->selectedText().toStdString(), box->text().toStdString());

            QTest::keyClicks(box, QString::fromUtf8(b.typed));
            EXPECT_EQ(box->text().toStdString(), b.typed);
            QTest::keyClick(box, Qt::Key_Return);
            QTest::qWait(20); // the handlers of leaving the box that run after the key
            EXPECT_EQ(b.taken(), b.expected);
        }
    }
}

} // namespace
} // namespace qd::testing
