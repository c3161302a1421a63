#include "platform/text/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

using namespace qd::text;

TEST(Numbers, ValReadsTheNumberAtTheStart)
{
    struct Case {
        const char *text;
        double value;
    };
    const Case cases[] = {
        {"", 0},        {"   ", 0},       {"abc", 0},        {"12", 12},      {"  3", 3},
        {"1,234", 1},   {"12abc", 12},    {"-7", -7},        {"+7", 7},       {" -1.5 ", -1.5},
        {".5", 0.5},    {"5.", 5},        {"-", 0},          {".", 0},        {"1e3", 1000},
        {"2.5E-1", 0.25}, {"1e", 1},      {"1e+", 1},        {"3x4", 3},      {"007", 7},
        {"1 2", 1},     {"- 1", 0},       {"1.2.3", 1.2},    {"\t9", 9},      {"１２", 0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(val(c.text), c.value) << '"' << c.text << '"';

    // Out of range never throws and never gives infinity.
    EXPECT_EQ(val("1e999999"), std::numeric_limits<double>::max());
    EXPECT_EQ(val("-1e400"), -std::numeric_limits<double>::max());
    EXPECT_EQ(val("1e-999"), 0.0);
}

TEST(Numbers, ValFixedIsExact)
{
    struct Case {
        const char *text;
        std::int64_t raw;
    };
    const Case cases[] = {
        {"32.3", 323000},     {"0.1", 1000},      {"  8", 80000},     {"-2.5", -25000},
        {"1.23455", 12346},   {"1.23454", 12345}, {"-1.23455", -12346}, {"abc", 0},
        {"1,5", 10000},       {"12.5e2", 12500000}, {"0.00004", 0},   {"0.00005", 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(valFixed(c.text).raw(), c.raw) << c.text;
    EXPECT_EQ(valFixed("99999999999999999999").raw(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(valFixed("-1e30").raw(), std::numeric_limits<std::int64_t>::min());
}

// A typed rate is rounded once from its text: never to four places first and then again.
TEST(Numbers, ValFixedRoundedRoundsOnceFromTheText)
{
    struct Case {
        const char *text;
        int decimals;
        std::int64_t raw;
    };
    const Case cases[] = {
        {"12.34499", 2, 123400},  {"10.004999", 2, 100000}, {"12.345", 2, 123500},   {"-12.345", 2, -123500},
        {" 72.5 ", 2, 725000},    {"abc", 2, 0},            {"0.004", 2, 0},         {"99.995", 2, 1000000},
        {"1.23455", 4, 12346},    {"2.5", 0, 30000},        {"12.34499x", 2, 123400},
    };
    for (const auto &c : cases)
        EXPECT_EQ(valFixedRounded(c.text, c.decimals).raw(), c.raw) << c.text << " to " << c.decimals;
    // Reading to four places first is what gave the wrong figure.
    EXPECT_EQ(valFixed("12.34499").rounded(2).raw(), 123500);
    EXPECT_EQ(valFixedRounded("99999999999999999999", 2).raw(), std::numeric_limits<std::int64_t>::max());
}

TEST(Numbers, RowPricingReadingSkipsBlanksAnywhere)
{
    struct Case {
        const char *text;
        std::int64_t raw;
    };
    const Case cases[] = {
        {"1 800", 18000000}, {" 1 2 3 ", 1230000}, {"- 5", -50000},    {"12. 5", 125000},
        {"\t1\t0", 100000},  {"1 e 3", 10000000},  {"1 ,234", 10000},  {"a 1", 0},
        {"", 0},             {"   ", 0},          {"3 x 4", 30000},   {"0.000 05", 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(valFixedSkippingBlanks(c.text).raw(), c.raw) << '"' << c.text << '"';
    // The other reading stops at the first blank after the number.
    EXPECT_EQ(valFixed("1 800").raw(), 10000);
}

TEST(Numbers, NumberTextTakesOnlyAWholeNumber)
{
    const std::pair<const char *, double> numbers[] = {
        {"12", 12}, {" 85 ", 85}, {"12.5", 12.5}, {"-3", -3}, {"+.5", 0.5}, {"5.", 5}, {"1e3", 1000}};
    for (const auto &[text, value] : numbers) {
        ASSERT_TRUE(numberText(text)) << text;
        EXPECT_DOUBLE_EQ(*numberText(text), value) << text;
    }
    for (const char *text : {"", "  ", "abc", "12a", "1,2", ".", "-", "1e", "1e+", "1 2", "１２"})
        EXPECT_FALSE(numberText(text)) << '"' << text << '"';
    EXPECT_EQ(numberTextFixed("12.5")->raw(), 125000);
    EXPECT_EQ(numberTextFixed("99999999999999999999")->raw(), std::numeric_limits<std::int64_t>::max());
    EXPECT_FALSE(numberTextFixed("12.5%"));
}

TEST(Numbers, Fixed4Arithmetic)
{
    // 32.3 % of 1000 yen is 323 yen exactly (in double precision it is 322.99999...).
    const Fixed4 rate = valFixed("32.3");
    const Fixed4 price = Fixed4::fromInt(1000);
    EXPECT_EQ((price * rate / Fixed4::fromInt(100)).fix(), 323);
    EXPECT_EQ(Fixed4::fromDouble(0.323).raw(), 3230);
    EXPECT_EQ(Fixed4::fromDouble(1.00005).raw(), 10001); // on its decimal value
    EXPECT_EQ(Fixed4::fromDouble(-1.00005).raw(), -10001);

    EXPECT_EQ((valFixed("1.0001") * valFixed("0.5")).raw(), 5001);   // 0.50005 -> 0.5001
    EXPECT_EQ((valFixed("-1.0001") * valFixed("0.5")).raw(), -5001);
    EXPECT_EQ((Fixed4::fromInt(2) / Fixed4::fromInt(3)).raw(), 6667);
    EXPECT_EQ((Fixed4::fromInt(-2) / Fixed4::fromInt(3)).raw(), -6667);
    EXPECT_THROW(Fixed4::fromInt(1) / Fixed4{}, std::domain_error);

    struct Case {
        const char *text;
        std::int64_t fix, floor, even;
    };
    const Case cases[] = {
        {"2.5", 2, 2, 2},   {"3.5", 3, 3, 4},    {"-2.5", -2, -3, -2}, {"-3.5", -3, -4, -4},
        {"2.4999", 2, 2, 2}, {"-0.0001", 0, -1, 0}, {"7", 7, 7, 7},     {"-7.6", -7, -8, -8},
    };
    for (const auto &c : cases) {
        const Fixed4 v = valFixed(c.text);
        EXPECT_EQ(v.fix(), c.fix) << c.text;
        EXPECT_EQ(v.floor(), c.floor) << c.text;
        EXPECT_EQ(v.roundHalfEven(), c.even) << c.text;
    }
    // The lowest value the fixed point holds rounds without overflowing.
    const Fixed4 lowest = Fixed4::fromRaw(std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(lowest.roundHalfEven(), -922337203685478); // -922337203685477.5808
    EXPECT_EQ(valFixed("2.345").rounded(2).raw(), 23500);
    EXPECT_EQ(valFixed("-2.345").rounded(2).raw(), -23500);
    EXPECT_EQ(valFixed("2.5").rounded(0).raw(), 30000);
    EXPECT_EQ(valFixed("1.2345").rounded(4).raw(), 12345);
}

TEST(Numbers, FormatPatterns)
{
    struct Case {
        double value;
        const char *pattern;
        const char *text;
    };
    const Case cases[] = {
        {0, "#########", ""},        {0, "##,###,###", ""},       {0, "###,###,###", ""},
        {0, "##0.00", "0.00"},       {0, "##0", "0"},             {0, "##0.0", "0.0"},
        {1234567, "#,###,###", "1,234,567"}, {1234567, "###,###,###", "1,234,567"},
        {999, "#,###,##0", "999"},   {1000, "#,###,##0", "1,000"}, {-1234, "#,##0", "-1,234"},
        {0.5, "##0", "1"},           {1.5, "##0", "2"},           {2.5, "##0", "3"},
        {-0.5, "##0", "-1"},         {-0.4, "##0", "0"},          {0.4, "###", ""},
        {6500, "####0.00", "6500.00"}, {1.5, "###0.0", "1.5"},    {8.25, "##0.00", "8.25"},
        {10, "##0.00", "10.00"},     {2.675, "0.00", "2.68"},     {1.005, "0.00", "1.01"},
        {7, "00", "07"},             {7, "0000", "0007"},         {1234, "0000000", "0001234"},
        {1, "00#", "001"},           {12345, "##0", "12345"},     {123, "00", "123"},
        {3, "#0", "3"},              {0, "#0", "0"},              {12.5, "00000", "00013"},
        {1.25, "0.0#", "1.25"},      {1.2, "0.0#", "1.2"},        {5, "#.##", "5"},
        {0.5, "#.##", ".5"},         {0.05, "000.0000", "000.0500"},
        {1500, "\xC2\xA5#,##0", "\xC2\xA5" "1,500"},              {12, "#0円", "12円"},
        {1e15, "#,###", "1,000,000,000,000,000"},                 {1e15, "0", "1000000000000000"},
        {1e20, "0", "100000000000000000000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(format(c.value, c.pattern), c.text) << c.value << " as " << c.pattern;

    EXPECT_EQ(format(-1e300, "0.0"), "-1" + std::string(300, '0') + ".0");

    // Integers and fixed point go the same way, without passing through a double.
    EXPECT_EQ(format(0, "#########"), "");
    EXPECT_EQ(format(7, "00"), "07");
    EXPECT_EQ(format(std::int64_t{1234567}, "#,###,###"), "1,234,567");
    EXPECT_EQ(format(std::numeric_limits<std::int64_t>::min(), "#,##0"), "-9,223,372,036,854,775,808");
    EXPECT_EQ(format(short{5}, "00"), "05");
    EXPECT_EQ(format(valFixed("8.005"), "##0.00"), "8.01");
    EXPECT_EQ(format(valFixed("-8.005"), "##0.00"), "-8.01");
    EXPECT_EQ(format(valFixed("0"), "##0.00"), "0.00");
    EXPECT_EQ(format(valFixed("1234.5"), "#,###,##0"), "1,235");
    EXPECT_EQ(format(std::nan(""), "##0"), "0");
    EXPECT_EQ(format(std::numeric_limits<double>::infinity(), "0").size(), 309u);
}

TEST(Numbers, GeneralNumberToText)
{
    EXPECT_EQ(str(1000), " 1000");
    EXPECT_EQ(str(-3), "-3");
    EXPECT_EQ(str(0), " 0");
    EXPECT_EQ(str(valFixed("8.5")), " 8.5");
    EXPECT_EQ(str(valFixed("850")), " 850");
    EXPECT_EQ(str(valFixed("-0.25")), "-.25");
    EXPECT_EQ(str(valFixed("0.5")), " .5");
    EXPECT_EQ(str(Fixed4{}), " 0");

    struct Case {
        double value;
        const char *text;
    };
    const Case cases[] = {
        {1000, " 1000"},   {8.5, " 8.5"},  {-3, "-3"},          {0, " 0"},
        {0.1 + 0.2, " .3"}, {0.0001, " .0001"}, {0.00001, " 1E-05"}, {-1.5e-7, "-1.5E-07"},
        {1e15, " 1E+15"},  {999999999999999, " 999999999999999"}, {1.0 / 3, " .333333333333333"},
        {123456789012345678.0, " 1.23456789012346E+17"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(str(c.value), c.text) << c.value;
}

TEST(Numbers, RoundingToWholeNumbers)
{
    struct Case {
        double v;
        std::int64_t even, fix, floor;
    };
    const Case cases[] = {
        {0.5, 0, 0, 0},   {1.5, 2, 1, 1},   {2.5, 2, 2, 2},    {-0.5, 0, 0, -1},
        {-1.5, -2, -1, -2}, {-2.5, -2, -2, -3}, {2.6, 3, 2, 2},  {-2.6, -3, -2, -3},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(roundHalfEven(c.v), c.even) << c.v;
        EXPECT_EQ(fix(c.v), c.fix) << c.v;
        EXPECT_EQ(intFloor(c.v), c.floor) << c.v;
    }
    // Out of range and NaN saturate instead of reaching undefined behaviour.
    EXPECT_EQ(roundHalfEven(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(fix(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(intFloor(std::nan("")), 0);

    EXPECT_DOUBLE_EQ(roundHalfAway(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(roundHalfAway(-2.675, 2), -2.68);
    EXPECT_DOUBLE_EQ(roundHalfAway(1.005, 2), 1.01);
    EXPECT_DOUBLE_EQ(roundHalfAway(2.5, 0), 3.0);
    EXPECT_DOUBLE_EQ(roundHalfAway(1234.5, -1), 1230.0);
    EXPECT_DOUBLE_EQ(roundHalfAway(0.004, 2), 0.0);
    EXPECT_DOUBLE_EQ(roundHalfAway(1e300, 2), 1e300);
}
