// The print road through the real handlers: the menu "印刷実行", the print dialog, the
// progress window, the preview with its paging, zoom and page range, and printing into a PDF
// file on a machine without a printer.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <map>

#include "quotedesk/core/tax_totals.h"
#include "quotedesk/mainwindow/form_links.h"
#include "quotedesk/printing/fm.h"
#include "quotedesk/printing/mitumori.h"
#include "quotedesk/printing/print_command.h"
#include "quotedesk/printing/prnt.h"
#include "tests/forms/forms_fixture.h"
#include "tests/forms/print_fixture.h"

namespace qd::testing {
namespace {

namespace fs = std::filesystem;
using qd::forms::KIHON;
using qd::printing::FM;
using qd::printing::MITUMORI;
using qd::printing::PRNT;
using qd::qt::MessageRequest;
namespace Answer = qd::qt::Answer;

// The text holds `phrase`, its full-width blanks standing for any run of blanks.
bool holds(const QString &text, const char *phrase)
{
    QString pattern;
    for (const QString &part : QString::fromUtf8(phrase).split(QChar(0x3000)))
        pattern += (pattern.isEmpty() ? QString() : QStringLiteral("[ 　]+")) + QRegularExpression::escape(part);
    return text.contains(QRegularExpression(pattern));
}

class PrintRoad : public QuotedeskFixture {
protected:
    qd::printing::PrintContext &ctx() { return qd::forms::printContext(*app); }

    // The sample document, cut or grown to `rows` priced rows.
    KIHON &openWithRows(int rows)
    {
        KIHON &k = start();
        openSample(k);
        qd::grid::FlexGrid &s = g().curGrid();
        for (int r = 1; r <= std::max(rows, 3); ++r) {
            if (r > rows) {
                for (int c = 1; c <= 24; ++c)
                    s.setCell(r, c, "");
            } else if (r > 3) {
                s.setCell(r, 2, "追加品目" + std::to_string(r));
                s.setCell(r, 9, "1");
                s.setCell(r, 10, "個");
                s.setCell(r, 14, "1,000");
                s.setCell(r, 15, "1,000");
                s.setCell(r, 23, "10");
            }
        }
        qd::core::TAX_TOTAL_CALC(g());
        // This machine's printers do not count: the pages go to a PDF file.
        ctx().availablePrinters = [] { return QStringList{}; };
        return k;
    }

    // "印刷実行" answered Yes or No, and the print dialog's print button.
    PRNT &composeAndPreview(KIHON &k, int taxAnswer = Answer::Yes)
    {
        seam.answerMessage(taxAnswer, [](const MessageRequest &m) {
            EXPECT_EQ(m.text, QStringLiteral("消費税印刷しますか？"));
        });
        k.menus().click(QStringLiteral("PRN_PRINT"));
        MITUMORI *dialog = ctx().mitumori.ifLoaded();
        EXPECT_NE(dialog, nullptr);
        EXPECT_FALSE(k.isEnabled());
        dialog->Command2->click();
        EXPECT_FALSE(ctx().mitumori.isLoaded());
        PRNT *preview = ctx().prnt.ifLoaded();
        EXPECT_NE(preview, nullptr);
        QApplication::processEvents();
        return *preview;
    }

    fs::path pdfFile() const { return inst.data() / "TXT" / "見本見積.pdf"; }

    // "印刷" and "印 刷" with the range boxes untouched: the page shown is printed.
    void printShownPage(PRNT &p)
    {
        seam.answerMessage(Answer::Ok, [this](const MessageRequest &m) {
            EXPECT_TRUE(m.text.contains(QString::fromStdString(qd::files::systemPath(pdfFile())))) << m.text.toStdString();
        });
        p.Command1->click();
        p.Command8->click();
    }

    // Enter in a page box, as the user types it.
    void typePage(QLineEdit *box, const QString &page)
    {
        box->setText(page);
        QTest::keyClick(box, Qt::Key_Return);
    }
};

TEST_F(PrintRoad, QuotationOfTwoRowsPrintsIntoAPdfBesideTheDocument)
{
    KIHON &k = openWithRows(2);
    PRNT &p = composeAndPreview(k);
    EXPECT_EQ(g().PAGE_COUNT, 1);
    EXPECT_EQ(p.windowTitle(), QStringLiteral("1/1"));
    EXPECT_FALSE(p.Command2->isEnabled());
    EXPECT_FALSE(p.Command6->isEnabled());
    printShownPage(p);
    ASSERT_TRUE(fs::exists(pdfFile()));
    EXPECT_EQ(pdfPageCount(pdfFile()), 1);
    // After printing the preview stays on the page printed, the main window still disabled.
    EXPECT_TRUE(ctx().prnt.isLoaded());
    EXPECT_FALSE(ctx().fm.isLoaded());
    EXPECT_FALSE(k.isEnabled());

    // pdftotext lays the full-width blanks out as blanks of its own.
    const QString text = pdfLayoutText(pdfFile());
    EXPECT_TRUE(holds(text, "御　見　積　書")) << text.toStdString();
    EXPECT_TRUE(holds(text, "株式会社　山川建設　御中"));
    const QString total = QStringLiteral("¥") + QString::fromStdString(qd::text::format(g().DOC_GROSS_TOTAL, "#,###,###"));
    EXPECT_TRUE(text.contains(total)) << total.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("【消費外税額】")));
    EXPECT_TRUE(holds(text, "【　総合計　】"));
    EXPECT_FALSE(holds(text, "網戸　標準")); // the third row is gone

    // The title 118 mm right of and 11 mm below the sheet's top-left corner.
    const std::vector<PdfWord> words = pdfWords(pdfFile());
    const PdfWord *title = nullptr;
    for (const PdfWord &w : words)
        if (w.text == QStringLiteral("御") && !title)
            title = &w;
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(title->xMin, 118.0, 0.3);
    EXPECT_NEAR(title->yMin, 11.0, 1.0);

    // Every text of the page image stands at the same place in the PDF.
    const PageContent page = pageContent(inst.data() / "001.emf");
    int compared = 0;
    for (const PageText &t : page.texts) {
        const QString s = QString::fromStdString(t.text);
        const qsizetype lead = s.size() - QString(s).remove(QRegularExpression(QStringLiteral("^[ 　]+"))).size();
        const QString first = s.mid(lead).split(QRegularExpression(QStringLiteral("[ 　]"))).value(0);
        if (first.isEmpty())
            continue;
        double x = t.x;
        for (qsizetype i = 0; i < lead && i < qsizetype(t.dx.size()); ++i)
            x += t.dx[std::size_t(i)];
        bool found = false;
        for (const PdfWord &w : words)
            found = found || (std::abs(w.xMin - x / 10) < 0.5 && std::abs(w.yMin - t.y / 10.0) < 1.5 &&
                              (w.text.startsWith(first) || first.startsWith(w.text)));
        EXPECT_TRUE(found) << t.text << " at " << t.x << "," << t.y;
        ++compared;
    }
    EXPECT_GT(compared, 40);

    // Back: the preview closes and the main window is enabled again.
    p.Command3->click();
    EXPECT_FALSE(ctx().prnt.isLoaded());
    EXPECT_TRUE(k.isEnabled());
}

TEST_F(PrintRoad, InvoiceWithoutTaxCarriesTheBankLinesAndTheDateColumn)
{
    KIHON &k = openWithRows(2);
    g().DOC_KIND = 1;
    PRNT &p = composeAndPreview(k, Answer::No);
    EXPECT_EQ(g().TAX_PRINT, 0);
    printShownPage(p);
    const QString text = pdfLayoutText(pdfFile());
    EXPECT_TRUE(holds(text, "御　請　求　書"));
    EXPECT_TRUE(text.contains(QStringLiteral("日付")));
    EXPECT_TRUE(text.contains(QStringLiteral("〓〓〓 お振込み先 〓〓〓")));
    for (const char *line : {"振込先：見本銀行　港支店", "普通預金　１２３４５６７", "口座名義　カ）ミホンサッシコウギョウ",
                             "振込手数料は御社にてご負担願います。"})
        EXPECT_TRUE(holds(text, line)) << line;
    EXPECT_TRUE(text.contains(QStringLiteral("【消費税別】")));
    EXPECT_FALSE(text.contains(QStringLiteral("【消費外税額】")));
    EXPECT_FALSE(text.contains(QStringLiteral("%対象")));
    EXPECT_TRUE(holds(text, "【　総合計　】"));
}

TEST_F(PrintRoad, PreviewPagesZoomsAndRefusesABadRange)
{
    KIHON &k = openWithRows(14);
    PRNT &p = composeAndPreview(k);
    EXPECT_EQ(g().PAGE_COUNT, 2);
    EXPECT_EQ(p.windowTitle(), QStringLiteral("1/2"));
    EXPECT_FALSE(p.Command6->isEnabled());
    EXPECT_TRUE(p.Command2->isEnabled());
    ASSERT_NE(p.Preview1->page(), nullptr);
    const qd::emf::PageImage *first = p.Preview1->page();
    EXPECT_EQ(pageContent(*first).find("御　見　積　書")->x, 1180);

    p.Command2->click();
    EXPECT_EQ(p.windowTitle(), QStringLiteral("2/2"));
    EXPECT_FALSE(p.Command2->isEnabled());
    EXPECT_TRUE(p.Command6->isEnabled());
    EXPECT_EQ(pageContent(*p.Preview1->page()).find("御　見　積　書")->x, 1050);
    p.COMMAND6_CLICK();
    EXPECT_EQ(p.windowTitle(), QStringLiteral("1/2"));
    EXPECT_FALSE(p.Command6->isEnabled());
    // Page Down on "印刷" turns the page, Page Up turns it back.
    p.Command1_KeyDown(34);
    EXPECT_EQ(g().PAGE_NO, 2);
    p.Command1_KeyDown(34); // nothing beyond the last page
    EXPECT_EQ(g().PAGE_NO, 2);
    p.Command1_KeyDown(33);
    EXPECT_EQ(g().PAGE_NO, 1);

    // Zoom in by 1.3 from 11600 twips: three steps are taken, the fourth beeps.
    EXPECT_EQ(p.pictureWidth(), 11600);
    const int beeps = seam.beepCount();
    const int widths[] = {15080, 19604, 25485};
    for (int w : widths) {
        p.Command4->click();
        EXPECT_EQ(p.pictureWidth(), w);
    }
    EXPECT_EQ(seam.beepCount(), beeps);
    p.Command4->click();
    EXPECT_EQ(seam.beepCount(), beeps + 1);
    EXPECT_EQ(p.pictureWidth(), 25485);
    EXPECT_EQ(p.HScroll1->maximum(), 25485 - 11600);
    // Scrolled and turned: the zoom and the place carry over to the next page.
    p.HScroll1->setValue(5000);
    EXPECT_EQ(p.PIC_LEFT, -5000);
    p.Command2->click();
    EXPECT_EQ(p.pictureWidth(), 25485);
    EXPECT_EQ(p.HScroll1->value(), 5000);
    p.Command5->click();
    EXPECT_EQ(p.pictureWidth(), 19604);

    // A magnification step must be a number above 0; an empty answer keeps the step.
    for (const char *bad : {"0", "abc", "-1.5"}) {
        seam.answerInput(QString::fromLatin1(bad));
        seam.answerMessage(Answer::Ok, [](const MessageRequest &m) { EXPECT_EQ(m.text, QStringLiteral("指定が違います。")); });
        p.Command7->click();
        EXPECT_EQ(p.ZOOM_FACTOR, QStringLiteral("1.3")) << bad;
    }
    seam.cancelInput();
    p.Command7->click();
    EXPECT_EQ(p.ZOOM_FACTOR, QStringLiteral("1.3"));
    seam.answerInput(QStringLiteral("2"), [](const qd::qt::InputRequest &r) {
        EXPECT_EQ(r.prompt, QStringLiteral("拡大／縮小倍率を入れて下さい。"));
        EXPECT_EQ(r.defaultText, QStringLiteral("1.3"));
    });
    p.Command7->click();
    p.Command5->click();
    EXPECT_EQ(p.pictureWidth(), 9802);

    // A tiny window: everything keeps a size, nothing divides by nothing.
    p.resize(1, 1);
    QApplication::processEvents();
    p.Form_Resize();
    EXPECT_GT(p.pictureWidth(), 0);
    EXPECT_GE(p.HScroll1->width(), 0);

    // The range 2 to 1 is refused; so is a page beyond the last.
    p.activateWindow();
    QApplication::setActiveWindow(&p);
    p.Command1->click();
    ASSERT_TRUE(p.Frame1->isVisible());
    struct Range {
        const char *from, *to;
    };
    for (const Range r : {Range{"2", "1"}, Range{"1", "3"}}) {
        typePage(p.Text2, QString::fromLatin1(r.from));
        typePage(p.Text3, QString::fromLatin1(r.to));
        seam.answerMessage(Answer::Ok, [](const MessageRequest &m) { EXPECT_EQ(m.text, QStringLiteral("指定が違います。")); });
        p.Command8->click();
        EXPECT_FALSE(fs::exists(pdfFile())) << r.from << "-" << r.to;
        const QString shown = QString::fromStdString(qd::text::format(g().PAGE_NO, "###"));
        EXPECT_EQ(p.Text2->text(), shown);
        EXPECT_EQ(p.Text3->text(), shown);
    }
    p.Command9->click();
    EXPECT_FALSE(p.Frame1->isVisible());
    EXPECT_EQ(g().PRN_FROM, 0);
    EXPECT_EQ(g().PRN_TO, 0);

    // The printer-settings picture: not part of this system.
    seam.answerMessage(Answer::Ok,
                       [](const MessageRequest &m) { EXPECT_TRUE(m.text.contains(QStringLiteral("SETTEI.EXE"))); });
    p.Image1_Click();
    EXPECT_TRUE(seam.callsOf(qd::qt::SeamCall::Kind::Process).empty());

    // Closed by its window frame: as "戻る".
    p.close();
    EXPECT_FALSE(ctx().prnt.isLoaded());
    EXPECT_TRUE(k.isEnabled());
}

TEST_F(PrintRoad, ARangeOfThreePagesIsRefusedBackwardsAndPrintedForwards)
{
    KIHON &k = openWithRows(31);
    PRNT &p = composeAndPreview(k);
    ASSERT_EQ(g().PAGE_COUNT, 3);
    QApplication::setActiveWindow(&p);
    p.Command1->click();
    typePage(p.Text2, QStringLiteral("3"));
    typePage(p.Text3, QStringLiteral("2"));
    EXPECT_EQ(g().PRN_FROM, 3);
    EXPECT_EQ(g().PRN_TO, 2);
    seam.answerMessage(Answer::Ok, [](const MessageRequest &m) { EXPECT_EQ(m.text, QStringLiteral("指定が違います。")); });
    p.Command8->click();
    EXPECT_EQ(p.Text2->text(), QStringLiteral("2"));
    EXPECT_FALSE(fs::exists(pdfFile()));

    typePage(p.Text2, QStringLiteral("2"));
    typePage(p.Text3, QStringLiteral("3"));
    // While printing the progress window is modal and the main window stays disabled.
    bool modal = false, mainDisabled = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (FM *fm = ctx().fm.ifLoaded(); fm && fm->isVisible()) {
            modal = modal || QApplication::activeModalWidget() == fm;
            mainDisabled = mainDisabled || !k.isEnabled();
        }
    });
    watch.start(0);
    seam.answerMessage(Answer::Ok);
    p.Command8->click();
    watch.stop();
    EXPECT_TRUE(modal);
    EXPECT_TRUE(mainDisabled);
    EXPECT_EQ(pdfPageCount(pdfFile()), 2);
    EXPECT_EQ(g().PAGE_NO, 2);
    EXPECT_EQ(p.windowTitle(), QStringLiteral("2/3"));
    EXPECT_TRUE(p.Command2->isEnabled());
    EXPECT_TRUE(p.Command6->isEnabled());
    EXPECT_EQ(g().PRN_FROM, 0);
    const std::vector<PdfWord> words = pdfWords(pdfFile());
    bool thirdOnSecondSheet = false;
    for (const PdfWord &w : words)
        thirdOnSecondSheet = thirdOnSecondSheet || (w.page == 2 && w.text == QStringLiteral("総合計"));
    EXPECT_TRUE(thirdOnSecondSheet); // sheet 2 is page 3, no blank sheet after it
}

TEST_F(PrintRoad, TheStopButtonEndsPrintingAfterThePageInHand)
{
    KIHON &k = openWithRows(31);
    PRNT &p = composeAndPreview(k);
    QApplication::setActiveWindow(&p);
    p.Command1->click();
    typePage(p.Text2, QStringLiteral("1"));
    typePage(p.Text3, QStringLiteral("3"));
    QTimer stop;
    QObject::connect(&stop, &QTimer::timeout, [&] {
        if (FM *fm = ctx().fm.ifLoaded(); fm && fm->isVisible() && fm->Text1->text() == QStringLiteral("1"))
            fm->close(); // the frame's close box is the stop button
    });
    stop.start(0);
    seam.answerMessage(Answer::Ok);
    p.Command8->click();
    stop.stop();
    EXPECT_EQ(g().PRN_CANCEL, 9);
    EXPECT_EQ(pdfPageCount(pdfFile()), 1);
    EXPECT_FALSE(ctx().prnt.isLoaded());
    EXPECT_FALSE(ctx().fm.isLoaded());
    EXPECT_TRUE(k.isEnabled());
}

TEST_F(PrintRoad, ComposingShowsTheModalProgressWindowWhoseStopKeepsThePagesWritten)
{
    KIHON &k = openWithRows(40);
    QTimer stop;
    bool modal = false, mainDisabled = true;
    QObject::connect(&stop, &QTimer::timeout, [&] {
        if (FM *fm = ctx().fm.ifLoaded(); fm && fm->isVisible()) {
            modal = modal || QApplication::activeModalWidget() == fm;
            mainDisabled = mainDisabled && !k.isEnabled();
            // A window that stays live changes the sheet: the pages keep what it held.
            g().curGrid().setCell(30, 2, "後から変更");
            if (g().PAGE_NO == 3)
                fm->Command1->click();
        }
    });
    stop.start(0);
    PRNT &p = composeAndPreview(k);
    stop.stop();
    EXPECT_TRUE(modal);
    EXPECT_TRUE(mainDisabled);
    EXPECT_EQ(g().PAGE_COUNT, 2); // the pages written; page 3 was being composed
    const PageContent page2 = pageContent(inst.data() / "002.emf");
    EXPECT_TRUE(page2.has("追加品目30"));
    EXPECT_FALSE(page2.has("後から変更"));
    EXPECT_EQ(p.windowTitle(), QStringLiteral("1/2"));
    EXPECT_TRUE(fs::exists(inst.data() / "002.emf"));
    EXPECT_FALSE(fs::exists(inst.data() / "003.emf"));
}

TEST_F(PrintRoad, APageWhoseImageIsGoneIsNeverPrintedAsAnotherPicture)
{
    KIHON &k = openWithRows(14);
    PRNT &p = composeAndPreview(k);
    fs::remove(inst.data() / "002.emf");
    QApplication::setActiveWindow(&p);
    p.Command1->click();
    typePage(p.Text2, QStringLiteral("1"));
    typePage(p.Text3, QStringLiteral("2"));
    seam.answerMessage(Answer::Ok, [](const MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("印刷イメージが読めません。"))) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(QStringLiteral("002.emf")));
    });
    p.Command8->click();
    EXPECT_EQ(pdfPageCount(pdfFile()), 1);
    EXPECT_FALSE(ctx().prnt.isLoaded());
    EXPECT_FALSE(ctx().fm.isLoaded());
    EXPECT_TRUE(k.isEnabled());
}

TEST_F(PrintRoad, EmptySheetComposesNothingAndNoPageCanBePrinted)
{
    KIHON &k = openWithRows(0);
    g().PAGE_COUNT = 5; // from an earlier run
    qd::testing::writeBytes(inst.data() / "001.emf", "stale");
    PRNT &p = composeAndPreview(k);
    EXPECT_EQ(g().PAGE_COUNT, 0);
    EXPECT_FALSE(fs::exists(inst.data() / "001.emf"));
    EXPECT_EQ(p.Preview1->page(), nullptr);
    EXPECT_EQ(p.windowTitle(), QStringLiteral("1/0"));
    seam.answerMessage(Answer::Ok, [](const MessageRequest &m) { EXPECT_EQ(m.text, QStringLiteral("指定が違います。")); });
    p.Command1->click();
    p.Command8->click();
    EXPECT_FALSE(fs::exists(pdfFile()));
}

TEST_F(PrintRoad, APageImageThatCannotBeWrittenEndsThePrintCommandWithAMessage)
{
    KIHON &k = openWithRows(2);
    fs::create_directories(inst.data() / "001.emf");
    qd::testing::writeBytes(inst.data() / "001.emf" / "keep", "x");
    seam.answerMessage(Answer::Yes);
    k.menus().click(QStringLiteral("PRN_PRINT"));
    seam.answerMessage(Answer::Ok, [](const MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("印刷イメージが書き込めません。"))) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(QStringLiteral("001.emf")));
    });
    ctx().mitumori.ifLoaded()->Command2->click();
    EXPECT_FALSE(ctx().prnt.isLoaded());
    EXPECT_FALSE(ctx().fm.isLoaded());
    EXPECT_TRUE(k.isEnabled());
    EXPECT_TRUE(g().curGrid().redraw());
}

TEST_F(PrintRoad, PrintDialogOpensWithItsChoicesAndEveryWayOutEnablesTheMainWindow)
{
    KIHON &k = openWithRows(2);
    g().DOC_KIND = 1;
    g().PRN_NAME_COL = 1;
    g().PRN_OPTION = 0;
    seam.answerMessage(Answer::Yes);
    k.menus().click(QStringLiteral("PRN_PRINT"));
    MITUMORI *d = ctx().mitumori.ifLoaded();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Command2->text(), QStringLiteral("請求書印刷"));
    EXPECT_TRUE(d->Option1->isChecked());
    EXPECT_EQ(g().PRN_NAME_COL, 0);
    EXPECT_TRUE(d->Option4->isChecked());
    EXPECT_TRUE(d->Option5->isChecked());
    d->Option2->click();
    EXPECT_EQ(g().PRN_NAME_COL, 1);
    d->Option3->click();
    EXPECT_EQ(g().PRN_OPTION, 1);
    d->Command1->click(); // "終了"
    EXPECT_FALSE(ctx().mitumori.isLoaded());
    EXPECT_TRUE(k.isEnabled());
    EXPECT_EQ(g().PRN_OPTION, 1);

    // The window frame's close is "終了" too.
    seam.answerMessage(Answer::Yes);
    k.menus().click(QStringLiteral("PRN_PRINT"));
    EXPECT_FALSE(k.isEnabled());
    EXPECT_TRUE(ctx().mitumori.ifLoaded()->Option3->isChecked());
    ctx().mitumori.ifLoaded()->close();
    EXPECT_FALSE(ctx().mitumori.isLoaded());
    EXPECT_TRUE(k.isEnabled());
}

TEST_F(PrintRoad, WithoutADocumentNameThePrintCommandOnlyAsksForIt)
{
    KIHON &k = openWithRows(2);
    g().CUR_DOC_NAME = std::string(20, ' ');
    seam.answerMessage(Answer::Ok,
                       [](const MessageRequest &m) { EXPECT_EQ(m.text, QStringLiteral("見積の属性を設定してください。")); });
    k.menus().click(QStringLiteral("PRN_PRINT"));
    EXPECT_FALSE(ctx().mitumori.isLoaded());
    EXPECT_TRUE(k.isEnabled());
}

TEST_F(PrintRoad, IssueDateTakesWhatIsTypedOrToday)
{
    KIHON &k = start();
    const std::string today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString();
    struct Case {
        const char *answer;
        std::string date;
        std::int32_t number;
    };
    const Case cases[] = {
        {"20240105", "20240105", 20240105},
        {" 20240105 ", "20240105", 20240105},
        {"2024/5/1", "2024/5/1", 2024},
        {"2024010512345", "2024010512", 2024010512},
        {"", today, std::stoi(today)},
        {"平成", today, std::stoi(today)},
    };
    g().ISSUE_DATE_NUM = 20231231;
    seam.answerInput(QStringLiteral("20240105"), [](const qd::qt::InputRequest &r) {
        EXPECT_EQ(r.prompt, QStringLiteral("発行日を入れてください。"));
        EXPECT_EQ(r.title, QStringLiteral("印刷発行日の設定"));
        EXPECT_EQ(r.defaultText, QStringLiteral("20231231"));
    });
    k.menus().click(QStringLiteral("PRN_HAKKOBI"));
    for (const Case &c : cases) {
        seam.answerInput(QString::fromUtf8(c.answer));
        k.menus().click(QStringLiteral("PRN_HAKKOBI"));
        EXPECT_EQ(qd::text::trim(g().ISSUE_DATE), c.date) << c.answer;
        EXPECT_EQ(g().ISSUE_DATE_NUM, c.number) << c.answer;
    }
}

} // namespace
} // namespace qd::testing
