#include "platform/text/cp932.h"
#include "platform/text/list_order.h"

#include <gtest/gtest.h>

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

// UTF-8 of one character of the Basic Multilingual Plane.
std::string utf8Of(char32_t cp)
{
    std::string s;
    if (cp < 0x80) {
        s.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        s.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        s.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
    return s;
}

// The mark a byte that is no text reads as.
std::string mark(int byte) { return utf8Of(kFirstByteMark + static_cast<char32_t>(byte - 0x80)); }

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

    EXPECT_EQ(toCp932("\uFFFD"), "?");

    // Where the first such character stands, for a box to show it; kanji, kana, the
    // extensions' characters and a byte kept as a mark all have their code.
    EXPECT_EQ(firstCharNotInCp932("見本邸ｱ①髙" + mark(0x81)), std::string_view::npos);
    EXPECT_EQ(firstCharNotInCp932("窓😀と€"), std::string("窓").size());
    EXPECT_EQ(firstCharNotInCp932("𠮷野"), 0u);
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

TEST(Cp932, BytesThatAreNoTextSurviveASave)
{
    struct Case {
        const char *name;
        std::string bytes;
        std::string utf8; // as read
        std::size_t marks;
    };
    const std::string yama = toCp932("山");
    const Case cases[] = {
        {"bytes no character starts with", bytes({'A', 0x80, 'B', 0xA0, 0xFD, 0xFE, 0xFF}),
         "A" + mark(0x80) + "B" + mark(0xA0) + mark(0xFD) + mark(0xFE) + mark(0xFF), 5},
        {"lead byte before a separator", bytes({0x93, ','}), mark(0x93) + ",", 1},
        {"lead byte at the end", yama + bytes({0x91}), "山" + mark(0x91), 1},
        {"undefined code, ASCII second byte", bytes({0x85, 0x40, 'x'}), mark(0x85) + "@x", 1},
        {"undefined code, high second byte", bytes({0x85, 0x93, 0x5C}), mark(0x85) + mark(0x93) + "\\", 2},
        {"NUL stays", bytes({'a', 0, 'b'}), std::string("a\0b", 3), 0},
        {"ordinary text", yama + "12", "山12", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ByteMarkWatch watch;
        const std::string text = fromCp932(c.bytes);
        EXPECT_EQ(text, c.utf8);
        EXPECT_EQ(watch.count(), c.marks);
        EXPECT_EQ(toCp932(text), c.bytes);
        // A field read and written back unchanged keeps its bytes.
        EXPECT_EQ(toField(fromField(c.bytes), c.bytes.size()), c.bytes);
        EXPECT_EQ(cp932Width(text), c.bytes.size());
    }

    // A watch counts only what is read while it lives; nested watches each count.
    ByteMarkWatch outer;
    fromCp932(bytes({0x80}));
    {
        ByteMarkWatch inner;
        fromField(bytes({'x', 0x93}));
        EXPECT_EQ(inner.count(), 1u);
    }
    fromCp932("plain");
    EXPECT_EQ(outer.count(), 2u);
    EXPECT_TRUE(outer.any());
}

TEST(Cp932, EveryByteSequenceReadsAndWritesBack)
{
    // Each single byte and byte pair is written back as it was read, except a character with
    // two codes (the NEC and IBM extensions hold some twice), which is written with the one code
    // page 932 prefers: the same character, never a mark or "?".
    int twoCoded = 0;
    for (int a = 0; a < 256; ++a) {
        const std::string one = bytes({a});
        EXPECT_EQ(toCp932(fromCp932(one)), one) << a;
        for (int b = 0; b < 256; ++b) {
            const std::string two = bytes({a, b});
            const std::string text = fromCp932(two);
            const std::string back = toCp932(text);
            if (back == two)
                continue;
            ++twoCoded;
            EXPECT_EQ(fromCp932(back), text) << a << ' ' << b;
            EXPECT_EQ(charCount(text), 1u) << a << ' ' << b;
            EXPECT_EQ(back.size(), 2u) << a << ' ' << b;
        }
    }
    EXPECT_GT(twoCoded, 0);
    EXPECT_LT(twoCoded, 800);

    // Ordinary characters never turn into marks: whatever code page 932 writes for a
    // character reads back without one.
    for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
        if ((cp >= 0xD800 && cp <= 0xDFFF) || isByteMark(cp))
            continue;
        ByteMarkWatch watch;
        fromCp932(toCp932(utf8Of(cp)));
        EXPECT_FALSE(watch.any()) << std::hex << static_cast<unsigned>(cp);
    }
}

TEST(Cp932, FieldCutsKeepWholeCharactersAndMarks)
{
    // A mark is one byte wide: it fills the last byte of a field, where a kanji would not fit.
    const std::string cut = mark(0x93) + "山" + mark(0x81);
    EXPECT_EQ(cp932Width(cut), 4u);
    EXPECT_EQ(toField(cut, 4), bytes({0x93}) + toCp932("山") + bytes({0x81}));
    EXPECT_EQ(toField(cut, 3), bytes({0x93}) + toCp932("山"));
    EXPECT_EQ(toField(cut, 2), bytes({0x93, ' '}));
    EXPECT_EQ(cutToWidth(cut, 2), mark(0x93));

    // Text after a NUL is dropped only when asked for.
    const std::string withNul = toCp932("ABC") + bytes({0, 'x', 'y', ' '});
    EXPECT_EQ(fromField(withNul, true), "ABC");
    EXPECT_EQ(fromField(withNul), std::string("ABC\0xy ", 7));
    EXPECT_EQ(fromField(toCp932("山") + bytes({0x93, 0, 'x'}), true), "山" + mark(0x93));
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

TEST(ListOrder, CodesSortNumericallyLettersWithoutCaseEqualKeysKeepTheirOrder)
{
    struct Case {
        const char *a, *b;
        int sign;
    } const cases[] = {
        {"05 ABC", "12 ABC", -1},   {"0003 X", "0010 A", -1}, {"05 abc", "05 ABD", -1},
        {"05 ABC", "05 abc", -1},   {"05", "05 ", -1},        {" 5", "05", -1},
        {"99 Z", "-0 A", 1},        {"亜", "ｱ", -1},            {"A", "ｱ", -1},
        {"05 同じ", "05 同じ", 0},
    };
    for (const Case &c : cases) {
        const int got = compareListText(c.a, c.b);
        EXPECT_EQ((got > 0) - (got < 0), c.sign) << c.a << " / " << c.b;
        EXPECT_EQ(-((got > 0) - (got < 0)), (compareListText(c.b, c.a) > 0) - (compareListText(c.b, c.a) < 0));
    }
    // Equal keys come back in the order given: records of equal code in their file order.
    EXPECT_EQ(sortedOrder({"07", "03", "07", "01", "03"}), (std::vector<int>{3, 1, 4, 0, 2}));
    EXPECT_TRUE(sortedOrder({}).empty());
}
