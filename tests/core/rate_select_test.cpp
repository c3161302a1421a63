#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/core/rate_select.h"
#include "records/layouts.h"
#include "tests/support/temp_install.h"

namespace qd::core {
namespace {

using text::Fixed4;
namespace rec = qd::records;

// Rate slots of a kind record for one rank: sales and purchase, as stored ("06500" = 65 %).
struct Pair {
    const char *uri, *siire;
};

struct Case {
    const char *name;
    std::optional<const char *> header; // nullopt: the document has no header record
    std::optional<const char *> own;    // nullopt: no own-company record
    int rank;                           // the rank whose slots are filled below
    Pair kind2, kind1;
    // Expected outputs; nullptr: left as it was.
    const char *rate, *costRate, *kind;
};

class RateSelectTest : public ::testing::Test {
protected:
    QdState g;

    void arrange(const Case &c)
    {
        g.HEAD_REC.setText(rec::DocHeader::KAKERITU, c.header.value_or("72.50")); // stale text without a record
        g.HEAD_CTL.recordCount = c.header ? 1 : 0;
        g.SYSF_REC.setText(rec::OwnCompany::KAKERITU, c.own.value_or("55"));
        g.SYSF_CTL.recordCount = c.own ? 1 : 0;
        for (int k = 1; k <= 10; ++k) {
            g.HISYU2_REC.setText(rec::Kind2::uriRate(k), "00000");
            g.HISYU2_REC.setText(rec::Kind2::siireRate(k), "00000");
            g.HISYU1_REC.setText(rec::Kind1::uriRate(k), "00000");
            g.HISYU1_REC.setText(rec::Kind1::siireRate(k), "00000");
        }
        g.HISYU2_REC.setText(rec::Kind2::uriRate(c.rank), c.kind2.uri);
        g.HISYU2_REC.setText(rec::Kind2::siireRate(c.rank), c.kind2.siire);
        g.HISYU1_REC.setText(rec::Kind1::uriRate(c.rank), c.kind1.uri);
        g.HISYU1_REC.setText(rec::Kind1::siireRate(c.rank), c.kind1.siire);
        // Values of an earlier product, to see what is left alone.
        g.RATE_VALUE = Fixed4::fromInt(42);
        g.LINE_WORK.GENKA_RITU = "prev  ";
        g.LINE_WORK.RITU_KBN = "prev  ";
    }
};

TEST_F(RateSelectTest, ResolvesRatesByTheTable)
{
    const Pair p3{"06500", "04500"}, none{"00000", "00000"};
    const std::vector<Case> cases = {
        {"header rank 3", "3.00", "", 3, p3, none, "65", "45.00", "3.00"},
        {"own rank 3 under header 0", "0.00", "3", 3, p3, none, "65", "45.00", "3"},
        {"header percentage", "72.50", "3", 3, p3, none, "72.5", "72.50", "0"},
        {"neither field", "0.00", "", 3, p3, none, "100", "100", "0"},
        {"kind-1 record where kind-2 holds 0", "3.00", "", 3, none, {"07000", "05000"}, "70", "50.00", "3.00"},
        {"sales from kind 2, cost from kind 1", "3.00", "", 3, {"06500", "00000"}, {"07000", "05000"}, "65", "50.00",
         "3.00"},
        {"header 10.00 is rank 10", "10.00", "", 10, {"08000", "06000"}, none, "80", "60.00", "10.00"},
        {"header 10.01 is a percentage", "10.01", "", 10, {"08000", "06000"}, none, "10.01", "10.01", "0"},
        {"header below 1: own rank", "0.50", "4", 4, {"05800", "04800"}, none, "58", "48.00", "4"},
        {"header below 1, own blank: unchanged", "0.50", "", 3, p3, none, nullptr, nullptr, nullptr},
        {"own percentage keeps four decimals", "0.00", "55.555", 3, p3, none, "55.555", "55.555", "0"},
        {"header percentage to two decimals", "55.555", "", 3, p3, none, "55.56", "55.555", "0"},
        // Rounded once, from the field as it stands: not to four decimals first.
        {"header 12.34499 rounds once", "12.34499", "", 3, p3, none, "12.34", "12.344", "0"},
        {"header 10.004999 rounds once", "10.004999", "", 3, p3, none, "10.00", "10.004", "0"},
        {"own field with leading blanks", "0.00", "  3", 3, p3, none, "65", "45.00", "3"},
        {"no purchase rate for the rank", "2.00", "", 2, {"06000", "00000"}, none, "60", "100", "0"},
        {"no sales rate for the rank", "2.00", "", 2, {"00000", "04000"}, none, "100", "40.00", "2.00"},
        {"rank 1.5 names no pair", "1.50", "", 1, p3, none, nullptr, nullptr, "1.50"},
        {"no records at all", std::nullopt, std::nullopt, 3, p3, none, "100", "100", "0"},
        // A slot of blanks or letters reads as 0 and falls through to the next source.
        {"blank kind-2 slots", "3.00", "", 3, {"     ", "     "}, {"07000", "05000"}, "70", "50.00", "3.00"},
        {"letters in every slot", "3.00", "", 3, {"ab", "x"}, {"--", "  "}, "100", "100", "0"},
        // Without a header record the header buffer is stale: the own-company rate decides.
        {"no header record, own rank", std::nullopt, "3", 3, p3, none, "65", "45.00", "3"},
        {"no header record, own blank", std::nullopt, "", 3, p3, none, "100", "100", "0"},
        {"no own record under header 0", "0.00", std::nullopt, 3, p3, none, "100", "100", "0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        arrange(c);
        RATE_SELECT(g);
        EXPECT_EQ(g.RATE_VALUE, c.rate ? text::valFixed(c.rate) : Fixed4::fromInt(42));
        EXPECT_EQ(text::trim(g.LINE_WORK.GENKA_RITU), c.costRate ? c.costRate : "prev");
        EXPECT_EQ(text::trim(g.LINE_WORK.RITU_KBN), c.kind ? c.kind : "prev");
    }
}

TEST_F(RateSelectTest, WritesDefaultsAndStoredTextsAsTheyStand)
{
    // Defaults are numbers as text with the leading blank of a non-negative number.
    arrange({"neither", "0.00", "", 3, {"06500", "04500"}, {"00000", "00000"}, nullptr, nullptr, nullptr});
    RATE_SELECT(g);
    EXPECT_EQ(g.LINE_WORK.GENKA_RITU, " 100  ");
    EXPECT_EQ(g.LINE_WORK.RITU_KBN, " 0    ");

    // A percentage gives the cost rate the first six characters of the field as stored.
    arrange({"own", "0.00", "  72.5", 3, {"06500", "04500"}, {"00000", "00000"}, nullptr, nullptr, nullptr});
    RATE_SELECT(g);
    EXPECT_EQ(g.LINE_WORK.GENKA_RITU, "  72.5");
    EXPECT_EQ(g.RATE_VALUE, text::valFixed("72.5"));
}

TEST(RateSelectDemo, TakesTheOwnCompanyRankFromTheDemoKinds)
{
    qd::testing::TempInstall inst;
    QdState g;
    g.INST_DIR = inst.dir();
    g.MAJOR_NO = 1;
    rec::HISYU2_OPEN(g);
    g.HISYU2_CTL.get(1, g.HISYU2_REC);
    g.HISYU2_CTL.close();
    rec::HISYU1_OPEN(g);
    g.HISYU1_CTL.get(1, g.HISYU1_REC);
    g.HISYU1_CTL.close();
    rec::SYSF_OPEN(g);
    g.SYSF_CTL.get(1, g.SYSF_REC);
    g.SYSF_CTL.close();
    g.HEAD_CTL.recordCount = 0; // a new document without a header record

    RATE_SELECT(g);
    // The own-company field holds rank 3; the first kind-2 record's pair 3 is 06700 / 05550.
    EXPECT_EQ(g.RATE_VALUE, Fixed4::fromInt(67));
    EXPECT_EQ(text::trim(g.LINE_WORK.GENKA_RITU), "55.50");
    EXPECT_EQ(text::trim(g.LINE_WORK.RITU_KBN), "3");
}

} // namespace
} // namespace qd::core
