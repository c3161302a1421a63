// The windows that list a family of files first: csvkind1 and csvkind2 (one major class at a
// time) and csvprice (any number of list-price files in one run).
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files/paths.h"
#include "platform/qt/list_box.h"
#include "platform/qt/scripted_seam.h"
#include "platform/text/cp932.h"
#include "tests/support/temp_install.h"
#include "tools/csv/engine/csv_convert.h"
#include "tools/csv/engine/file_families.h"
#include "tools/csv/forms/kind_frm.h"
#include "tools/csv/forms/price_frm.h"

namespace {

using namespace qd::csv;
using namespace qd::qt;
using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::testing::writeBytes;

QStringList linesOf(const ListBox *list)
{
    QStringList lines;
    for (int i = 0; i < list->lineCount(); ++i)
        lines << list->lineText(i);
    return lines;
}

template <class Form, class... Args>
struct Window {
    explicit Window(Args... args) : guard(seam)
    {
        g.INST_DIR = inst.dir();
        form = std::make_unique<Form>(args..., g);
        form->Form_Load();
    }
    std::filesystem::path data(const std::string &name) const { return inst.data() / name; }

    TempInstall inst;
    ScriptedSeam seam;
    SeamGuard guard;
    CsvState g;
    std::unique_ptr<Form> form;
};
using KindWindow = Window<kind::FRM001, int>;
using PriceWindow = Window<price::FRM001>;

TEST(CsvKindWindow, ListsKindFilesByMajorClassAndExportsTheOneChosen)
{
    KindWindow w(2);
    EXPECT_EQ(w.form->windowTitle(), QStringLiteral("csvkind2"));
    EXPECT_EQ(w.form->Label1->text(), QStringLiteral("kind2maint の変換をします。"));
    EXPECT_FALSE(w.form->Command4->isEnabled());
    writeBytes(w.data("HISYU209.TXT"), ""); // a major class that MAKER.TXT does not hold

    w.form->Command1->click();
    EXPECT_EQ(linesOf(w.form->List1), (QStringList{QStringLiteral("01 アルミサッシ        "),
                                                   QStringLiteral("02 ガラス              "),
                                                   QStringLiteral("03 エクステリア        ")}));
    EXPECT_FALSE(w.form->Command1->isEnabled());
    EXPECT_FALSE(w.form->Command2->isEnabled());
    EXPECT_FALSE(w.form->Command4->isEnabled());

    w.form->List1->setListIndex(1);
    EXPECT_EQ(w.g.MAJOR_NO, 2);
    EXPECT_TRUE(w.form->Command4->isEnabled());
    w.seam.answerMessage(Answer::Yes, [&](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("よろしいですか？"));
        EXPECT_EQ(w.form->Label2->text(),
                  QString::fromStdString("運用中の" + w.inst.dir() + "の\nkind2maint を変換します。"));
    });
    w.form->Command4->click();
    const std::string csv = qd::text::fromCp932(readBytes(w.data("品種202.CSV")));
    EXPECT_EQ(csv.substr(0, csv.find(',')), "大分類ｺｰﾄﾞ");
    EXPECT_NE(csv.find("\r\n02,01,1001,３ミリ,"), std::string::npos);
    // The window stays for the next file, back at its start.
    EXPECT_FALSE(w.form->isUnloaded());
    EXPECT_EQ(w.form->List1->lineCount(), 0);
    EXPECT_TRUE(w.form->Command1->isEnabled());
    EXPECT_FALSE(w.form->Command4->isEnabled());
    EXPECT_TRUE(w.form->Label2->isVisible());
    EXPECT_EQ(w.seam.problems(), QString());
}

TEST(CsvKindWindow, ImportRefusesRowsOfAnotherMajorClass)
{
    KindWindow w(1);
    const std::string before = readBytes(w.data("HISYU101.TXT"));
    writeBytes(w.data("品種101.CSV"), qd::text::toCp932(kind1Table().captionLine() + "\r\n02,01,1000,他" +
                                                        std::string(20, ',') + "\r\n"));
    w.form->Command2->click();
    ASSERT_EQ(linesOf(w.form->List1), QStringList{QStringLiteral("01 アルミサッシ        ")});
    w.form->List1->setListIndex(0);
    w.seam.answerMessage(Answer::Yes, [](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("元のkind1maintを削除します。\rよろしいですか？"));
    });
    w.seam.answerMessage(Answer::Ok, [](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("品種101.CSV の 2 行目：大分類ｺｰﾄﾞ「02」が選んだ大分類 01 と違います。\r"
                                         "元のkind1maintはそのままです。"));
        EXPECT_EQ(m.title, QStringLiteral("csvkind1"));
    });
    w.form->Command4->click();
    EXPECT_EQ(readBytes(w.data("HISYU101.TXT")), before);
    EXPECT_EQ(w.seam.problems(), QString());

    // Cancelling a listing goes back to the start as well.
    w.form->Command1->click();
    EXPECT_EQ(w.form->List1->lineCount(), 3);
    w.form->Command5->click();
    EXPECT_EQ(w.form->List1->lineCount(), 0);
    EXPECT_TRUE(w.form->Command2->isEnabled());
}

// A CSV file with its caption line alone empties the kind file, as the question says before Yes.
TEST(CsvKindWindow, ImportQuestionSaysAFileWithoutRecordsLeavesTheKindFileEmpty)
{
    KindWindow w(2);
    writeBytes(w.data("品種201.CSV"), qd::text::toCp932(kind2Table().captionLine() + "\r\n"));
    w.form->Command2->click();
    w.form->List1->setListIndex(0);
    w.seam.answerMessage(Answer::Yes, [](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("元のkind2maintを削除します。\r"
                                         "品種201.CSV にはデータの行がありません。kind2maint は空になります。\r"
                                         "よろしいですか？"));
    });
    w.form->Command4->click();
    EXPECT_EQ(readBytes(w.data("HISYU201.TXT")), "");
    EXPECT_EQ(w.seam.problems(), QString());
}

// A choice gives the run button the focus; Enter on it runs, as on every button of the windows.
TEST(CsvKindWindow, EnterOnTheFocusedRunButtonRuns)
{
    KindWindow w(1);
    w.form->Command1->click();
    w.form->List1->setListIndex(0);
    bool asked = false;
    w.seam.answerMessage(Answer::No, [&](const MessageRequest &m) {
        asked = true;
        EXPECT_EQ(m.text, QStringLiteral("よろしいですか？"));
    });
    QTest::keyClick(w.form->Command4, Qt::Key_Return);
    EXPECT_TRUE(asked);
    EXPECT_EQ(w.form->List1->lineCount(), 0);
    EXPECT_EQ(w.seam.problems(), QString());
}

TEST(CsvPriceWindow, ListsOnlyListPriceFilesAndShowsTheNamesOfTheEntryClicked)
{
    PriceWindow w;
    for (const char *stray : {"01020100A.TXT", "0123.TXT", "1ABC.TXT", "01020100.TXT.TXT"})
        writeBytes(w.data(stray), "");
    w.form->Command1->click();
    EXPECT_EQ(linesOf(w.form->List1),
              (QStringList{"01011000.txt", "01011100.txt", "01022000.txt", "01033000.txt", "02011000.txt",
                           "02022000.txt", "03011000.txt", "03022000.txt"}));

    w.form->List1->setListIndex(2);
    EXPECT_EQ(w.form->Label5->text(), QStringLiteral("アルミサッシ        "));
    EXPECT_EQ(w.form->Label6->text(), QStringLiteral("ＦＩＸ窓            "));
    EXPECT_EQ(w.form->Label7->text(), QStringLiteral("ＦＩＸ窓") + QString(28, u' '));
    EXPECT_TRUE(w.form->Command4->isEnabled());
    EXPECT_EQ(w.seam.problems(), QString());
}

// A listed name is what the user picks by: each line the list shows stands whole in it, with no
// horizontal scroll bar over nothing to see and no line cut at the foot.
TEST(CsvPriceWindow, EveryListedNameShowsWholeInTheList)
{
    PriceWindow w;
    for (const char *key : {"01011000", "01011100", "01022000", "01033000", "02011000", "88888888"}) {
        writeBytes(w.data(std::string(key) + ".CSV"), "");
        writeBytes(w.data(std::string(key) + ".TXT"), "");
    }
    for (QPushButton *listing : {w.form->Command1, w.form->Command2}) {
        listing->click();
        ListBox *list = w.form->List1;
        ASSERT_GT(list->lineCount(), 0);
        QCoreApplication::processEvents();
        int shown = 0;
        for (int i = 0; i < list->lineCount(); ++i) {
            const QModelIndex line = list->model()->index(i, 0);
            const QRect at = list->visualRect(line);
            if (!at.intersects(list->viewport()->rect()))
                continue;
            ++shown;
            // The line's room as the list lays it out holds its text, and the list shows that
            // room whole.
            EXPECT_GE(at.width(), list->fontMetrics().horizontalAdvance(list->lineText(i)))
                << list->lineText(i).toStdString();
            EXPECT_GE(at.left(), 0);
            EXPECT_LE(at.left() + list->sizeHintForIndex(line).width(), list->viewport()->width())
                << list->lineText(i).toStdString();
            EXPECT_TRUE(list->viewport()->rect().contains(at)) << list->lineText(i).toStdString();
        }
        EXPECT_GE(shown, 5);
        EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
        EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
        // The list stays inside the window, clear of the names beside it.
        EXPECT_LE(list->geometry().right(), w.form->width() - 1);
        EXPECT_GT(list->geometry().left(), w.form->Label5->geometry().right());
        w.form->Command5->click();
    }
    EXPECT_EQ(w.seam.problems(), QString());
}

TEST(CsvPriceWindow, ConvertsEveryPickedEntryInOneRun)
{
    PriceWindow w;
    w.form->Command1->click();
    w.form->List1->setListIndex(4);
    w.form->List1->setLineSelected(0, true);
    w.seam.answerMessage(Answer::Yes, [&](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("よろしいですか？"));
        EXPECT_EQ(w.form->Label2->text(), QString::fromStdString("運用中の" + w.inst.dir() + "の\n定価情報 を変換します。"));
    });
    w.form->Command4->click();
    EXPECT_TRUE(std::filesystem::exists(w.data("01011000.CSV")));
    EXPECT_TRUE(std::filesystem::exists(w.data("02011000.CSV")));
    EXPECT_FALSE(std::filesystem::exists(w.data("01011100.CSV")));
    EXPECT_FALSE(w.form->Frame1->isVisible());
    EXPECT_EQ(w.form->List1->lineCount(), 0);
    EXPECT_TRUE(w.form->Command2->isEnabled());

    // Back in, with one of the two CSV files saved as UTF-8 by a spreadsheet: the other one is
    // imported, the refused one named, its price file kept.
    const std::string kept = readBytes(w.data("02011000.txt"));
    writeBytes(w.data("02011000.CSV"), "\xEF\xBB\xBF" + readBytes(w.data("02011000.CSV")));
    w.form->Command2->click();
    EXPECT_EQ(linesOf(w.form->List1), (QStringList{"01011000.CSV", "02011000.CSV"}));
    w.form->List1->setListIndex(0);
    w.form->List1->setLineSelected(1, true);
    w.seam.answerMessage(Answer::Yes, [](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("元の定価情報を削除します。\rよろしいですか？"));
    });
    w.seam.answerMessage(Answer::Ok, [](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("変換できなかったファイルがあります。\r"
                                         "02011000.CSV は UTF-8 で保存されています。Shift-JIS で保存し直して下さい。\r"
                                         "これらの定価情報は元のままです。"));
    });
    w.form->Command4->click();
    EXPECT_EQ(readBytes(w.data("02011000.txt")), kept);
    EXPECT_EQ(w.seam.problems(), QString());
}

// CSV files without records empty their list-price files; the one question of the run names them.
TEST(CsvPriceWindow, ImportQuestionNamesTheFilesWithoutRecords)
{
    PriceWindow w;
    const std::string kept = readBytes(w.data("02011000.txt"));
    exportFile(priceTable(), priceFiles(w.inst.dir(), "02011000").master, priceFiles(w.inst.dir(), "02011000").csv);
    writeBytes(w.data("01011000.CSV"), qd::text::toCp932(priceTable().captionLine() + "\r\n"));
    writeBytes(w.data("01011100.CSV"), "");
    w.form->Command2->click();
    ASSERT_EQ(linesOf(w.form->List1), (QStringList{"01011000.CSV", "01011100.CSV", "02011000.CSV"}));
    w.form->List1->setListIndex(0);
    w.form->List1->setLineSelected(1, true);
    w.form->List1->setLineSelected(2, true);
    w.seam.answerMessage(Answer::Yes, [](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("元の定価情報を削除します。\r"
                                         "01011000.CSV、01011100.CSV にはデータの行がありません。これらの定価情報は空になります。\r"
                                         "よろしいですか？"));
    });
    w.form->Command4->click();
    EXPECT_EQ(readBytes(w.data("01011000.txt")), "");
    EXPECT_EQ(readBytes(w.data("01011100.txt")), "");
    EXPECT_EQ(readBytes(w.data("02011000.txt")), kept);
    EXPECT_EQ(w.seam.problems(), QString());
}

TEST(CsvPriceWindow, NoConvertsNothingAndCancelEmptiesTheList)
{
    PriceWindow w;
    w.form->Command1->click();
    w.form->List1->setListIndex(0);
    w.seam.answerMessage(Answer::No);
    w.form->Command4->click();
    EXPECT_FALSE(std::filesystem::exists(w.data("01011000.CSV")));
    EXPECT_EQ(w.form->List1->lineCount(), 0);
    EXPECT_TRUE(w.form->Label2->isVisible());

    w.form->Command2->click();
    EXPECT_EQ(w.form->List1->lineCount(), 0); // no CSV file yet
    EXPECT_FALSE(w.form->Command4->isEnabled());
    w.form->Command5->click();
    EXPECT_TRUE(w.form->Command1->isEnabled());
    EXPECT_EQ(w.seam.problems(), QString());
}

} // namespace
