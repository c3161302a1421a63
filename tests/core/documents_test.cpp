// Job documents: save and load through the two files, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files/fault_plan.h"
#include "platform/files/file_error.h"
#include "platform/files/file_lock.h"
#include "platform/files/safe_replace.h"
#include "platform/text/cp932.h"
#include "quotedesk/core/document_name.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/rate_select.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/select_files.h"
#include "quotedesk/core/sheet_setup.h"
#include "tests/core/sheet_fakes.h"
#include "tests/support/fault_runs.h"
#include "tests/support/processes.h"
#include "tests/support/temp_install.h"
#include "tests/support/torn_file.h"
#include "tools/demodata/lib/demo_data.h"

namespace qd::core {
namespace {

using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::testing::writeBytes;
using sheet_test::Desk;
namespace fs = std::filesystem;

// ---- hand-made records ----

// A field of `width` bytes: the text in code page 932, blank-padded.
std::string fld(const std::string &utf8, std::size_t width)
{
    std::string b = qd::text::toCp932(utf8);
    b.resize(width, ' ');
    return b;
}

std::string headerRecord(const std::vector<std::string> &f)
{
    const std::size_t widths[] = {50, 50, 30, 30, 10, 10, 10};
    std::string r;
    for (int i = 0; i < 7; ++i)
        r += fld(f[i], widths[i]) + ",";
    r += std::string(57, ' ') + "\r\n";
    return r;
}

// The 24 fields of a line record in order; each followed by ",", then 361 blanks and CR LF.
std::string lineRecord(const std::vector<std::string> &f)
{
    const std::size_t widths[] = {10, 200, 50, 10, 10, 10, 10, 20, 10, 10, 2, 10,
                                  15, 15, 15, 50, 10, 15, 15, 15, 25, 85, 10, 15};
    std::string r;
    for (int i = 0; i < 24; ++i)
        r += fld(f[i], widths[i]) + ",";
    r += std::string(361, ' ') + "\r\n";
    return r;
}

// A row saved empty: blank texts, the zero forms of the number patterns.
std::string emptyLineRecord()
{
    return lineRecord({"", "", "", "", "", "", "", "", "0.00", "", "0.", "0.00", "", "", "", "", "0.00", "", "",
                       "", "", "", " 0", " 0"});
}

// The text a load puts into a text column: the field as stored, trailing blanks included.
std::string stored(const std::string &utf8, std::size_t width)
{
    return utf8 + std::string(width - qd::text::cp932Width(utf8), ' ');
}

void typeRow(qd::grid::FlexGrid &grid, int row, const std::vector<std::string> &cells)
{
    for (int c = 1; c <= 24; ++c)
        grid.setCell(row, c, cells[c - 1]);
}

std::vector<std::string> rowOf(const qd::grid::FlexGrid &grid, int row)
{
    std::vector<std::string> out;
    for (int c = 1; c <= 24; ++c)
        out.push_back(grid.cell(row, c));
    return out;
}

std::string txtDir(const TempInstall &inst) { return inst.dir() + "/data/TXT"; }

bool save(Desk &d, const TempInstall &inst, const std::string &title)
{
    return BUKKEN_FILE_WRITE(d.g, txtDir(inst) + "/" + title, title);
}

bool load(Desk &d, const std::string &name)
{
    d.g.CUR_DOC_NAME = d.g.HEAD_NAME = name; // as making the document current does
    DOC_HEAD_READ(d.g);
    return BUKKEN_FILE_READ(d.g);
}

// ---- the round trip ----

// Rows 1, 5 and 6 typed, 2-4 left empty.
const std::vector<std::string> ROW1 = {
    "2026/01/15", "引違い窓 W1,800", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "1820.5", " 900", "", "", "白,黒",
    "12.5", "窓", "1", "65", "69,400", "\\12,345", "154,313", "至急", "52.5", "36,440", "455,500", "-301,187",
    "0101100101HW2-116911", "HW2-1169", "10", "15,431"};
const std::vector<std::string> ROW5 = {
    "", "網戸　標準", "", "0", "", "", "", "", "123.45", "枚", "10", "100", "", "4800", "14400", "", "", "3100",
    "9300", "5100", "", "", "", "0"};
const std::vector<std::string> ROW6 = {
    "", "【x】ガラス", "", "", "", "", "12,000", "", "1234", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "8.5", ""};

TEST(Documents, SaveWritesTheRecordsByteForByteAndLoadsThemBack)
{
    TempInstall inst;
    Desk d(inst);
    SHEET_INIT(d.g);
    auto &grid = d.g.curGrid();
    typeRow(grid, 1, ROW1);
    typeRow(grid, 5, ROW5);
    typeRow(grid, 6, ROW6);
    d.g.HEAD_TOKUI = "株式会社　山川建設";
    d.g.HEAD_BUKKEN = "テスト邸";
    d.g.HEAD_NOUHIN = "現場";
    d.g.HEAD_SIHARAI = "月末締め";
    d.g.HEAD_NOUKI = "2026/02/01";
    d.g.HEAD_YUKOU = "30日";
    d.g.HEAD_RATE = Fixed4::fromInt(65);

    ASSERT_TRUE(save(d, inst, "テスト見積.TXT"));
    EXPECT_TRUE(d.ui.messages.empty());
    EXPECT_EQ(d.g.HEAD_NAME, "テスト見積");
    EXPECT_EQ(d.g.CUR_DOC_NAME, "テスト見積");
    EXPECT_EQ(d.g.DOC_DIR, txtDir(inst));
    EXPECT_EQ(d.g.LAST_ROW, 6);
    EXPECT_EQ(grid.row(), 6);
    EXPECT_EQ(grid.col(), 24);
    EXPECT_TRUE(grid.redraw());

    const std::string head = readBytes(inst.data() / "TXT" / "テスト見積.SSS");
    EXPECT_EQ(head, headerRecord({"株式会社　山川建設", "テスト邸", "現場", "月末締め", "2026/02/01", "30日", "65.00"}));
    ASSERT_EQ(head.size(), 256u);

    const std::string lines = readBytes(inst.data() / "TXT" / "テスト見積.TXT");
    ASSERT_EQ(lines.size(), 6u * 1024);
    const std::string rec1 = lineRecord({"2026/01/15", "引違い窓 W1,800", "ABCDEFGHIJKLMNOPQRST", "18205", "9000",
                                         "", "", "白黒", "12.50", "窓", "1.", "6500.0", "69400", "12345", "154313",
                                         "至急", "5250.0", "36440", "455500", "-301187", "0101100101HW2-116911",
                                         "HW2-1169", " 1000", " 15431"});
    const std::string rec5 = lineRecord({"", "網戸　標準", "", "", "", "", "", "", "123.4", "枚", "10", "10000.",
                                         "", "4800", "14400", "", "0.00", "3100", "9300", "5100", "", "", " 0",
                                         " 0"});
    const std::string rec6 = lineRecord({"", "【x】ガラス", "", "", "", "", "12000", "", "1234.", "", "0.", "0.00",
                                         "", "", "", "", "0.00", "", "", "", "", "", " 850", " 0"});
    EXPECT_EQ(lines.substr(0, 1024), rec1);
    for (int r = 2; r <= 4; ++r)
        EXPECT_EQ(lines.substr((r - 1) * 1024, 1024), emptyLineRecord()) << "row " << r;
    EXPECT_EQ(lines.substr(4 * 1024, 1024), rec5);
    EXPECT_EQ(lines.substr(5 * 1024, 1024), rec6);

    // Into a fresh sheet: every cell as the load shows it.
    Desk back(inst);
    ASSERT_TRUE(load(back, "テスト見積"));
    EXPECT_TRUE(back.ui.messages.empty());
    auto &sheet = back.g.curGrid();
    EXPECT_EQ(sheet.rows(), 1000);
    EXPECT_EQ(sheet.cell(0, 2), "品名");
    EXPECT_EQ(sheet.row(), 1);
    EXPECT_EQ(sheet.col(), 2);
    EXPECT_EQ(back.g.HEAD_TOKUI, stored("株式会社　山川建設", 50));
    EXPECT_EQ(back.g.HEAD_NOUKI, "2026/02/01");
    EXPECT_EQ(back.g.HEAD_RATE, Fixed4::fromInt(65));
    EXPECT_EQ(back.g.RATE_VALUE, Fixed4::fromInt(65));

    EXPECT_EQ(rowOf(sheet, 1),
              (std::vector<std::string>{stored("2026/01/15", 10), stored("引違い窓 W1,800", 200),
                                        stored("ABCDEFGHIJKLMNOPQRST", 50), "1820.5", "900.0", "", "",
                                        stored("白黒", 20), "12.50", stored("窓", 10), "1", "65.00", "69,400",
                                        "12,345", "154,313", stored("至急", 50), "52.50", "36,440", "455,500",
                                        "-301,187", stored("0101100101HW2-116911", 25), stored("HW2-1169", 85),
                                        "10.00", "15,431"}));
    const std::vector<std::string> emptyRow = {
        stored("", 10), stored("", 200), stored("", 50), "", "", "", "", stored("", 20), "", stored("", 10), "0",
        "", "", "", "", stored("", 50), "", "", "", "", stored("", 25), stored("", 85), "10.00", ""};
    for (int r = 2; r <= 4; ++r)
        EXPECT_EQ(rowOf(sheet, r), emptyRow) << "row " << r;
    EXPECT_EQ(rowOf(sheet, 5),
              (std::vector<std::string>{stored("", 10), stored("網戸　標準", 200), stored("", 50), "", "", "", "",
                                        stored("", 20), "123.40", stored("枚", 10), "10", "100.00", "", "4,800",
                                        "14,400", stored("", 50), "", "3,100", "9,300", "5,100", stored("", 25),
                                        stored("", 85), "10.00", ""}));
    EXPECT_EQ(sheet.cell(6, 7), "12,000");
    EXPECT_EQ(sheet.cell(6, 9), "1234.00");
    EXPECT_EQ(sheet.cell(6, 23), "8.50");
    for (int c = 1; c <= 24; ++c)
        EXPECT_EQ(sheet.cell(7, c), "") << "column " << c;

    // Saved again, the loaded document gives the same files, but that the rows saved without a
    // tax rate now carry the common rate they were shown with.
    ASSERT_TRUE(save(back, inst, "テスト見積.TXT"));
    EXPECT_EQ(readBytes(inst.data() / "TXT" / "テスト見積.SSS"), head);
    std::string again = lines;
    for (int r = 2; r <= 5; ++r)
        again.replace((r - 1) * 1024 + 634, 10, fld(" 1000", 10));
    EXPECT_EQ(readBytes(inst.data() / "TXT" / "テスト見積.TXT"), again);
}

// What a typed price column stores: the leading number of the text without separators and yen
// marks, whole yen rounded half away from zero, the first characters of the field.
TEST(Documents, PriceColumnsStoreTheLeadingWholeNumber)
{
    struct Case {
        const char *typed, *teika, *kingaku; // 定価 keeps 7 characters, 金額 8
    };
    const Case cases[] = {
        {"12345", "12345", "12345"},       {"00120", "120", "120"},       {"0", "", ""},
        {"   45", "45", "45"},             {"12.5", "13", "13"},          {"-12.5", "-13", "-13"},
        {"1e3", "1000", "1000"},           {"¥1,234", "1234", "1234"},    {"\\9,8", "98", "98"},
        {"12a4", "12", "12"},              {"abc", "", ""},               {"", "", ""},
        {"123456789", "1234567", "12345678"}, {"000000000000000000001", "1", "1"},
    };
    for (const Case &c : cases) {
        QdState g;
        auto &grid = g.curGrid();
        grid.setRows(2);
        grid.setCols(25);
        grid.setCell(1, 13, c.typed);
        grid.setCell(1, 15, c.typed);
        rowToLineRec(g, grid, 1);
        EXPECT_EQ(g.LINE_REC.trimmed(qd::records::DocLine::TEIKA), c.teika) << c.typed;
        EXPECT_EQ(g.LINE_REC.trimmed(qd::records::DocLine::KINGAKU), c.kingaku) << c.typed;
    }
}

TEST(Documents, SampleDocumentLoadsAndSavesBackUnchanged)
{
    TempInstall inst;
    const std::string name = qd::demo::sampleDocumentName();
    const fs::path sss = inst.data() / "TXT" / (name + ".SSS");
    const fs::path txt = inst.data() / "TXT" / (name + ".TXT");
    const std::string head = readBytes(sss);
    const std::string lines = readBytes(txt);
    ASSERT_EQ(lines.size(), 3u * 1024);

    Desk d(inst);
    ASSERT_TRUE(load(d, name));
    auto &grid = d.g.curGrid();
    EXPECT_EQ(qd::text::trim(grid.cell(1, 2)), "引違い窓 引違い２枚建 標準タイプ  外付");
    EXPECT_EQ(grid.cell(1, 4), "1590.0");
    EXPECT_EQ(grid.cell(1, 12), "67.00");
    EXPECT_EQ(grid.cell(1, 15), "76,874");
    EXPECT_EQ(grid.cell(3, 11), "0");
    EXPECT_EQ(grid.cell(3, 12), "");
    EXPECT_EQ(grid.cell(3, 24), "1,440");
    EXPECT_EQ(d.g.DOC_AMOUNT_TOTAL, 76874 + 35101 + 14400);

    ASSERT_TRUE(save(d, inst, name + ".TXT"));
    EXPECT_EQ(readBytes(sss), head);
    EXPECT_EQ(readBytes(txt), lines);
}

TEST(Documents, EmptySheetSavesAHeaderAndAnEmptyLineFile)
{
    TempInstall inst;
    Desk d(inst);
    SHEET_INIT(d.g);
    d.g.curGrid().setCell(3, 0, "9"); // the page column is not part of the document
    ASSERT_TRUE(save(d, inst, "空.txt"));
    EXPECT_EQ(readBytes(inst.data() / "TXT" / "空.SSS").size(), 256u);
    EXPECT_TRUE(fs::exists(inst.data() / "TXT" / "空.TXT"));
    EXPECT_EQ(readBytes(inst.data() / "TXT" / "空.TXT"), "");

    Desk back(inst);
    ASSERT_TRUE(load(back, "空"));
    GRID_LAST_ROW(back.g);
    EXPECT_EQ(back.g.LAST_ROW, 0);
}

// The document name is the dialog's title without a closing ".txt" in any case, and only then.
TEST(Documents, NameIsTheTitleWithoutItsTxtExtension)
{
    struct Case {
        const char *title, *name;
    };
    const Case cases[] = {{"見積A.TXT", "見積A"}, {"mixed.TxT", "mixed"}, {"lower.txt", "lower"},
                          {"ab", "ab"},         {"x.txt.txt", "x.txt"}, {"  padded.TXT ", "padded"},
                          {"v1.2", "v1.2"}};
    for (const Case &c : cases) {
        TempInstall inst(TempInstall::Content::Demo);
        Desk d(inst);
        SHEET_INIT(d.g);
        d.g.curGrid().setCell(1, 2, "品");
        const std::string title = c.title;
        ASSERT_TRUE(BUKKEN_FILE_WRITE(d.g, txtDir(inst) + "/" + qd::text::trim(title), title)) << c.title;
        EXPECT_EQ(d.g.HEAD_NAME, c.name);
        EXPECT_EQ(d.g.DOC_DIR, txtDir(inst));
        EXPECT_EQ(readBytes(inst.data() / "TXT" / (std::string(c.name) + ".TXT")).size(), 1024u) << c.title;
        EXPECT_EQ(readBytes(inst.data() / "TXT" / (std::string(c.name) + ".SSS")).size(), 256u) << c.title;
    }
    // A title that leaves no name saves nothing.
    TempInstall inst;
    Desk d(inst);
    SHEET_INIT(d.g);
    const auto before = std::distance(fs::directory_iterator(inst.data() / "TXT"), fs::directory_iterator());
    EXPECT_FALSE(BUKKEN_FILE_WRITE(d.g, txtDir(inst) + "/.txt", ".txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator(inst.data() / "TXT"), fs::directory_iterator()), before);
}

TEST(Documents, LongestNameAFileMayHaveSavesAndLoads)
{
    // 255 bytes as the PDF of a print names it ("<name>_見積書.pdf"): the lock, work and backup
    // files beside the document cannot add to its name.
    const std::string name = "abcd" + [] {
        std::string s;
        for (int i = 0; i < 79; ++i)
            s += "窓";
        return s;
    }();
    ASSERT_EQ(name.size() + std::string("_見積書.pdf").size(), 255u);
    ASSERT_TRUE(isValidDocumentName(name));
    ASSERT_FALSE(isValidDocumentName(name + "e"));
    TempInstall inst;
    std::vector<std::string> entries = qd::testing::entriesOf(inst.data() / "TXT");
    Desk d(inst);
    SHEET_INIT(d.g);
    for (const char *text : {"初め", "次に"}) { // the second save replaces an existing pair
        d.g.curGrid().setCell(1, 2, text);
        ASSERT_TRUE(save(d, inst, name + ".TXT")) << d.ui.messages.back();
    }
    Desk r(inst);
    ASSERT_TRUE(load(r, name)) << r.ui.messages.back();
    EXPECT_EQ(qd::text::trim(r.g.curGrid().cell(1, 2)), "次に");
    entries.push_back(name + ".SSS");
    entries.push_back(name + ".TXT");
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(qd::testing::entriesOf(inst.data() / "TXT"), entries);
}

TEST(Documents, SaveDialogStartsInTheDocumentFolder)
{
    TempInstall inst;
    Desk d(inst);
    d.g.HEAD_NAME = "見本見積  ";
    SaveDialogSetup setup;
    ASSERT_TRUE(FILE_WRITE_PREPARE(d.g, setup));
    EXPECT_EQ(setup.fileName, "見本見積.TXT");
    EXPECT_EQ(setup.filter, "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|");
    EXPECT_EQ(setup.flags, 2);
    EXPECT_TRUE(fs::equivalent(fs::current_path(), inst.data() / "TXT"));
    FILE_WRITE_END(d.g);
    EXPECT_TRUE(fs::equivalent(fs::current_path(), inst.path()));

    fs::remove_all(inst.data() / "TXT");
    EXPECT_FALSE(FILE_WRITE_PREPARE(d.g, setup));
    EXPECT_EQ(d.ui.messages.size(), 1u);
}

// ---- failures ----

struct SavedPair {
    std::string head, lines;
};

SavedPair pairOf(const TempInstall &inst, const std::string &name)
{
    return {readBytes(inst.data() / "TXT" / (name + ".SSS")), readBytes(inst.data() / "TXT" / (name + ".TXT"))};
}

// A loaded sample document with a changed row, a new row and another partner, about to be
// saved over its own files.
void changeSample(Desk &d)
{
    d.g.curGrid().setCell(1, 2, "変更した品名");
    d.g.curGrid().setCell(8, 2, "追加した行");
    d.g.HEAD_TOKUI = "別の取引先";
    d.g.CUR_DOC_NAME = d.g.HEAD_NAME = "元の名前";
}

TEST(Documents, SaveUnderAFailingDiskKeepsTheOldPairOrWritesTheNewOne)
{
    const std::string sample = qd::demo::sampleDocumentName();
    for (const std::string &name : {sample, std::string("新しい見積")}) {
        SCOPED_TRACE(name);
        TempInstall inst;
        const fs::path folder = inst.data() / "TXT";
        const SavedPair before = pairOf(inst, name);
        const std::vector<std::string> entries = qd::testing::entriesOf(folder);
        const auto saveChanged = [&](Desk &d) {
            EXPECT_TRUE(load(d, sample));
            changeSample(d);
            return save(d, inst, name + ".TXT");
        };
        SavedPair after;
        const int steps = qd::testing::stepsOf([&] {
            Desk d(inst);
            EXPECT_TRUE(saveChanged(d));
            after = pairOf(inst, name);
        });
        ASSERT_GT(steps, 0);
        for (int n = 1; n <= steps; ++n) {
            for (const auto &[file, bytes] : {std::pair{name + ".SSS", before.head}, std::pair{name + ".TXT", before.lines}}) {
                fs::remove(folder / file);
                if (name == sample)
                    writeBytes(folder / file, bytes);
            }
            Desk d(inst);
            bool saved = false;
            {
                qd::files::ScopedFault fault(qd::files::FileStep::Any, n);
                saved = saveChanged(d);
            }
            const SavedPair now = pairOf(inst, name);
            if (saved) {
                EXPECT_EQ(now.head, after.head) << "step " << n;
                EXPECT_EQ(now.lines, after.lines) << "step " << n;
                EXPECT_EQ(d.g.HEAD_NAME, name) << "step " << n;
            } else {
                EXPECT_EQ(now.head, before.head) << "step " << n;
                EXPECT_EQ(now.lines, before.lines) << "step " << n;
                ASSERT_EQ(d.ui.messages.size(), 1u) << "step " << n;
                EXPECT_NE(d.ui.messages[0].find("元のファイルは変更されていません"), std::string::npos);
                EXPECT_NE(d.ui.messages[0].find(std::strerror(ENOSPC)), std::string::npos) << d.ui.messages[0];
                EXPECT_EQ(d.g.HEAD_NAME, "元の名前");
                EXPECT_EQ(d.g.CUR_DOC_NAME, "元の名前");
            }
            EXPECT_TRUE(d.g.curGrid().redraw());
            std::vector<std::string> expected = entries;
            if (saved && name != sample) {
                expected.push_back(name + ".SSS");
                expected.push_back(name + ".TXT");
                std::sort(expected.begin(), expected.end());
            }
            EXPECT_EQ(qd::testing::entriesOf(folder), expected) << "no work copy is left behind, step " << n;
        }
    }
}

TEST(Documents, SaveAsksBeforeOverwritingWhatAnotherProgramSaved)
{
    TempInstall inst;
    const std::string name = qd::demo::sampleDocumentName();
    Desk d(inst);
    ASSERT_TRUE(load(d, name));
    d.g.curGrid().setCell(1, 2, "こちらの変更");
    // Its own files, as loaded and as saved by itself: no question.
    ASSERT_TRUE(save(d, inst, name + ".TXT"));
    ASSERT_TRUE(save(d, inst, name + ".TXT"));
    EXPECT_TRUE(d.ui.messages.empty());

    // Another program saves the document in between.
    Desk other(inst);
    ASSERT_TRUE(load(other, name));
    other.g.curGrid().setCell(2, 2, "あちらの変更");
    ASSERT_TRUE(save(other, inst, name + ".TXT"));
    const SavedPair theirs = pairOf(inst, name);

    d.ui.answers = {Answer::No};
    EXPECT_FALSE(save(d, inst, name + ".TXT"));
    ASSERT_EQ(d.ui.messages.size(), 1u);
    EXPECT_EQ(d.ui.messages[0], "この見積ファイルは、読込み又は保存の後に他のプログラムで変更されています。\n\r\n\r上書きしますか？");
    EXPECT_EQ(pairOf(inst, name).head, theirs.head) << "No saves nothing";
    EXPECT_EQ(pairOf(inst, name).lines, theirs.lines);
    EXPECT_TRUE(d.g.curGrid().redraw());

    // Yes overwrites, once; what this program saved is its own again.
    d.ui.answers = {Answer::Yes};
    EXPECT_TRUE(save(d, inst, name + ".TXT"));
    EXPECT_EQ(d.ui.messages.size(), 2u);
    EXPECT_TRUE(save(d, inst, name + ".TXT"));
    EXPECT_EQ(d.ui.messages.size(), 2u);

    // A header written by this program's header form is its own too; one written by another
    // program (the line file alone, here) is not.
    d.g.HEAD_TOKUI = "ヘッダ画面から";
    BUKKEN_HEAD_SEPARATORS(d.g);
    BUKKEN_HEAD_BUILD(d.g);
    const std::string headPath = txtDir(inst) + "/" + name + ".SSS";
    qd::files::writeFileSafely(headPath, d.g.HEAD_REC.bytes());
    headerFileWritten(d.g, headPath, 256);
    EXPECT_TRUE(save(d, inst, name + ".TXT"));
    EXPECT_EQ(d.ui.messages.size(), 2u);
    qd::files::writeFileSafely(txtDir(inst) + "/" + name + ".TXT", "");
    d.ui.answers = {Answer::No};
    EXPECT_FALSE(save(d, inst, name + ".TXT"));
    EXPECT_EQ(d.ui.messages.size(), 3u);

    // Saved under another name, no question: the save dialog asked about an existing file.
    EXPECT_TRUE(save(d, inst, "別の見積.TXT"));
    EXPECT_EQ(d.ui.messages.size(), 3u);
}

TEST(Documents, TwoProgramsSavingOneDocumentNeverMixTheirFiles)
{
    TempInstall inst;
    constexpr int SAVES = 40;
    // Each save writes its own name into the header and into every one of 1 to 4 rows.
    const auto saveMany = [&](const std::string &who) {
        Desk w(inst);
        SHEET_INIT(w.g);
        for (int i = 0; i < SAVES; ++i) {
            const std::string mark = who + std::to_string(i);
            w.g.HEAD_TOKUI = mark;
            for (int row = 1; row <= 4; ++row)
                w.g.curGrid().setCell(row, 2, row <= 1 + i % 4 ? mark : "");
            if (!save(w, inst, "共有.TXT"))
                return 1;
        }
        return 0;
    };
    {
        Desk first(inst);
        SHEET_INIT(first.g);
        first.g.HEAD_TOKUI = "始め";
        first.g.curGrid().setCell(1, 2, "始め");
        ASSERT_TRUE(save(first, inst, "共有.TXT"));
    }
    qd::testing::Signal finished;
    qd::testing::ChildProcess a([&] {
        const int status = saveMany("甲");
        finished.post();
        return status;
    });
    qd::testing::ChildProcess b([&] {
        const int status = saveMany("乙");
        finished.post();
        return status;
    });

    // Meanwhile, and once they are done, every load sees a header and lines of one save.
    int loads = 0, done = 0;
    while (done < 2 || loads < 3) {
        Desk r(inst);
        ASSERT_TRUE(load(r, "共有")) << (r.ui.messages.empty() ? "" : r.ui.messages[0]);
        ++loads;
        const std::string mark = qd::text::trim(r.g.HEAD_TOKUI);
        GRID_LAST_ROW(r.g);
        const int rows = mark == "始め" ? 1 : 1 + std::stoi(mark.substr(3)) % 4;
        ASSERT_EQ(r.g.LAST_ROW, rows) << mark;
        for (int row = 1; row <= rows; ++row)
            ASSERT_EQ(qd::text::trim(r.g.curGrid().cell(row, 2)), mark) << "row " << row;
        while (finished.receive(std::chrono::milliseconds(0)) >= 0)
            ++done;
    }
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);
}

// A SELECT file is the same pair of records, written the same way.
TEST(SelectFiles, WriteKeepsTheOldPairOrWritesTheWholeNewOne)
{
    TempInstall inst;
    const fs::path folder = inst.data() / "SELECT";
    const std::string dir = inst.dir() + "/data/SELECT";
    Desk d(inst);
    SHEET_INIT(d.g);
    for (int row = 1; row <= 3; ++row)
        d.g.curGrid().setCell(row, 2, "窓" + std::to_string(row));
    d.g.HEAD_TOKUI = "元の取引先";
    SELECT_FILE_WRITE(d.g, dir, "網戸", 1, 1);
    const std::string oldHead = readBytes(folder / "網戸.SSS") + "後ろの記録";
    writeBytes(folder / "網戸.SSS", oldHead);
    const std::string oldLines = readBytes(folder / "網戸.TXT");
    const std::vector<std::string> entries = qd::testing::entriesOf(folder);

    d.g.HEAD_TOKUI = "新しい取引先";
    const auto write = [&] { SELECT_FILE_WRITE(d.g, dir, "網戸", 1, 3); };
    const int steps = qd::testing::stepsOf(write);
    const std::string newHead = readBytes(folder / "網戸.SSS");
    const std::string newLines = readBytes(folder / "網戸.TXT");
    ASSERT_EQ(newLines.size(), 3u * 1024);
    EXPECT_EQ(newHead.substr(256), "後ろの記録") << "what follows record 1 stays";
    ASSERT_GT(steps, 0);

    for (int n = 1; n <= steps; ++n) {
        writeBytes(folder / "網戸.SSS", oldHead);
        writeBytes(folder / "網戸.TXT", oldLines);
        bool threw = false;
        {
            qd::files::ScopedFault fault(qd::files::FileStep::Any, n);
            try {
                write();
            } catch (const qd::files::FileError &e) {
                threw = true;
                EXPECT_EQ(e.reason(), std::strerror(ENOSPC)) << "step " << n;
            }
        }
        EXPECT_EQ(readBytes(folder / "網戸.SSS"), threw ? oldHead : newHead) << "step " << n;
        EXPECT_EQ(readBytes(folder / "網戸.TXT"), threw ? oldLines : newLines) << "step " << n;
        EXPECT_EQ(qd::testing::entriesOf(folder), entries) << "step " << n;
    }
}

// A message waits for the user: no other program waits for it on a lock of the files that
// were read.
TEST(Documents, NoMessageKeepsTheFilesItTellsAboutLocked)
{
    TempInstall inst;
    const fs::path txt = inst.data() / "TXT", select = inst.data() / "SELECT";
    fs::create_directories(select);
    const std::string tooMany(1000u * 1024, ' '); // more records than a sheet takes
    writeBytes(txt / "多すぎ.SSS", "");
    writeBytes(txt / "多すぎ.TXT", tooMany);
    writeBytes(txt / "途中.TXT", std::string(1024 + 600, ' '));
    writeBytes(select / "多すぎ.TXT", tooMany);
    const std::vector<std::string> files = {(txt / "多すぎ.SSS").string(), (txt / "多すぎ.TXT").string(),
                                            (txt / "途中.TXT").string(), (select / "多すぎ.TXT").string()};

    // Another program, which tries to take every one of them for writing when asked.
    qd::testing::Signal ask, answer;
    qd::testing::ChildProcess other([&] {
        while (ask.receive(std::chrono::seconds(60)) == 'W') {
            bool free = true;
            for (const std::string &f : files) {
                try {
                    qd::files::FileLock lock(f, qd::files::LockKind::Exclusive, std::chrono::milliseconds(100));
                } catch (const qd::files::LockBusy &) {
                    free = false;
                }
            }
            answer.post(free ? '1' : '0');
        }
        return 0;
    });
    struct ProbingUi : sheet_test::ScriptUi {
        using ScriptUi::ScriptUi;
        std::function<void()> onMessage;
        int msgBox(const std::string &text, int buttons) override
        {
            onMessage();
            return ScriptUi::msgBox(text, buttons);
        }
    };
    Desk d(inst);
    ProbingUi ui(d.g);
    d.g.ui = &ui;
    ui.onMessage = [&] {
        ask.post('W');
        EXPECT_EQ(answer.receive(), '1') << "a file stays locked while the user reads: " << ui.messages.size();
    };

    EXPECT_FALSE(load(d, "多すぎ"));
    EXPECT_TRUE(load(d, "途中"));
    d.g.SELECT_DIR = inst.dir() + "/data/SELECT";
    d.g.SELECT_NAME = "多すぎ";
    d.g.ROW_NO = 1;
    EXPECT_EQ(SELECT_FILE_INSERT(d.g), 0);
    EXPECT_EQ(ui.messages.size(), 3u);
    ask.post('Q');
    EXPECT_EQ(other.wait(), 0);
}

TEST(Documents, SaveRefusesRowsALoadCouldNotShow)
{
    TempInstall inst;
    const std::string name = qd::demo::sampleDocumentName();
    const SavedPair before = pairOf(inst, name);
    Desk d(inst);
    ASSERT_TRUE(load(d, name));
    d.g.INSERT_ROWS = 5;
    d.g.ROW_NO = 1;
    GRID_ROWS_INSERT(d.g);
    auto &grid = d.g.curGrid();
    ASSERT_EQ(grid.rows(), 1005);

    // Blank rows past 999 are not part of the document: the save goes through.
    ASSERT_TRUE(save(d, inst, "長い.TXT"));
    EXPECT_EQ(readBytes(inst.data() / "TXT" / "長い.TXT").size(), 8u * 1024);

    grid.setCell(1000, 2, "1000行目");
    EXPECT_FALSE(save(d, inst, name + ".TXT"));
    ASSERT_EQ(d.ui.messages.size(), 1u);
    EXPECT_NE(d.ui.messages[0].find("999行目より後の行は保存できません"), std::string::npos);
    const SavedPair after = pairOf(inst, name);
    EXPECT_EQ(after.head, before.head);
    EXPECT_EQ(after.lines, before.lines);

    // 999 rows save and load back whole.
    grid.setCell(1000, 2, "");
    grid.setCell(999, 2, "999行目");
    ASSERT_TRUE(save(d, inst, "満杯.TXT"));
    Desk back(inst);
    ASSERT_TRUE(load(back, "満杯"));
    EXPECT_EQ(qd::text::trim(back.g.curGrid().cell(999, 2)), "999行目");
    EXPECT_EQ(qd::text::trim(back.g.curGrid().cell(6, 2)), "引違い窓 引違い２枚建 標準タイプ  外付");
}

// A record of the sample document with one field's bytes replaced.
std::string withField(std::string rec, int offset, const std::string &bytes)
{
    rec.replace(offset, bytes.size(), bytes);
    return rec;
}

TEST(Documents, DamagedLineFilesLoadWithoutACrash)
{
    const std::string name = qd::demo::sampleDocumentName();
    struct Case {
        const char *what;
        std::function<std::string(const std::string &)> damage; // from the sample's line file
        bool loads;
        int rows;            // rows filled
        const char *message; // what the one message says, or nullptr for none
    };
    const Case cases[] = {
        {"last record cut after 700 bytes", [](const std::string &l) { return l.substr(0, 2 * 1024 + 700); }, true,
         3, "途中で切れています"},
        {"last record cut after 100 bytes", [](const std::string &l) { return l.substr(0, 2 * 1024 + 100); }, true,
         2, "途中で切れています"},
        {"invalid code page 932 bytes",
         [](const std::string &l) { return withField(l, 11, std::string("\x81\xFF\xA0\x85\x40\xEF", 6)); }, true, 3,
         "文字として読めないバイト"},
        {"letters in number fields of rows 1 and 3",
         [](const std::string &l) {
             std::string r = withField(l, 328, "abc   ");   // 数量
             r = withField(r, 364, "12a4");                 // 定価
             r = withField(r, 634, "x%");                   // 消費税率
             r = withField(r, 645, "--9");                  // 消費税額
             return withField(r, 2048 + 474, std::string("\0\0", 2)); // NULs in row 3's 原価
         },
         true, 3, "数値でない文字がある行があります。(1, 3行目)"},
        {"more records than the sheet has rows",
         [](const std::string &l) {
             std::string big;
             for (int i = 0; i < 1000; ++i)
                 big += l.substr(0, 1024);
             return big;
         },
         false, 0, "読込みを中断します"},
    };
    for (const Case &c : cases) {
        TempInstall inst;
        const fs::path txt = inst.data() / "TXT" / (name + ".TXT");
        writeBytes(txt, c.damage(readBytes(txt)));
        Desk d(inst);
        EXPECT_EQ(load(d, name), c.loads) << c.what;
        ASSERT_EQ(d.ui.messages.size(), c.message ? 1u : 0u) << c.what;
        if (c.message) {
            EXPECT_NE(d.ui.messages[0].find(c.message), std::string::npos) << c.what << ": " << d.ui.messages[0];
        }
        GRID_LAST_ROW(d.g);
        EXPECT_EQ(d.g.LAST_ROW, c.rows) << c.what;
        EXPECT_TRUE(d.g.curGrid().redraw()) << c.what;
    }
}

// A line file cut short, of a document or a SELECT file: reading it says what of the cut row was
// read, with the file and its size; saving or exporting over it is refused, the files as they
// were; a save under another name writes the rows shown.
TEST(Documents, ALineFileCutShortIsToldOfAndNeverWrittenOver)
{
    const std::string name = qd::demo::sampleDocumentName();
    struct Case {
        std::size_t cut; // bytes of row 3
        int rows;        // rows read
        const char *what;
    } const cases[] = {
        {700, 3, "切れた最後の行は、ある 700 バイトの後を空白で補い、3 行を読み込みました。"},
        {100, 2, "切れた最後の 100 バイトを除き、揃っている 2 行を読み込みました。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempInstall inst;
        const fs::path txt = inst.data() / "TXT" / (name + ".TXT"), head = inst.data() / "TXT" / (name + ".SSS");
        const std::string torn = readBytes(txt).substr(0, 2 * 1024 + c.cut), header = readBytes(head);
        writeBytes(txt, torn);
        const fs::path select = inst.data() / "SELECT" / "切れた.TXT";
        fs::create_directories(select.parent_path());
        writeBytes(select, torn);
        const auto tells = [&](const std::string &message, const fs::path &file) {
            EXPECT_TRUE(qd::testing::tellsOfTornFile(message, file, 1024));
        };

        Desk d(inst);
        ASSERT_TRUE(load(d, name));
        ASSERT_EQ(d.ui.messages.size(), 1u);
        EXPECT_EQ(d.ui.messages[0].rfind(c.what, 0), 0u) << d.ui.messages[0];
        tells(d.ui.messages[0], txt);
        GRID_LAST_ROW(d.g);
        EXPECT_EQ(d.g.LAST_ROW, c.rows);

        EXPECT_FALSE(save(d, inst, name + ".TXT"));
        ASSERT_EQ(d.ui.messages.size(), 2u);
        tells(d.ui.messages[1], txt);
        EXPECT_EQ(readBytes(txt), torn);
        EXPECT_EQ(readBytes(head), header);
        EXPECT_TRUE(save(d, inst, "写し.TXT"));
        EXPECT_EQ(readBytes(inst.data() / "TXT" / "写し.TXT").size(), static_cast<std::size_t>(c.rows) * 1024);

        d.g.SELECT_DIR = inst.dir() + "/data/SELECT";
        d.g.SELECT_NAME = "切れた";
        d.g.ROW_NO = 1;
        EXPECT_EQ(SELECT_FILE_INSERT(d.g), c.rows);
        ASSERT_EQ(d.ui.messages.size(), 3u);
        EXPECT_EQ(d.ui.messages[2].rfind(c.what, 0), 0u) << d.ui.messages[2];
        tells(d.ui.messages[2], select);
        EXPECT_THROW(SELECT_FILE_WRITE(d.g, d.g.SELECT_DIR, "切れた", 1, 1), qd::files::FileError);
        EXPECT_EQ(readBytes(select), torn);
        EXPECT_FALSE(fs::exists(select.parent_path() / "切れた.SSS"));
    }
}

TEST(Documents, DamagedFieldsReadAsTheirLeadingNumber)
{
    const std::string name = qd::demo::sampleDocumentName();
    TempInstall inst;
    const fs::path txt = inst.data() / "TXT" / (name + ".TXT");
    std::string l = readBytes(txt);
    l = withField(l, 11, std::string("\x81\xFF", 2));
    l = withField(l, 328, "abc   ");
    l = withField(l, 364, "12a4 ");
    writeBytes(txt, l);
    Desk d(inst);
    ASSERT_TRUE(load(d, name));
    const auto &grid = d.g.curGrid();
    EXPECT_EQ(grid.cell(1, 2).substr(0, 6), "\xEE\xBE\x81\xEE\xBF\xBF"); // the two bytes kept as marks
    EXPECT_EQ(grid.cell(1, 9), "");
    EXPECT_EQ(grid.cell(1, 13), "12");
}

TEST(Documents, UnreadableDocumentLeavesAnEmptySheet)
{
    TempInstall inst;
    Desk d(inst);
    SHEET_INIT(d.g);
    d.g.curGrid().setCell(4, 2, "前の内容");
    d.g.DOC_DIR = inst.dir() + "\\data\\NONE";
    d.g.CUR_DOC_NAME = "見本見積";
    EXPECT_FALSE(BUKKEN_FILE_READ(d.g));
    ASSERT_EQ(d.ui.messages.size(), 1u);
    EXPECT_NE(d.ui.messages[0].find("読み込めません"), std::string::npos);
    GRID_LAST_ROW(d.g);
    EXPECT_LE(d.g.LAST_ROW, 0);
}

// ---- header ----

TEST(Documents, HeaderProcedures)
{
    TempInstall inst;
    Desk d(inst);
    d.g.HEAD_RATE = Fixed4::fromInt(7);
    d.g.RATE_VALUE = Fixed4::fromInt(3);
    BUKKEN_HEAD_CLEAR(d.g);
    EXPECT_EQ(d.g.HEAD_TOKUI, std::string(50, ' '));
    EXPECT_EQ(d.g.HEAD_SIHARAI, std::string(30, ' '));
    EXPECT_EQ(d.g.HEAD_NOUKI, std::string(8, ' '));
    EXPECT_EQ(d.g.RATE_VALUE, Fixed4());
    EXPECT_EQ(d.g.HEAD_RATE, Fixed4::fromInt(7));

    // A header file without a record reads nothing.
    d.g.HEAD_NAME = "ない";
    EXPECT_FALSE(DOC_HEAD_READ(d.g));
    EXPECT_FALSE(d.g.HEAD_CTL.file.isOpen());
    EXPECT_EQ(d.g.HEAD_RATE, Fixed4::fromInt(7));

    d.g.HEAD_NAME = "見本見積";
    ASSERT_TRUE(DOC_HEAD_READ(d.g));
    EXPECT_FALSE(d.g.HEAD_CTL.file.isOpen());
    EXPECT_EQ(d.g.HEAD_TOKUI, stored("株式会社　山川建設", 50));
    EXPECT_EQ(d.g.HEAD_RATE, Fixed4::fromInt(3));
    DOC_HEAD_CLEAR(d.g);
    EXPECT_EQ(d.g.HEAD_REC.trimmed(qd::records::DocHeader::TOKUI_NAME), "");
    EXPECT_EQ(d.g.HEAD_REC.trimmed(qd::records::DocHeader::KAKERITU), "3.00");
}

// A document whose header file is missing, empty or cut short takes nothing of the document
// loaded before it, so that its save cannot write another partner or project into it; a short
// file gives what it holds, with a message, and its save keeps that.
TEST(Documents, AHeaderMissingEmptyOrShortKeepsNothingOfTheDocumentBefore)
{
    const std::string full = headerRecord({"山田工務店", "倉庫", "現場", "月末", "", "", "72.50"});
    struct Case {
        const char *what;
        const char *header; // nullptr: no header file
        std::size_t bytes;
        const char *tokui, *bukken, *nouhin; // trimmed after the load
        bool message;
    };
    const Case cases[] = {
        {"no header file", nullptr, 0, "", "", "", false},
        {"empty header file", "", 0, "", "", "", false},
        {"header cut after 100 bytes", "cut", 100, "山田工務店", "倉庫", "", true},
        {"header cut after 180 bytes, before its rate", "cut", 180, "山田工務店", "倉庫", "現場", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempInstall inst;
        const fs::path txt = inst.data() / "TXT";
        writeBytes(txt / "別件.TXT", readBytes(txt / "見本見積.TXT"));
        if (c.header)
            writeBytes(txt / "別件.SSS", full.substr(0, c.bytes));
        Desk d(inst);
        ASSERT_TRUE(load(d, qd::demo::sampleDocumentName()));
        ASSERT_NE(qd::text::trim(d.g.HEAD_TOKUI), "");
        d.ui.messages.clear();

        ASSERT_TRUE(load(d, "別件"));
        EXPECT_EQ(qd::text::trim(d.g.HEAD_TOKUI), c.tokui);
        EXPECT_EQ(qd::text::trim(d.g.HEAD_BUKKEN), c.bukken);
        EXPECT_EQ(qd::text::trim(d.g.HEAD_NOUHIN), c.nouhin);
        EXPECT_EQ(d.g.HEAD_RATE, Fixed4());
        EXPECT_EQ(d.g.RATE_VALUE, Fixed4());
        ASSERT_EQ(d.ui.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_NE(d.ui.messages[0].find("見積情報のファイルが途中で切れています"), std::string::npos);
        }

        ASSERT_TRUE(save(d, inst, "別件.TXT"));
        const std::string head = readBytes(txt / "別件.SSS");
        EXPECT_EQ(head.substr(0, 50), fld(c.tokui, 50));
        EXPECT_EQ(head.substr(186, 10), fld("0.00", 10));
    }
}

// The sample document loaded, beside its files as they were.
struct LoadedSample {
    std::string name = qd::demo::sampleDocumentName();
    TempInstall inst;
    SavedPair before = pairOf(inst, name);
    Desk d{inst};
    LoadedSample() { EXPECT_TRUE(load(d, name)); }
};

// The save dialog asks about the name typed; a name typed without ".TXT" is asked about here, by
// the names of the files the save replaces. A name that is no plain file name saves nothing.
TEST(Documents, SaveAsksAboutTheFilesItReallyReplaces)
{
    LoadedSample sample;
    auto &[name, inst, before, d] = sample;
    d.g.curGrid().setCell(1, 2, "書き換え");

    d.ui.answers = {Answer::No};
    EXPECT_FALSE(save(d, inst, name));
    ASSERT_EQ(d.ui.messages.size(), 1u);
    EXPECT_EQ(d.ui.messages[0], name + ".TXT、" + name + ".SSSは既に存在します。上書きしますか？");
    EXPECT_EQ(pairOf(inst, name).lines, before.lines);

    d.ui.messages.clear();
    EXPECT_TRUE(save(d, inst, name + ".txt")); // the dialog asked about this one
    EXPECT_TRUE(d.ui.messages.empty());
    EXPECT_TRUE(save(d, inst, "新しい名前"));   // nothing there to replace
    EXPECT_TRUE(d.ui.messages.empty());
    EXPECT_NE(pairOf(inst, name).lines, before.lines);

    for (const char *bad : {"..", "a..b.TXT", "a:b"}) {
        d.ui.messages.clear();
        EXPECT_FALSE(save(d, inst, bad)) << bad;
        ASSERT_EQ(d.ui.messages.size(), 1u) << bad;
        EXPECT_NE(d.ui.messages[0].find("ファイル名に使えません"), std::string::npos) << bad;
    }
}

// A figure its field cannot hold would be stored as another number: the rows holding one are
// marked and named, and neither the document nor a SELECT file is written.
TEST(Documents, RowsWithFiguresBeyondTheirFieldsAreNotSaved)
{
    LoadedSample sample;
    auto &[name, inst, before, d] = sample;
    auto &grid = d.g.curGrid();
    grid.setCell(2, 13, "10,000,000");  // 定価, as a paste puts it
    grid.setCell(3, 9, "100000");       // 数量

    EXPECT_FALSE(save(d, inst, name + ".TXT"));
    ASSERT_EQ(d.ui.messages.size(), 1u);
    EXPECT_NE(d.ui.messages[0].find("(2, 3行目)"), std::string::npos) << d.ui.messages[0];
    EXPECT_EQ(grid.backColor(2, 13), BEYOND_FIELD_COLOR);
    EXPECT_EQ(grid.backColor(3, 9), BEYOND_FIELD_COLOR);
    EXPECT_EQ(grid.backColor(1, 13), qd::grid::DefaultColor);
    EXPECT_EQ(pairOf(inst, name).lines, before.lines);

    EXPECT_FALSE(SELECT_FILE_WRITE(d.g, inst.dir() + "/data/SELECT", "選択", 1, 3));
    EXPECT_FALSE(fs::exists(inst.data() / "SELECT" / "選択.TXT"));

    // The largest figures the fields hold save, and the marks go.
    grid.setCell(2, 13, "9,999,999");
    grid.setCell(3, 9, "99999");
    d.ui.messages.clear();
    ASSERT_TRUE(save(d, inst, name + ".TXT"));
    EXPECT_TRUE(d.ui.messages.empty());
    EXPECT_EQ(grid.backColor(2, 13), qd::grid::DefaultColor);
    Desk back(inst);
    ASSERT_TRUE(load(back, name));
    EXPECT_EQ(back.g.curGrid().cell(2, 13), "9,999,999");
    EXPECT_EQ(back.g.curGrid().cell(3, 9), "99999.00");
}

// A new document has no header record when it is first opened; once saved, its header rate is
// the one products take.
TEST(Documents, SavedHeaderRateIsTheRateOfNewProducts)
{
    TempInstall inst;
    Desk d(inst);
    SHEET_INIT(d.g);
    d.g.HEAD_NAME = d.g.CUR_DOC_NAME = "新規";
    EXPECT_FALSE(DOC_HEAD_READ(d.g)); // creates the empty header file
    d.g.SYSF_CTL.recordCount = 0;      // no own-company rate either
    d.g.curGrid().setCell(1, 2, "サッシ");
    struct Case { const char *title, *rate; };
    for (const Case c : {Case{"新規.TXT", "72.5"}, Case{"別名.TXT", "80"}}) {
        SCOPED_TRACE(c.title);
        d.g.HEAD_RATE = qd::text::valFixed(c.rate);
        ASSERT_TRUE(save(d, inst, c.title));
        RATE_SELECT(d.g);
        EXPECT_EQ(d.g.RATE_VALUE, qd::text::valFixed(c.rate));
        EXPECT_EQ(qd::text::trim(d.g.LINE_WORK.RITU_KBN), "0");
    }
}

} // namespace
} // namespace qd::core
