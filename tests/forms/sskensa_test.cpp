// The unit-price search form: the cascade and "明細追加", its colour rules, the price panel
// while a line is pressed, and the text search with its progress and its stop.
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/qt/scripted_seam.h"
#include "platform/text/cp932.h"
#include "quotedesk/entry/list_lines.h"
#include "quotedesk/entry/price_item.h"
#include "quotedesk/entry/price_lists.h"
#include "quotedesk/entry/price_panel_view.h"
#include "quotedesk/entry/sskensa.h"
#include "quotedesk/entry/ssset.h"
#include "tests/forms/entry_fixture.h"
#include "tests/support/torn_file.h"

namespace {

using qd::entry_test::EntryDesk;
using qd::forms::SSKENSA;
using qd::qt::ScriptedSeam;
using qd::qt::SeamGuard;
using namespace qd::entry;

// A script that also runs a hook at every pass of pending events.
class HookSeam : public ScriptedSeam {
public:
    std::function<void(int)> onEvents;
    int passes = 0;
    void doEvents() override
    {
        ScriptedSeam::doEvents();
        if (onEvents)
            onEvents(++passes);
    }
};

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

struct FormDesk {
    qd::core::NullCoreUi ui;
    EntryDesk desk{ui};
    qd::core::QdState &g = desk.g;
    HookSeam seam;
    SeamGuard guard{seam};
    QPointer<SSKENSA> form;

    FormDesk()
    {
        qd::core::LINE_REC_CLEAR(g);
        open();
    }
    // The form; a search lets events run after every record, so the script sees each pass.
    void open(QWidget *owner = nullptr)
    {
        delete form.data();
        form = new SSKENSA(g, owner);
        form->eventIntervalMs = 0;
    }
    ~FormDesk()
    {
        delete form.data();
        flushDeletes();
    }

    // Major class 01, class 01, kind 1 1000, kind 2 1001, section 01: List6 holds line 1.
    void cascade()
    {
        form->List2->setListIndex(0);
        form->List1->setListIndex(0);
        form->List3->setListIndex(0);
        form->List4->setListIndex(1);
        form->List5->setListIndex(0);
    }
    std::vector<std::string> symbols() const
    {
        std::vector<std::string> v;
        for (int i = 0; i < form->List6->lineCount(); ++i)
            v.push_back(qd::text::trim(qd::text::leftChars(form->List6->lineText(i).toStdString(), 25)));
        return v;
    }
    void searchTexts(const QString &symbol, const QString &designation)
    {
        form->Text1->setText(symbol);
        form->Text1_KeyDown(13);
        form->Text4->setText(designation);
        form->Text4_KeyDown(13);
    }
};

TEST(SSKENSA, CascadeColourAndAddGiveTheRow)
{
    FormDesk d;
    auto &f = *d.form;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("単価検索"));
    ASSERT_EQ(f.List2->lineCount(), 2);
    ASSERT_EQ(f.List5->lineCount(), 3);
    d.cascade();
    EXPECT_EQ(f.List1->lineCount(), 1);
    EXPECT_EQ(f.List3->lineCount(), 2); // kinds 1000 and 1100
    EXPECT_EQ(f.List4->lineCount(), 2); // 1002 and 1001 of prefix 10
    EXPECT_EQ(f.List7->lineCount(), 3); // the colours of major class 01
    EXPECT_EQ(d.g.KIND1_NO, 1000);
    EXPECT_EQ(d.g.KIND2_NO, 1001);
    ASSERT_EQ(f.List6->lineCount(), 1);
    const std::string line = f.List6->lineText(0).toStdString();
    EXPECT_EQ(line.substr(0, 26), "HW2-16511                 ");
    EXPECT_EQ(line.substr(line.size() - 14), "01011001000001");
    EXPECT_EQ(qd::forms::lineAt(f.List6, 0).file, "01011000.TXT");

    f.List6->setListIndex(0);
    f.List7->setListIndex(1); // ブロンズ
    EXPECT_EQ(d.g.COLOR_NO, 2);
    f.Command5_Click();
    EXPECT_EQ(d.seam.beepCount(), 0);
    const auto &grid = d.g.curGrid();
    EXPECT_EQ(grid.cell(1, C_HINMEI), "引違い窓 引違い２枚建 標準タイプ 網戸別途 半外付");
    EXPECT_EQ(grid.cell(1, C_IRO), "ブロンズ");
    EXPECT_EQ(grid.cell(1, C_TANKA), "31,265");
    EXPECT_EQ(qd::text::leftChars(grid.cell(1, C_HACHU_HINBAN), 19), "0101100101HW2-16511");
    EXPECT_EQ(qd::text::trim(grid.cell(2, C_HINMEI)), "既存の行");
    EXPECT_EQ(d.g.DOC_AMOUNT_TOTAL, 31265);
    EXPECT_TRUE(grid.redraw());
    // The form is unloaded and its files are closed.
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(d.g.MAKER_CTL.file.isOpen());
    EXPECT_FALSE(d.g.TANKA_CTL.file.isOpen());
    flushDeletes();
    EXPECT_TRUE(d.form.isNull());
}

TEST(SSKENSA, WithoutAColourTheColourFormsPickMustBeOfTheItemsGroup)
{
    struct Case {
        const char *group, *code, *name;
        bool added;
    } cases[] = {
        {"02", "01", "透明", false},    // another group: refused
        {"01", "00", "", false},        // no colour picked
        {"01", "03", "ホワイト", true}, // the item's group: its colour is taken
    };
    for (const Case &c : cases) {
        FormDesk d;
        d.g.COLOR_PICK_GROUP = c.group;
        d.g.COLOR_PICK_CODE = c.code;
        d.g.COLOR_PICK_NAME = qd::text::fixedChars(c.name, 20);
        d.cascade();
        d.form->List6->setListIndex(0);
        if (!c.added)
            d.seam.answerMessage(qd::qt::Answer::Ok);
        d.form->Command5_Click();
        const auto &grid = d.g.curGrid();
        if (c.added) {
            EXPECT_EQ(d.seam.beepCount(), 0) << c.group << c.code;
            EXPECT_EQ(grid.cell(1, C_IRO), "ホワイト");
            EXPECT_EQ(d.g.COLOR_NO, 3);
        } else {
            EXPECT_EQ(d.seam.beepCount(), 1) << c.group << c.code;
            EXPECT_EQ(d.seam.messages(), QStringList{QStringLiteral("色名を選択して下さい！")});
            EXPECT_EQ(qd::text::trim(grid.cell(1, C_HINMEI)), "既存の行"); // no row
            EXPECT_TRUE(d.form->isVisible());
            EXPECT_TRUE(grid.redraw());
        }
        EXPECT_TRUE(d.seam.problems().isEmpty()) << d.seam.problems().toStdString();
    }
}

// A colour chosen under one major class has no price on a line of another: the add is refused as
// for a missing colour, instead of writing the colour's name without a price.
TEST(SSKENSA, AColourOfAnotherMajorClassIsRefused)
{
    FormDesk d;
    auto &f = *d.form;
    d.cascade();
    f.List7->setListIndex(2); // ホワイト of major class 01; class 02 has no colour 03
    ASSERT_EQ(d.g.COLOR_NO, 3);
    f.List2->setListIndex(1); // then major class 02, and a line of it
    d.searchTexts(QStringLiteral("GLASS"), QString());
    f.Command1_Click();
    ASSERT_EQ(f.List6->lineCount(), 1);
    f.List6->setListIndex(0);
    d.seam.answerMessage(qd::qt::Answer::Ok);
    f.Command5_Click();
    EXPECT_EQ(d.seam.beepCount(), 1);
    EXPECT_EQ(d.seam.messages(), QStringList{QStringLiteral("色名を選択して下さい！")});
    EXPECT_EQ(qd::text::trim(d.g.curGrid().cell(1, C_HINMEI)), "既存の行");
    EXPECT_TRUE(f.isVisible());
}

// The symbol search field takes the 25 bytes of the line's symbol, whatever its characters.
TEST(SSKENSA, AChosenLineGivesTheSymbolByItsBytes)
{
    FormDesk d;
    auto &f = *d.form;
    qd::records::Record rec(qd::records::Price::layout());
    rec.setSeparators();
    rec.setText(qd::records::Price::KIGO, "網戸ＸＹ１２");
    rec.setText(qd::records::Price::BIKO, "別途");
    qd::forms::addLine(f.List6, priceLine(rec, 1, "01011000.TXT"));
    f.List6->setListIndex(0);
    f.List6_Click();
    EXPECT_EQ(qd::text::trim(d.g.LINE_WORK.HACHU_HINBAN), "網戸ＸＹ１２");
}

TEST(SSKENSA, AddTakesTheChosenLineReadAgainAndRefusesWithoutOne)
{
    FormDesk d;
    auto &f = *d.form;
    d.cascade();
    f.List7->setListIndex(0);
    // No line chosen: a beep, no message, no row.
    f.Command5_Click();
    EXPECT_EQ(d.seam.beepCount(), 1);
    EXPECT_TRUE(d.seam.messages().isEmpty());
    EXPECT_TRUE(f.List6->isVisible());
    EXPECT_EQ(qd::text::trim(d.g.curGrid().cell(1, C_HINMEI)), "既存の行");

    // The list fill left the last record of the file in the buffer; a keyboard choice reads
    // no record. The row is the chosen line all the same.
    EXPECT_EQ(qd::text::trim(d.g.TANKA_REC.text(qd::records::Price::KIGO)), "FX-900");
    f.List6->setListIndex(0);
    f.Command5_Click();
    EXPECT_EQ(qd::text::leftChars(d.g.curGrid().cell(1, C_HACHU_HINBAN), 19), "0101100101HW2-16511");
    EXPECT_EQ(d.g.curGrid().cell(1, C_TEIKA), "45,800");
}

TEST(SSKENSA, AddThatCannotReadAMasterLeavesTheSheetAsItWas)
{
    FormDesk d;
    auto &f = *d.form;
    d.cascade();
    f.List6->setListIndex(0);
    f.List6_MouseDown(); // the pressed line's file stays open
    f.List6_MouseUp();
    f.List7->setListIndex(1);
    const int rows = d.g.curGrid().rows();
    d.seam.answerMessage(qd::qt::Answer::Ok);
    {
        // Once the form has closed its files no other can be opened: the limit is set at the
        // lowest of the form's files and every free number below it is taken.
        int lowestOfForm = -1;
        for (const auto &e : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code ec;
            const auto target = std::filesystem::read_symlink(e.path(), ec).string();
            const int fd = std::stoi(e.path().filename().string());
            if (!ec && target.find(d.desk.inst.data().string()) == 0 && (lowestOfForm < 0 || fd < lowestOfForm))
                lowestOfForm = fd;
        }
        ASSERT_GT(lowestOfForm, 0);
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
        rlimit limit = saved;
        limit.rlim_cur = static_cast<rlim_t>(lowestOfForm);
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
        std::vector<int> fillers;
        for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;)
            fillers.push_back(fd);
        f.Command5_Click();
        for (int fd : fillers)
            ::close(fd);
        setrlimit(RLIMIT_NOFILE, &saved);
    }
    EXPECT_EQ(d.seam.beepCount(), 1);
    ASSERT_EQ(d.seam.messages().size(), 1);
    EXPECT_TRUE(d.seam.messages()[0].startsWith(QStringLiteral("明細を追加できませんでした。")));
    EXPECT_EQ(d.g.curGrid().rows(), rows); // no empty row left behind
    EXPECT_EQ(qd::text::trim(d.g.curGrid().cell(1, C_HINMEI)), "既存の行");
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(d.g.curGrid().redraw());
}

TEST(SSKENSA, PressingALineShowsThePanelWhileTheButtonIsDown)
{
    FormDesk d;
    auto &f = *d.form;
    d.cascade();
    const QPoint at = f.List6->visualRect(f.List6->model()->index(0, 0)).center();
    QTest::mousePress(f.List6->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(f.Frame3->isVisible());
    const auto &p = *f.Frame3;
    EXPECT_EQ(p.Text28->text(), QStringLiteral("アルミ") + QString(14, ' '));
    EXPECT_EQ(p.Text29->text().trimmed(), QStringLiteral("引違い窓"));
    EXPECT_EQ(p.Text30->text().trimmed(), QStringLiteral("引違い２枚建"));
    EXPECT_EQ(p.Text27->text().trimmed(), QStringLiteral("標準タイプ"));
    EXPECT_EQ(p.Text60->text().trimmed(), QStringLiteral("半外付"));
    EXPECT_EQ(p.Text38->text(), QStringLiteral("HW2-16511") + QString(16, ' '));
    EXPECT_EQ(p.Text61->text().trimmed(), QStringLiteral("網戸別途"));
    EXPECT_EQ(p.Text31->text(), QStringLiteral("1690.0"));
    EXPECT_EQ(p.Text32->text(), QStringLiteral("5.58"));
    EXPECT_EQ(p.Text33->text(), QStringLiteral("1170.0"));
    EXPECT_EQ(p.Text34->text(), QStringLiteral("3.86"));
    EXPECT_EQ(p.colourLabel(1)->text().trimmed(), QStringLiteral("シルバー"));
    EXPECT_EQ(p.priceBox(1)->text(), QStringLiteral("45,800"));
    EXPECT_EQ(p.colourLabel(2)->text().trimmed(), QStringLiteral("ブロンズ"));
    EXPECT_EQ(p.priceBox(2)->text(), QStringLiteral("48,100"));
    for (int k = 3; k <= 16; ++k) {
        EXPECT_EQ(p.colourLabel(k)->text(), QStringLiteral("----------          ")) << k;
        EXPECT_EQ(p.priceBox(k)->text(), QString()) << k;
    }
    EXPECT_EQ(d.g.PANEL_POS, 3);
    EXPECT_EQ(d.g.LINE_WORK.HACHU_HINBAN, qd::text::fixedChars("HW2-16511", 25));
    EXPECT_EQ(d.g.LINE_WORK.KOSYO, qd::text::fixedChars("16511", 20));
    EXPECT_EQ(d.g.MAJOR_NO, 1);

    QTest::mouseRelease(f.List6->viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(f.Frame3->isVisible());
}

TEST(SSKENSA, APriceFileThatEndsInAPartOfARecordIsListedWholeAndToldOfOnce)
{
    FormDesk d;
    d.cascade();
    const std::vector<std::string> whole = d.symbols();
    ASSERT_FALSE(whole.empty());
    const std::filesystem::path file = d.desk.inst.data() / "01011000.TXT";
    const std::string torn = qd::testing::tearLastRecord(file, 600);

    d.seam.answerMessage(qd::qt::Answer::Ok, [&](const qd::qt::MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("切れた最後の 10 バイトを除き、揃っているレコード")));
        EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), file, 600));
    });
    d.cascade();
    EXPECT_EQ(d.symbols(), whole);
    d.cascade(); // listed again: nothing more to tell
    EXPECT_EQ(d.seam.messages().size(), 1);
    EXPECT_EQ(qd::testing::readBytes(file), torn);
}

// A file the search walks through in part is told of when the search has ended, not in the
// middle of it, though the search lets the events of its window, and of the set search open
// beside it, run after every record.
TEST(SSKENSA, TheTextSearchTellsOfAFileInPartOnceItHasEnded)
{
    FormDesk d;
    qd::forms::SSSET beside(d.g);
    const std::filesystem::path file = d.desk.inst.data() / "01011000.TXT";
    const std::string torn = qd::testing::tearLastRecord(file, 600);
    d.seam.onEvents = [&](int) { // the pointer moves over the stop button and the set search
        for (QWidget *w : {static_cast<QWidget *>(d.form->Command5), static_cast<QWidget *>(beside.Text1)}) {
            QEvent hover(QEvent::HoverMove);
            QCoreApplication::sendEvent(w, &hover);
        }
    };
    d.seam.answerMessage(qd::qt::Answer::Ok, [&](const qd::qt::MessageRequest &m) {
        EXPECT_FALSE(d.form->Frame1->isVisible()) << "told while the search runs";
        EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), file, 600));
    });
    d.searchTexts(QStringLiteral("HW2"), QString());
    d.form->Command1->click();
    EXPECT_EQ(d.seam.messages().size(), 1);
    EXPECT_EQ(d.symbols(), (std::vector<std::string>{"HW2-16511", "HW2-11909", "HW2-GLASS"}));
    EXPECT_EQ(qd::testing::readBytes(file), torn);
}

TEST(SSKENSA, TextSearchListsBySymbolOrByDesignation)
{
    struct Case {
        const char *symbol, *designation;
        bool glassOnly; // major class 02 chosen in List2 first
        std::vector<std::string> hits;
    } cases[] = {
        {"HW2", "", false, {"HW2-16511", "HW2-11909", "HW2-GLASS"}}, // not hw2-lower
        {"  HW2  ", "", false, {"HW2-16511", "HW2-11909", "HW2-GLASS"}},
        {"HW2", "AB", false, {"hw2-lower"}}, // the designation decides
        {"", "165", false, {}},             // a designation alone lists nothing
        {"HW2", "", true, {"HW2-GLASS"}},    // majors 02 to 02 only
    };
    for (const Case &c : cases) {
        FormDesk d;
        if (c.glassOnly)
            d.form->List2->setListIndex(1);
        d.searchTexts(QString::fromUtf8(c.symbol), QString::fromUtf8(c.designation));
        d.form->Command1_Click();
        EXPECT_EQ(d.symbols(), c.hits) << c.symbol << "/" << c.designation;
        EXPECT_FALSE(d.form->Frame1->isVisible());
        EXPECT_FALSE(d.form->List2->isVisible()); // the result view
        EXPECT_TRUE(d.form->List6->isVisible());
        EXPECT_EQ(d.form->Text3->text(), QStringLiteral("02011000.TXT")); // every file in range was read
        EXPECT_FALSE(d.g.TANKA_CTL.file.isOpen());
        EXPECT_FALSE(d.g.HISYU1_CTL.file.isOpen());
    }

    // A hit is pressed and added like a cascade line, from the file it was found in.
    FormDesk d;
    d.searchTexts(QStringLiteral("GLASS"), QString());
    d.form->Command1_Click();
    ASSERT_EQ(d.form->List6->lineCount(), 1);
    d.form->List6->setListIndex(0);
    d.form->List6_MouseDown();
    d.form->List6_MouseUp();
    EXPECT_EQ(d.g.MAJOR_NO, 2);
    EXPECT_EQ(d.form->List7->lineCount(), 1); // the colours of major class 02
    d.form->List7->setListIndex(0);
    d.form->Command5_Click();
    EXPECT_EQ(qd::text::leftChars(d.g.curGrid().cell(1, C_HACHU_HINBAN), 19), "0201100100HW2-GLASS");
    EXPECT_EQ(d.g.curGrid().cell(1, C_TEIKA), "5,000");
}

// "検索" takes a search text typed without Enter as Enter takes it, and each box shows the text
// the search ran with; a pressed hit's symbol becomes the 記号 search text, and the box shows it.
TEST(SSKENSA, SearchTakesTextTypedWithoutEnter)
{
    struct Case {
        const char *symbolByEnter, *symbolTyped, *designationTyped;
        std::vector<std::string> hits;
    } const cases[] = {
        {nullptr, "GLASS", nullptr, {"HW2-GLASS"}},
        {"HW2", nullptr, "AB", {"hw2-lower"}},
        {"HW2", "16511", nullptr, {"HW2-16511"}}, // typed over the text taken by Enter
    };
    for (const Case &c : cases) {
        FormDesk d;
        auto &f = *d.form;
        QApplication::setActiveWindow(&f);
        f.Text1->setFocus();
        if (c.symbolByEnter) {
            QTest::keyClicks(f.Text1, QString::fromUtf8(c.symbolByEnter));
            QTest::keyClick(f.Text1, Qt::Key_Return);
            ASSERT_EQ(QApplication::focusWidget(), f.Text4);
        }
        if (c.symbolTyped) {
            f.Text1->setFocus();
            f.Text1->insert(QString::fromUtf8(c.symbolTyped));
        }
        if (c.designationTyped) {
            f.Text4->setFocus();
            f.Text4->insert(QString::fromUtf8(c.designationTyped));
        }
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        EXPECT_EQ(d.symbols(), c.hits) << (c.symbolTyped ? c.symbolTyped : c.designationTyped);
        EXPECT_EQ(qd::text::trim(f.Text1->text().toStdString()), qd::text::trim(d.g.LINE_WORK.HACHU_HINBAN));
        EXPECT_EQ(qd::text::trim(f.Text4->text().toStdString()), qd::text::trim(d.g.LINE_WORK.KOSYO));
        EXPECT_EQ(qd::text::trim(d.g.LINE_WORK.HACHU_HINBAN), c.symbolTyped ? c.symbolTyped : c.symbolByEnter);
    }

    FormDesk d;
    d.searchTexts(QStringLiteral("HW2"), QString());
    d.form->Command1_Click();
    d.form->List6->setListIndex(1);
    EXPECT_EQ(qd::text::trim(d.form->Text1->text().toStdString()), "HW2-11909");
    d.form->List6->setListIndex(0);
    d.form->List6_MouseDown();
    d.form->List6_MouseUp();
    EXPECT_EQ(qd::text::trim(d.form->Text1->text().toStdString()), "HW2-16511");
    // The pressed line's 呼称 became the 呼称 search text too, which the next search lists by:
    // the box shows it.
    EXPECT_EQ(qd::text::trim(d.form->Text4->text().toStdString()), "16511");
    EXPECT_EQ(qd::text::trim(d.g.LINE_WORK.KOSYO), "16511");

    // Text typed and left for "検索", then come back to without pressing it, is still only typed:
    // leaving the box for another control drops it, the search text stays the one in effect.
    QApplication::setActiveWindow(d.form);
    d.form->Text1->setFocus();
    d.form->Text1->insert(QStringLiteral("GLASS"));
    d.form->Command1->setFocus();
    d.form->Text1->setFocus();
    d.form->List2->setFocus();
    EXPECT_EQ(qd::text::trim(d.form->Text1->text().toStdString()), "HW2-16511");
    EXPECT_EQ(qd::text::trim(d.g.LINE_WORK.HACHU_HINBAN), "HW2-16511");
}

TEST(SSKENSA, TextSearchShowsItsCountAndStopsWithOnlyTheStopButtonEnabled)
{
    // Without a stop: 254 price records of major class 01 show 100 and 200.
    {
        FormDesk d;
        QStringList counts;
        d.seam.onEvents = [&](int) {
            if (!d.form->Text2->text().isEmpty() && (counts.isEmpty() || counts.last() != d.form->Text2->text()))
                counts << d.form->Text2->text();
        };
        d.searchTexts(QStringLiteral("BULK"), QString());
        d.form->Command1_Click();
        EXPECT_EQ(counts, (QStringList{QStringLiteral("100"), QStringLiteral("200")}));
        EXPECT_EQ(d.form->List6->lineCount(), 250);
    }

    // "検索中止" after the 120th line of the bulk file: that line is not compared.
    FormDesk d;
    QWidget owner;
    d.open(&owner);
    bool checked = false;
    d.seam.onEvents = [&](int pass) {
        if (pass != 4 + 1 + 120)
            return;
        auto &f = *d.form;
        EXPECT_TRUE(f.Frame1->isVisible());
        for (QWidget *w : std::initializer_list<QWidget *>{f.Command1, f.Command2, f.Command5, f.Text1, f.Text4, f.List6})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_FALSE(owner.isEnabled());
        EXPECT_TRUE(f.Command3->isEnabled());
        checked = true;
        QTest::mouseClick(f.Command3, Qt::LeftButton);
    };
    d.searchTexts(QStringLiteral("BULK"), QString());
    d.form->Command1_Click();
    EXPECT_TRUE(checked);
    EXPECT_EQ(d.g.SEARCH_STOP, 9);
    ASSERT_EQ(d.form->List6->lineCount(), 119);
    EXPECT_EQ(d.symbols().back(), "BULK-119");
    EXPECT_EQ(d.form->Text2->text(), QStringLiteral("100"));
    EXPECT_FALSE(d.form->Frame1->isVisible());
    EXPECT_TRUE(d.form->Command5->isEnabled());
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_FALSE(d.g.TANKA_CTL.file.isOpen());
    EXPECT_EQ(d.g.MAJOR_NO, 1); // major class 02 was never walked
    delete d.form.data();
}

} // namespace
