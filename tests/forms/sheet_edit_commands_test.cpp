// The block, row and group commands of the edit tool window on the sheets: copy, paste (also
// between documents and as whole rows), value fill, row insert and delete, grouping under
// "【x】" with its total row, ungrouping, the group heights and single-item registration.
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstring>

#include "platform/files/record_file.h"
#include "platform/text/cp932.h"
#include "quotedesk/core/group_rows.h"
#include "records/layouts.h"
#include "records/records_state.h"
#include "tests/forms/edit_fixture.h"
#include "tests/qtsupport/every_step_press.h"
#include "tests/support/fault_runs.h"
#include "tests/support/torn_file.h"

using qd::forms::HENSYU_MENU;
using qd::forms::KIHON;

namespace qd::testing {
namespace {

const char *const AGAIN = "\n\r\n\r範囲を変更して、再実行してみて下さい｡ ";

class SheetEditCommands : public EditFixture {
protected:
    // Each message the seam is to answer, with the text it must have.
    void expectMessage(const std::string &text)
    {
        seam.answerMessage(qd::qt::Answer::Ok,
                           [text](const qd::qt::MessageRequest &m) { EXPECT_EQ(m.text.toStdString(), text); });
    }
};

TEST_F(SheetEditCommands, WholeColumnsAndUpwardSelectionsAreRefusedWithRedrawOn)
{
    openNew();
    HENSYU_MENU &w = tool();
    fill(3, {{col::HINMEI, "窓"}});
    select(1, col::HINMEI, 999, col::HINMEI); // the whole column, as a click on its caption gives
    expectMessage(std::string("列全体の複写はできません、中断します。") + AGAIN);
    w.Command10_Click();
    EXPECT_TRUE(sheet().redraw());
    EXPECT_EQ(g().BLOCK_ROW_END, 0) << "no block is remembered";

    expectMessage(std::string("列全体の貼付けはできません、中断します。") + AGAIN);
    w.Command9_Click();
    EXPECT_TRUE(sheet().redraw());
    EXPECT_EQ(trimmed(3, col::HINMEI), "窓");

    select(8, 2, 3, 4); // dragged upwards
    const std::string order = "指定順が違いますので、中断します。\n\r\n\r上から下へ範囲を指定して、再実行してみて下さい｡ ";
    expectMessage(order);
    w.Command10_Click();
    expectMessage(order);
    w.Command2_Click();
    EXPECT_EQ(g().BLOCK_ROW_END, 0);
    EXPECT_TRUE(sheet().redraw());
}

TEST_F(SheetEditCommands, BlockCopiedFromOneDocumentIsPastedIntoAnotherAndPriced)
{
    KIHON &k = openNew(QStringLiteral("元見積"));
    HENSYU_MENU &w = tool();
    fill(3, {{col::H, "2000.0"}});
    fill(4, {{col::H, "1500.0"}});
    fill(5, {{col::H, "1000.0"}});
    select(3, col::H, 5, col::D); // 3 rows x 2 columns
    w.Command10_Click();
    EXPECT_EQ(g().COPY_GRID_IDX, 0);
    EXPECT_EQ(g().INSERT_ROWS, 3);

    openNew(QStringLiteral("先見積"));
    ASSERT_EQ(g().CUR_SLOT, 1);
    for (int r = 10; r <= 12; ++r)
        fill(r, {{col::HINMEI, "ガラス"}, {col::W, "1000.0"}, {col::M2_TANKA, "10000"}, {col::SURYO, "1"},
                 {col::KAKERITU, "100.00"}});
    click(10, col::H);
    w.Command9_Click();

    EXPECT_EQ(cell(10, col::H), "2000.0");
    EXPECT_EQ(cell(11, col::H), "1500.0");
    EXPECT_EQ(cell(12, col::H), "1000.0");
    // Each pasted row is priced from its new size.
    EXPECT_EQ(cell(10, col::TEIKA), "20,000");
    EXPECT_EQ(cell(11, col::KINGAKU), "15,000");
    EXPECT_EQ(cell(12, col::KINGAKU), "10,000");
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL, 45000);
    EXPECT_EQ(k.Text4->text().toStdString(), "45,000");
    EXPECT_EQ(trimmed(9, col::H), "");
    EXPECT_EQ(trimmed(13, col::H), "");
    EXPECT_EQ(g().Grid1[0].cell(3, col::H), "2000.0") << "the source document is unchanged";
    // The user's cell is as before the paste.
    EXPECT_EQ(sheet().row(), 10);
    EXPECT_EQ(sheet().col(), col::H);
    EXPECT_TRUE(sheet().redraw());
}

TEST_F(SheetEditCommands, WholeRowsGoToColumnsOneToTwentyFourAndEveryPasteInserts)
{
    openNew();
    HENSYU_MENU &w = tool();
    fill(2, {{col::HIDUKE, "2026/01/05"}, {col::HINMEI, "網戸"}, {col::SURYO, "2"}, {col::TANKA, "1,000"},
             {col::BIKO, "別途"}, {col::ZEI_GAKU, "200"}});
    fill(3, {{col::HIDUKE, "2026/01/06"}, {col::HINMEI, "戸車"}, {col::SURYO, "1"}, {col::TANKA, "500"}});
    fill(5, {{col::HINMEI, "既存の行"}});
    w.Command11_Click(); // two fixed columns: selecting whole rows gives columns 2 to 24
    select(2, 2, 3, 24);
    w.Command10_Click();

    click(5, col::M2_TANKA); // the cursor in any column
    w.Command9_Click();
    EXPECT_EQ(cell(5, col::HIDUKE), "2026/01/05") << "the date column comes along";
    EXPECT_EQ(trimmed(5, col::HINMEI), "網戸");
    EXPECT_EQ(qd::text::charCount(cell(5, col::HINMEI)), 100u) << "the item name keeps the carrier's blanks";
    EXPECT_EQ(cell(5, col::BIKO), "別途");
    EXPECT_EQ(cell(5, col::ZEI_GAKU), "200");
    EXPECT_EQ(cell(5, col::KINGAKU), "2,000") << "the row is priced";
    EXPECT_EQ(trimmed(6, col::HINMEI), "戸車");
    EXPECT_EQ(trimmed(7, col::HINMEI), "既存の行");
    EXPECT_EQ(g().FIXED_COLS, 1);
    EXPECT_EQ(sheet().fixedCols(), 1);

    // A second paste of the same block inserts again; no row is overwritten.
    click(1, col::HINMEI);
    w.Command9_Click();
    EXPECT_EQ(trimmed(1, col::HINMEI), "網戸");
    EXPECT_EQ(trimmed(2, col::HINMEI), "戸車");
    EXPECT_EQ(trimmed(3, col::HINMEI), "") << "the former row 1";
    EXPECT_EQ(trimmed(4, col::HINMEI), "網戸");
    EXPECT_EQ(trimmed(9, col::HINMEI), "既存の行");
    EXPECT_EQ(sheet().rows(), 1004);

    // Rows beyond the thousandth of a grown sheet go through the work grid as well.
    fill(1002, {{col::HINMEI, "千二行目"}});
    w.Command11_Click();
    select(1002, 2, 1002, 24);
    w.Command10_Click();
    click(1, col::HINMEI);
    w.Command9_Click();
    EXPECT_EQ(trimmed(1, col::HINMEI), "千二行目");
    EXPECT_EQ(trimmed(1003, col::HINMEI), "千二行目");
}

TEST_F(SheetEditCommands, PastesMoveOverlappingBlocksIntactAndLeaveOutWhatFallsPastTheSheet)
{
    openNew();
    HENSYU_MENU &w = tool();
    fill(2, {{col::HIDUKE, " 2026/02/01 "}, {col::HINMEI, "品名A"}, {col::KOSYO, "呼称A"}});
    fill(3, {{col::HIDUKE, "2026/02/02"}, {col::HINMEI, "品名B"}, {col::KOSYO, "呼称B"}});
    fill(4, {{col::HIDUKE, "2026/02/03"}, {col::HINMEI, "品名C"}, {col::KOSYO, "呼称C"}});
    select(2, col::HIDUKE, 4, col::KOSYO);
    w.Command10_Click();

    click(3, col::HIDUKE); // one row down, over the block itself
    w.Command9_Click();
    EXPECT_EQ(cell(3, col::HIDUKE), "2026/02/01") << "the first column is trimmed";
    EXPECT_EQ(trimmed(3, col::HINMEI), "品名A");
    EXPECT_EQ(trimmed(4, col::HINMEI), "品名B");
    EXPECT_EQ(trimmed(5, col::HINMEI), "品名C");
    EXPECT_EQ(trimmed(5, col::KOSYO), "呼称C");
    EXPECT_EQ(qd::text::charCount(cell(5, col::KOSYO)), 100u);

    // At the sheet's last two rows and columns: the third row and column are left out.
    click(998, col::ZEI_RITU);
    w.Command9_Click();
    EXPECT_EQ(cell(998, col::ZEI_RITU), "2026/02/01");
    EXPECT_EQ(trimmed(999, col::ZEI_GAKU), "品名A");
    EXPECT_EQ(sheet().rows(), 1000);

    // The sheet's paste key clips the same way (C remembers, V pastes).
    select(2, col::HIDUKE, 4, col::KOSYO);
    int c = 67;
    sheet().raiseKeyDown(c, 0);
    click(999, col::ZEI_GAKU);
    int v = 86;
    sheet().raiseKeyDown(v, qd::grid::CtrlKey);
    EXPECT_EQ(cell(999, col::ZEI_GAKU), "2026/02/01");
}

TEST_F(SheetEditCommands, ValueFillWritesTheConfirmedValueAndPricesTheRows)
{
    KIHON &k = openNew();
    HENSYU_MENU &w = tool();
    fill(2, {{col::HINMEI, "窓"}, {col::TEIKA, "1000"}, {col::KAKERITU, "50.00"}});
    fill(3, {{col::HINMEI, "戸"}, {col::TEIKA, "1000"}, {col::KAKERITU, "50.00"}});
    select(2, col::SURYO, 3, col::SURYO);
    w.Text3->setText(QStringLiteral("3"));
    w.Text3_KeyDown(13);
    w.Command2_Click();
    EXPECT_EQ(cell(2, col::SURYO), "3");
    EXPECT_EQ(cell(3, col::KINGAKU), "1,500");
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL, 3000);
    EXPECT_EQ(k.Text4->text().toStdString(), "3,000");
    EXPECT_EQ(g().SEL_ROW_END, 3) << "the selection is shown again";

    // An empty value box blanks the cells.
    select(2, col::SURYO, 2, col::SURYO);
    w.Text3->setText(QString());
    w.Text3_KeyDown(13);
    w.Command2_Click();
    EXPECT_EQ(cell(2, col::SURYO), "");
    EXPECT_EQ(cell(2, col::KINGAKU), "");
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL, 1500);
}

TEST_F(SheetEditCommands, InsertAndDeleteRowsOfTheSelection)
{
    openNew();
    HENSYU_MENU &w = tool();
    for (int r = 1; r <= 6; ++r)
        sheet().setCell(r, col::HINMEI, "行" + std::to_string(r));
    select(2, col::HINMEI, 4, col::HINMEI);
    w.Command8_Click();
    EXPECT_EQ(sheet().rows(), 1003);
    EXPECT_EQ(trimmed(2, col::HINMEI), "");
    EXPECT_EQ(trimmed(4, col::HINMEI), "");
    EXPECT_EQ(trimmed(5, col::HINMEI), "行2");
    EXPECT_EQ(g().SEL_ROW_END, 4);

    w.Command7_Click();
    EXPECT_EQ(sheet().rows(), 1000);
    EXPECT_EQ(trimmed(2, col::HINMEI), "行2");
    EXPECT_EQ(trimmed(6, col::HINMEI), "行6");

    select(1, col::HINMEI, 999, col::HINMEI);
    expectMessage("列の挿入・削除はできません");
    w.Command8_Click();
    expectMessage("列の挿入・削除はできません");
    w.Command7_Click();
    EXPECT_EQ(sheet().rows(), 1000);
    EXPECT_TRUE(sheet().redraw());

    // Rows deleted at the end of the sheet leave it shorter; the totals scan what is left.
    fill(997, {{col::HINMEI, "末尾"}, {col::KINGAKU, "100"}});
    fill(5, {{col::KINGAKU, "700"}});
    select(996, col::HINMEI, 999, col::HINMEI);
    w.Command7_Click();
    EXPECT_EQ(sheet().rows(), 996);
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL, 700);
    EXPECT_EQ(sheet().row(), 995);
}

TEST_F(SheetEditCommands, GroupingMarksTheRowsAndAddsTheirTotalRow)
{
    openNew();
    HENSYU_MENU &w = tool();
    fill(10, {{col::HINMEI, "窓A"}, {col::KINGAKU, "1,000"}, {col::GENKA_KINGAKU, "600"}});
    fill(11, {{col::HINMEI, "窓B"}, {col::KINGAKU, "2,500"}, {col::GENKA_KINGAKU, "1,500"}});
    fill(12, {{col::HINMEI, "窓C"}, {col::KINGAKU, "\\300"}, {col::GENKA_KINGAKU, "100"}});
    fill(13, {{col::HINMEI, "次の行"}, {col::KINGAKU, "50"}});
    select(12, col::HINMEI, 10, col::HINMEI); // from the bottom up: the same rows
    w.Command15_Click();

    EXPECT_EQ(cell(10, col::HINMEI), "【x】窓A");
    EXPECT_EQ(cell(12, col::HINMEI), "【x】窓C");
    EXPECT_EQ(cell(10, col::KINGAKU), "1000");
    EXPECT_EQ(cell(11, col::KINGAKU), "2500");
    EXPECT_EQ(cell(12, col::KINGAKU), "300");
    // The total row directly below the group.
    EXPECT_EQ(cell(13, col::HINMEI), "");
    EXPECT_EQ(cell(13, col::SURYO), "1");
    EXPECT_EQ(cell(13, col::TANKA), "3,800");
    EXPECT_EQ(cell(13, col::GENKA), "2,200");
    EXPECT_EQ(cell(13, col::KINGAKU), "3,800");
    EXPECT_EQ(trimmed(14, col::HINMEI), "次の行");
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL, 3850) << "grouped rows are carried by their total row";
    EXPECT_EQ(sheet().rowHeight(11), 100);
    EXPECT_EQ(sheet().foreColor(11, 21), qd::core::GROUP_SHADE_COLOR);
    EXPECT_EQ(sheet().foreColor(13, 21), qd::grid::DefaultColor);

    // A last row past 500 is refused and nothing is marked; 500 itself is the last allowed.
    fill(500, {{col::HINMEI, "五百"}});
    fill(501, {{col::HINMEI, "五百一"}});
    select(501, col::HINMEI, 500, col::HINMEI);
    expectMessage("行数が多すぎますので、中断します。\n\r\n\r行まとめの範囲を変更して、再実行してみて下さい｡ ");
    w.Command15_Click();
    EXPECT_EQ(cell(500, col::HINMEI), "五百");
    EXPECT_EQ(cell(501, col::HINMEI), "五百一");
    EXPECT_TRUE(sheet().redraw());
    select(499, col::HINMEI, 500, col::HINMEI);
    w.Command15_Click();
    EXPECT_EQ(cell(500, col::HINMEI), "【x】五百");
    EXPECT_EQ(cell(501, col::SURYO), "1");
    EXPECT_EQ(cell(502, col::HINMEI), "五百一");
}

TEST_F(SheetEditCommands, UngroupingAndTheGroupHeights)
{
    openNew();
    HENSYU_MENU &w = tool();
    fill(10, {{col::HINMEI, "窓A"}, {col::KINGAKU, "1000"}});
    fill(11, {{col::HINMEI, "窓B"}, {col::KINGAKU, "2000"}});
    select(10, col::HINMEI, 11, col::HINMEI);
    w.Command15_Click();
    sheet().setCell(10, col::HINMEI, "【x】【x】窓A");

    select(10, col::HINMEI, 12, col::HINMEI);
    w.Command16_Click();
    EXPECT_EQ(cell(10, col::HINMEI), "窓A");
    EXPECT_EQ(cell(11, col::HINMEI), "窓B");
    EXPECT_EQ(cell(12, col::SURYO), "1") << "the total row stays";
    EXPECT_EQ(sheet().rowHeight(10), 280);
    EXPECT_EQ(sheet().foreColor(10, 21), qd::grid::DefaultColor);
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL, 6000) << "details and the total row are both counted now";

    // The collapse button: only names that begin with the mark count.
    sheet().setCell(10, col::HINMEI, " 【x】窓A");
    sheet().setCell(11, col::HINMEI, "窓B【x】");
    sheet().setRowHeight(10, 100);
    sheet().setRowHeight(11, 100);
    select(10, col::HINMEI, 11, col::HINMEI);
    w.Command20_Click();
    EXPECT_EQ(w.Command20->text().toStdString(), "行高↓");
    EXPECT_EQ(sheet().rowHeight(10), 280);
    EXPECT_EQ(sheet().rowHeight(11), 100);
    w.Command20_Click();
    EXPECT_EQ(w.Command20->text().toStdString(), "行高↑");
    EXPECT_EQ(sheet().rowHeight(10), 100);
}

// The single items of the install folder, in file order.
std::vector<qd::records::Record> items(const TempInstall &inst)
{
    std::vector<qd::records::Record> out;
    qd::files::RecordFile f((inst.data() / "TANPIN.TXT").string(), 128, qd::files::RecordFile::Mode::ReadOnly);
    for (std::int32_t n = 1; n <= f.recordCount(); ++n) {
        out.emplace_back(qd::records::Item::layout());
        out.back().setBytes(f.get(n));
    }
    return out;
}

void appendItem(const TempInstall &inst, const std::string &code)
{
    qd::records::Record r(qd::records::Item::layout());
    r.setSeparators();
    r.setText(qd::records::Item::TANPIN_CD, code);
    r.setText(qd::records::Item::NAME, "追加品");
    qd::files::RecordFile f((inst.data() / "TANPIN.TXT").string(), 128);
    f.append(r.bytes());
}

TEST_F(SheetEditCommands, RegisteredRowsGetTheNextCodesAtTheEndOfTheItemFile)
{
    using qd::records::Item::GENKA;
    using qd::records::Item::NAME;
    using qd::records::Item::TANKA;
    using qd::records::Item::TANPIN_CD;
    openNew();
    HENSYU_MENU &w = tool();
    appendItem(inst, "0042");
    appendItem(inst, "0000"); // a deleted item counts 0
    const std::size_t before = items(inst).size();
    fill(2, {{col::HINMEI, "【x】網戸　特注"}, {col::TEIKA, "12,800"}, {col::GENKA, "8,300"}});
    fill(3, {{col::HINMEI, std::string(60, 'A').c_str()}, {col::TEIKA, "\\1,500"}, {col::GENKA, "900"}});

    select(3, col::HINMEI, 2, col::HINMEI); // from the bottom up: nothing
    w.Command17_Click();
    EXPECT_EQ(items(inst).size(), before);

    select(2, col::HINMEI, 3, col::HINMEI);
    w.Command17_Click();
    const auto after = items(inst);
    ASSERT_EQ(after.size(), before + 2);
    const auto &first = after[before];
    const auto &second = after[before + 1];
    EXPECT_EQ(first.raw(TANPIN_CD), "0043");
    EXPECT_EQ(first.trimmed(NAME), "網戸　特注");
    EXPECT_EQ(first.raw(TANKA), "0012800");
    EXPECT_EQ(first.raw(GENKA), "0008300");
    EXPECT_EQ(second.raw(TANPIN_CD), "0044");
    EXPECT_EQ(second.trimmed(NAME), std::string(50, 'A'));
    EXPECT_EQ(second.raw(TANKA), "0001500");
    EXPECT_EQ(first.bytes().substr(126), "\r\n");
    EXPECT_EQ(trimmed(2, col::HINMEI), "【x】網戸　特注") << "the sheet is not changed";

    // Past code 9999 nothing is appended.
    appendItem(inst, "9999");
    select(2, col::HINMEI, 2, col::HINMEI);
    expectMessage("単品ｺｰﾄﾞ番号が最大を超えますので、中断します。\n\r\n\ritemmaintを整理して下さい｡ ");
    w.Command17_Click();
    EXPECT_EQ(items(inst).size(), before + 3);
}

// The codes run out in the middle of the chosen rows: the rows registered before that stay, and
// the message says which they are, under which codes, and which rows were not registered, so
// that a press after itemmaint has freed codes registers none of them twice.
TEST_F(SheetEditCommands, CodesThatRunOutAfterSomeRowsSayWhichRowsWereRegistered)
{
    openNew();
    HENSYU_MENU &w = tool();
    appendItem(inst, "9997");
    const std::size_t before = items(inst).size();
    for (int r = 2; r <= 4; ++r)
        fill(r, {{col::HINMEI, ("網戸" + std::to_string(r)).c_str()}});
    const std::string stopped = "単品ｺｰﾄﾞ番号が最大を超えますので、中断します。\n\r\n\ritemmaintを整理して下さい｡ ";
    select(2, col::HINMEI, 4, col::HINMEI);
    expectMessage(stopped + "\n\r\n\r2～3行目の 2 件は登録しました。(単品ｺｰﾄﾞ 9998～9999)\n\r\n\r4行目は登録していません。");
    w.Command17_Click();
    const auto after = items(inst);
    ASSERT_EQ(after.size(), before + 2);
    EXPECT_EQ(after[before + 1].trimmed(qd::records::Item::NAME), "網戸3");
    // Nothing registered: the message as it stands.
    select(4, col::HINMEI, 4, col::HINMEI);
    expectMessage(stopped);
    w.Command17_Click();
    EXPECT_EQ(items(inst).size(), before + 2);
    EXPECT_EQ(seam.pendingAnswers(), 0);
}

// Three rows registered with every step of the file layer failing in turn, once, from then on or
// as a write cut short: the message says which rows were registered and under which codes, which
// row's item the file may hold, and which rows were not registered; those rows chosen and
// registered on a sound disk, every row stands in the file once.
TEST_F(SheetEditCommands, ARegistrationThatStopsSaysWhichRowsItRegisteredAndNoRowIsRegisteredTwice)
{
    openNew();
    HENSYU_MENU &w = tool();
    const std::filesystem::path master = inst.data() / "TANPIN.TXT";
    appendItem(inst, "0042");
    const std::string old = readBytes(master);
    const std::vector<std::string> names = {"網戸A", "網戸B", "網戸C"};
    for (int i = 0; i < 3; ++i)
        fill(2 + i, {{col::HINMEI, names[static_cast<std::size_t>(i)].c_str()}, {col::TEIKA, "1,000"}});
    const auto press = [&](int from, int to) {
        select(from, col::HINMEI, to, col::HINMEI);
        seam.clearCalls();
        seam.clearScript();
        for (int i = 0; i < 4; ++i)
            seam.answerMessage(qd::qt::Answer::Ok);
        w.Command17_Click();
        seam.clearScript();
        return seam.messages().join(QStringLiteral(" / ")).toStdString();
    };
    // The names of the whole records after the old ones.
    const auto registered = [&] {
        std::vector<std::string> out;
        const std::string now = readBytes(master);
        for (std::size_t at = old.size(); at + 128 <= now.size(); at += 128) {
            qd::records::Record r(qd::records::Item::layout());
            r.setBytes(now.substr(at, 128));
            out.push_back(r.trimmed(qd::records::Item::NAME));
        }
        return out;
    };
    const qd::testing::StepCounts steps = qd::testing::allStepsOf([&] { press(2, 4); });
    ASSERT_EQ(registered(), names);

    PressOutcomes outcomes;
    for (const qd::testing::FaultCase &c : qd::testing::everyStepCases(steps)) {
        SCOPED_TRACE(c.name());
        writeBytes(master, old);
        c.arm();
        const std::string told = press(2, 4);
        qd::files::faults::clear();
        SCOPED_TRACE(told);
        const std::string now = readBytes(master);
        const auto has = [&](const std::string &words) { return told.find(words) != std::string::npos; };
        const std::vector<std::string> whole = registered();
        const bool torn = now.size() % 128 != 0;
        ASSERT_TRUE(now.starts_with(old));
        ASSERT_LE(whole.size(), names.size());
        EXPECT_TRUE(std::equal(whole.begin(), whole.end(), names.begin())) << "the rows in their order, each once";
        EXPECT_FALSE(has("そのまま"));
        if (told.empty()) {
            EXPECT_EQ(whole, names);
            ++outcomes["written"];
            continue;
        }
        EXPECT_TRUE(has("TANPIN.TXT") && has(std::strerror(c.err))) << "the file and the system's reason";
        // The rows told as registered, and the row whose item the file may hold.
        std::size_t toldRegistered = 0;
        for (std::size_t n = 1; n <= names.size(); ++n)
            if (has(std::string(n == 1 ? "2行目" : "2～" + std::to_string(1 + n) + "行目") + "の " + std::to_string(n) +
                    " 件は登録しました。(単品ｺｰﾄﾞ 0043" + (n == 1 ? "" : "～004" + std::to_string(2 + n)) + ")"))
                toldRegistered = n;
        const bool mayHold = has("書き込まれたかもしれません");
        if (mayHold) {
            EXPECT_TRUE(has(std::to_string(2 + toldRegistered) + "行目の単品は")) << "the row named";
            EXPECT_TRUE(whole.size() == toldRegistered || (whole.size() == toldRegistered + 1 && !torn));
            ++outcomes["may hold"];
        } else {
            EXPECT_EQ(whole.size(), toldRegistered) << "the rows registered are told";
            EXPECT_FALSE(torn);
            ++outcomes[toldRegistered == 0 ? "as it was" : "rows registered told"];
        }
        // The rows told as not registered, chosen and registered on a sound disk.
        const int rest = 2 + static_cast<int>(toldRegistered) + (mayHold ? 1 : 0);
        if (rest <= 4) {
            EXPECT_TRUE(has((rest == 4 ? std::string("4") : std::to_string(rest) + "～4") + "行目は登録していません。"));
            press(rest, 4);
        }
        if (torn)
            EXPECT_EQ(readBytes(master), now) << "no item after a part of a record";
        else
            EXPECT_EQ(registered(), names) << "every row once";
        if (HasFailure())
            break;
    }
    RecordProperty("outcomes", qd::testing::outcomesText(outcomes));
    EXPECT_GT(outcomes["rows registered told"], 0);
    EXPECT_GT(outcomes["may hold"], 0);
}

TEST_F(SheetEditCommands, NoItemIsRegisteredAfterAPartOfARecord)
{
    openNew();
    HENSYU_MENU &w = tool();
    appendItem(inst, "0042");
    const std::filesystem::path master = inst.data() / "TANPIN.TXT";
    const std::string torn = tearLastRecord(master, 128);
    fill(2, {{col::HINMEI, "網戸　特注"}, {col::TEIKA, "12,800"}});
    select(2, col::HINMEI, 2, col::HINMEI);
    seam.answerMessage(qd::qt::Answer::Ok, [&](const qd::qt::MessageRequest &m) {
        EXPECT_TRUE(tellsOfTornFile(m.text.toStdString(), master, 128));
    });
    w.Command17_Click();
    EXPECT_EQ(readBytes(master), torn);
}

} // namespace
} // namespace qd::testing
