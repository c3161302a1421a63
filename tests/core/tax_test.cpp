#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "platform/files/fault_plan.h"
#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/group_rows.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/core/tax_settings.h"
#include "quotedesk/core/tax_totals.h"
#include "tests/core/pricing_fakes.h"
#include "tests/support/temp_install.h"

namespace qd::core {
namespace {

using text::Fixed4;
using pricing_test::RecordingUi;

Fixed4 fx(const char *s) { return text::valFixed(s); }

TEST(TaxRound, RoundsByUnitAndMode)
{
    struct C { const char *v; int unit, mode; const char *want; };
    const C cases[] = {
        // Unit 1: up adds 0.9, so a tax of 100.05 rounds up to 100 but 100.1 to 101.
        {"100.1", 1, 1, "101"},  {"100.05", 1, 1, "100"}, {"100", 1, 1, "100"},
        {"100.9", 1, 2, "100"},  {"100.5", 1, 3, "101"},  {"100.49", 1, 3, "100"},
        {"-100.5", 1, 1, "-100"}, {"-100.5", 1, 2, "-100"}, {"100.5", 1, 0, "100.5"},
        // Unit 10: 9 for up, 5 for half, then down to the ten.
        {"100.5", 10, 1, "100"}, {"101", 10, 1, "110"},   {"109.9", 10, 2, "100"},
        {"104.9", 10, 3, "100"}, {"105", 10, 3, "110"},   {"105.5", 10, 0, "100"},
        // Unit 100: 90 and 50.
        {"1010", 100, 1, "1100"}, {"1009.9", 100, 1, "1000"}, {"1999", 100, 2, "1900"},
        {"1049.9", 100, 3, "1000"}, {"1050", 100, 3, "1100"},
        // Any other unit leaves the tax unrounded.
        {"100.1234", 0, 1, "100.1234"}, {"100.5", 5, 3, "100.5"}, {"100.5", 1000, 2, "100.5"},
    };
    for (const C &c : cases) {
        SCOPED_TRACE(std::string(c.v) + " unit " + std::to_string(c.unit) + " mode " + std::to_string(c.mode));
        EXPECT_EQ(taxRound(fx(c.v), static_cast<std::int16_t>(c.unit), static_cast<std::int16_t>(c.mode)), fx(c.want));
    }

    // TAX_ROUND works on TAX_WORK with the unit and mode of TAX_REC.
    QdState g;
    g.TAX_REC.HASU_TANI = 1;
    g.TAX_REC.HASU_MODE = 1;
    g.TAX_WORK = 100.1;
    TAX_ROUND(g);
    EXPECT_EQ(g.TAX_WORK, 101.0);
}

TEST(TaxSettingsFile, EncodesSixtyFourBytes)
{
    TaxSettings s;
    s.ZEI_RITU = Fixed4::fromInt(8);
    s.HASU_TANI = 10;
    s.HASU_MODE = 3;
    s.ZEI_KBN = 0;
    const std::string b = encodeTaxSettings(s);
    ASSERT_EQ(b.size(), 64u);
    EXPECT_EQ(b.substr(0, 14), std::string("\x80\x38\x01\x00\x00\x00\x00\x00\x0A\x00\x03\x00\x00\x00", 14));
    EXPECT_EQ(b.substr(14, 48), std::string(48, ' '));
    EXPECT_EQ(b.substr(62), "\n\r");

    const TaxSettings back = decodeTaxSettings(b);
    EXPECT_EQ(back.ZEI_RITU, s.ZEI_RITU);
    EXPECT_EQ(back.HASU_TANI, 10);
    EXPECT_EQ(back.HASU_MODE, 3);
    EXPECT_EQ(back.ZEI_KBN, 0);

    // Negative values and a short record read without harm.
    s.ZEI_RITU = Fixed4::fromRaw(-12345);
    s.HASU_TANI = -1;
    EXPECT_EQ(decodeTaxSettings(encodeTaxSettings(s)).ZEI_RITU.raw(), -12345);
    EXPECT_EQ(decodeTaxSettings(encodeTaxSettings(s)).HASU_TANI, -1);
    EXPECT_EQ(decodeTaxSettings(b.substr(0, 10)).HASU_TANI, 10);
}

TEST(TaxSettingsFile, ReadsAndWritesTheInstallFile)
{
    qd::testing::TempInstall inst;
    QdState g;
    g.INST_DIR = inst.dir();
    ASSERT_TRUE(readTaxSettings(g));
    EXPECT_EQ(g.TAX_REC.ZEI_RITU, Fixed4::fromInt(10));
    EXPECT_EQ(g.TAX_REC.HASU_TANI, 1);
    EXPECT_EQ(g.TAX_REC.HASU_MODE, 2);
    EXPECT_EQ(g.TAX_REC.ZEI_KBN, 1);
    EXPECT_FALSE(g.SYOHIZEI_CTL.file.isOpen());

    g.TAX_REC.ZEI_RITU = fx("8.5");
    g.TAX_REC.HASU_TANI = 100;
    g.TAX_REC.HASU_MODE = 3;
    g.TAX_REC.ZEI_KBN = 0;
    writeTaxSettings(g);
    const std::string bytes = qd::testing::readBytes(inst.data() / "syohizei_calc.fil");
    EXPECT_EQ(bytes, encodeTaxSettings(g.TAX_REC));

    QdState h;
    h.INST_DIR = inst.dir();
    ASSERT_TRUE(readTaxSettings(h));
    EXPECT_EQ(h.TAX_REC.ZEI_RITU, fx("8.5"));
    EXPECT_EQ(h.TAX_REC.HASU_TANI, 100);
    EXPECT_EQ(h.TAX_REC.ZEI_KBN, 0);
}

TEST(TaxSettingsFile, MissingRecordAndNewFile)
{
    qd::testing::TempInstall inst(qd::testing::TempInstall::Content::Empty);
    std::filesystem::create_directories(inst.data());
    QdState g;
    g.INST_DIR = inst.dir();
    g.TAX_REC.HASU_TANI = 7;
    EXPECT_FALSE(readTaxSettings(g)); // the opener creates the file empty
    EXPECT_EQ(g.TAX_REC.HASU_TANI, 7);

    g.TAX_REC.ZEI_RITU = Fixed4::fromInt(10);
    writeTaxSettings(g);
    EXPECT_EQ(qd::testing::readBytes(inst.data() / "syohizei_calc.fil").size(), 64u);
    EXPECT_TRUE(readTaxSettings(g));

    // A failed rewrite leaves the old settings in place.
    const std::string before = qd::testing::readBytes(inst.data() / "syohizei_calc.fil");
    g.TAX_REC.ZEI_RITU = Fixed4::fromInt(99);
    {
        qd::files::ScopedFault fault(qd::files::FileStep::Rename, 1);
        EXPECT_THROW(writeTaxSettings(g), qd::files::FileError);
    }
    EXPECT_EQ(qd::testing::readBytes(inst.data() / "syohizei_calc.fil"), before);
}

// A sheet with rows of (item name, amount, tax rate) and the totals it gives.
class TaxTotalsTest : public ::testing::Test {
protected:
    RecordingUi ui;
    QdState g;
    void SetUp() override
    {
        g.ui = &ui;
        pricing_test::makeSheet(g);
        g.SUM_ROW_LIMIT = 500;
        g.TAX_RATE = Fixed4::fromInt(10);
        settings(1, 2, 1);
        g.ROW_NO = 1;
        g.COL_NO = 2;
    }
    void settings(int unit, int mode, int taxMode)
    {
        g.TAX_REC.HASU_TANI = static_cast<std::int16_t>(unit);
        g.TAX_REC.HASU_MODE = static_cast<std::int16_t>(mode);
        g.TAX_MODE = static_cast<std::int16_t>(taxMode);
    }
    void row(int r, const std::string &name, const std::string &amount, const std::string &rate)
    {
        g.curGrid().setCell(r, 2, name);
        g.curGrid().setCell(r, 15, amount);
        g.curGrid().setCell(r, 23, rate);
    }
    const std::vector<std::string> &combo(const char *n) { return ui.combos[n]; }
};

TEST_F(TaxTotalsTest, SlotsInOrderOfFirstAppearance)
{
    row(1, "サッシ", "1,000", "10.00");
    row(2, "ガラス", "\\500", "8.00");
    row(3, "網戸", "250", "10");
    TAX_TOTAL_CALC(g);
    EXPECT_EQ(combo("Combo5"), (std::vector<std::string>{"10.00 01", "08.00 02"}));
    EXPECT_EQ(combo("Combo4"), (std::vector<std::string>{"【税率】10.00:【対象額】1,250:【消費税額】125",
                                                         "【税率】08.00:【対象額】500:【消費税額】40"}));
    EXPECT_EQ(g.TAX_TBL_RATE[1], Fixed4::fromInt(10));
    EXPECT_EQ(g.TAX_TBL_BASE[2], Fixed4::fromInt(500));
    EXPECT_EQ(g.DOC_AMOUNT_TOTAL, 1750);
    EXPECT_EQ(g.DOC_TAX_TOTAL, 165);
    EXPECT_EQ(g.DOC_GROSS_TOTAL, 1915);
    EXPECT_EQ(ui.texts["Label11"], "消費税額(外税)");
    EXPECT_EQ(ui.texts["Text4"], "1,750");
    EXPECT_EQ(ui.texts["Text5"], "");
    EXPECT_EQ(ui.texts["Text6"], "165");
    EXPECT_EQ(ui.texts["Text7"], "1,915");
    EXPECT_EQ(ui.pointers, (std::vector<int>{11, 0}));
}

TEST_F(TaxTotalsTest, RoundsEachSlotByTheSettings)
{
    struct C { const char *amount; int unit, mode, taxMode; std::int32_t tax; };
    const C cases[] = {
        {"1,001", 1, 1, 1, 101}, {"1,001", 1, 2, 1, 100}, {"1,001", 1, 3, 1, 100},
        {"1,100", 1, 1, 0, 100}, {"1,100", 1, 2, 0, 100}, {"1,100", 1, 3, 0, 100},
        {"1,000", 1, 1, 0, 91},  {"1,000", 1, 2, 0, 90},  {"1,000", 1, 3, 0, 91}, // 90.909...
        {"1,005", 10, 1, 1, 100}, {"1,010", 10, 1, 1, 110}, {"1,049", 10, 3, 1, 100}, {"1,050", 10, 3, 1, 110},
        {"10,099", 100, 1, 1, 1000}, {"10,100", 100, 1, 1, 1100}, {"15,000", 100, 3, 1, 1500},
        {"1,001", 0, 1, 1, 100}, // unrounded 100.1, the total rounds it
    };
    for (const C &c : cases) {
        SCOPED_TRACE(std::string(c.amount) + " unit " + std::to_string(c.unit) + " mode " + std::to_string(c.mode) +
                     (c.taxMode ? " added" : " included"));
        settings(c.unit, c.mode, c.taxMode);
        row(1, "品", c.amount, "10.00");
        TAX_TOTAL_CALC(g);
        EXPECT_EQ(g.DOC_TAX_TOTAL, c.tax);
        const std::int32_t amount = static_cast<std::int32_t>(text::val(text::removeChars(c.amount, ",")));
        EXPECT_EQ(g.DOC_GROSS_TOTAL, amount + c.tax);
        EXPECT_EQ(ui.texts["Label11"], c.taxMode ? "消費税額(外税)" : "消費税額(内税)");
        EXPECT_EQ(ui.texts["Text7"], text::format(c.taxMode ? amount + c.tax : amount, "###,###,###"));
    }
    EXPECT_EQ(g.TAX_TBL_TAX[1], fx("100.1"));
}

TEST_F(TaxTotalsTest, GroupRowsAreShadedAndNotTotalled)
{
    row(1, "【x】サッシ", "1,000", "10.00");
    row(2, "  【x】ガラス", "2,000", "8.00");
    row(3, "セット品", "3,000", "10.00");
    row(4, "網戸【x】", "400", "10.00"); // a mark anywhere in the name counts here
    TAX_TOTAL_CALC(g);
    EXPECT_EQ(g.DOC_AMOUNT_TOTAL, 3000);
    EXPECT_EQ(combo("Combo5"), (std::vector<std::string>{"10.00 01"}));
    for (int r : {1, 2, 4})
        for (int c = 1; c <= 21; ++c)
            EXPECT_EQ(g.curGrid().foreColor(r, c), GROUP_SHADE_COLOR) << r << "," << c;
    EXPECT_EQ(g.curGrid().foreColor(1, 22), qd::grid::DefaultColor);
    EXPECT_EQ(g.curGrid().foreColor(3, 2), qd::grid::DefaultColor);
    EXPECT_EQ(g.curGrid().backColor(1, 2), qd::grid::DefaultColor);
    EXPECT_EQ(g.curGrid().row(), 1);
    EXPECT_EQ(g.curGrid().col(), 2);

    // The breakdown gives the same totals but leaves the colours alone.
    QdState h;
    RecordingUi ui2;
    h.ui = &ui2;
    pricing_test::makeSheet(h, 10);
    h.TAX_RATE = Fixed4::fromInt(10);
    h.curGrid().setCell(1, 2, "【x】サッシ");
    h.curGrid().setCell(1, 15, "1,000");
    h.curGrid().setCell(2, 15, "500");
    TAX_BREAKDOWN(h);
    EXPECT_EQ(h.DOC_AMOUNT_TOTAL, 500);
    EXPECT_EQ(h.curGrid().foreColor(1, 2), qd::grid::DefaultColor);
    EXPECT_TRUE(ui2.pointers.empty());
    EXPECT_EQ(h.curGrid().row(), 2); // the last cell the scan read
    EXPECT_EQ(h.curGrid().col(), 23);
}

TEST_F(TaxTotalsTest, RowsWithoutRateAreTaxedAtTheCommonRate)
{
    row(1, "サッシ", "1,000", "");
    row(2, "ガラス", "2,000", "8.00");
    row(3, "網戸", "500", "0");
    row(5, "額縁", "300", "10.00");
    TAX_TOTAL_CALC(g);
    EXPECT_EQ(combo("Combo4"), (std::vector<std::string>{"【税率】10.00:【対象額】1,800:【消費税額】180",
                                                         "【税率】08.00:【対象額】2,000:【消費税額】160"}));
    EXPECT_EQ(g.DOC_TAX_TOTAL, 340);

    // An empty line between rows takes no slot; without a common rate a rate-less row is untaxed.
    g.curGrid().clear();
    g.TAX_RATE = Fixed4();
    row(1, "", "", "");
    row(2, "ガラス", "2,000", "8.00");
    row(3, "網戸", "500", "");
    row(4, "額縁", "300", "10.00");
    TAX_TOTAL_CALC(g);
    EXPECT_EQ(combo("Combo5"), (std::vector<std::string>{"08.00 01", "10.00 02"}));
    EXPECT_EQ(g.DOC_AMOUNT_TOTAL, 2800);
    EXPECT_EQ(g.DOC_TAX_TOTAL, 190);
}

TEST_F(TaxTotalsTest, BothTotalsCoverEveryFilledRowOfAnySheet)
{
    row(1, "サッシ", "1,000", "10.00");
    row(600, "追加", "2,000", "10.00"); // far down the sheet: every row counts
    TAX_TOTAL_CALC(g);
    EXPECT_EQ(g.DOC_AMOUNT_TOTAL, 3000);
    EXPECT_EQ(g.DOC_TAX_TOTAL, 300);
    const auto combo4 = combo("Combo4");
    TAX_BREAKDOWN(g);
    EXPECT_EQ(g.DOC_AMOUNT_TOTAL, 3000);
    EXPECT_EQ(g.DOC_TAX_TOTAL, 300);
    EXPECT_EQ(combo("Combo4"), combo4);

    // A sheet shorter than the totals limit, and one that was never set up.
    QdState s;
    RecordingUi ui2;
    s.ui = &ui2;
    s.SUM_ROW_LIMIT = 500;
    pricing_test::makeSheet(s, 4);
    s.curGrid().setCell(3, 15, "700");
    s.curGrid().setCell(3, 23, "10");
    EXPECT_NO_THROW(TAX_TOTAL_CALC(s));
    EXPECT_EQ(s.DOC_GROSS_TOTAL, 770);
    QdState bare;
    bare.ui = &ui2;
    EXPECT_NO_THROW(TAX_TOTAL_CALC(bare));
    EXPECT_NO_THROW(TAX_BREAKDOWN(bare));
    EXPECT_EQ(bare.DOC_GROSS_TOTAL, 0);
}

TEST_F(TaxTotalsTest, AbsurdAmountsAndRatesStayInRange)
{
    // Exponents far beyond any amount: the sums stay at the limits instead of wrapping.
    row(1, "品", "9e99", "9e99");
    row(2, "品", "9e99", "9e99");
    settings(10, 1, 0);
    EXPECT_NO_THROW(TAX_TOTAL_CALC(g));
    EXPECT_EQ(g.DOC_AMOUNT_TOTAL, std::numeric_limits<std::int32_t>::max());
    row(3, "品", "-9e99", "-100"); // 内税 at -100 % would divide by zero
    row(4, "品", "-9e99", "-100");
    EXPECT_NO_THROW(TAX_TOTAL_CALC(g));
    EXPECT_EQ(g.DOC_AMOUNT_TOTAL, std::numeric_limits<std::int32_t>::min());
}

TEST_F(TaxTotalsTest, TotalsBeyondThirtyTwoBitsAreShownWholeAndMarked)
{
    // Rows of the largest amount a row holds, 10 % added and rounded down. A total beyond the
    // 32-bit totals is shown whole in its box, marked, and the totals say they are beyond.
    struct Case {
        int rows;
        bool beyond;
        const char *amount, *grand;
        bool amountMarked, grandMarked;
    };
    const Case cases[] = {
        {19, false, "1,899,999,981", "2,089,999,979", false, false},
        {21, true, "2,099,999,979", "2,309,999,976", false, true}, // the grand total passes them
        {22, true, "2,199,999,978", "2,419,999,975", true, true},  // the amount too
        {1, false, "99,999,999", "109,999,998", false, false},
    };
    settings(1, 2, 1);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rows);
        for (int r = 1; r <= 22; ++r)
            row(r, r <= c.rows ? "品" : "", r <= c.rows ? "99,999,999" : "", "");
        TAX_TOTAL_CALC(g);
        EXPECT_EQ(g.TOTALS_BEYOND_FIELDS, c.beyond);
        EXPECT_EQ(ui.texts["Text4"], c.amount);
        EXPECT_EQ(ui.texts["Text7"], c.grand);
        EXPECT_EQ(ui.marked["Text4"], c.amountMarked);
        EXPECT_EQ(ui.marked["Text7"], c.grandMarked);
        EXPECT_FALSE(ui.marked["Text6"]);
    }
    EXPECT_EQ(g.DOC_AMOUNT_TOTAL, 99999999);
}

TEST_F(TaxTotalsTest, EleventhRateGetsNoSlot)
{
    for (int r = 1; r <= 11; ++r)
        row(r, "品", "100", std::to_string(r) + ".00");
    TAX_TOTAL_CALC(g);
    EXPECT_EQ(combo("Combo5").size(), 10u);
    EXPECT_EQ(combo("Combo5").back(), "10.00 10");
    EXPECT_EQ(g.DOC_AMOUNT_TOTAL, 1100);
    EXPECT_EQ(g.DOC_TAX_TOTAL, 55); // 1 + 2 + ... + 10 % of 100 yen
}

TEST(GridXShade, ShadesMarkedRowsOnly)
{
    NullCoreUi ui;
    QdState g;
    g.ui = &ui;
    pricing_test::makeSheet(g, 5);
    auto &grid = g.curGrid();
    grid.setCell(1, 2, "  【x】枠");
    grid.setCell(2, 2, "枠");
    grid.setForeColor(2, 5, qd::grid::rgb(255, 0, 0));
    grid.setRow(1);
    grid.setCol(2);
    GRID_X_SHADE(g);
    EXPECT_EQ(grid.foreColor(1, 1), GROUP_SHADE_COLOR);
    EXPECT_EQ(grid.foreColor(1, 21), GROUP_SHADE_COLOR);
    EXPECT_EQ(grid.foreColor(1, 22), qd::grid::DefaultColor);
    EXPECT_EQ(grid.col(), 21);
    grid.setRow(2);
    grid.setCol(2);
    GRID_X_SHADE(g);
    EXPECT_EQ(grid.foreColor(2, 1), qd::grid::DefaultColor);
    EXPECT_EQ(grid.foreColor(2, 5), qd::grid::rgb(255, 0, 0)); // never cleared
    EXPECT_EQ(grid.col(), 2);
}

} // namespace
} // namespace qd::core
