// The print road through the real handlers: the menu "印刷実行", the print dialog, the
// progress window, the preview with its paging, zoom and page range, and printing into a PDF
// file on a machine without a printer.
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "platform/files/fault_plan.h"
#include "platform/files/file_lock.h"
#include "quotedesk/compose/page_print.h"
#include "quotedesk/core/tax_totals.h"
#include "quotedesk/mainwindow/form_links.h"
#include "quotedesk/printing/fm.h"
#include "quotedesk/printing/mitumori.h"
#include "quotedesk/printing/print_command.h"
#include "quotedesk/printing/prnt.h"
#include "tests/forms/forms_fixture.h"
#include "tests/forms/print_fixture.h"
#include "tests/support/processes.h"

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

    // The PDF file of a document and its kind, beside the document.
    fs::path pdfFileOf(const std::string &docName)
    {
        static const char *const kinds[] = {"見積書", "請求書", "納品書"};
        return inst.data() / "TXT" / (docName + "_" + kinds[g().DOC_KIND] + ".pdf");
    }
    fs::path pdfFile() { return pdfFileOf("見本見積"); }
    // The preview on screen (printing closes it and opens it again).
    PRNT &preview()
    {
        PRNT *p = ctx().prnt.ifLoaded();
        EXPECT_NE(p, nullptr);
        return *p;
    }

    // "印刷実行" answered Yes: the print dialog, or nullptr.
    MITUMORI *openDialog(KIHON &k)
    {
        seam.answerMessage(Answer::Yes);
        k.menus().click(QStringLiteral("PRN_PRINT"));
        return ctx().mitumori.ifLoaded();
    }

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
    // After printing the preview is open again on the page printed.
    EXPECT_TRUE(ctx().prnt.isLoaded());
    EXPECT_FALSE(ctx().fm.isLoaded());

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

    // Back: the preview closes and the main window takes input.
    preview().Command3->click();
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
    // The message box takes the window's activation while it is up, as on the desktop.
    seam.answerMessage(Answer::Ok, [](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("指定が違います。"));
        QApplication::setActiveWindow(nullptr);
    });
    p.Command8->click();
    EXPECT_EQ(p.Text2->text(), QStringLiteral("2"));
    EXPECT_FALSE(fs::exists(pdfFile()));
    // The start box has the focus with its page selected, before and after the window is
    // active again: a digit typed replaces the page.
    EXPECT_EQ(p.focusWidget(), p.Text2);
    EXPECT_EQ(p.Text2->selectedText(), QStringLiteral("2"));
    QApplication::setActiveWindow(&p);
    EXPECT_EQ(QApplication::focusWidget(), p.Text2);
    QTest::keyClick(p.Text2, Qt::Key_2);
    EXPECT_EQ(p.Text2->text(), QStringLiteral("2"));

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
    EXPECT_EQ(preview().windowTitle(), QStringLiteral("2/3"));
    EXPECT_TRUE(preview().Command2->isEnabled());
    EXPECT_TRUE(preview().Command6->isEnabled());
    EXPECT_EQ(g().PRN_FROM, 0);
    const std::vector<PdfWord> words = pdfWords(pdfFile());
    bool thirdOnSecondSheet = false;
    for (const PdfWord &w : words)
        thirdOnSecondSheet = thirdOnSecondSheet || (w.page == 2 && w.text == QStringLiteral("総合計"));
    EXPECT_TRUE(thirdOnSecondSheet); // sheet 2 is page 3, no blank sheet after it
}

// A stop asked while page 1 prints is seen at the start of page 2's pass: page 2 is printed
// whole, then printing ends with both windows closed.
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
    EXPECT_EQ(pdfPageCount(pdfFile()), 2);
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
        std::int64_t number;
    };
    const Case cases[] = {
        {"20240105", "20240105", 20240105},
        {" 20240105 ", "20240105", 20240105},
        {"2024/5/1", "2024/5/1", 2024},
        {"2024010512345", "2024010512", 2024010512},
        {"9999999999", "9999999999", 9999999999}, // beyond 32 bits, kept as typed
        {"", today, std::stoll(today)},
        {"平成", today, std::stoll(today)},
    };
    g().ISSUE_DATE_NUM = qd::text::Fixed4::fromInt(20231231);
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
        EXPECT_EQ(g().ISSUE_DATE_NUM, qd::text::Fixed4::fromInt(c.number)) << c.answer;
    }
    // The next prompt offers the number as it was kept.
    g().ISSUE_DATE_NUM = qd::text::Fixed4::fromInt(9999999999);
    seam.answerInput(QString(), [](const qd::qt::InputRequest &r) { EXPECT_EQ(r.defaultText, QStringLiteral("9999999999")); });
    k.menus().click(QStringLiteral("PRN_HAKKOBI"));
}

// A complete print closes the preview and opens it again as it first opened (picture fitted,
// magnification 1.3, nothing scrolled) on the first page printed; the main window takes input.
TEST_F(PrintRoad, AFinishedPrintOpensThePreviewAgainAsItFirstOpened)
{
    KIHON &k = openWithRows(14);
    PRNT &p = composeAndPreview(k);
    p.Command4->click();
    p.Command4->click();
    p.HScroll1->setValue(3000);
    seam.answerInput(QStringLiteral("2"));
    p.Command7->click();
    p.Command2->click();
    ASSERT_EQ(g().PAGE_NO, 2);
    QApplication::setActiveWindow(&p);
    seam.answerMessage(Answer::Ok);
    p.Command1->click();
    p.Command8->click(); // the page shown
    ASSERT_EQ(pdfPageCount(pdfFile()), 1);

    PRNT &again = preview();
    EXPECT_TRUE(k.isEnabled());
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(again.pictureWidth(), 11600);
    EXPECT_EQ(again.ZOOM_FACTOR, QStringLiteral("1.3"));
    EXPECT_EQ(again.HScroll1->value(), 0);
    EXPECT_EQ(again.HScroll1->maximum(), 0);
    EXPECT_EQ(again.PIC_LEFT, 0);
    EXPECT_FALSE(again.Frame1->isVisible());
    EXPECT_EQ(again.windowTitle(), QStringLiteral("2/2"));
    EXPECT_TRUE(again.Command6->isEnabled());
    EXPECT_FALSE(again.Command2->isEnabled());
    ASSERT_NE(again.Preview1->page(), nullptr);
    EXPECT_EQ(pageContent(*again.Preview1->page()).find("御　見　積　書")->x, 1050); // page 2
}

// Enter on the focused button presses it, so the whole road runs from the keyboard: the
// dialog's print button, "印刷" in the preview, Enter in both page boxes, Enter on "印 刷".
TEST_F(PrintRoad, EnterPressesTheFocusedButtonAlongThePrintRoad)
{
    KIHON &k = openWithRows(2);
    MITUMORI *d = openDialog(k);
    ASSERT_NE(d, nullptr);
    QApplication::setActiveWindow(d);
    d->Command2->setFocus();
    QTest::keyClick(d->Command2, Qt::Key_Return);
    ASSERT_TRUE(ctx().prnt.isLoaded());
    EXPECT_FALSE(ctx().mitumori.isLoaded());

    PRNT &p = preview();
    QApplication::setActiveWindow(&p);
    p.Command1->setFocus();
    QTest::keyClick(p.Command1, Qt::Key_Return);
    ASSERT_TRUE(p.Frame1->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), p.Text2);
    QTest::keyClick(p.Text2, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), p.Text3);
    QTest::keyClick(p.Text3, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), p.Command8);
    seam.answerMessage(Answer::Ok);
    QTest::keyClick(p.Command8, Qt::Key_Return);
    EXPECT_EQ(pdfPageCount(pdfFile()), 1);
}

// The picture in the page-range frame starts "\SETTEI.EXE" of the install folder, as the launch
// menu starts the tools; a program that is not there is reported as theirs are.
TEST_F(PrintRoad, ThePrinterSettingsPictureStartsTheSettingsProgram)
{
    KIHON &k = openWithRows(2);
    PRNT &p = composeAndPreview(k);
    p.Command1->click();
    seam.clearCalls();
    QTest::mouseClick(p.Image1, Qt::LeftButton);
    const std::vector<qd::qt::SeamCall> started = seam.callsOf(qd::qt::SeamCall::Kind::Process);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].process.program.toStdString(), instDir() + "\\SETTEI.EXE");
    EXPECT_TRUE(started[0].process.arguments.isEmpty());
    EXPECT_EQ(started[0].process.workingDir.toStdString(), instDir());

    seam.setProcessResult(false);
    seam.answerMessage(Answer::Ok, [](const MessageRequest &m) {
        EXPECT_TRUE(m.text.contains(QStringLiteral("SETTEI"))) << m.text.toStdString();
    });
    QTest::mouseClick(p.Image1, Qt::LeftButton);
    EXPECT_TRUE(ctx().prnt.isLoaded());
}

// Each kind of a document goes to a PDF file of its own ("見本見積_請求書.pdf"); a file of that
// name is replaced only when the user says so.
TEST_F(PrintRoad, PdfFilesAreNamedByDocumentAndKindAndReplacedOnlyWhenAsked)
{
    KIHON &k = openWithRows(2);
    for (int kind : {0, 1}) {
        g().DOC_KIND = static_cast<std::int16_t>(kind);
        printShownPage(composeAndPreview(k));
        preview().Command3->click();
    }
    const fs::path quotation = inst.data() / "TXT" / "見本見積_見積書.pdf";
    const fs::path invoice = inst.data() / "TXT" / "見本見積_請求書.pdf";
    EXPECT_EQ(pdfPageCount(quotation), 1);
    EXPECT_TRUE(holds(pdfLayoutText(quotation), "御　見　積　書"));
    EXPECT_TRUE(holds(pdfLayoutText(invoice), "御　請　求　書"));
    EXPECT_FALSE(holds(pdfLayoutText(quotation), "御　請　求　書"));

    qd::testing::writeBytes(invoice, "an earlier invoice");
    PRNT &p = composeAndPreview(k);
    p.Command1->click();
    seam.answerMessage(Answer::No, [&](const MessageRequest &m) {
        EXPECT_TRUE(m.text.contains(QStringLiteral("見本見積_請求書.pdf"))) << m.text.toStdString();
        EXPECT_EQ(m.buttons, qd::qt::Buttons::YesNo);
    });
    p.Command8->click();
    EXPECT_EQ(qd::testing::readBytes(invoice), "an earlier invoice");
    EXPECT_FALSE(ctx().fm.isLoaded());
    seam.answerMessage(Answer::Yes);
    seam.answerMessage(Answer::Ok);
    p.Command8->click();
    EXPECT_EQ(pdfPageCount(invoice), 1);
}

// The page images of an install folder serve one print run at a time: while another program's
// run holds them, the print command waits, then says so and leaves that run's pages alone; this
// program's own run holds them from the print command until its preview closes.
TEST_F(PrintRoad, APrintRunKeepsThePageImagesFromAnotherProgramsRun)
{
    using namespace std::chrono_literals;
    // The other programs are started before this one locks anything.
    Signal otherLocked, otherDone, probeGo, probeResult;
    ChildProcess other([&] {
        qd::core::QdState og;
        og.INST_DIR = instDir();
        const qd::files::FileLock run = qd::printing::lockPageImages(og);
        qd::testing::writeBytes(inst.data() / "001.emf", "the other run's page");
        otherLocked.post();
        otherDone.wait();
        return 0;
    });
    ChildProcess probe([&] {
        for (int round = 0; round < 2; ++round) {
            if (!probeGo.wait())
                return 1;
            qd::core::QdState og;
            og.INST_DIR = instDir();
            try {
                const qd::files::FileLock run = qd::printing::lockPageImages(og, 100ms);
                probeResult.post(1);
            } catch (const qd::files::LockBusy &) {
                probeResult.post(0);
            }
        }
        return 0;
    });
    ASSERT_TRUE(otherLocked.wait());

    KIHON &k = openWithRows(2);
    seam.answerMessage(Answer::Ok, [](const MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("他のプログラムが印刷中です。"))) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(QStringLiteral("001.emf")));
        EXPECT_TRUE(m.text.contains(QStringLiteral("他のプログラムで使用中です")));
    });
    k.menus().click(QStringLiteral("PRN_PRINT"));
    EXPECT_FALSE(ctx().mitumori.isLoaded());
    EXPECT_TRUE(k.isEnabled());
    EXPECT_EQ(qd::testing::readBytes(inst.data() / "001.emf"), "the other run's page");
    otherDone.post();
    EXPECT_EQ(other.wait(), 0);

    PRNT &p = composeAndPreview(k);
    EXPECT_NE(qd::testing::readBytes(inst.data() / "001.emf"), "the other run's page");
    probeGo.post();
    EXPECT_EQ(probeResult.receive(), 0) << "another run got the page images while the preview was open";
    p.Command3->click();
    probeGo.post();
    EXPECT_EQ(probeResult.receive(), 1) << "the page images stayed locked after the preview closed";
    EXPECT_EQ(probe.wait(), 0);
}

// The blue option lines of the print dialog are each as high as their text and clear of each
// other; the frames, the buttons and the window make room for them.
TEST_F(PrintRoad, PrintDialogOptionLinesEachHaveTheirLineHeight)
{
    KIHON &k = openWithRows(2);
    MITUMORI *d = openDialog(k);
    ASSERT_NE(d, nullptr);
    for (QRadioButton *o : {d->Option1, d->Option2, d->Option3, d->Option4, d->Option5})
        EXPECT_GE(o->height(), QFontMetrics(o->font()).height()) << o->text().toStdString();
    EXPECT_LT(d->Option1->geometry().bottom(), d->Option2->geometry().top());
    EXPECT_LT(d->Option3->geometry().bottom(), d->Option4->geometry().top());
    for (auto [frame, last] : {std::pair{d->Frame1, d->Option2}, {d->Frame2, d->Option4}, {d->Frame3, d->Option5}})
        EXPECT_LE(last->geometry().bottom(), frame->contentsRect().bottom()) << frame->title().toStdString();
    EXPECT_LT(d->Frame1->geometry().bottom(), d->Frame2->geometry().top());
    EXPECT_LT(d->Frame2->geometry().bottom(), d->Frame3->geometry().top());
    EXPECT_LT(d->Frame3->geometry().bottom(), d->Command1->geometry().top());
    EXPECT_LE(d->Command1->geometry().bottom(), d->height());
    d->Command1->click();
}

// The preview draws the page at one scale across and down: the table frame, 287 by 140 mm on
// paper, keeps its proportions in the picture.
TEST_F(PrintRoad, ThePreviewDrawsThePageAtOneScaleBothWays)
{
    KIHON &k = openWithRows(2);
    PRNT &p = composeAndPreview(k);
    const QImage img = p.Preview1->grab().toImage();
    // The columns (or rows) of the picture that are black over most of its height (or width):
    // the table's rules; the grey around the paper is not black.
    auto rules = [&](bool columns) {
        const int lines = columns ? img.width() : img.height(), span = columns ? img.height() : img.width();
        std::vector<int> found;
        for (int i = 0; i < lines; ++i) {
            int n = 0;
            for (int j = 0; j < span; ++j)
                n += qGray(columns ? img.pixel(i, j) : img.pixel(j, i)) < 64;
            if (n > span / 2)
                found.push_back(i);
        }
        return found;
    };
    const std::vector<int> cols = rules(true), rows = rules(false);
    ASSERT_GE(cols.size(), 2u);
    ASSERT_GE(rows.size(), 2u);
    const double across = (cols.back() - cols.front()) / 2870.0; // frame x 30..2900
    const double down = (rows.back() - rows.front()) / 1400.0;   // frame y 600..2000
    EXPECT_NEAR(across / down, 1.0, 0.01) << across << " a unit across, " << down << " down";
}

// A failing disk during a print run ends that command with the file and the system's reason:
// the main window takes input again, the document is as it was and the page images are given
// up, so the next run composes and prints.
TEST_F(PrintRoad, FileFaultsInAPrintRunEndItWithAMessageAndTheNextRunWorks)
{
    using qd::files::FileStep;
    KIHON &k = openWithRows(2);
    const fs::path doc = inst.data() / "TXT" / "見本見積.TXT";
    const std::string docBytes = qd::testing::readBytes(doc);
    const std::string amount = g().curGrid().cell(1, 15);

    // The first page image cannot be written.
    MITUMORI *dialog = openDialog(k);
    ASSERT_NE(dialog, nullptr);
    {
        qd::files::ScopedFault full(FileStep::Write, 1);
        seam.answerMessage(Answer::Ok, [](const MessageRequest &m) {
            EXPECT_TRUE(m.text.startsWith(QStringLiteral("印刷イメージが書き込めません。"))) << m.text.toStdString();
            EXPECT_TRUE(m.text.contains(QStringLiteral("001.emf")));
            EXPECT_TRUE(m.text.contains(QString::fromStdString(std::generic_category().message(ENOSPC))));
        });
        dialog->Command2->click();
    }
    EXPECT_FALSE(ctx().prnt.isLoaded());
    EXPECT_FALSE(ctx().fm.isLoaded());
    EXPECT_TRUE(k.isEnabled());
    EXPECT_FALSE(ctx().printRun.held());

    // The PDF file cannot be written: the preview stays on its page, no PDF is left.
    PRNT &p = composeAndPreview(k);
    EXPECT_TRUE(ctx().printRun.held());
    p.Command1->click();
    {
        qd::files::ScopedFault full(FileStep::Write, 1);
        seam.answerMessage(Answer::Ok, [this](const MessageRequest &m) {
            EXPECT_TRUE(m.text.startsWith(QStringLiteral("印刷できませんでした。"))) << m.text.toStdString();
            EXPECT_TRUE(m.text.contains(QString::fromStdString(qd::files::systemPath(pdfFile()))));
            EXPECT_TRUE(m.text.contains(QString::fromStdString(std::generic_category().message(ENOSPC))));
        });
        p.Command8->click();
        EXPECT_TRUE(qd::files::faults::fired());
    }
    EXPECT_FALSE(fs::exists(pdfFile()));
    EXPECT_FALSE(ctx().fm.isLoaded());
    EXPECT_TRUE(k.isEnabled());
    printShownPage(preview());
    EXPECT_EQ(pdfPageCount(pdfFile()), 1);
    preview().Command3->click();
    EXPECT_FALSE(ctx().printRun.held());

    EXPECT_EQ(qd::testing::readBytes(doc), docBytes);
    EXPECT_EQ(g().curGrid().cell(1, 15), amount);
    EXPECT_TRUE(g().curGrid().redraw());
}

// A failure that no print handler foresaw (here the print system failing while the printers are
// asked for) ends the command through the guard: the program, its document and the main window
// stay, the print forms close and the page images are given up for the next run.
TEST_F(PrintRoad, AFailureEscapingAPrintHandlerEndsOnlyThatCommand)
{
    KIHON &k = openWithRows(2);
    const std::string amount = g().curGrid().cell(1, 15);
    PRNT &p = composeAndPreview(k);
    ctx().availablePrinters = []() -> QStringList { throw std::runtime_error("print system down"); };
    p.Command1->click();
    seam.answerMessage(Answer::Ok, [](const MessageRequest &m) {
        EXPECT_TRUE(m.text.contains(QStringLiteral("print system down"))) << m.text.toStdString();
    });
    p.Command8->click();
    EXPECT_FALSE(ctx().prnt.isLoaded());
    EXPECT_FALSE(ctx().fm.isLoaded());
    EXPECT_TRUE(k.isEnabled());
    EXPECT_FALSE(ctx().printRun.held());
    EXPECT_EQ(g().curGrid().cell(1, 15), amount);
    EXPECT_FALSE(fs::exists(pdfFile()));

    ctx().availablePrinters = [] { return QStringList{}; };
    printShownPage(composeAndPreview(k));
    EXPECT_EQ(pdfPageCount(pdfFile()), 1);
}

// A PDF that cannot be created, because the document name makes its name longer than the
// system holds ("<document>_見積書.pdf") or because the document folder is gone: the print says
// which file and why, and the program goes on with the preview open.
TEST_F(PrintRoad, APdfThatCannotBeCreatedIsToldWithItsFileAndReason)
{
    KIHON &k = openWithRows(2);
    const fs::path folder = inst.data() / "TXT", away = inst.data() / "TXT_away";
    const struct {
        std::string docName;
        bool folderGone;
        int err;
    } cases[] = {
        {std::string(250, 'a'), false, ENAMETOOLONG},
        {"見本見積", true, ENOENT},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.docName);
        g().CUR_DOC_NAME = c.docName;
        PRNT &p = composeAndPreview(k);
        p.Command1->click();
        if (c.folderGone)
            fs::rename(folder, away);
        const QString file = QString::fromStdString(qd::files::systemPath(pdfFileOf(c.docName)));
        seam.answerMessage(Answer::Ok, [&](const MessageRequest &m) {
            EXPECT_TRUE(m.text.startsWith(QStringLiteral("印刷できませんでした。"))) << m.text.toStdString();
            EXPECT_TRUE(m.text.contains(file)) << m.text.toStdString();
            EXPECT_TRUE(m.text.contains(QString::fromStdString(std::generic_category().message(c.err))));
        });
        p.Command8->click();
        if (c.folderGone)
            fs::rename(away, folder);
        EXPECT_TRUE(ctx().prnt.isLoaded());
        EXPECT_TRUE(k.isEnabled());
        preview().Command3->click();
        EXPECT_FALSE(ctx().printRun.held());
    }
}

// On paper every text keeps 0.5 mm between its characters and each rule, and the page-1 total
// stands whole on its underline with its caption, up to the widest totals a page prints: for the
// three kinds of document, with the tax printed and without (the mark "【消費税別】" then stands
// beside the total too), with the sample's project name and the longest one.
TEST_F(PrintRoad, EveryTextKeepsHalfAMillimetreFromTheRulesAndTheTotalStandsOnItsUnderline)
{
    KIHON &k = openWithRows(3);
    // A remark that takes the upper half-line of the first row band of its page as well.
    const std::string kLongRemark = "現場にて寸法確認のうえ製作いたします";
    g().curGrid().setCell(1, 16, kLongRemark);
    // A remark of the 50 half-width characters its field holds.
    const std::string kLongestRemark = "W1690 H1170 site-measured, delivered on 2026-12-24";
    // 30 untaxed rows, page 1 and page 2 full to their last row bands and the totals on page 3,
    // whose amounts add up to `total`: 21 of 99,999,999, 8 of 1,000 and the rest last, the first
    // row of each page with the long remark.
    auto fillTo = [&](std::int64_t total) {
        g().TAX_RATE = qd::text::Fixed4(); // rows without a rate of their own are untaxed
        // Bank-transfer lines as long as their fields.
        {
            const fs::path sysf = inst.data() / "SYSF.SSS";
            const std::string bytes = qd::testing::readBytes(sysf);
            qd::records::Record own(qd::records::OwnCompany::layout());
            own.setBytes(bytes.substr(0, 512));
            for (int f : {qd::records::OwnCompany::FURIKOMI_1, qd::records::OwnCompany::FURIKOMI_2,
                          qd::records::OwnCompany::FURIKOMI_3, qd::records::OwnCompany::FURIKOMI_4})
                own.setText(f, "振込先見本銀行見本支店普通預金口座番号見本口座名義見本");
            qd::testing::writeBytes(sysf, own.bytes() + bytes.substr(512));
        }
        // The longest project name the header holds, printed on every kind of document.
        g().HEAD_BUKKEN = "見本邸新築工事見本邸新築工事見本邸新築工事見本邸新";
        g().PRN_OPTION = 0;
        qd::grid::FlexGrid &s = g().curGrid();
        const std::int64_t wide = total < 0 ? -99999999 : 99999999, small = total < 0 ? -1000 : 1000;
        for (int r = 1; r <= 30; ++r) {
            const std::int64_t each = r <= 21 ? wide : r < 30 ? small : total - 21 * wide - 8 * small;
            const std::string amount = qd::text::format(each, "###,###,###");
            // Names and remarks as long as a row holds them.
            s.setCell(r, 2, "大口品目" + std::to_string(r) + "　引違い窓　引違い２枚建　網戸付タイプ　半外付");
            s.setCell(r, 8, "ステンカラー");
            s.setCell(r, 3, "HW2-212987");
            s.setCell(r, 9, "1");
            s.setCell(r, 10, "式");
            s.setCell(r, 14, amount);
            s.setCell(r, 15, amount);
            s.setCell(r, 16, r == 1 || r == 14 ? kLongRemark : r == 2 ? kLongestRemark : "");
            s.setCell(r, 23, "");
        }
        qd::core::TAX_TOTAL_CALC(g());
        ASSERT_EQ(g().DOC_AMOUNT_TOTAL, total);
        ASSERT_FALSE(g().TOTALS_BEYOND_FIELDS);
    };
    const struct {
        std::int64_t fill; // 0: the sample as it is
        int taxAnswer;
        const char *total;
    } cases[] = {
        {0, Answer::Yes, "¥139,012"}, // with its tax lines
        {0, Answer::No, "¥126,375"},
        {2147483647, Answer::No, "¥2,147,483,647"},
        {-2147483648LL, Answer::Yes, "¥-2,147,483,648"},
    };
    constexpr double gap = 5; // 0.5 mm of paper
    int checked = 0;
    for (const auto &c : cases) {
        if (c.fill != 0)
            fillTo(c.fill);
        for (int kind : {0, 1, 2}) {
            SCOPED_TRACE(std::string(c.total) + " on document kind " + std::to_string(kind));
            g().DOC_KIND = static_cast<std::int16_t>(kind);
            composeAndPreview(k, c.taxAnswer);
            ASSERT_EQ(g().PAGE_COUNT, c.fill != 0 ? 3 : 1);
            for (int page = 1; page <= g().PAGE_COUNT; ++page) {
                const qd::emf::PageImage image = qd::emf::loadPageImage(inst.data() / qd::emf::pageImageName(page));
                const PageContent content = pageContent(image);
                const std::vector<Ink> inks = textInks(image);
                ASSERT_EQ(inks.size(), content.texts.size());
                for (std::size_t i = 0; i < inks.size(); ++i) {
                    if (inks[i].right < inks[i].left)
                        continue; // blanks
                    for (const PageRule &r : content.rules) {
                        const double d = inks[i].distance(ruleInk(r));
                        EXPECT_GE(d, gap) << "page " << page << ": " << content.texts[i].text << " at "
                                          << content.texts[i].x << "," << content.texts[i].y << ", rule " << r.x1
                                          << "," << r.y1 << "-" << r.x2 << "," << r.y2;
                    }
                    ++checked;
                }
                if (page != 1)
                    continue;
                // The caption and the amount each stand whole on the rule under them, their
                // underline.
                for (const char *text : {kind == 1 ? "ご請求額" : "合計金額", c.total}) {
                    const auto t = std::find_if(content.texts.begin(), content.texts.end(),
                                                [&](const PageText &p) { return p.text == text; });
                    ASSERT_NE(t, content.texts.end()) << text;
                    const Ink &ink = inks[std::size_t(t - content.texts.begin())];
                    std::optional<Ink> underline;
                    for (const PageRule &r : content.rules) {
                        const Ink rule = ruleInk(r);
                        if (r.y1 == r.y2 && rule.top > ink.top && rule.right > ink.left && rule.left < ink.right &&
                            (!underline || rule.top < underline->top))
                            underline = rule;
                    }
                    ASSERT_TRUE(underline.has_value()) << text;
                    EXPECT_TRUE(underline->left <= ink.left && underline->right >= ink.right)
                        << text << " from " << ink.left << " to " << ink.right << " on an underline from "
                        << underline->left << " to " << underline->right;
                }
            }
            preview().Command3->click();
        }
    }
    EXPECT_GT(checked, 12 * 60);
}

// Totals beyond the 32-bit document totals would print at their limit: the print command says
// which total is too large and prints nothing, neither from the menu nor from an open dialog.
TEST_F(PrintRoad, TotalsBeyondWhatAPageHoldsAreNeverPrinted)
{
    KIHON &k = openWithRows(2);
    auto fill = [&](int rows) {
        qd::grid::FlexGrid &s = g().curGrid();
        for (int r = 1; r <= rows; ++r) {
            // Names and remarks as long as a row holds them.
            s.setCell(r, 2, "大口品目" + std::to_string(r) + "　引違い窓　引違い２枚建　網戸付タイプ　半外付");
            s.setCell(r, 8, "ステンカラー");
            s.setCell(r, 3, "HW2-212987");
            s.setCell(r, 9, "1");
            s.setCell(r, 14, "99,999,999");
            s.setCell(r, 15, "99,999,999");
            s.setCell(r, 23, "10");
        }
        qd::core::TAX_TOTAL_CALC(g());
        ASSERT_EQ(g().TAX_MODE, 1) << "the sample adds the tax";
    };
    qd::testing::writeBytes(inst.data() / "001.emf", "the last run's page");
    const struct {
        int rows;
        const char *named;
        const char *notNamed;
    } cases[] = {
        {21, "総合計", "製品合計金額"}, // the amount fits, with its tax it does not
        {22, "製品合計金額・総合計", "消費税額"},
    };
    for (const auto &c : cases) {
        fill(c.rows);
        ASSERT_TRUE(g().TOTALS_BEYOND_FIELDS);
        seam.answerMessage(Answer::Ok, [&](const MessageRequest &m) {
            EXPECT_TRUE(m.text.startsWith(QStringLiteral("合計が大きすぎるため印刷できません。"))) << m.text.toStdString();
            EXPECT_TRUE(m.text.contains(QString::fromUtf8(c.named) + QStringLiteral("が"))) << m.text.toStdString();
            EXPECT_FALSE(m.text.contains(QString::fromUtf8(c.notNamed))) << m.text.toStdString();
        });
        k.menus().click(QStringLiteral("PRN_PRINT"));
        EXPECT_FALSE(ctx().mitumori.isLoaded()) << c.rows;
        EXPECT_TRUE(k.isEnabled());
        EXPECT_FALSE(ctx().printRun.held());
        EXPECT_EQ(qd::testing::readBytes(inst.data() / "001.emf"), "the last run's page");
    }

    // Totals that pass the limit while the dialog is open are refused when it prints.
    for (int r = 1; r <= 22; ++r)
        for (int c = 1; c <= 24; ++c)
            g().curGrid().setCell(r, c, "");
    fill(2);
    MITUMORI *dialog = openDialog(k);
    ASSERT_NE(dialog, nullptr);
    fill(22);
    seam.answerMessage(Answer::Ok, [](const MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("合計が大きすぎるため印刷できません。"))) << m.text.toStdString();
    });
    dialog->Command2->click();
    EXPECT_FALSE(ctx().prnt.isLoaded());
    EXPECT_FALSE(fs::exists(inst.data() / "001.emf"));
    EXPECT_TRUE(k.isEnabled());
    EXPECT_FALSE(ctx().printRun.held());
}

} // namespace
} // namespace qd::testing
