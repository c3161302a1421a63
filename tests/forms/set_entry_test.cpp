// Sets into the sheet: the set search's total against the rows it inserts, the heading row and
// the component rows cell by cell, records without a name, colours and price lines missing, the
// rates when the document has no header, the listed set after a return to the set list, the
// component panel and the master lists positioned on a component.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "platform/qt/file_list_box.h"
#include "platform/qt/qt_text.h"
#include "platform/text/cp932.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/entry/list_lines.h"
#include "quotedesk/entry/price_item.h"
#include "quotedesk/entry/price_panel.h"
#include "quotedesk/entry/set_panel_view.h"
#include "quotedesk/entry/set_rows.h"
#include "quotedesk/entry/ssset.h"
#include "records/set_files.h"
#include "tests/forms/picker_fixture.h"
#include "tests/support/torn_file.h"

namespace {

using qd::entry_test::EntryDesk;
using qd::entry_test::setComponent;
using qd::entry_test::writeSet;
using qd::forms::SSSET;
using namespace qd::entry;

const std::string SET_NAME = "アルミ窓セット";
const std::string KEY_A = "0101100101" + qd::text::fixedChars("HW2-16511", 25) + "網戸別途" + std::string(42, ' ');

// The fixture's set SET00001.TXT: a sash in bronze, two of them, and glass in the plain finish,
// three panes.
std::vector<qd::records::Record> twoComponents(const qd::testing::TempInstall &inst)
{
    return {setComponent(inst, "01011000.TXT", 1, SET_NAME, 2, 2), setComponent(inst, "02011000.TXT", 1, SET_NAME, 1, 3)};
}

std::int64_t cellNumber(const qd::grid::FlexGrid &grid, int row, int col)
{
    return qd::text::valFixed(qd::core::withoutMoneyMarks(grid.cell(row, col))).fix();
}

struct SetDesk : qd::entry_test::PickerDesk<SSSET> {
    SetDesk() { writeSet(desk.inst, "SET00001.TXT", twoComponents(desk.inst)); }
    // Lists the set of `file` as a click on its line in the set list does.
    void chooseSet(const QString &file)
    {
        for (int i = 0; i < form->List9->lineCount(); ++i)
            if (form->List9->lineData(i).toString() == file)
                form->List9->setListIndex(i);
    }
};

TEST(SetIntoSheet, TheTotalIsTheSumOfTheRowsItInserts)
{
    SetDesk d;
    SSSET &f = d.open();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("セット品検索"));
    d.chooseSet(QStringLiteral("SET00001.TXT"));
    EXPECT_EQ(f.Text1->text(), QStringLiteral("00001"));
    EXPECT_EQ(f.Text52->text().trimmed().toStdString(), SET_NAME);
    EXPECT_EQ(f.Text2->text(), QStringLiteral("111,200")); // 48,100 x 2 + 5,000 x 3
    ASSERT_EQ(f.List8->lineCount(), 2);
    EXPECT_TRUE(f.Command1->isEnabled());

    d.g.COL_NO = 8; // the user last was in 数量
    f.Command1_Click();
    EXPECT_EQ(d.seam.beepCount(), 0);
    const auto &grid = d.g.curGrid();
    // The heading row: the name and "セット品", nothing else.
    EXPECT_EQ(grid.cell(1, C_HINMEI), qd::text::fixedChars(SET_NAME, 138));
    EXPECT_EQ(grid.cell(1, C_KOSYO), qd::text::fixedChars("セット品", 25));
    for (int col : {1, 4, 8, 9, 12, 13, 14, 15, 21, 23})
        EXPECT_EQ(grid.cell(1, col), "") << "column " << col;

    const std::vector<std::pair<int, std::string>> sash = {
        {C_HINMEI, "引違い窓 引違い２枚建 標準タイプ 網戸別途 半外付"},
        {C_KOSYO, qd::text::fixedChars("HW2-16511", 25)}, // major class 01: the symbol
        {C_W, "1690.0"},
        {C_IRO, "ブロンズ"},
        {C_SURYO, "2"},
        {C_RITU_KBN, "3.00"},
        {C_KAKERITU, "65.00"},
        {C_TEIKA, "48,100"},
        {C_TANKA, "31,265"},
        {C_KINGAKU, "62,530"},
        {C_GENKA, "21,645"},
        {C_GENKA_KINGAKU, "43,290"},
        {C_HACHU_HINBAN, KEY_A},
        {C_ZEI_RITU, "10.00"},
    };
    for (const auto &[col, text] : sash)
        EXPECT_EQ(grid.cell(2, col), text) << "sash, column " << col;
    const std::vector<std::pair<int, std::string>> glass = {
        {C_HINMEI, "フロート 透明ガラス ３ミリ"},
        {C_KOSYO, qd::text::fixedChars("G3", 20)}, // any other major class: the designation
        {C_IRO, ""},                                // colour 01, the plain finish
        {C_SURYO, "3"},
        {C_KAKERITU, "80.00"},
        {C_TEIKA, "5,000"},
        {C_TANKA, "4,000"},
        {C_KINGAKU, "12,000"},
        {C_ZEI_RITU, "10.00"},
    };
    for (const auto &[col, text] : glass)
        EXPECT_EQ(grid.cell(3, col), text) << "glass, column " << col;
    EXPECT_EQ(qd::text::trim(grid.cell(4, C_HINMEI)), "既存の行");

    EXPECT_EQ(cellNumber(grid, 2, C_TEIKA) * cellNumber(grid, 2, C_SURYO) +
                  cellNumber(grid, 3, C_TEIKA) * cellNumber(grid, 3, C_SURYO),
              d.g.SET_TOTAL);
    EXPECT_EQ(d.g.DOC_AMOUNT_TOTAL, 62530 + 12000);
    EXPECT_TRUE(grid.redraw());
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), C_SURYO);
    // The form is unloaded and its files are closed.
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(d.g.MAKER_CTL.file.isOpen());
    EXPECT_FALSE(d.g.SET_CTL.file.isOpen());
}

TEST(SetIntoSheet, EveryComponentOnceNoRowForNamelessRecordsNoColourFromTheOneBefore)
{
    qd::core::NullCoreUi ui;
    EntryDesk desk(ui);
    auto &g = desk.g;
    qd::records::Record nameless = setComponent(desk.inst, "01011000.TXT", 4, "", 3, 1);
    qd::records::Record noLine = setComponent(desk.inst, "01011000.TXT", 4, SET_NAME, 3, 1);
    noLine.setText(qd::records::SetItem::KIGO, "NO-SUCH-LINE");
    writeSet(desk.inst, "SET00002.TXT",
             {setComponent(desk.inst, "01011000.TXT", 1, SET_NAME, 2, 1), nameless,
              setComponent(desk.inst, "01011000.TXT", 2, SET_NAME, 9, 1), // colour 09 is in no file
              noLine, nameless});

    const std::vector<SetComponent> components = SET_COMPONENTS_READ(g, "SET00002.TXT");
    ASSERT_EQ(components.size(), 3u);
    EXPECT_EQ(components[1].recNo, 3);
    SET_INTO_SHEET(g, components);

    const auto &grid = g.curGrid();
    EXPECT_EQ(qd::text::trim(grid.cell(1, C_HINMEI)), SET_NAME);
    EXPECT_EQ(qd::text::trim(grid.cell(2, C_KOSYO)), "HW2-16511");
    EXPECT_EQ(grid.cell(2, C_IRO), "ブロンズ");
    EXPECT_EQ(qd::text::trim(grid.cell(3, C_KOSYO)), "HW2-11909");
    EXPECT_EQ(grid.cell(3, C_IRO), "");   // not the bronze of the row before
    EXPECT_EQ(grid.cell(3, C_TEIKA), ""); // nor a price: the line has no colour 09
    for (int col = 1; col <= 24; ++col)
        EXPECT_EQ(grid.cell(4, col), "") << "the component without its price line, column " << col;
    EXPECT_EQ(qd::text::trim(grid.cell(5, C_HINMEI)), "既存の行");
}

TEST(SetIntoSheet, WithoutADocumentHeaderTheMessageComesAndTheCompanysRateIsReadAgain)
{
    SetDesk d;
    const auto header = d.desk.inst.data() / "TXT" / (std::string(qd::entry_test::DOC_NAME) + ".SSS");
    std::filesystem::remove(header);
    // The company's rate rank changed since the program read its record.
    qd::entry_test::writeRecords(d.desk.inst.dir() + "\\data\\SYSF.SSS", 512,
                                 {qd::entry_test::rec(qd::records::OwnCompany::layout(),
                                                      {{qd::records::OwnCompany::KAKERITU, "3"}})});
    SSSET &f = d.open();
    d.chooseSet(QStringLiteral("SET00001.TXT"));
    d.seam.answerMessage(qd::qt::Answer::Ok);
    f.Command1_Click();
    EXPECT_EQ(d.seam.messages(), QStringList{QStringLiteral("見積情報を設定して下さい！")});
    EXPECT_EQ(d.seam.beepCount(), 1);
    EXPECT_FALSE(std::filesystem::exists(header)); // reading the header creates none
    const auto &grid = d.g.curGrid();
    EXPECT_EQ(qd::text::trim(grid.cell(1, C_HINMEI)), SET_NAME);
    EXPECT_EQ(grid.cell(2, C_KAKERITU), "65.00"); // rank 3 of the company's record
    EXPECT_EQ(grid.cell(3, C_KAKERITU), "80.00");
    EXPECT_FALSE(f.isVisible());
}

TEST(SetIntoSheet, AfterReturningToTheSetListTheListedSetGoesIn)
{
    SetDesk d;
    SSSET &f = d.open();
    // Chosen by its file, the set's components take the set list's place.
    ASSERT_EQ(f.File1->lineText(0), QStringLiteral("SET00001.TXT"));
    f.File1->setListIndex(0);
    EXPECT_FALSE(f.List9->isVisible());
    EXPECT_TRUE(f.List8->isVisible());
    ASSERT_EQ(f.List8->lineCount(), 2);
    // Focusing the set code lists the sets again and closes the set file.
    f.Text1_GotFocus();
    EXPECT_TRUE(f.List9->isVisible());
    EXPECT_FALSE(f.List8->isVisible());
    EXPECT_FALSE(d.g.SET_CTL.file.isOpen());
    ASSERT_TRUE(f.Command1->isEnabled());
    f.Command1_Click();
    EXPECT_EQ(d.seam.beepCount(), 0);
    EXPECT_EQ(qd::text::trim(d.g.curGrid().cell(1, C_HINMEI)), SET_NAME);
    EXPECT_EQ(d.g.curGrid().cell(3, C_TEIKA), "5,000");
    EXPECT_EQ(qd::text::trim(d.g.curGrid().cell(4, C_HINMEI)), "既存の行");
}

TEST(SetIntoSheet, ASetNoDocumentCanHoldIsRefusedAndTheSheetStaysAsItWas)
{
    SetDesk d;
    writeSet(d.desk.inst, "SET00004.TXT",
             std::vector<qd::records::Record>(qd::core::DOC_MAX_ROWS,
                                              setComponent(d.desk.inst, "01011000.TXT", 1, SET_NAME, 2, 1)));
    SSSET &f = d.open();
    d.chooseSet(QStringLiteral("SET00004.TXT"));
    const int rows = d.g.curGrid().rows();
    d.seam.answerMessage(qd::qt::Answer::Ok);
    f.Command1->click(); // through the form's command guard
    ASSERT_EQ(d.seam.messages().size(), 1);
    EXPECT_TRUE(d.seam.messages()[0].startsWith(QStringLiteral("明細を追加できませんでした。")));
    EXPECT_EQ(d.g.curGrid().rows(), rows);
    EXPECT_EQ(qd::text::trim(d.g.curGrid().cell(1, C_HINMEI)), "既存の行");
    EXPECT_TRUE(d.g.curGrid().redraw());
    EXPECT_TRUE(f.isVisible()); // to choose another set
}

// A set without components puts nothing in: said with the form's headline and the file, once
// (also when the document has no header to take its rate from), and the sheet stays as it was.
// A set emptied after it was listed is one too.
TEST(SetIntoSheet, ASetWithoutComponentsIsSaidAndTheSheetStaysAsItWas)
{
    const struct {
        const char *what;
        int nameless;       // records of SET00005.TXT without a set name, when it is chosen
        bool emptiedLater;  // the set's two components, gone before "明細追加"
        bool noHeader;      // the document without its header file
    } cases[] = {{"no records", 0, false, false},
                 {"records without a name", 2, false, false},
                 {"emptied after listing", 0, true, false},
                 {"no records, no document header", 0, false, true}};
    for (const auto &c : cases) {
        SetDesk d;
        if (c.noHeader)
            std::filesystem::remove(d.desk.inst.data() / "TXT" / (std::string(qd::entry_test::DOC_NAME) + ".SSS"));
        const std::filesystem::path file = d.desk.inst.data() / "SET00005.TXT";
        if (c.emptiedLater)
            writeSet(d.desk.inst, "SET00005.TXT", twoComponents(d.desk.inst));
        else
            writeSet(d.desk.inst, "SET00005.TXT",
                     std::vector<qd::records::Record>(static_cast<std::size_t>(c.nameless),
                                                      setComponent(d.desk.inst, "01011000.TXT", 1, "", 2, 1)));
        qd::testing::writeBytes(file, qd::testing::readBytes(file)); // there also without records
        SSSET &f = d.open();
        int line = -1;
        for (int i = 0; i < f.File1->lineCount(); ++i)
            if (f.File1->lineText(i) == QStringLiteral("SET00005.TXT"))
                line = i;
        ASSERT_GE(line, 0) << c.what;
        f.File1->setListIndex(line);
        ASSERT_TRUE(f.Command1->isEnabled()) << c.what;
        if (c.emptiedLater)
            qd::testing::writeBytes(file, "");

        const auto &grid = d.g.curGrid();
        const int rows = grid.rows();
        d.seam.answerMessage(qd::qt::Answer::Ok);
        f.Command1->click(); // through the form's command guard
        EXPECT_EQ(d.seam.messages(),
                  QStringList{qd::qt::twoLines(QStringLiteral("明細を追加できませんでした。"),
                                               QStringLiteral("SET00005.TXT には明細がありません。"))})
            << c.what;
        EXPECT_EQ(d.seam.beepCount(), 1) << c.what;
        EXPECT_EQ(grid.rows(), rows) << c.what;
        EXPECT_EQ(qd::text::trim(grid.cell(1, C_HINMEI)), "既存の行") << c.what;
        EXPECT_EQ(qd::text::trim(grid.cell(2, C_HINMEI)), "") << c.what;
        EXPECT_TRUE(grid.redraw()) << c.what;
        EXPECT_TRUE(f.isVisible()) << c.what; // to choose another set
        EXPECT_EQ(f.List8->lineCount(), 0) << c.what;
    }
}

TEST(SetIntoSheet, ASetFileThatEndsInAPartOfARecordIsShownSoAndGoesInWithItsWholeRecords)
{
    struct Case {
        int components;   // whole records of the set file
        std::size_t torn; // bytes of one more
        const char *what;
    } const cases[] = {
        {2, 10, "切れた最後の 10 バイトを除き、揃っているレコード 2 件だけを表示します。"},
        {1, 90, "切れた最後の 90 バイトを除き、揃っているレコード 1 件だけを表示します。"}, // 250 bytes
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SetDesk d;
        std::vector<qd::records::Record> recs = twoComponents(d.desk.inst);
        recs.erase(recs.begin() + c.components, recs.end());
        writeSet(d.desk.inst, "SET00001.TXT", recs);
        const std::filesystem::path file = d.desk.inst.data() / "SET00001.TXT";
        const std::string torn = qd::testing::tearLastRecord(file, 160, c.torn);
        SSSET &f = d.open();
        d.seam.answerMessage(qd::qt::Answer::Ok, [&](const qd::qt::MessageRequest &m) {
            EXPECT_TRUE(m.text.startsWith(QString::fromUtf8(c.what) + QStringLiteral("\n\r\n\r")));
            EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), file, 160));
        });
        d.chooseSet(QStringLiteral("SET00001.TXT"));
        EXPECT_EQ(f.List8->lineCount(), c.components);
        EXPECT_EQ(d.seam.beepCount(), 1);

        // In the sheet: the heading and the whole components, with nothing more to tell.
        f.Command1_Click();
        EXPECT_EQ(d.seam.messages().size(), 1);
        EXPECT_EQ(qd::text::trim(d.g.curGrid().cell(1, C_HINMEI)), SET_NAME);
        EXPECT_EQ(qd::text::trim(d.g.curGrid().cell(2 + c.components, C_HINMEI)), "既存の行");
        EXPECT_EQ(qd::testing::readBytes(file), torn);
    }
}

TEST(SetComponentPanel, ShowsEachPriceBesideItsColourAndNothingOfAComponentBefore)
{
    SetDesk d;
    // A price line whose bronze slot has no price: white's price must not stand beside bronze.
    qd::entry_test::PriceDef gap{"01", "01", "1001", "01", "HW2-GAP", "GAP", 1000, 1000, 0, 0,
                                 {{1, 45800}, {2, 0}, {3, 39000}}, ""};
    qd::records::Record line = qd::entry_test::price(gap);
    line.blank(qd::records::Price::tanka(2));
    qd::files::RecordFile(d.desk.inst.dir() + "\\data\\01011000.TXT", 600).put(5, line.bytes());
    qd::records::Record missing = setComponent(d.desk.inst, "01011000.TXT", 1, SET_NAME, 1, 1);
    missing.setText(qd::records::SetItem::KIGO, "NO-SUCH-LINE");
    writeSet(d.desk.inst, "SET00003.TXT",
             {setComponent(d.desk.inst, "01011000.TXT", 1, SET_NAME, 2, 12),
              setComponent(d.desk.inst, "01011000.TXT", 5, SET_NAME, 3, 1), missing});
    SSSET &f = d.open();
    d.chooseSet(QStringLiteral("SET00003.TXT"));
    const auto &p = *f.Frame2;

    f.List8->setListIndex(0);
    EXPECT_FALSE(f.Command1->isEnabled());
    EXPECT_EQ(p.Text49->text().trimmed(), QStringLiteral("アルミ"));
    EXPECT_EQ(p.Text35->text().trimmed(), QStringLiteral("引違い窓"));
    EXPECT_EQ(p.Text3->text().trimmed(), QStringLiteral("引違い２枚建"));
    EXPECT_EQ(p.Text50->text().trimmed(), QStringLiteral("標準タイプ"));
    EXPECT_EQ(p.Text36->text().trimmed(), QStringLiteral("半外付"));
    EXPECT_EQ(p.Label26->text().trimmed(), QStringLiteral("ブロンズ"));
    EXPECT_EQ(p.Text51->text(), QStringLiteral("48,100"));
    EXPECT_EQ(p.Text8->text().trimmed(), QStringLiteral("HW2-16511"));
    EXPECT_EQ(p.Text37->text().trimmed(), QStringLiteral("網戸別途"));
    EXPECT_EQ(p.Text4->text(), QStringLiteral("1690.0"));
    EXPECT_EQ(f.Text26->text(), QStringLiteral("12"));

    f.List8->setListIndex(1);
    const std::vector<std::pair<QString, QString>> positions = {
        {QStringLiteral("シルバー"), QStringLiteral("45,800")},
        {QStringLiteral("ブロンズ"), QString()},
        {QStringLiteral("ホワイト"), QStringLiteral("39,000")},
        {QStringLiteral("-------------"), QString()},
    };
    for (std::size_t k = 0; k < positions.size(); ++k) {
        EXPECT_EQ(p.colourLabel(static_cast<int>(k) + 1)->text().trimmed(), positions[k].first) << k + 1;
        EXPECT_EQ(p.priceBox(static_cast<int>(k) + 1)->text(), positions[k].second) << k + 1;
    }
    EXPECT_EQ(p.Text51->text(), QStringLiteral("39,000"));

    // Without its price line: the names and the quantity, and no colours left from before.
    f.List8->setListIndex(2);
    EXPECT_EQ(p.Text49->text().trimmed(), QStringLiteral("アルミ"));
    EXPECT_EQ(p.Label26->text().trimmed(), QStringLiteral("シルバー"));
    EXPECT_EQ(f.Text26->text(), QStringLiteral("1"));
    for (QLineEdit *box : {p.Text8, p.Text9, p.Text37, p.Text51, p.Text4})
        EXPECT_EQ(box->text(), QString()) << box->objectName().toStdString();
    for (int k = 1; k <= 16; ++k) {
        EXPECT_EQ(p.colourLabel(k)->text(), QString()) << k;
        EXPECT_EQ(p.priceBox(k)->text(), QString()) << k;
    }
}

TEST(SetComponentPanel, EnterOnAComponentPositionsTheMasterListsOnIt)
{
    SetDesk d;
    SSSET &f = d.open();
    d.chooseSet(QStringLiteral("SET00001.TXT"));
    f.List8->setListIndex(0); // the sash in bronze
    f.List8_KeyDown(13);
    EXPECT_FALSE(f.List8->isVisible());
    EXPECT_TRUE(f.List6->isVisible());
    auto code = [](qd::qt::ListBox *list) { return qd::forms::currentLine(list).code; };
    EXPECT_EQ(code(f.List2), "01");
    EXPECT_EQ(code(f.List1), "01");
    EXPECT_EQ(code(f.List3), "1000");
    EXPECT_EQ(code(f.List4), "1001");
    EXPECT_EQ(code(f.List5), "01");
    EXPECT_EQ(code(f.List7), "02");
    EXPECT_EQ(d.g.COLOR_NO, 2);
    ASSERT_EQ(f.List6->lineCount(), 1);
    EXPECT_EQ(f.List6->listIndex(), 0);
    EXPECT_EQ(qd::text::trim(d.g.LINE_WORK.HACHU_HINBAN), "HW2-16511");
    EXPECT_EQ(qd::text::trim(d.g.LINE_WORK.BIKO), "網戸別途");
    // Clicks in the master lists enable "明細追加" again: the listed set goes in.
    EXPECT_TRUE(f.Command1->isEnabled());
}

} // namespace
