// The CSV text layer: quoting on the way out, reading cells back the way the spreadsheets and the
// old exports write them, UTF-8 recognised, names cut on character boundaries.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/text/cp932.h"
#include "tools/csv/engine/csv_convert.h"
#include "tools/csv/engine/csv_text.h"

namespace {

using namespace qd::csv;
using qd::text::toCp932;

std::vector<std::vector<std::string>> readAllRows(std::string_view bytes, std::vector<int> *lines = nullptr)
{
    CsvReader reader(bytes, "t.CSV", {"A", "B", "C"});
    std::vector<std::vector<std::string>> rows;
    std::vector<CsvCell> cells;
    while (reader.next(cells)) {
        rows.emplace_back();
        for (const CsvCell &c : cells)
            rows.back().emplace_back(c.bytes);
        if (lines)
            lines->push_back(reader.rowLine());
    }
    return rows;
}

std::string line(const std::vector<std::string> &cells)
{
    std::string out;
    for (std::size_t i = 0; i < cells.size(); ++i)
        appendCell(out, cells[i], i == 0);
    endLine(out);
    return out;
}

TEST(CsvText, QuotesOnlyCellsThatNeedIt)
{
    EXPECT_EQ(line({"01", "アルミ", ""}), "01,アルミ,\r\n");
    EXPECT_EQ(line({"a,b", "say \"hi\"", "x"}), "\"a,b\",\"say \"\"hi\"\"\",x\r\n");
    EXPECT_EQ(line({"two\r\nlines", "cr\r", "lf\n"}), "\"two\r\nlines\",\"cr\r\",\"lf\n\"\r\n");
}

TEST(CsvText, ReadsRowsAsSpreadsheetsAndOldExportsWriteThem)
{
    struct Case {
        const char *name;
        std::string bytes;
        std::vector<std::vector<std::string>> rows;
    };
    const std::vector<Case> cases = {
        {"CR LF", "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
        {"LF and lone CR", "a,b\nc,d\re,f", {{"a", "b"}, {"c", "d"}, {"e", "f"}}},
        {"blanks around unquoted cells", "  01 , name  ,\r\n", {{"01", "name", ""}}},
        {"quoted keeps blanks and commas", "\" a,b \",x\r\n", {{" a,b ", "x"}}},
        {"doubled quotes", "\"say \"\"hi\"\"\",\"\"\"\"\r\n", {{"say \"hi\"", "\""}}},
        {"line break inside quotes", "\"one\r\ntwo\",x\r\ny,z\r\n", {{"one\r\ntwo", "x"}, {"y", "z"}}},
        {"blanks after the closing quote", "\"a\"  ,b\r\n", {{"a", "b"}}},
        {"quote inside an unquoted cell (old export)", "ab\"c,d\r\n", {{"ab\"c", "d"}}},
        {"empty cells", ",,\r\n", {{"", "", ""}}},
        {"no line end at the end", "a,b", {{"a", "b"}}},
        {"trailing blank lines and EOF mark", "a,b\r\n\r\n\r\n\x1a", {{"a", "b"}}},
        {"blank line in the middle is a row", "a\r\n\r\nb\r\n", {{"a"}, {""}, {"b"}}},
        {"empty file", "", {}},
        {"only line ends", "\r\n\r\n", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(readAllRows(c.bytes), c.rows) << c.name;
}

TEST(CsvText, RowsKnowTheLineTheyBeginOn)
{
    std::vector<int> lines;
    readAllRows("h\r\n\"a\r\nb\r\nc\",x\r\nnext\n", &lines);
    EXPECT_EQ(lines, (std::vector<int>{1, 2, 5}));
}

TEST(CsvText, RefusesBrokenQuotingNamingLineAndColumn)
{
    try {
        readAllRows("a,b\r\nc,\"open\r\nstill open");
        FAIL() << "an unclosed quote was read";
    } catch (const CsvRefused &e) {
        EXPECT_EQ(std::string(e.what()), "t.CSV の 2 行目：B の「\"」が閉じないままファイルが終わっています。");
    }
    try {
        readAllRows("a,b,c\r\nx,\"q\"z,y\r\n");
        FAIL() << "text after a closing quote was read";
    } catch (const CsvRefused &e) {
        EXPECT_EQ(std::string(e.what()), "t.CSV の 2 行目：B の閉じた「\"」の後に文字があります。");
    }
}

// Cells of every awkward kind, code page 932 double-byte characters whose second byte is "\" or
// "|" among them, go out and come back unchanged.
TEST(CsvText, AnyCellsSurviveWritingAndReading)
{
    const std::vector<std::string> pieces = {"a", ",", "\"", "\r\n", "\n", "\r", toCp932("ソ"), toCp932("表"),
                                             toCp932("ｺｰﾄﾞ"), "x y", toCp932("能"), "''"};
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::vector<std::string>> rows(1 + rng() % 4);
        std::string file;
        for (auto &row : rows) {
            row.resize(1 + rng() % 5);
            for (auto &cell : row) {
                for (unsigned k = rng() % 5; k > 0; --k)
                    cell += pieces[rng() % pieces.size()];
                // Blanks at the ends of a cell are not kept unless the cell is quoted; the tools
                // never write them.
                cell = std::string(trimBlanks(cell));
            }
            file += line(row);
        }
        // A last row of one empty cell is a blank line at the end of the file: no row.
        while (!rows.empty() && rows.back() == std::vector<std::string>{""})
            rows.pop_back();
        ASSERT_EQ(readAllRows(file), rows) << "round " << round;
    }
}

TEST(CsvText, RecognisesUtf8)
{
    EXPECT_EQ(utf8Kind("\xEF\xBB\xBF" "01,a\r\n"), Utf8Kind::ByteOrderMark);
    EXPECT_EQ(utf8Kind("01,アルミサッシ\r\n"), Utf8Kind::Utf8Text);
    EXPECT_EQ(utf8Kind(toCp932("大分類ｺｰﾄﾞ,大分類名\r\n01,アルミサッシ\r\n")), Utf8Kind::NotUtf8);
    EXPECT_EQ(utf8Kind("01,plain ascii\r\n"), Utf8Kind::NotUtf8);
    EXPECT_EQ(utf8Kind("\xE3\x81"), Utf8Kind::NotUtf8);     // cut in the middle of a character
    EXPECT_EQ(utf8Kind("\xC0\xAF"), Utf8Kind::NotUtf8);     // an overlong form
    EXPECT_EQ(utf8Kind("\xED\xA0\x80"), Utf8Kind::NotUtf8); // a surrogate
    // Half-width katakana in code page 932 can pair up into valid UTF-8 ("ﾄｱ" is C4 B1): such a
    // file is code page 932 text, not UTF-8. A pair that is no katakana in code page 932 is.
    EXPECT_EQ(utf8Kind(toCp932("code,name,price,cost\r\n0012,ﾄｱ,1500,\r\n0013,ﾏｽ,200,\r\n")), Utf8Kind::NotUtf8);
    EXPECT_EQ(utf8Kind("0012,W\xC3\x97H,1500,\r\n"), Utf8Kind::Utf8Text); // "W×H" in UTF-8
}

TEST(CsvText, CutsCodePage932OnCharacterBoundaries)
{
    const std::string kanji = toCp932("表示");   // 4 bytes, the first with "\" as its second byte
    EXPECT_EQ(cutCp932(kanji, 3), toCp932("表"));
    EXPECT_EQ(cutCp932("a" + kanji, 4), "a" + toCp932("表"));
    EXPECT_EQ(cutCp932(toCp932("ｱｲｳ"), 2), toCp932("ｱｲ"));
    EXPECT_EQ(cutCp932("abc", 5), "abc");
}

TEST(CsvText, ValuesGoThroughZeroPatterns)
{
    struct Case {
        const char *field, *pattern, *out;
    };
    const Case cases[] = {
        {"05", "00", "05"},     {"5 ", "00", "05"},           {" 123", "00", "123"},
        {"  ", "00", ""},       {"AB", "00", "AB"},           {"05", "0000", "0005"},
        {"012", "0000000", "0000012"}, {"0001500", "#######", "1500"}, {"0000000", "#######", ""},
        {"1500   ", "#######", "1500"}, {"08500", "000", "8500"}, {"00000", "000", "000"},
        {"500  ", "000", "500"}, {"-3", "00", "-03"},         {"2.5", "00", "03"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(throughPattern(c.field, c.pattern), c.out) << '"' << c.field << "\" through " << c.pattern;
}

} // namespace
