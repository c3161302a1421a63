// Composing a document into page image files: where rows, headings and totals land, where
// pages break, which rows are left out, a stop between rows, and a data folder that cannot be
// written.
#include <gtest/gtest.h>
#include <uemf_safe.h>

#include <filesystem>

#include "platform/emf/page_canvas.h"
#include "quotedesk/compose/doc_compose.h"
#include "tests/support/page_content.h"
#include "tests/support/temp_install.h"

namespace qd::testing {
namespace {

namespace fs = std::filesystem;
using qd::printing::ComposeResult;
using qd::printing::PrintSource;
using qd::printing::SheetRow;
using qd::text::Fixed4;

class Compose : public ::testing::Test {
protected:
    Compose()
    {
        g.INST_DIR = inst.dir();
        src.ISSUE_DATE = "20240105  ";
        src.HEAD_TOKUI = "株式会社　山川建設";
        src.HEAD_BUKKEN = "見本邸　新築工事";
        src.HEAD_NOUHIN = "東京都世田谷区見本４－５";
        src.HEAD_SIHARAI = "月末締め翌月末払い";
        src.HEAD_NOUKI = "2026/12/20";
        src.HEAD_YUKOU = "30日";
        src.OWN_NAME = "株式会社　見本サッシ工業";
        src.OWN_ADDRESS_1 = "東京都港区見本町１－２－３";
        src.OWN_ADDRESS_2 = "見本ビル２階";
        src.OWN_POSTCODE = "105-0000";
        src.OWN_TEL = "03-0000-1234";
        src.OWN_FAX = "03-0000-1235";
        src.OWN_REG_NO = "T1234567890123";
        src.FURIKOMI = {"振込先：見本銀行　港支店", "普通預金　１２３４５６７", "口座名義　カ）ミホン", "手数料はご負担願います。"};
        src.TAX_MODE = 1;
        src.taxEntries = {"10.00 01"};
        src.TAX_TBL_RATE[1] = Fixed4::fromInt(10);
    }

    // n priced rows of 1,000 yen at 10 %, the totals to match.
    void addRows(int n)
    {
        for (int i = 0; i < n; ++i) {
            SheetRow r;
            r[2] = "品目" + std::to_string(src.rows.size() + 1);
            r[9] = "1";
            r[10] = "個";
            r[14] = "1,000";
            r[15] = "1,000";
            r[23] = "10";
            src.rows.push_back(r);
        }
        const int amount = 1000 * static_cast<int>(src.rows.size());
        src.DOC_AMOUNT_TOTAL = amount;
        src.DOC_TAX_TOTAL = amount / 10;
        src.DOC_GRAND_TOTAL = amount + amount / 10;
        src.TAX_TBL_BASE[1] = Fixed4::fromInt(amount);
        src.TAX_TBL_TAX[1] = Fixed4::fromInt(amount / 10);
    }

    ComposeResult run() { return qd::printing::composeDocument(g, src); }
    fs::path page(int n) { return inst.data() / qd::emf::pageImageName(n); }
    PageContent content(int n) { return pageContent(page(n)); }
    int pageFiles()
    {
        int n = 0;
        for (const auto &e : fs::directory_iterator(inst.data()))
            n += e.path().extension() == ".emf";
        return n;
    }
    // The page and y of a row's product text.
    std::pair<int, int> rowPlace(int row, int pages)
    {
        const std::string name = "品目" + std::to_string(row);
        for (int p = 1; p <= pages; ++p) {
            const PageContent c = content(p);
            if (const PageText *t = c.find(name))
                return {p, t->y};
        }
        return {0, 0};
    }

    TempInstall inst{TempInstall::Content::Demo};
    qd::core::QdState g;
    PrintSource src;
};

TEST_F(Compose, QuotationPageOneHeadingRowsAndTotalsStandWhereTheLayoutPutsThem)
{
    addRows(2);
    src.rows[0][3] = "16511";
    src.rows[0][4] = "16900";
    src.rows[0][5] = "11700";
    src.rows[0][8] = "シルバー";
    src.rows[1][16] = "現場にて寸法確認のうえ製作いたします";
    // Typed yen marks are the "\" of the files: the prices print and are summed.
    src.rows[1][14] = "¥1,000";
    src.rows[1][15] = "¥1,000";
    const ComposeResult r = run();
    EXPECT_EQ(r.pagesWritten, 1);
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(pageFiles(), 1);

    const PageContent c = content(1);
    struct Expect {
        std::string text;
        int x, y, height;
    };
    const Expect expected[] = {
        {"御　見　積　書", 1180, 110, 64},
        {"株式会社　山川建設　御中", 250, 230, 53},
        {"見本邸　新築工事", 250, 325, 39},
        {"合計金額", 250, 510, 64},
        {"¥2,200", 1002 - 6 * 32, 510, 64}, // on the caption's line, ending with its underline
        {"納　地・", 1120, 320, 35},
        {"東京都世田谷区見本４－５", 1260, 320, 35},
        {"有効日・", 1120, 470, 35},
        {"2024", 2070, 250, 35},
        {"01", 2250, 250, 35},
        {"05", 2385, 250, 35},
        {"1", 2580, 250, 35},
        {"株式会社　見本サッシ工業", 1960, 340, 53},
        {"〒", 1960, 410, 35},
        {"105-0000", 2000, 405, 39},
        {"東京都港区見本町１－２－３見本ビル２階", 1960, 450, 35},
        {"TEL 03-0000-1234", 2010, 500, 37},
        {"【登録番号：T1234567890123】", 2010, 550, 42},
        {"----------- 【製    品    名】 -------- (呼称)", 270, 630, 35},
        // Row 1 in its band 700..800, 59 below the top; row 2 one band lower.
        {"品目1 シルバー : (16511)", 40, 759, 35},
        {"       16900 X 11700", 1300, 759, 35},
        {"            1", 1525, 759, 35},
        // The unit and the rate keep 0.5 mm clear of the rules beside them.
        {"個", 1771, 759, 35},
        {"        1,000", 1858, 759, 35},
        {"        1,000", 2105, 759, 35},
        {"(10.00%)", 2806, 759, 21},
        {"品目2", 40, 859, 35},
        // A remark of more than 12 characters: 12 on the upper half-line, the rest below.
        {"現場にて寸法確認のうえ製", 2355, 809, 35},
        {"作いたします", 2355, 859, 35},
        // The totals start in the upper half of the band after the last row.
        {"【消費外税額】", 1871, 909, 35},
        {"          200", 2105, 909, 35},
        {"10.00%対象  ¥2,000", 2400, 909, 35},
        {"【　総合計　】", 1871, 959, 35},
        {"        2,200", 2105, 959, 35},
    };
    for (const Expect &e : expected) {
        const PageText *t = nullptr;
        for (const PageText &candidate : c.texts)
            if (!t && candidate.text == e.text && candidate.x == e.x)
                t = &candidate;
        ASSERT_NE(t, nullptr) << e.text << " at x " << e.x;
        EXPECT_EQ(t->y, e.y) << e.text;
        EXPECT_EQ(t->height, e.height) << e.text;
    }
    // A quotation has neither the date column nor the bank block, but the conditions.
    EXPECT_FALSE(c.has("日付"));
    EXPECT_FALSE(c.has("お振込み先"));
    EXPECT_FALSE(c.hasRule(220, 600, 220, 2000));
    EXPECT_TRUE(c.hasRule(1120, 360, 1720, 360));
    EXPECT_TRUE(c.hasRule(250, 580, 1002, 580)); // the total's underline holds ¥-2,147,483,648
    EXPECT_TRUE(c.hasRule(250, 290, 250 + 55 * 12, 290)); // under the addressee with 御中
    // The frame five times, each one unit further inside, its bottom edge below the last of
    // the 13 row bands.
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(c.hasRule(30 + i, 600 + i, 2900 - i, 600 + i)) << i;
        EXPECT_TRUE(c.hasRule(30 + i, 2004 - i, 2900 - i, 2004 - i)) << i;
    }
    EXPECT_TRUE(c.hasRule(30, 1900, 2900, 1900));
    EXPECT_EQ(g.PRN_AMOUNT_SUM, 2000);
    int row2Prices = 0;
    for (const PageText &t : c.texts)
        row2Prices += t.y == 859 && (t.x == 1858 || t.x == 2105) && t.text == "        1,000";
    EXPECT_EQ(row2Prices, 2);
}

TEST_F(Compose, InvoiceShowsTheDateColumnAndTheBankTransferLines)
{
    src.DOC_KIND = 1;
    addRows(1);
    src.rows[0][1] = "2024/01/05";
    run();
    const PageContent c = content(1);
    EXPECT_NE(c.find("御　請　求　書"), nullptr);
    EXPECT_NE(c.find("ご請求額"), nullptr);
    const PageText *date = c.find("2024/01/05");
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->x, 40);
    EXPECT_EQ(date->y, 759);
    ASSERT_NE(c.find("日付"), nullptr);
    EXPECT_EQ(c.find("日付")->x, 100);
    EXPECT_EQ(c.find("品目1")->x, 226); // clear of the date column's rule
    EXPECT_TRUE(c.hasRule(220, 600, 220, 2000));
    EXPECT_NE(c.find("〓〓〓 お振込み先 〓〓〓"), nullptr);
    for (int i = 0; i < 4; ++i) {
        const PageText *t = c.containing(src.FURIKOMI[static_cast<std::size_t>(i)]);
        ASSERT_NE(t, nullptr) << i;
        EXPECT_EQ(t->x, 1040);
        EXPECT_EQ(t->y, 388 + 50 * i);
    }
    EXPECT_TRUE(c.hasRule(1020, 330, 1890, 330));
    EXPECT_FALSE(c.has("納　地・"));
    // Without PRN_OPTION 0 an invoice leaves the project name out.
    EXPECT_FALSE(c.has("見本邸"));
}

TEST_F(Compose, DeliveryNoteHasTheDateColumnButNeitherBlockAndTheProjectOnRequest)
{
    src.DOC_KIND = 2;
    src.PRN_OPTION = 0;
    addRows(1);
    run();
    const PageContent c = content(1);
    EXPECT_NE(c.find("納　　品　　書"), nullptr);
    EXPECT_NE(c.find("日付"), nullptr);
    EXPECT_FALSE(c.has("お振込み先"));
    EXPECT_FALSE(c.has("納　地・"));
    EXPECT_NE(c.find("見本邸　新築工事"), nullptr);
}

// What a text shows in the column between two rules on the row at `y`, blanks dropped.
std::string shownIn(const PageContent &c, int y, int left, int right)
{
    for (const PageText &t : c.texts) {
        const std::size_t lead = t.text.find_first_not_of(' ');
        if (t.y != y || lead == std::string::npos)
            continue;
        int start = t.x;
        for (std::size_t i = 0; i < lead && i < t.dx.size(); ++i)
            start += t.dx[i];
        if (start > left && start < right)
            return t.text.substr(lead);
    }
    return {};
}

// A quantity prints as the pricing read it ("1,000" is a thousand pieces), with its decimals
// when it has any; a row without a tax rate of its own shows the common rate the totals taxed
// it at, and a row without an amount shows none.
TEST_F(Compose, QuantitiesAndTaxRatesPrintAsThePricingAndTheTotalsTookThem)
{
    addRows(6);
    src.TAX_RATE = Fixed4::fromInt(10);
    struct Case {
        const char *quantity, *rate, *amount;
        std::string shownQuantity, shownRate;
    };
    const Case cases[] = {
        {"1,000", "10", "1,000", "1,000", "(10.00%)"},
        {"1.5", "", "1,000", "1.5", "(10.00%)"},
        {"2.25", "8", "1,000", "2.25", "(08.00%)"},
        {"3.00", "0", "1,000", "3", "(10.00%)"},
        {"abc", "10", "1,000", "0", "(10.00%)"},
        {"1", "", "", "1", ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        src.rows[i][9] = cases[i].quantity;
        src.rows[i][23] = cases[i].rate;
        src.rows[i][15] = cases[i].amount;
    }
    run();
    const PageContent c = content(1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const int y = 759 + 100 * static_cast<int>(i);
        EXPECT_EQ(shownIn(c, y, 1665, 1765), cases[i].shownQuantity) << cases[i].quantity;
        EXPECT_EQ(shownIn(c, y, 2345, 2900), cases[i].shownRate) << cases[i].rate;
    }
}

// No text stands closer than 0.5 mm to a rule beside it, nor runs across one: names after the
// date column's rule, dates, sizes, quantities, units, prices, amounts, the rates at the frame,
// the totals' captions, and the invoice's greetings beside the bank-transfer box.
TEST_F(Compose, TextsKeepHalfAMillimetreClearOfTheRules)
{
    constexpr int gap = 5; // from the ink of a rule, which is one unit wide
    for (int kind : {0, 1, 2}) {
        SCOPED_TRACE(kind);
        fs::remove_all(inst.data());
        fs::create_directories(inst.data());
        src.rows.clear();
        src.DOC_KIND = static_cast<std::int16_t>(kind);
        addRows(5);
        const char *quantities[] = {"1,000", "99999", "12.25", "1", "3"};
        const char *units[] = {"個", "セット", "m", "ｾｯﾄ", "本"};
        for (std::size_t i = 0; i < src.rows.size(); ++i) {
            src.rows[i][1] = "2024/01/05";
            src.rows[i][4] = "16900";
            src.rows[i][5] = "11700";
            src.rows[i][9] = quantities[i];
            src.rows[i][10] = units[i];
        }
        src.rows[0][14] = "9,999,999";
        src.rows[0][15] = "99,999,999";
        src.rows[1][23] = "100";
        run();
        const PageContent c = content(1);
        int checked = 0;
        for (const PageText &t : c.texts) {
            const std::size_t lead = t.text.find_first_not_of(' ');
            if (lead == std::string::npos)
                continue;
            int start = t.x, end = t.x;
            for (std::size_t i = 0; i < t.dx.size(); ++i) {
                if (i < lead)
                    start += t.dx[i];
                end += t.dx[i];
            }
            for (const PageRule &r : c.rules) {
                if (r.x1 != r.x2 || std::max(r.y1, r.y2) <= t.y || std::min(r.y1, r.y2) >= t.y + t.height)
                    continue; // not a vertical rule beside the text
                const double inkLeft = r.x1 - 0.5, inkRight = r.x1 + 0.5;
                const bool clear = end <= inkLeft - gap || start >= inkRight + gap;
                EXPECT_TRUE(clear) << t.text << " (" << start << ".." << end << ") at the rule x " << r.x1;
                ++checked;
            }
        }
        EXPECT_GT(checked, 100);
    }
}

TEST_F(Compose, WithoutTaxPrintTheTotalIsMarkedTaxExcludedAndNoTaxLinesFollow)
{
    src.TAX_PRINT = 0;
    addRows(2);
    run();
    const PageContent c = content(1);
    const PageText *note = c.find("【消費税別】");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->x, 1022); // after the total's underline
    EXPECT_EQ(note->y, 540);
    EXPECT_FALSE(c.has("【消費外税額】"));
    EXPECT_FALSE(c.has("%対象"));
    EXPECT_NE(c.find("¥2,000"), nullptr); // the amounts without tax
    EXPECT_EQ(c.texts.back().text, "        2,000"); // the grand total without tax
    EXPECT_EQ(c.find("【　総合計　】")->y, 959); // the lower half of the band after the rows

    // The invoice's bank-transfer box stands there: the note goes in front of the caption.
    src.DOC_KIND = 1;
    run();
    const PageContent invoice = content(1);
    const PageText *invoiceNote = invoice.find("【消費税別】");
    ASSERT_NE(invoiceNote, nullptr);
    EXPECT_EQ(invoiceNote->x, 30);
}

TEST_F(Compose, PagesBreakAfterThirteenRowsOnPageOneAndSeventeenOnTheOthers)
{
    struct Case {
        int rows;
        int pages;
        int lastRowPage, lastRowY; // where the last row prints
        int totalPage, totalY;     // where the grand total prints
    };
    const Case cases[] = {
        {12, 1, 1, 1859, 1, 1959},
        // 13 rows fill page 1; the totals go to page 2 under its headings.
        {13, 2, 1, 1959, 2, 359},
        // The 14th row starts page 2 at its first row band.
        {14, 2, 2, 359, 2, 459},
        {30, 3, 2, 1959, 3, 359},
        {31, 3, 3, 359, 3, 459},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.rows);
        fs::remove_all(inst.data());
        fs::create_directories(inst.data());
        src.rows.clear();
        addRows(k.rows);
        EXPECT_EQ(run().pagesWritten, k.pages);
        EXPECT_EQ(pageFiles(), k.pages);
        EXPECT_EQ(rowPlace(k.rows, k.pages), std::make_pair(k.lastRowPage, k.lastRowY));
        const PageContent last = content(k.totalPage);
        ASSERT_NE(last.find("【　総合計　】"), nullptr);
        EXPECT_EQ(last.find("【　総合計　】")->y, k.totalY);
        EXPECT_EQ(last.find("【消費外税額】")->y, k.totalY - 50);
    }
    // A continuation page: its own heading, the page number and the project as label.
    const PageContent p2 = content(2);
    EXPECT_EQ(p2.find("御　見　積　書")->x, 1050);
    ASSERT_NE(p2.find("【見本邸　新築工事】"), nullptr);
    EXPECT_EQ(p2.find("2")->x, 2330);
    EXPECT_EQ(p2.find("2024")->x, 1820);
    EXPECT_TRUE(p2.hasRule(30, 300, 2900, 300));
    EXPECT_EQ(p2.find("----------- 【製    品    名】 -------- (呼称)")->y, 230);
}

TEST_F(Compose, RowFilterGroupRowsAndBlankRows)
{
    addRows(5);
    src.rows[1][21] = "se-100";   // left out with 発注品番 beside the name
    src.rows[2][21] = " SE-100";  // printed: the filter is case-sensitive
    src.rows[3][2] = "【x】小計"; // a group row prints nothing and takes no room
    src.PRN_NAME_COL = 1;
    SheetRow blank;
    src.rows.insert(src.rows.begin() + 4, blank); // a blank row keeps its band
    run();
    const PageContent c = content(1);
    EXPECT_EQ(c.find("品目1")->y, 759);
    EXPECT_FALSE(c.has("品目2"));
    EXPECT_EQ(c.find("品目3  : (SE-100)")->y, 859);
    EXPECT_FALSE(c.has("【x】"));
    EXPECT_EQ(c.find("品目5")->y, 1059); // after the band the blank row keeps
    EXPECT_EQ(g.PRN_AMOUNT_SUM, 3000);    // the grand total counts the printed rows
    EXPECT_NE(c.find("        3,500"), nullptr); // and the tax of the whole sheet
    EXPECT_NE(c.find("--------- 【製    品    名】 ------ (発注品番)"), nullptr);

    // With 呼称 beside the name every row prints.
    fs::remove(page(1));
    g.PRN_AMOUNT_SUM = 0;
    src.PRN_NAME_COL = 0;
    run();
    EXPECT_TRUE(content(1).has("品目2"));
}

TEST_F(Compose, EveryRowFilteredStillGivesPageOneWithTheTotals)
{
    addRows(2);
    src.rows[0][21] = src.rows[1][21] = "se-1";
    src.PRN_NAME_COL = 1;
    EXPECT_EQ(run().pagesWritten, 1);
    const PageContent c = content(1);
    EXPECT_NE(c.find("御　見　積　書"), nullptr);
    EXPECT_EQ(c.find("【　総合計　】")->y, 759);
}

TEST_F(Compose, AStopBetweenRowsKeepsThePagesClosedSoFar)
{
    addRows(40); // pages 1, 2 and 3 with the totals
    int calls = 0;
    const ComposeResult r = qd::printing::composeDocument(g, src, [&] {
        ++calls;
        if (g.PAGE_NO == 3)
            g.PRN_CANCEL = 9; // the stop button, pressed while page 3 is being composed
    });
    EXPECT_GT(calls, 0);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.pagesWritten, 2);
    EXPECT_TRUE(fs::exists(page(1)));
    EXPECT_TRUE(fs::exists(page(2)));
    EXPECT_FALSE(fs::exists(page(3)));
    EXPECT_FALSE(content(2).has("【　総合計　】"));
}

TEST_F(Compose, APageImageThatCannotBeWrittenIsReported)
{
    addRows(14);
    // 002.emf cannot be replaced: a folder of that name holds a file.
    fs::create_directories(page(2));
    qd::testing::writeBytes(page(2) / "keep", "x");
    EXPECT_THROW(run(), qd::emf::PageWriteError);
    EXPECT_TRUE(fs::exists(page(1)));
    EXPECT_TRUE(fs::is_directory(page(2)));
}

TEST_F(Compose, PageImagesAreWellFormedEnhancedMetafilesOfThePaper)
{
    src.DOC_KIND = 1;
    addRows(14);
    run();
    for (int n = 1; n <= 2; ++n) {
        SCOPED_TRACE(n);
        std::string bytes = readBytes(page(n));
        const qd::emf::PageImage img = qd::emf::parsePageImage(bytes);
        EXPECT_EQ(img.header.frame, (qd::emf::Rect{0, 0, 29600, 20900})); // 296 x 209 mm
        EXPECT_EQ(img.header.bytes, bytes.size());
        EXPECT_EQ(img.header.records, img.records.size());
        EXPECT_EQ(img.records.back().type, qd::emf::RecordType::Eof);
        for (const qd::emf::Record &r : img.records)
            EXPECT_EQ(U_emf_record_safe(bytes.data() + r.offset), 1) << int(r.type) << " at " << r.offset;
    }
}

TEST_F(Compose, TextsAreCutAtNulScaledAndMovedRulesOnlyScaled)
{
    qd::printing::PagePrint p(g);
    qd::printing::EMF_PAGE_OPEN(p);
    qd::printing::PRN_FONT_DEFAULT(p);
    g.PRN_SCALE_X = Fixed4::fromInt(50);
    g.PRN_OFS_X = Fixed4::fromInt(10);
    p.PRN_X = 101;
    p.PRN_Y = 760;
    p.PRN_TEXT = std::string("見本\0残り", 13);
    qd::printing::PRN_TEXT_OUT(p);
    p.LINE_X1 = 101;
    p.LINE_Y1 = 5;
    p.LINE_X2 = 2001;
    p.LINE_Y2 = 5;
    qd::printing::PRN_LINE(p);
    const PageContent c = pageContent(qd::emf::parsePageImage(p.PAGE_DC->bytes()));
    ASSERT_EQ(c.texts.size(), 1u);
    EXPECT_EQ(c.texts[0].text, "見本"); // the 200 blanks after the cut draw nothing
    EXPECT_EQ(c.texts[0].x, 56); // (101 + 10) x 50 % = 55.5, halves to even
    EXPECT_EQ(c.texts[0].y, 760);
    ASSERT_EQ(c.rules.size(), 1u);
    EXPECT_EQ(c.rules[0].x1, 50); // 50.5 to even; no offset on rules
    EXPECT_EQ(c.rules[0].x2, 1000);
}

TEST_F(Compose, OnlyPageImagesAreDeletedBeforeARun)
{
    for (const char *name : {"001.emf", "0012.EMF", "logo.emf", "12a.emf", "001.emf.bak"})
        qd::testing::writeBytes(inst.data() / name, "x");
    qd::printing::deletePageImages(g);
    EXPECT_FALSE(fs::exists(inst.data() / "001.emf"));
    EXPECT_FALSE(fs::exists(inst.data() / "0012.EMF"));
    EXPECT_TRUE(fs::exists(inst.data() / "logo.emf"));
    EXPECT_TRUE(fs::exists(inst.data() / "12a.emf"));
    EXPECT_TRUE(fs::exists(inst.data() / "001.emf.bak"));
}

} // namespace
} // namespace qd::testing
