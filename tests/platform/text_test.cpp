#include "platform/text/cp932.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace qd::text;

namespace {

std::string bytes(std::initializer_list<int> b)
{
    std::string s;
    for (int c : b)
        s.push_back(static_cast<char>(c));
    return s;
}

} // namespace

TEST(Cp932, RoundTripOfJapaneseText)
{
    struct Case {
        const char *utf8;
        std::string cp932;
    };
    const Case cases[] = {
        {"ABC 123", "ABC 123"},
        {"日本", bytes({0x93, 0xFA, 0x96, 0x7B})},
        {"ｶﾅ", bytes({0xB6, 0xC5})},                       // half-width kana: one byte each
        {"ソ表", bytes({0x83, 0x5C, 0x95, 0x5C})},          // second byte 0x5C ("\") of a kanji
        {"①ⅰ", bytes({0x87, 0x40, 0xFA, 0x40})},           // NEC and IBM extensions
        {"\\~", "\\~"},                                     // ASCII stays ASCII
        {"　", bytes({0x81, 0x40})},                        // full-width space
    };
    for (const auto &c : cases) {
        EXPECT_EQ(toCp932(c.utf8), c.cp932) << c.utf8;
        EXPECT_EQ(fromCp932(c.cp932), c.utf8) << c.utf8;
    }
}

TEST(Cp932, UnmappableAndInvalidInput)
{
    // A character code page 932 does not hold is written as "?", and so is malformed UTF-8.
    EXPECT_EQ(toCp932("a😀b"), "a?b");
    EXPECT_EQ(toCp932("a\xFF" "b"), "a?b");
    EXPECT_EQ(toCp932(std::string("a\0b", 3)), std::string("a\0b", 3));

    // Bytes that are no character read as U+FFFD; a lone lead byte loses only itself.
    EXPECT_EQ(fromCp932(bytes({'A', 0x80, 'B'})), "A\uFFFDB");
    EXPECT_EQ(fromCp932(bytes({0xFD, 0xFE, 0xFF})), "\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromCp932(bytes({0x93, ','})), "\uFFFD,"); // the separator survives
    EXPECT_EQ(fromCp932(bytes({'x', 0x93})), "x\uFFFD");
    EXPECT_EQ(fromCp932(bytes({0x85, 0x40})), "\uFFFD"); // undefined double-byte code
    EXPECT_EQ(fromCp932(bytes({'a', 0, 'b'})), std::string("a\0b", 3));

    // Every byte pair decodes without a crash and gives valid UTF-8 back to code page 932.
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; b += 7) {
            const std::string u = fromCp932(bytes({a, b}));
            EXPECT_FALSE(u.empty());
            EXPECT_LE(cp932Width(u), 6u);
        }
}

TEST(Cp932, WidthsCountBytes)
{
    EXPECT_EQ(cp932Width(""), 0u);
    EXPECT_EQ(cp932Width("abc"), 3u);
    EXPECT_EQ(cp932Width("ｱｲｳ"), 3u);
    EXPECT_EQ(cp932Width("アイウ"), 6u);
    EXPECT_EQ(cp932Width("品番A-1"), 7u);
    EXPECT_EQ(charCount("品番A-1"), 5u);
}

TEST(Cp932, FieldsAreCutWholeAndPadded)
{
    struct Case {
        const char *utf8;
        std::size_t width;
        const char *text; // the field read back
    };
    const Case cases[] = {
        {"山田", 6, "山田  "},
        {"山田太郎", 5, "山田 "},           // the third kanji would be split: dropped, padded
        {"ABC山", 4, "ABC "},
        {"ｶﾀｶﾅ", 3, "ｶﾀｶ"},
        {"", 3, "   "},
        {"abcdef", 0, ""},
    };
    for (const auto &c : cases) {
        const std::string f = toField(c.utf8, c.width);
        EXPECT_EQ(f.size(), c.width) << c.utf8;
        EXPECT_EQ(fromField(f), c.text) << c.utf8;
        EXPECT_EQ(cutToWidth(c.utf8, c.width), trimRight(c.text)) << c.utf8;
    }

    // 15 double-byte characters in a 20-byte field keep their first 10.
    const std::string name15 = "東西南北春夏秋冬松竹梅桜菊藤萩";
    const std::string field = toField(name15, 20);
    EXPECT_EQ(field.size(), 20u);
    EXPECT_EQ(fromField(field), "東西南北春夏秋冬松竹");
}

TEST(Cp932, ReadingFieldsCutByOtherWriters)
{
    // A field whose last byte is the lead byte of a split character: the lead byte reads as a
    // blank, so the text keeps the field's width.
    const std::string cut = toCp932("山田") + bytes({0x91}); // first byte of 太
    EXPECT_EQ(fromField(cut), "山田 ");
    EXPECT_EQ(cp932Width(fromField(cut)), 5u);

    // Text after a NUL is dropped only when asked for.
    const std::string withNul = toCp932("ABC") + bytes({0, 'x', 'y', ' '});
    EXPECT_EQ(fromField(withNul, true), "ABC");
    EXPECT_EQ(fromField(withNul), std::string("ABC\0xy ", 7));
    EXPECT_EQ(fromField(toCp932("山") + bytes({0x93, 0, 'x'}), true), "山 ");
}

TEST(Cp932, TrimAndFixedLengthHelpers)
{
    EXPECT_EQ(trim("  a b  "), "a b");
    EXPECT_EQ(trim("    "), "");
    EXPECT_EQ(trim("\t a \t"), "\t a \t");   // only the ordinary blank is trimmed
    EXPECT_EQ(trim("　a　"), "　a　");       // full-width spaces stay
    EXPECT_EQ(trimLeft("  a  "), "a  ");
    EXPECT_EQ(trimRight("  a  "), "  a");

    EXPECT_EQ(leftChars("日本語abc", 4), "日本語a");
    EXPECT_EQ(leftChars("ab", 5), "ab");
    EXPECT_EQ(fixedChars("日本", 4), "日本  ");
    EXPECT_EQ(fixedChars("日本語abc", 2), "日本");
    // Mid and the two right alignments: a longer text stands whole, or is cut to the field.
    EXPECT_EQ(midChars("2024年01月05日", 5, 3), "年01");
    EXPECT_EQ(midChars("日本", 2, 9), "本");
    EXPECT_EQ(midChars("日本", 3, 1), "");
    EXPECT_EQ(padLeftChars("１２", 4), "  １２");
    EXPECT_EQ(padLeftChars("12345", 3), "12345");
    EXPECT_EQ(fixedCharsRight("1.5", 6), "   1.5");
    EXPECT_EQ(fixedCharsRight("1234567", 6), "123456");
    EXPECT_EQ(removeChars("1,234,567", ","), "1234567");
    EXPECT_EQ(removeChars("a-b c", "- "), "abc");
}

TEST(Cp932, ConvertsADocumentQuickly)
{
    // 1000 rows of 24 fields, in and out, as loading and saving a document does.
    const std::string row = "アルミサッシ引違い窓 ｶﾞﾗｽ 1,234,567 ABC-123";
    (void)toCp932(row); // the tables are built once per process
    const auto t0 = std::chrono::steady_clock::now();
    std::size_t total = 0;
    for (int i = 0; i < 1000 * 24; ++i) {
        const std::string f = toField(row, 40);
        total += fromField(f).size();
    }
    const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_GT(total, 0u);
    EXPECT_LT(ms, 50.0); // well within budget even in a debug build
}
