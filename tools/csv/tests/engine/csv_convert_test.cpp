// Export and import of the masters through the column tables: the demo masters come back byte for
// byte (but where a tool stores a value as read), the CSV files look as the spreadsheets expect,
// and a bad CSV file is refused with the master left as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/files/paths.h"
#include "platform/text/cp932.h"
#include "records/layouts.h"
#include "tests/support/temp_install.h"
#include "tools/csv/engine/csv_convert.h"
#include "tools/csv/engine/file_families.h"

namespace {

using namespace qd::csv;
using namespace qd::records;
using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::testing::writeBytes;
using qd::text::fromCp932;
using qd::text::toCp932;

struct Tool {
    const CsvTable *table;
    std::function<ConversionFiles(const std::string &)> files;
};

// Every tool with one file of the demo install each.
std::vector<Tool> demoTools()
{
    return {
        {&groupTable(), [](const std::string &d) { return singleFiles(d, groupTable()); }},
        {&sectTable(), [](const std::string &d) { return singleFiles(d, sectTable()); }},
        {&colorTable(), [](const std::string &d) { return singleFiles(d, colorTable()); }},
        {&classTable(), [](const std::string &d) { return singleFiles(d, classTable()); }},
        {&itemTable(), [](const std::string &d) { return singleFiles(d, itemTable()); }},
        {&kind1Table(), [](const std::string &d) { return kindFiles(d, 1, 1); }},
        {&kind2Table(), [](const std::string &d) { return kindFiles(d, 2, 1); }},
        {&priceTable(), [](const std::string &d) { return priceFiles(d, "01011000"); }},
    };
}

std::string hostBytes(const std::string &systemPath) { return readBytes(qd::files::hostPath(systemPath)); }
void putHostBytes(const std::string &systemPath, const std::string &bytes)
{
    writeBytes(qd::files::hostPath(systemPath), bytes);
}

// Puts `csv` (code page 932 bytes) in the place of the table's CSV file in the install folder
// (kind 1 of major class 1, list prices 01011000) and expects the import to refuse it with
// `message` and leave every byte of the master.
void expectRefused(const TempInstall &inst, const CsvTable &table, const std::string &csv, const std::string &message)
{
    const ConversionFiles f = &table == &kind1Table()   ? kindFiles(inst.dir(), 1, 1)
                              : &table == &priceTable() ? priceFiles(inst.dir(), "01011000")
                                                        : singleFiles(inst.dir(), table);
    const std::string before = hostBytes(f.master);
    putHostBytes(f.csv, csv);
    try {
        importFile(table, f.csv, f.master, f.check);
        ADD_FAILURE() << "the file was taken";
    } catch (const CsvRefused &e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
    EXPECT_EQ(hostBytes(f.master), before);
}

// UTF-16 text as a spreadsheet saves it: each unit low byte first (`little`) or high byte first,
// with or without the byte-order mark.
std::string utf16(bool little, bool mark, std::u16string_view text)
{
    std::string out;
    const auto put = [&](char16_t u) {
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        out += little ? std::string{lo, hi} : std::string{hi, lo};
    };
    if (mark)
        put(0xFEFF);
    for (char16_t u : text)
        put(u);
    return out;
}

// The records of a master as the import gives them back: the item prices and the kind rates
// are stored as the digits the CSV file holds, left in their fields; everything else as it was.
std::string expectedAfterRoundTrip(const CsvTable &table, const std::string &master)
{
    std::string out;
    const auto length = static_cast<std::size_t>(table.layout->length);
    for (std::size_t at = 0; at < master.size(); at += length) {
        Record rec(*table.layout);
        rec.setBytes(master.substr(at, length));
        for (const CsvColumn &col : table.columns)
            if (col.kind == CellKind::Number && col.inPattern.empty())
                rec.setRaw(col.field, throughPattern(rec.raw(col.field), col.outPattern));
        out += rec.bytes();
    }
    return out;
}

TEST(CsvConvert, DemoMastersComeBackAfterExportAndImport)
{
    TempInstall inst;
    for (const Tool &tool : demoTools()) {
        SCOPED_TRACE(tool.table->tool);
        const ConversionFiles f = tool.files(inst.dir());
        const std::string before = hostBytes(f.master);
        ASSERT_FALSE(before.empty());
        const int records = static_cast<int>(before.size()) / tool.table->layout->length;

        EXPECT_EQ(exportFile(*tool.table, f.master, f.csv), records);
        EXPECT_EQ(importFile(*tool.table, f.csv, f.master, f.check), records);
        EXPECT_EQ(hostBytes(f.master), expectedAfterRoundTrip(*tool.table, before));
    }
}

TEST(CsvConvert, OnlyItemPricesAndKindRatesChangeTheirBytes)
{
    TempInstall inst;
    for (const Tool &tool : demoTools()) {
        const ConversionFiles f = tool.files(inst.dir());
        const std::string before = hostBytes(f.master);
        exportFile(*tool.table, f.master, f.csv);
        importFile(*tool.table, f.csv, f.master, f.check);
        const bool changes = tool.table == &itemTable() || tool.table == &kind1Table() || tool.table == &kind2Table();
        EXPECT_EQ(hostBytes(f.master) != before, changes) << tool.table->tool;
    }
    // An item price of 4800 comes back as "4800" left in its field, with the same value.
    Record item(Item::layout());
    item.setBytes(hostBytes(singleFiles(inst.dir(), itemTable()).master).substr(0, 128));
    EXPECT_EQ(item.raw(Item::TANKA), "4800   ");
    EXPECT_EQ(item.number(Item::TANKA), 4800);
}

TEST(CsvConvert, ExportWritesCaptionsAndCellsAsTheSpreadsheetExpects)
{
    TempInstall inst;
    struct Case {
        const CsvTable *table;
        std::string firstTwoLines;
    };
    const std::vector<Case> cases = {
        {&groupTable(), "大分類ｺｰﾄﾞ,大分類名\r\n01,アルミサッシ\r\n"},
        {&sectTable(), "区分ｺｰﾄﾞ,区分名\r\n01,半外付\r\n"},
        {&colorTable(), "大分類ｺｰﾄﾞ,色コード,色名\r\n01,01,シルバー\r\n"},
        {&classTable(), "大分類ｺｰﾄﾞ,分類コード,分類名\r\n01,01,引違い窓\r\n"},
        {&itemTable(), "単品ｺｰﾄﾞ,単品名,単価,原価\r\n0001,網戸　標準,4800,3100\r\n"},
        {&kind1Table(),
         "大分類ｺｰﾄﾞ,分類コード,品種１コード,品種１名,売上率１,仕入率１,売上率２,仕入率２,売上率３,仕入率３,"
         "売上率４,仕入率４,売上率５,仕入率５,売上率６,仕入率６,売上率７,仕入率７,売上率８,仕入率８,売上率９,"
         "仕入率９,売上率１０,仕入率１０\r\n"
         "01,01,1000,引違い２枚建,6200,5050,6400,5250,6600,5450,6800,5650,7000,5850,7200,6050,7400,6250,7600,6450,"
         "7800,6650,8000,6850\r\n"},
    };
    for (const Case &c : cases) {
        const ConversionFiles f = c.table == &kind1Table() ? kindFiles(inst.dir(), 1, 1) : singleFiles(inst.dir(), *c.table);
        exportFile(*c.table, f.master, f.csv);
        const std::string csv = fromCp932(hostBytes(f.csv));
        const std::size_t second = csv.find("\r\n", csv.find("\r\n") + 2);
        EXPECT_EQ(csv.substr(0, second + 2), c.firstTwoLines) << c.table->tool;
    }
    EXPECT_EQ(kind2Table().columns[2].caption, "品種２コード");
    EXPECT_EQ(kind2Table().columns[3].caption, "品種２名");
}

TEST(CsvConvert, PriceLinesHaveFiftyOneColumnsWithWideSectionAndColourCodes)
{
    Record p(Price::layout());
    p.setSeparators();
    p.setText(Price::MAKER_CD, "01");
    p.setText(Price::BUNRUI_CD, "02");
    p.setText(Price::HINSYU2_CD, "0100");
    p.setText(Price::CIHO_CD, "00");
    p.setText(Price::KIGO, "ABC-1");
    p.setText(Price::KOSYO, "W1800");
    p.setText(Price::W_MIRI, "18000");
    p.setText(Price::H_MIRI, "09000");
    p.setText(Price::W_SYAKU, "0600");
    p.setText(Price::H_SYAKU, "0300");
    p.setText(Price::iroCd(1), "001");
    p.setText(Price::tanka(1), "0012000");
    const std::string csv = exportBytes(priceTable(), p.bytes());
    const std::string caption = toCp932(priceTable().captionLine()) + "\r\n";
    EXPECT_EQ(csv, caption + "01,02,0100,0000,ABC-1,W1800,18000,09000,0600,0300,0000001,0012000" +
                       std::string(39, ',') + "\r\n");
    EXPECT_EQ(priceTable().columns.size(), 51u);
    EXPECT_EQ(priceTable().columns[10].caption, "色コード１");
    EXPECT_EQ(priceTable().columns[49].caption, "単価２０");

    // Back in: section 00, colour 001 and the four groups blank, the remark blank.
    Record back(Price::layout());
    back.setBytes(importBytes(priceTable(), csv, "01020100.CSV"));
    EXPECT_EQ(back.bytes(), p.bytes());
}

TEST(CsvConvert, EmptyMastersAndEmptyCsvFiles)
{
    EXPECT_EQ(exportBytes(groupTable(), ""), "");
    EXPECT_EQ(exportBytes(itemTable(), ""), "");
    EXPECT_EQ(exportBytes(priceTable(), ""), toCp932(priceTable().captionLine()) + "\r\n");
    // An empty file and one with its caption line alone give an empty master.
    EXPECT_EQ(importBytes(groupTable(), "", "大分類.CSV"), "");
    EXPECT_EQ(importBytes(priceTable(), exportBytes(priceTable(), ""), "01020100.CSV"), "");
}

// Another writer may leave NULs in a text field where blanks belong; every reader of the masters
// takes the text up to the first NUL. The export writes that text, so the file it writes imports
// again, and the field comes back blank-padded.
TEST(CsvConvert, TextFieldsGoOutUpToTheirFirstNul)
{
    auto withNuls = [](const std::string &text, std::size_t width) {
        std::string f = toCp932(text);
        f.resize(width, '\0');
        return f;
    };
    Record group(MajorClass::layout());
    group.setSeparators();
    group.setText(MajorClass::MAKER_CD, "01");
    group.setRaw(MajorClass::NAME, withNuls("アルミ", 20));
    Record price(Price::layout());
    price.setSeparators();
    for (const auto &[field, code] : {std::pair{Price::MAKER_CD, "01"}, {Price::BUNRUI_CD, "01"},
                                      {Price::HINSYU2_CD, "1000"}, {Price::CIHO_CD, "01"}})
        price.setText(field, code);
    price.setRaw(Price::KIGO, withNuls("AB", 4) + "CD" + std::string(19, ' '));
    price.setRaw(Price::BIKO, withNuls("網戸別途", 50));
    struct Case {
        const CsvTable *table;
        Record rec;
        std::string line;                              // the exported record's line
        std::vector<std::pair<int, std::string>> back; // fields and their text after the import
    };
    const Case cases[] = {
        {&groupTable(), group, "01,アルミ", {{MajorClass::NAME, "アルミ" + std::string(14, ' ')}}},
        {&priceTable(), price, "01,01,1000,0001,AB" + std::string(46, ',') + "網戸別途",
         {{Price::KIGO, "AB" + std::string(23, ' ')}, {Price::BIKO, "網戸別途" + std::string(42, ' ')}}},
    };
    for (const Case &c : cases) {
        const std::string csv = exportBytes(*c.table, c.rec.bytes());
        EXPECT_EQ(fromCp932(csv), c.table->captionLine() + "\r\n" + c.line + "\r\n");
        Record back(*c.table->layout);
        back.setBytes(importBytes(*c.table, csv, "x.CSV"));
        for (const auto &[field, text] : c.back)
            EXPECT_EQ(back.text(field), text) << c.table->tool;
    }
}

TEST(CsvConvert, DeletedSectionsStayOutOfTheExport)
{
    auto section = [](const char *cd, const char *name, const char *mark) {
        Record r(Section::layout());
        r.setSeparators();
        r.setText(Section::CIHO_CD, cd);
        r.setText(Section::NAME, name);
        r.setText(Section::DEL_MARK, mark);
        return r.bytes();
    };
    const std::string master = section("01", "半外付", "") + section("02", "内付", "000000") + section("03", "外付", "");
    int records = 0;
    EXPECT_EQ(fromCp932(exportBytes(sectTable(), master, &records)), "区分ｺｰﾄﾞ,区分名\r\n01,半外付\r\n03,外付\r\n");
    EXPECT_EQ(records, 2);
    EXPECT_EQ(exportBytes(sectTable(), section("02", "内付", "000000")), "");
}

TEST(CsvConvert, CodesAndNamesAreStoredInTheirWidths)
{
    struct Case {
        const CsvTable *table;
        const char *row;
        int field;
        const char *stored;
    };
    const Case cases[] = {
        {&groupTable(), "5,名前", MajorClass::MAKER_CD, "05"},
        {&groupTable(), " 0005 ,名前", MajorClass::MAKER_CD, "05"},
        {&groupTable(), "0,削除済", MajorClass::MAKER_CD, "00"},
        {&itemTable(), "12,品,1500,", Item::TANPIN_CD, "0012"},
        {&itemTable(), "12,品,1500,", Item::TANKA, "1500   "},
        {&itemTable(), "12,品,1500,", Item::GENKA, "       "},
        {&itemTable(), "12,品,00001500,0", Item::TANKA, "0001500"},
        {&itemTable(), "12,品,1,0", Item::GENKA, "0      "},
        // Names: longer ones are cut at the field's width, never inside a character.
        {&groupTable(), "1,あいうえおかきくけこさ", MajorClass::NAME, "あいうえおかきくけこ"},
        {&groupTable(), "1,aあいうえおかきくけこ", MajorClass::NAME, "aあいうえおかきくけ "},
        {&groupTable(), "1,\"株式会社,山川\"", MajorClass::NAME, "株式会社,山川       "},
    };
    for (const Case &c : cases) {
        const std::string csv = toCp932(c.table->captionLine() + "\r\n" + c.row + "\r\n");
        Record rec(*c.table->layout);
        rec.setBytes(importBytes(*c.table, csv, "x.CSV"));
        EXPECT_EQ(rec.text(c.field), c.stored) << c.table->tool << ": " << c.row;
    }
    // The price file's own widths: section and colour codes come back narrower than they go out.
    std::string row = "01,02,0100,0005,K,,00001,2,3,4,12,500";
    row += std::string(38, ',') + ",  remark  ";
    Record p(Price::layout());
    p.setBytes(importBytes(priceTable(), toCp932(priceTable().captionLine() + "\r\n" + row + "\r\n"), "x.CSV"));
    EXPECT_EQ(p.raw(Price::CIHO_CD), "05");
    EXPECT_EQ(p.raw(Price::iroCd(1)), "012");
    EXPECT_EQ(p.raw(Price::tanka(1)), "0000500");
    EXPECT_EQ(p.raw(Price::W_MIRI), "00001");
    EXPECT_EQ(p.raw(Price::H_SYAKU), "0004");
    EXPECT_EQ(p.raw(Price::iroCd(2)), "   ");
    EXPECT_EQ(p.text(Price::BIKO), "remark" + std::string(44, ' '));
}

// A refused CSV file: the message names the file, the line and the column; the master keeps
// every byte.
TEST(CsvConvert, RefusesBadFilesAndLeavesTheMaster)
{
    TempInstall inst;
    struct Case {
        const char *what;
        const CsvTable *table;
        std::string csv; // UTF-8, converted to code page 932 unless `raw`
        std::string message;
        bool raw = false;
    };
    const std::string group = "大分類ｺｰﾄﾞ,大分類名\r\n";
    const std::string item = "単品ｺｰﾄﾞ,単品名,単価,原価\r\n";
    const std::string kind = kind1Table().captionLine() + "\r\n";
    const std::string rates = std::string(",8500,7000") + std::string(18, ',');
    const std::u16string groupUnicode = u"大分類ｺｰﾄﾞ,大分類名\r\n01,アルミ\r\n";
    const std::u16string itemUnicode = u"単品ｺｰﾄﾞ,単品名,単価,原価\r\n0001,網戸　標準,4800,3100\r\n";
    const std::vector<Case> cases = {
        {"missing cell", &colorTable(), "大分類ｺｰﾄﾞ,色コード,色名\r\n01,01,白\r\n01,02\r\n",
         "色.CSV の 3 行目：項目が 2 個あります（3 個のはずです）。"},
        {"extra cell", &groupTable(), group + "01,a\r\n02,b,c\r\n", "大分類.CSV の 3 行目：項目が 3 個あります（2 個のはずです）。"},
        {"caption line of another file", &groupTable(), "大分類ｺｰﾄﾞ,大分類名,備考\r\n01,a\r\n",
         "大分類.CSV の 1 行目：項目が 3 個あります（2 個のはずです）。"},
        {"blank line", &groupTable(), group + "01,a\r\n\r\n02,b\r\n", "大分類.CSV の 3 行目：空の行です。"},
        {"code too wide", &groupTable(), group + "01,a\r\n123,b\r\n", "大分類.CSV の 3 行目：大分類ｺｰﾄﾞ「123」は 2 桁に入りません。"},
        {"code not a number", &groupTable(), group + "1a,b\r\n", "大分類.CSV の 2 行目：大分類ｺｰﾄﾞ「1a」は 0 以上の整数ではありません。"},
        {"negative code", &itemTable(), item + "-5,a,1,1\r\n", "単品.CSV の 2 行目：単品ｺｰﾄﾞ「-5」は 0 以上の整数ではありません。"},
        {"decimal price", &itemTable(), item + "5,a,12.5,1\r\n", "単品.CSV の 2 行目：単価「12.5」は整数ではありません。"},
        {"full-width digits", &itemTable(), item + "5,a,１２,1\r\n", "単品.CSV の 2 行目：単価「１２」は整数ではありません。"},
        {"price too wide", &itemTable(), item + "5,a,12345678,1\r\n", "単品.CSV の 2 行目：単価「12345678」は 7 桁に入りません。"},
        {"empty code", &itemTable(), item + ",a,1,1\r\n", "単品.CSV の 2 行目：単品ｺｰﾄﾞ が空です。"},
        {"size too wide", &priceTable(),
         priceTable().captionLine() + "\r\n01,01,1001,01,K,N,123456,1,1,1" + std::string(41, ',') + "\r\n",
         "01011000.CSV の 2 行目：Ｗサイズ（ミリ）「123456」は 5 桁に入りません。"},
        {"row of another major class", &kind1Table(), kind + "01,01,1000,a" + rates + "\r\n02,01,1000,b" + rates + "\r\n",
         "品種101.CSV の 3 行目：大分類ｺｰﾄﾞ「02」が選んだ大分類 01 と違います。"},
        {"quote never closed", &groupTable(), group + "01,\"a\r\n", "大分類.CSV の 2 行目：大分類名 の「\"」が閉じないままファイルが終わっています。"},
        {"UTF-8 text", &groupTable(), "01,アルミ\r\n", "大分類.CSV は UTF-8 で保存されています。Shift-JIS で保存し直して下さい。", true},
        {"UTF-8 with a byte-order mark", &groupTable(), "\xEF\xBB\xBF" "01,a\r\n",
         "大分類.CSV は UTF-8 で保存されています。Shift-JIS で保存し直して下さい。", true},
        {"UTF-16, low byte first, with a byte-order mark", &groupTable(), utf16(true, true, groupUnicode),
         "大分類.CSV は UTF-16 (Unicode テキスト) で保存されています。Shift-JIS で保存し直して下さい。", true},
        {"UTF-16, high byte first, with a byte-order mark", &groupTable(), utf16(false, true, groupUnicode),
         "大分類.CSV は UTF-16 (Unicode テキスト) で保存されています。Shift-JIS で保存し直して下さい。", true},
        {"UTF-16, low byte first", &itemTable(), utf16(true, false, itemUnicode),
         "単品.CSV は UTF-16 (Unicode テキスト) で保存されています。Shift-JIS で保存し直して下さい。", true},
        {"UTF-16, high byte first", &itemTable(), utf16(false, false, itemUnicode),
         "単品.CSV は UTF-16 (Unicode テキスト) で保存されています。Shift-JIS で保存し直して下さい。", true},
        // A file whose caption line was deleted would lose its first record.
        {"no caption line", &groupTable(), "01,アルミ\r\n02,ガラス\r\n",
         "大分類.CSV の 1 行目：見出しの行がありません（1 行目がデータです）。見出しの行を先頭に入れて下さい。"},
        {"no caption line, one record", &itemTable(), "0012,網戸,-500,\r\n",
         "単品.CSV の 1 行目：見出しの行がありません（1 行目がデータです）。見出しの行を先頭に入れて下さい。"},
        {"no caption line, list prices", &priceTable(), "01,01,1001,01,K,N,12345,1,1,1" + std::string(41, ','),
         "01011000.CSV の 1 行目：見出しの行がありません（1 行目がデータです）。見出しの行を先頭に入れて下さい。"},
        {"no caption line, kind rates", &kind1Table(), "01,01,1000,a" + rates + "\r\n",
         "品種101.CSV の 1 行目：見出しの行がありません（1 行目がデータです）。見出しの行を先頭に入れて下さい。"},
        {"no caption line, the first record without its code", &colorTable(), ",01,白\r\n01,02,黒\r\n",
         "色.CSV の 1 行目：見出しの行がありません（1 行目がデータです）。見出しの行を先頭に入れて下さい。"},
        {"no caption line, the first item without its code", &itemTable(), ",網戸,4800,3100\r\n0002,戸車,650,\r\n",
         "単品.CSV の 1 行目：見出しの行がありません（1 行目がデータです）。見出しの行を先頭に入れて下さい。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        expectRefused(inst, *c.table, c.raw ? c.csv : toCp932(c.csv), c.message);
    }
}

// Bytes that are no text the system can show are refused with the line, the column and the place
// in the cell; the master keeps every byte.
TEST(CsvConvert, RefusesBytesThatAreNoTextAndLeavesTheMaster)
{
    TempInstall inst;
    struct Case {
        const char *what;
        const CsvTable *table;
        std::string rows; // code page 932 bytes after the caption line
        std::string message;
    };
    const std::string price = "01,01,1001,01,K,N,12345,1,1,1" + std::string(40, ',');
    const std::vector<Case> cases = {
        {"lead byte ending a cell", &groupTable(), "01,ABCDEFGHIJKLMNOPQRS\x82\r\n",
         "大分類.CSV の 2 行目：大分類名 の 20 バイト目 0x82 は Shift-JIS の文字ではありません。"},
        {"lead byte before a blank", &itemTable(), "0001,\"\x82 A\",100,50\r\n",
         "単品.CSV の 2 行目：単品名 の 1 バイト目 0x82 は Shift-JIS の文字ではありません。"},
        {"double-byte code of no character", &groupTable(), "01,a\r\n02,AB\x85\x40" "C\r\n",
         "大分類.CSV の 3 行目：大分類名 の 3 バイト目 0x85 0x40 は Shift-JIS の文字ではありません。"},
        {"single byte of no character", &itemTable(), "0001," + toCp932("網") + "\xA0" + toCp932("戸") + ",100,50\r\n",
         "単品.CSV の 2 行目：単品名 の 3 バイト目 0xA0 は Shift-JIS の文字ではありません。"},
        {"byte of no character in a code", &itemTable(), "0\xFF,a,100,50\r\n",
         "単品.CSV の 2 行目：単品ｺｰﾄﾞ の 2 バイト目 0xFF は Shift-JIS の文字ではありません。"},
        {"byte of no character in a remark", &priceTable(), price + ",ok\x80\r\n",
         "01011000.CSV の 2 行目：備考 の 3 バイト目 0x80 は Shift-JIS の文字ではありません。"},
        {"NUL", &groupTable(), std::string("01,NUL\0Z\r\n", 10),
         "大分類.CSV の 2 行目：大分類名 の 4 バイト目に制御文字 0x00 があります。"},
        {"escape", &colorTable(), "01,01,\x1b[1m\r\n",
         "色.CSV の 2 行目：色名 の 1 バイト目に制御文字 0x1B があります。"},
        {"delete", &classTable(), "01,01,A\x7f\r\n",
         "分類.CSV の 2 行目：分類名 の 2 バイト目に制御文字 0x7F があります。"},
        {"on the second line of a quoted cell", &groupTable(),
         "01,\"" + toCp932("二行") + "\r\n" + toCp932("目") + "\x01\"\r\n",
         "大分類.CSV の 3 行目：大分類名 の 9 バイト目に制御文字 0x01 があります。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        expectRefused(inst, *c.table, toCp932(c.table->captionLine() + "\r\n") + c.rows, c.message);
    }
}

// What the import takes is what the code page 932 reading shows as characters: every single byte
// and every double-byte code in a name, taken whole exactly when the reading keeps no mark for it
// and it is no control character (tab aside).
TEST(CsvConvert, TakesEveryCharacterTheReadingShowsAndNothingElse)
{
    const std::string caption = toCp932(groupTable().captionLine() + "\r\n");
    std::vector<std::string> codes;
    for (int b = 0; b <= 0xFF; ++b)
        if (b != ',' && b != '"' && b != '\r' && b != '\n')
            codes.emplace_back(1, static_cast<char>(b));
    for (int lead = 0x81; lead <= 0xFC; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            if ((lead <= 0x9F || lead >= 0xE0) && trail != 0x7F)
                codes.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    int taken = 0;
    for (const std::string &code : codes) {
        const std::string name = "A" + code + " B"; // a lone lead byte meets a blank, no second byte
        bool shown = false;
        {
            qd::text::ByteMarkWatch marks;
            const std::string t = fromCp932(name);
            shown = !marks.any() && std::none_of(t.begin(), t.end(), [](char c) {
                return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F;
            });
        }
        try {
            Record rec(MajorClass::layout());
            rec.setBytes(importBytes(groupTable(), caption + "01," + name + "\r\n", "大分類.CSV"));
            EXPECT_TRUE(shown) << "taken: " << std::hex << int(static_cast<unsigned char>(code[0]));
            EXPECT_EQ(rec.raw(MajorClass::NAME), name + std::string(20 - name.size(), ' '));
            ++taken;
        } catch (const CsvRefused &) {
            EXPECT_FALSE(shown) << "refused: " << std::hex << int(static_cast<unsigned char>(code[0]))
                                << (code.size() > 1 ? int(static_cast<unsigned char>(code[1])) : 0);
        }
    }
    EXPECT_GT(taken, 7000); // the kana, kanji, symbols and the extensions of the code page
}

// A sign that says nothing about the value (a plus, the minus of a zero) is dropped in every
// number column of every tool: "-0" is stored as "0" would be, never as "-0". Below zero only a
// single item's price or cost is taken. A code with a sign is refused: "-0" would be the mark of
// a deleted record.
TEST(CsvConvert, EveryNumberColumnStoresASignOnlyForAValueBelowZeroAndCodesTakeNone)
{
    const CsvTable *tables[] = {&groupTable(), &sectTable(), &colorTable(), &classTable(),
                                &itemTable(),  &kind1Table(), &kind2Table(), &priceTable()};
    const std::pair<const char *, const char *> same[] = {
        {"-0", "0"}, {"+0", "0"}, {"-00", "00"}, {" -0 ", "0"}, {"+7", "7"}, {"+0012", "0012"}};
    for (const CsvTable *table : tables) {
        const std::string caption = table->captionLine() + "\r\n";
        auto row = [&](std::size_t at, const std::string &value) {
            std::string line;
            for (std::size_t i = 0; i < table->columns.size(); ++i) {
                const CellKind k = table->columns[i].kind;
                appendCell(line, i == at ? value : k == CellKind::Code || k == CellKind::Number ? "1" : "x", i == 0);
            }
            return toCp932(caption + line + "\r\n");
        };
        for (std::size_t i = 0; i < table->columns.size(); ++i) {
            const CsvColumn &col = table->columns[i];
            if (col.kind != CellKind::Code && col.kind != CellKind::Number)
                continue;
            SCOPED_TRACE(table->tool + " " + col.caption);
            for (const auto &[signedValue, plain] : same) {
                if (col.kind == CellKind::Code) {
                    EXPECT_THROW(importBytes(*table, row(i, signedValue), "x.CSV"), CsvRefused) << signedValue;
                } else {
                    EXPECT_EQ(importBytes(*table, row(i, signedValue), "x.CSV"),
                              importBytes(*table, row(i, plain), "x.CSV"))
                        << signedValue;
                }
            }
            if (col.mayBeNegative) {
                Record rec(*table->layout);
                rec.setBytes(importBytes(*table, row(i, "-7"), "x.CSV"));
                EXPECT_EQ(rec.number(col.field), -7);
            } else {
                EXPECT_THROW(importBytes(*table, row(i, "-7"), "x.CSV"), CsvRefused);
            }
        }
    }
    // The price "-0" of a single item is the field "0", which goes out as an empty cell.
    Record item(Item::layout());
    item.setBytes(importBytes(itemTable(), toCp932("単品ｺｰﾄﾞ,単品名,単価,原価\r\n12,値引,-0,-00\r\n"), "単品.CSV"));
    EXPECT_EQ(item.raw(Item::TANKA), "0      ");
    EXPECT_EQ(item.raw(Item::GENKA), "00     ");
    EXPECT_EQ(fromCp932(exportBytes(itemTable(), item.bytes())), "単品ｺｰﾄﾞ,単品名,単価,原価\r\n0012,値引,,\r\n");
}

// A record marked deleted but not yet dropped from its master goes out and comes back as it was.
TEST(CsvConvert, DeletedRecordsComeBackAsTheyWere)
{
    TempInstall inst;
    auto record = [](const Layout &layout, const std::vector<std::pair<int, std::string>> &fields) {
        Record r(layout);
        r.setSeparators();
        for (const auto &[field, text] : fields)
            r.setText(field, text);
        return r.bytes();
    };
    struct Case {
        const CsvTable *table;
        ConversionFiles files;
        std::string master;
    };
    const std::vector<Case> cases = {
        {&groupTable(), singleFiles(inst.dir(), groupTable()),
         record(MajorClass::layout(), {{MajorClass::MAKER_CD, "01"}, {MajorClass::NAME, "アルミ"}}) +
             record(MajorClass::layout(), {{MajorClass::MAKER_CD, "00"}, {MajorClass::NAME, "削除した大分類"}})},
        {&colorTable(), singleFiles(inst.dir(), colorTable()),
         record(Color::layout(), {{Color::MAKER_CD, "00"}, {Color::IRO_CD, "00"}, {Color::NAME, "削除した色"}}) +
             record(Color::layout(), {{Color::MAKER_CD, "01"}, {Color::IRO_CD, "02"}, {Color::NAME, "白"}})},
        {&classTable(), singleFiles(inst.dir(), classTable()),
         record(Class::layout(), {{Class::MAKER_CD, "01"}, {Class::BUNRUI_CD, "00"}, {Class::NAME, "削除した分類"}})},
        {&itemTable(), singleFiles(inst.dir(), itemTable()),
         record(Item::layout(), {{Item::TANPIN_CD, "0000"}, {Item::NAME, "削除した単品"}, {Item::TANKA, "1200"}}) +
             record(Item::layout(), {{Item::TANPIN_CD, "0002"}, {Item::NAME, "戸車"}, {Item::TANKA, "650"}})},
        {&kind1Table(), kindFiles(inst.dir(), 1, 1),
         record(Kind1::layout(), {{Kind1::MAKER_CD, "01"}, {Kind1::BUNRUI_CD, "01"}, {Kind1::HINSYU1_CD, "0000"},
                                  {Kind1::NAME, "削除した品種"}, {Kind1::uriRate(1), "8500"}})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table->tool);
        putHostBytes(c.files.master, c.master);
        exportFile(*c.table, c.files.master, c.files.csv);
        putHostBytes(c.files.master, "");
        importFile(*c.table, c.files.csv, c.files.master, c.files.check);
        EXPECT_EQ(hostBytes(c.files.master), c.master);
    }
}

TEST(CsvConvert, AFirstLineOfOtherCaptionsIsSkipped)
{
    struct Case {
        std::string csv;
        int records;
    };
    const Case cases[] = {
        {"code,name\r\n5,a\r\n", 1},
        {"大分類,名前\r\n", 0},
        {",\r\n5,a\r\n6,b\r\n", 2},
        {"-,a\r\n5,a\r\n", 1},
    };
    for (const Case &c : cases) {
        int records = -1;
        const std::string master = importBytes(groupTable(), toCp932(c.csv), "大分類.CSV", {}, &records);
        EXPECT_EQ(records, c.records) << c.csv;
        if (records > 0) {
            EXPECT_EQ(master.substr(0, 3), "05,") << c.csv;
        }
    }
}

TEST(CsvConvert, MissingCsvFileIsRefusedBeforeTheMasterIsTouched)
{
    TempInstall inst;
    const ConversionFiles f = singleFiles(inst.dir(), groupTable());
    const std::string before = hostBytes(f.master);
    EXPECT_THROW(
        {
            try {
                importFile(groupTable(), f.csv, f.master);
            } catch (const CsvRefused &e) {
                EXPECT_EQ(std::string(e.what()), "大分類.CSV がありません。");
                throw;
            }
        },
        CsvRefused);
    EXPECT_EQ(hostBytes(f.master), before);
}

TEST(CsvConvert, NamesWithCommasQuotesAndLineBreaksSurviveTheRoundTrip)
{
    TempInstall inst;
    const ConversionFiles f = singleFiles(inst.dir(), itemTable());
    std::string master;
    const char *names[] = {"株式会社,山川", "24\"モニター", "\"引用\"", "二行\r\n目", "末尾,"};
    int cd = 1;
    for (const char *n : names) {
        Record r(Item::layout());
        r.setSeparators();
        r.setNumber(Item::TANPIN_CD, cd++, "0000");
        r.setText(Item::NAME, n);
        r.setText(Item::TANKA, "1200");
        r.setText(Item::GENKA, "800");
        master += r.bytes();
    }
    putHostBytes(f.master, master);
    exportFile(itemTable(), f.master, f.csv);
    EXPECT_NE(fromCp932(hostBytes(f.csv)).find("0001,\"株式会社,山川\",1200,800\r\n"), std::string::npos);
    EXPECT_NE(fromCp932(hostBytes(f.csv)).find("0003,\"\"\"引用\"\"\",1200,800\r\n"), std::string::npos);
    importFile(itemTable(), f.csv, f.master);
    EXPECT_EQ(hostBytes(f.master), master);
}

// itemmaint keeps discounts as single items with a price or cost below zero ("-000500"): they go
// out as -500 and come back with the same value. Codes and the other numbers stay unsigned.
TEST(CsvConvert, NegativeItemPricesComeBack)
{
    TempInstall inst;
    const ConversionFiles f = singleFiles(inst.dir(), itemTable());
    Record r(Item::layout());
    r.setSeparators();
    r.setText(Item::TANPIN_CD, "0050");
    r.setText(Item::NAME, "値引");
    r.setText(Item::TANKA, "-000500");
    r.setText(Item::GENKA, "-999999");
    putHostBytes(f.master, r.bytes());
    exportFile(itemTable(), f.master, f.csv);
    EXPECT_EQ(fromCp932(hostBytes(f.csv)), "単品ｺｰﾄﾞ,単品名,単価,原価\r\n0050,値引,-500,-999999\r\n");
    importFile(itemTable(), f.csv, f.master);
    r.setBytes(hostBytes(f.master));
    EXPECT_EQ(r.raw(Item::TANKA), "-500   ");
    EXPECT_EQ(r.number(Item::TANKA), -500);
    EXPECT_EQ(r.number(Item::GENKA), -999999);

    const std::string item = "単品ｺｰﾄﾞ,単品名,単価,原価\r\n";
    const std::pair<const char *, const char *> refused[] = {
        {"5,a,-,1", "単品.CSV の 2 行目：単価「-」は整数ではありません。"},
        {"5,a,1,--5", "単品.CSV の 2 行目：原価「--5」は整数ではありません。"},
        {"5,a,-1000000,1", "単品.CSV の 2 行目：単価「-1000000」は 7 桁に入りません。"},
    };
    for (const auto &[row, message] : refused) {
        try {
            importBytes(itemTable(), toCp932(item + row + "\r\n"), "単品.CSV");
            ADD_FAILURE() << row << " was taken";
        } catch (const CsvRefused &e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
}

TEST(CsvConvert, OldExportsWithoutQuotesStillImport)
{
    // The old export wrote every cell bare and padded nothing: blanks before a cell are skipped,
    // a quote inside a name is part of it.
    const std::string csv = toCp932("単品ｺｰﾄﾞ,単品名,単価,原価\r\n0012, 24\"モニター,1500,\r\n0013,網戸,0000800,0000000\r\n");
    const std::string master = importBytes(itemTable(), csv, "単品.CSV");
    ASSERT_EQ(master.size(), 256u);
    Record r(Item::layout());
    r.setBytes(master.substr(0, 128));
    EXPECT_EQ(r.trimmed(Item::NAME), "24\"モニター");
    EXPECT_EQ(r.number(Item::TANKA), 1500);
    r.setBytes(master.substr(128));
    EXPECT_EQ(r.raw(Item::TANKA), "0000800");
    EXPECT_EQ(r.raw(Item::FILLER), std::string(54, ' '));
    EXPECT_EQ(master.substr(254), "\r\n");
}

} // namespace
