// The main window's menu commands: calculation unit, document kind, column display sets, the
// document name into a row, recalculation of all rows, the entries that show other forms, and
// the launcher as the menus use it.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "platform/qt/forms.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/entry/ssgarasufm.h"
#include "quotedesk/entry/sskensa.h"
#include "quotedesk/mainwindow/launcher.h"
#include "records/layouts.h"
#include "tests/forms/edit_fixture.h"

using qd::forms::KIHON;
using qd::qt::MessageRequest;
using qd::qt::SeamCall;
namespace Answer = qd::qt::Answer;

namespace qd::testing {
namespace {

constexpr int C_HINMEI = 2, C_SURYO = 9, C_KAKERITU = 12, C_TEIKA = 13, C_TANKA = 14, C_KINGAKU = 15;

class KihonCommands : public EditFixture {
protected:
    KIHON &openNew() { return EditFixture::openNew(QStringLiteral("計算見本")); }
    // A priced row as unit 1 leaves it: 12,345 at 55 % is 6,789.
    void pricedRow(int r)
    {
        sheet().setCell(r, C_HINMEI, "行" + std::to_string(r));
        sheet().setCell(r, C_TEIKA, "12,345");
        sheet().setCell(r, C_KAKERITU, "55.00");
        sheet().setCell(r, C_SURYO, "1");
        sheet().setCell(r, C_TANKA, "6,789");
        sheet().setCell(r, C_KINGAKU, "6,789");
    }
};

QColor foreground(const QLabel *l) { return l->palette().color(QPalette::WindowText); }

TEST_F(KihonCommands, UnitCommandOnABottomUpSelectionRepricesEverySelectedRow)
{
    KIHON &k = openNew();
    for (int r = 4; r <= 9; ++r)
        pricedRow(r);
    const int rows = sheet().rows();
    // Dragged from row 8 up to row 5, and from right to left.
    sheet().select(8, C_TANKA, 5, C_KAKERITU);
    k.menus().click(QStringLiteral("KEISAN_010"));

    EXPECT_EQ(g().CALC_UNIT, 10);
    EXPECT_EQ(g().CALC_ADJ, 9);
    EXPECT_TRUE(k.windowTitle().contains(QStringLiteral("【計算単位１０円】")));
    for (int r = 5; r <= 8; ++r) {
        EXPECT_EQ(cell(r, C_TANKA), "6,790") << r;
        EXPECT_EQ(cell(r, C_KINGAKU), "6,790") << r;
        EXPECT_EQ(cell(r, C_HINMEI), "行" + std::to_string(r)) << r;
    }
    for (int r : {4, 9})
        EXPECT_EQ(cell(r, C_TANKA), "6,789") << "row " << r << " was not selected";
    EXPECT_EQ(sheet().rows(), rows) << "no row is inserted";
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL, 4 * 6790 + 2 * 6789);
    // The selection comes back, rows in order.
    EXPECT_EQ(g().SEL_ROW, 5);
    EXPECT_EQ(g().SEL_ROW_END, 8);
    EXPECT_EQ(sheet().rowSel(), 8);
    EXPECT_TRUE(sheet().redraw());

    // The unit stays for every later calculation; 1000 yen on one row.
    sheet().select(9, C_TEIKA, 9, C_TEIKA);
    k.menus().click(QStringLiteral("KEISAN_1000"));
    EXPECT_EQ(cell(9, C_TANKA), "7,000");
    EXPECT_EQ(g().CALC_ADJ, 999);
}

TEST_F(KihonCommands, WholeRowsAfterAWholeRowCopyInsertNoRows)
{
    KIHON &k = openNew();
    for (int r = 1; r <= 3; ++r)
        pricedRow(r);
    g().BLOCK_COL_SPAN = 20; // a whole-row block remembered before
    g().INSERT_ROWS = 3;
    sheet().select(1, 1, 3, 24);
    const int rows = sheet().rows();
    k.menus().click(QStringLiteral("KEISAN_100"));
    EXPECT_EQ(sheet().rows(), rows);
    EXPECT_EQ(cell(1, C_HINMEI), "行1");
    EXPECT_EQ(cell(3, C_TANKA), "6,800");
    EXPECT_EQ(cell(4, C_HINMEI), "");
}

TEST_F(KihonCommands, GrandTotalCaptionCyclesTheDocumentKind)
{
    KIHON &k = openNew();
    ASSERT_EQ(g().DOC_KIND, 0);
    QTest::mouseDClick(k.Label10, Qt::LeftButton);
    EXPECT_EQ(g().DOC_KIND, 1);
    EXPECT_EQ(k.Label10->text(), QStringLiteral("総合計(請求書)"));
    EXPECT_EQ(foreground(k.Label10), QColor(255, 0, 0));
    QTest::mouseDClick(k.Label10, Qt::LeftButton);
    EXPECT_EQ(g().DOC_KIND, 2);
    EXPECT_EQ(k.Label10->text(), QStringLiteral("総合計(納品書)"));
    EXPECT_EQ(foreground(k.Label10), QColor(0, 0, 0));
    QTest::mouseDClick(k.Label10, Qt::LeftButton);
    EXPECT_EQ(g().DOC_KIND, 0);
    EXPECT_EQ(k.Label10->text(), QStringLiteral("総合計(見積書)"));
    EXPECT_EQ(foreground(k.Label10), QColor(0, 0, 255));
    // Another value changes nothing.
    g().DOC_KIND = 7;
    k.Label10_DblClick();
    EXPECT_EQ(g().DOC_KIND, 7);
    EXPECT_EQ(k.Label10->text(), QStringLiteral("総合計(見積書)"));
}

TEST_F(KihonCommands, DisplaySetsSwitchTheStoreWidthsButtonAndTheCaption)
{
    KIHON &k = openNew();
    k.menus().click(QStringLiteral("NOMAL_WIDTH"));
    EXPECT_EQ(g().DISP_MODE, 0);
    EXPECT_FALSE(app->editTool().storeWidthsEnabled());
    EXPECT_TRUE(k.windowTitle().startsWith(QStringLiteral("quotedesk 【全列表示】")));
    EXPECT_EQ(cell(0, C_TEIKA), "定価");
    EXPECT_FALSE(k.menus().isVisible(QStringLiteral("SERCH_000")));
    k.menus().click(QStringLiteral("SITEI_WIDTH"));
    EXPECT_EQ(g().DISP_MODE, 1);
    EXPECT_TRUE(app->editTool().storeWidthsEnabled());
    EXPECT_TRUE(k.windowTitle().startsWith(QStringLiteral("quotedesk 【指定項目表示】")));
    EXPECT_TRUE(sheet().redraw());
}

TEST_F(KihonCommands, DocumentNameGoesIntoANewRowAtTheRowLastWorkedOn)
{
    KIHON &k = openNew();
    for (int r = 1; r <= 3; ++r)
        sheet().setCell(r, C_HINMEI, "行" + std::to_string(r));
    g().ROW_NO = 2;
    k.menus().click(QStringLiteral("INPUT_bukkenmei"));
    EXPECT_EQ(cell(2, C_HINMEI), "計算見本");
    EXPECT_EQ(cell(1, C_HINMEI), "行1");
    EXPECT_EQ(cell(3, C_HINMEI), "行2");
    EXPECT_EQ(cell(4, C_HINMEI), "行3");
    EXPECT_EQ(cell(2, C_TANKA), "") << "no calculation follows";

    // After the cursor went to the caption row the name still goes into a data row.
    g().CUR_DOC_NAME = "  囲み名  ";
    g().ROW_NO = 0;
    k.menus().click(QStringLiteral("INPUT_bukkenmei"));
    EXPECT_EQ(cell(0, C_HINMEI), "品名");
    EXPECT_EQ(cell(1, C_HINMEI), "囲み名");
    EXPECT_EQ(cell(2, C_HINMEI), "行1");
}

// The sample document holds its rows as quotedesk prices them at the unit it starts with: priced
// again, every row shows what it showed, and a save writes the lines that were read.
TEST_F(KihonCommands, TheSampleRowsArePricedAsTheStartUnitPricesThem)
{
    KIHON &k = start();
    openSample(k);
    const std::filesystem::path lineFile = inst.data() / "TXT" / "見本見積.TXT";
    const std::string stored = readBytes(lineFile);
    const int rows = static_cast<int>(stored.size() / 1024);
    ASSERT_EQ(rows, 3);
    std::vector<std::string> shown;
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= 24; ++c)
            shown.push_back(trimmed(r, c));

    k.menus().click(QStringLiteral("all_grid_calc"));
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= 24; ++c)
            EXPECT_EQ(trimmed(r, c), shown[static_cast<std::size_t>((r - 1) * 24 + c - 1)]) << "row " << r << ", column " << c;
    // The rows' own taxes, which quotedesk leaves as typed, add up to the tax the window shows.
    double rowTaxes = 0;
    for (int r = 1; r <= rows; ++r)
        rowTaxes += qd::text::val(qd::core::withoutMoneyMarks(cell(r, col::ZEI_GAKU)));
    EXPECT_EQ(rowTaxes, g().DOC_TAX_TOTAL);
    seam.answerSave(docPath("見本見積.TXT"));
    k.FILE_WRITE_Click();
    EXPECT_EQ(readBytes(lineFile), stored);
}

// The sample's rows are what the pickers put in for their products on the demo masters: each
// sash found again by its symbol in the row's colour, the single item picked by its name, with
// the row's quantity and unit typed in, is saved as the sample row is stored (but for the row's
// tax, which the user types).
TEST_F(KihonCommands, TheSampleRowsAreWhatThePickersPutInForTheirProducts)
{
    KIHON &k = start();
    openSample(k);
    const std::string sample = readBytes(inst.data() / "TXT" / "見本見積.TXT");
    ASSERT_EQ(sample.size(), 3u * 1024);
    auto type = [&](int row, int c, const std::string &text) {
        sheet().setRow(row);
        sheet().setCol(c);
        int enter = 13;
        sheet().raiseKeyDown(enter, 0);
        k.Text1->setText(QString::fromStdString(text));
        QTest::keyClick(k.Text1, Qt::Key_Return);
    };
    auto pick = [](qd::qt::ListBox *list, const std::string &text) {
        for (int i = 0; i < list->lineCount(); ++i)
            if (list->lineText(i).contains(QString::fromStdString(text)))
                list->setListIndex(i);
        return list->listIndex() >= 0;
    };
    for (int r = 1; r <= 3; ++r) {
        SCOPED_TRACE(r);
        const std::string key = trimmed(r, col::HACHU), name = trimmed(r, col::HINMEI);
        const std::string quantity = cell(r, col::SURYO), unit = cell(r, col::TANI);
        const int row = 3 + r;
        g().ROW_NO = row;
        g().COL_NO = col::HINMEI;
        if (!key.empty()) {
            k.SERCH_SYOHIN_Click();
            auto *f = app->forms.ifLoaded<qd::forms::SSKENSA>();
            ASSERT_NE(f, nullptr);
            f->eventIntervalMs = 0;
            f->Text1->setText(QString::fromStdString(qd::text::trim(key.substr(10))));
            f->Text1_KeyDown(13);
            f->Command1_Click();
            ASSERT_EQ(f->List6->lineCount(), 1) << key;
            f->List6->setListIndex(0);
            f->List6_MouseDown();
            f->List6_MouseUp();
            ASSERT_TRUE(pick(f->List7, " " + trimmed(r, col::IRO) + " "));
            f->Command5_Click();
        } else {
            k.SERCH_GARASU_Click();
            auto *f = app->forms.ifLoaded<qd::forms::SSGARASUFM>();
            ASSERT_NE(f, nullptr);
            ASSERT_TRUE(pick(f->List1, " " + name + " "));
            f->Command1->click();
        }
        type(row, col::SURYO, quantity);
        type(row, col::TANI, unit);
    }
    seam.answerSave(docPath("見本見積2.TXT"));
    k.FILE_WRITE_Click();
    const std::string again = readBytes(inst.data() / "TXT" / "見本見積2.TXT");
    ASSERT_EQ(again.size(), 6u * 1024);
    namespace L = qd::records::DocLine;
    for (int r = 1; r <= 3; ++r) {
        qd::records::Record want(L::layout()), got(L::layout());
        want.setBytes(sample.substr(static_cast<std::size_t>(r - 1) * 1024, 1024));
        got.setBytes(again.substr(static_cast<std::size_t>(r + 2) * 1024, 1024));
        got.setRaw(L::ZEI_GAKU, want.raw(L::ZEI_GAKU));
        for (std::size_t field = 0; field < L::layout().fields.size(); ++field)
            EXPECT_EQ(got.raw(static_cast<int>(field)), want.raw(static_cast<int>(field)))
                << "row " << r << ", " << L::layout().fields[field].name;
    }
}

TEST_F(KihonCommands, RecalculationOfAllRowsUsesTheUnitInForce)
{
    KIHON &k = start();
    openSample(k);
    ASSERT_EQ(cell(1, C_TANKA), "38,437");
    g().CALC_UNIT = 100;
    g().CALC_ADJ = 99;
    k.menus().click(QStringLiteral("all_grid_calc"));
    // 67 % of 57,370 is 38,437.9, rounded up to 100 yen; two pieces.
    EXPECT_EQ(cell(1, C_TANKA), "38,500");
    EXPECT_EQ(cell(1, C_KINGAKU), "77,000");
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL, 77000 + 35200 + 14400);
    EXPECT_TRUE(sheet().redraw());
}

TEST_F(KihonCommands, RecalculationOfAnEmptySheetLeavesTheTotals)
{
    KIHON &k = openNew();
    g().DOC_AMOUNT_TOTAL = 4711;
    k.menus().click(QStringLiteral("all_grid_calc"));
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL, 4711);
    EXPECT_EQ(cell(1, C_TANKA), "");
}

// A form of another part of the program, as its hook hands it over.
class StandInForm : public QWidget {
public:
    StandInForm()
    {
        list = new QWidget(this);
        list->setObjectName(QStringLiteral("List1"));
        list->setFocusPolicy(Qt::StrongFocus);
    }
    QWidget *list;
};

class StandInEditTool : public QWidget, public qd::forms::EditToolWindow {
public:
    void setValueText(const QString &) override {}
    void setRowsOption(bool) override {}
    void setStoreWidthsEnabled(bool e) override { enabled = e; }
    bool storeWidthsEnabled() const override { return enabled; }
    bool enabled = true;
};

TEST_F(KihonCommands, EntriesOfFormsNotBuiltDoNothingAndShowTheFormsThatAre)
{
    KIHON &k = openNew();
    // As if none of the other forms were part of the program.
    k.hooks = {};
    g().LINE_WORK.HINMEI = "前の品名";
    for (const char *entry : {"SERCH_SYOHIN", "SERCH_SETHIN", "SERCH_GARASU", "IRO_SETTEI", "HENSYU_MENU_DISP",
                              "SERCH_SELECT_OUT", "SERCH_SELECT_IN", "PRN_HAKKOBI", "PRN_PRINT"})
        k.menus().click(QString::fromLatin1(entry));
    EXPECT_TRUE(k.isEnabled());
    EXPECT_EQ(qd::text::trim(g().LINE_WORK.HINMEI), "") << "the line work fields are blanked for the product";

    StandInForm search, colours;
    int printed = 0;
    k.hooks.SSKENSA = [&] { return &search; };
    k.hooks.IRO_SET = [&] { return &colours; };
    k.hooks.PRN_PRINT_Click = [&] { ++printed; };
    k.menus().click(QStringLiteral("SERCH_SYOHIN"));
    EXPECT_TRUE(search.isVisible());
    k.menus().click(QStringLiteral("PRN_PRINT"));
    EXPECT_EQ(printed, 1);

    sheet().setRow(6);
    sheet().setCol(C_TEIKA);
    sheet().raiseMouseMove(0, 0, 2000, 1000);
    k.menus().click(QStringLiteral("IRO_SETTEI"));
    EXPECT_EQ(g().ROW_NO, 6);
    EXPECT_EQ(g().COL_NO, C_TEIKA);
    EXPECT_TRUE(colours.isVisible());
    EXPECT_FALSE(k.isEnabled()) << "the main window waits for the colour form";
    const qd::qt::TwipsRect r = qd::qt::geometryTwips(&colours);
    EXPECT_NEAR(r.width, 5355, 20);
    EXPECT_NEAR(r.height, 6060, 20);
    k.setEnabled(true);

    StandInEditTool tool;
    app->editToolProvider = [&]() -> qd::forms::EditToolWindow & { return tool; };
    sheet().raiseMouseMove(0, 0, 3000, 1500);
    k.menus().click(QStringLiteral("HENSYU_MENU_DISP"));
    EXPECT_TRUE(tool.isVisible());
    tool.hide();
    int f1 = 112;
    sheet().raiseKeyDown(f1, 0);
    EXPECT_TRUE(tool.isVisible()) << "F1 on the sheet shows it too";
    tool.hide();
    QTest::mouseDClick(k.Frame1, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_TRUE(tool.isVisible()) << "and a double-click on the sheet frame";
    app->editToolProvider = nullptr;
}

TEST_F(KihonCommands, EveryLaunchEntryStartsItsProgramInTheInstallFolder)
{
    KIHON &k = start();
    openSample(k);
    seam.clearCalls();
    for (const qd::forms::LaunchEntry &e : qd::forms::launchTable())
        k.menus().click(QString::fromLatin1(e.menu));
    const std::vector<SeamCall> started = seam.callsOf(SeamCall::Kind::Process);
    ASSERT_EQ(started.size(), qd::forms::launchTable().size());
    for (std::size_t i = 0; i < started.size(); ++i) {
        const auto &e = qd::forms::launchTable()[i];
        EXPECT_EQ(started[i].process.program.toStdString(), instDir() + e.literal) << e.menu;
        EXPECT_TRUE(started[i].process.arguments.isEmpty()) << e.menu;
        EXPECT_EQ(started[i].process.workingDir.toStdString(), instDir()) << e.menu;
    }
    // The table covers the menus' tools: the printer settings and the partner master among them.
    EXPECT_STREQ(qd::forms::launchLiteral(QStringLiteral("ZOKUSEI_PRN")), "\\SETTEI.EXE");
    EXPECT_STREQ(qd::forms::launchLiteral(QStringLiteral("HOJYO_TOKUI")), "\\partnermaint.exe");
    EXPECT_STREQ(qd::forms::launchLiteral(QStringLiteral("HENKAN_080")), "\\csvitem.exe");
    EXPECT_EQ(qd::forms::launchLiteral(QStringLiteral("HOJYO_filler98")), nullptr);
}

TEST_F(KihonCommands, AProgramThatCannotStartIsReportedAndTheDocumentsStay)
{
    KIHON &k = start();
    openSample(k);
    seam.setProcessResult(false);
    seam.answerMessage(Answer::Ok, [](const MessageRequest &m) {
        EXPECT_TRUE(m.text.contains(QStringLiteral("kind1maint"))) << m.text.toStdString();
    });
    k.menus().click(QStringLiteral("HOJYO_HINSYU1"));
    EXPECT_EQ(seam.beepCount(), 1);
    EXPECT_EQ(k.Combo2->count(), 1);
    EXPECT_EQ(cell(1, C_TANKA), "38,437");
    EXPECT_TRUE(k.isEnabled());
}

} // namespace
} // namespace qd::testing
