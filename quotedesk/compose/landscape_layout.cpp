#include "quotedesk/compose/landscape_layout.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/tax_totals.h"

namespace qd::printing {

using qd::text::format;
using qd::text::trim;

namespace {

// The yen mark that leads an amount ("\" of the system's code page, shown as ¥).
const std::string kYen = "¥";

constexpr std::array<int, 6> kColumnRules{1300, 1665, 1765, 1865, 2100, 2345};
// The innermost of the table frame's five rules, left and right.
constexpr std::int32_t kFrameLeft = 34, kFrameRight = 2896;
// The outermost of the table frame's five bottom rules; the innermost lies at y 2000, the end
// of the last row band.
constexpr std::int32_t kFrameBottom = 2004;
// The date column's rule, on invoices and delivery notes.
constexpr std::int32_t kDateRule = 220;
// The left and right edges of the invoice's bank-transfer box.
constexpr std::int32_t kBankBoxLeft = 1020, kBankBoxRight = 1890;
// The left edge of the quotation's conditions, captions and underlines.
constexpr std::int32_t kConditionsLeft = 1120;
// The left edge of the issuer's block: the issue-date underline.
constexpr std::int32_t kIssuerLeft = 1910;
// What a text keeps clear of a rule: 0.5 mm from the rule's ink (a rule is one unit wide, half a
// unit each side of its line), in whole units.
constexpr std::int32_t kRuleGap = 6;

// The page-1 total: its caption at x 250 and the amount at 18 pt on one line, both standing on
// the underline at y 580 with the digits and commas clear of it.
constexpr std::int32_t kTotalLeft = 250, kTotalY = 510, kTotalRuleY = 580;
constexpr double kTotalSize = 18;
// The widest amount the pages print: a document total is a 32-bit number.
const std::string kWidestTotal = "¥-2,147,483,648";

qd::emf::FontSpec fontOf(const PrintJob &job, double size)
{
    qd::emf::FontSpec spec;
    spec.face = job.PRN_FONT_NAME;
    spec.pointSize = size;
    spec.widthPercent = 100;
    return spec;
}

// Where the total's amounts end and its underline stops: the widest amount fits after the
// caption with a quarter em between them, and every amount ends here.
std::int32_t totalRight(const PrintJob &job, const std::string &caption)
{
    const qd::emf::FontSpec spec = fontOf(job, kTotalSize);
    const std::int32_t quarterEm = std::abs(qd::emf::makeLogFont(spec).height) / 4;
    return kTotalLeft + qd::emf::textAdvance(spec, caption) + quarterEm + qd::emf::textAdvance(spec, kWidestTotal);
}

// Where the project name and its underline end: short of what stands right of them, the
// conditions on the quotation, the bank-transfer box on the invoice, the issuer's block on the
// delivery note.
std::int32_t projectEnd(int docKind)
{
    return (docKind == 0 ? kConditionsLeft : docKind == 1 ? kBankBoxLeft : kIssuerLeft) - kRuleGap;
}

// "合計金額" on quotations and delivery notes, "ご請求額" on invoices.
std::string totalCaption(int docKind) { return docKind == 1 ? "ご請求額" : "合計金額"; }

bool isBlank(const std::string &s) { return trim(s).empty(); }

void text(PrintJob &job, std::int32_t x, std::int32_t y, double size, std::string t)
{
    job.PRN_X = x;
    job.PRN_Y = y;
    job.PRN_FONT_SIZE = size;
    job.PRN_TEXT = std::move(t);
    PRN_TEXT_OUT(job);
}

// Draws `t` (right-aligned by leading blanks, as the layouts do) so that what it shows stands
// between `lo` and `hi`: where it is placed when it fits there; else, when `mayMove`, moved the
// least way inside, otherwise kept at its start; and narrowed when it is wider than the room.
void fitText(PrintJob &job, std::int32_t x, std::int32_t y, double size, const std::string &t, std::int32_t lo,
             std::int32_t hi, bool mayMove)
{
    const std::size_t first = t.find_first_not_of(' ');
    if (first == std::string::npos) {
        text(job, x, y, size, t);
        return;
    }
    const std::string shown = qd::text::trimRight(t.substr(first));
    qd::emf::FontSpec spec = fontOf(job, size);
    const std::int32_t start = x + qd::emf::textAdvance(spec, t.substr(0, first));
    std::int32_t width = qd::emf::textAdvance(spec, shown);
    if (start >= lo && start + width <= hi) {
        text(job, x, y, size, t);
        return;
    }
    const std::int32_t from = mayMove ? lo : std::max(start, lo);
    if (width > hi - from) {
        // Every half-width cell as wide as the room allows, in whole units.
        const std::int32_t em = std::abs(qd::emf::makeLogFont(spec).height);
        const std::int32_t cell = std::max(1, (hi - from) / qd::emf::halfWidthCells(shown));
        spec.widthPercent = std::clamp(cell * 200 / std::max(1, em), 1, 99);
        width = qd::emf::textAdvance(spec, shown);
    }
    job.PRN_FONT_WIDTH = spec.widthPercent;
    text(job, mayMove ? std::clamp(start, lo, std::max(lo, hi - width)) : from, y, size, shown);
    job.PRN_FONT_WIDTH = 100;
}

// A text inside the table cell between the rules at `left` and `right`.
void cellText(PrintJob &job, std::int32_t x, std::int32_t y, double size, const std::string &t, std::int32_t left,
              std::int32_t right)
{
    fitText(job, x, y, size, t, left + kRuleGap, right - kRuleGap, true);
}

void line(PrintJob &job, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    job.LINE_X1 = x1;
    job.LINE_Y1 = y1;
    job.LINE_X2 = x2;
    job.LINE_Y2 = y2;
    PRN_LINE(job);
}

// The table frame drawn five times, each one unit further inside, and the caption rule drawn
// five times, each one unit lower. The frame's bottom edge thickens below y 2000, so that the
// last row band is as high as the others and its texts stay as clear of the frame as theirs
// of the rules.
void tableFrame(PrintJob &job, std::int32_t top, std::int32_t captionRule)
{
    for (int i = 0; i < 5; ++i) {
        job.BOX_X1 = 30 + i;
        job.BOX_Y1 = top + i;
        job.BOX_X2 = 2900 - i;
        job.BOX_Y2 = kFrameBottom - i;
        PRN_BOX(job);
    }
    for (int i = 0; i < 5; ++i)
        line(job, 30, captionRule + i, 2900, captionRule + i);
    for (std::int32_t y = captionRule + 100; y <= 1900; y += 100)
        line(job, 30, y, 2900, y);
    const bool dateColumn = job.src.DOC_KIND == 1 || job.src.DOC_KIND == 2;
    if (dateColumn)
        line(job, 220, top, 220, 2000);
    for (int x : kColumnRules)
        line(job, x, top, x, 2000);
}

void captions(PrintJob &job, std::int32_t y)
{
    const bool dateColumn = job.src.DOC_KIND == 1 || job.src.DOC_KIND == 2;
    if (dateColumn)
        text(job, 100, y, 10, "日付");
    text(job, dateColumn ? 365 : 270, y, 10,
         job.src.PRN_NAME_COL == 1 ? "--------- 【製    品    名】 ------ (発注品番)"
                                   : "----------- 【製    品    名】 -------- (呼称)");
    text(job, 1410, y, 10, "寸法(W/H)");
    text(job, 1685, y, 10, "数量");
    text(job, 1785, y, 10, "単位");
    text(job, 1925, y, 10, "単　価");
    text(job, 2175, y, 10, "金　額");
    text(job, 2540, y, 10, "備　  考");
}

// The issue line with year, month and day of ISSUE_DATE and the page number.
void issueLine(PrintJob &job, std::int32_t x, std::int32_t y)
{
    const std::string &d = job.src.ISSUE_DATE;
    text(job, x, y, 10, "発行日　　　　年　　　月　　　日　　　　頁");
    text(job, x + 150, y, 10, qd::text::midChars(d, 1, 4));
    text(job, x + 330, y, 10, qd::text::midChars(d, 5, 2));
    text(job, x + 465, y, 10, qd::text::midChars(d, 7, 2));
    text(job, x + 660, y, 10, format(job.PRN_PAGE, "#0"));
}

// The number of a cell without its "," and "\" characters, or nothing for a blank one. A
// typed "¥" is the same mark as "\" (one byte in the files), as the totals take it.
bool cellNumber(const std::string &cell, double &value)
{
    const std::string bare = qd::core::withoutMoneyMarks(cell);
    if (isBlank(bare))
        return false;
    value = qd::text::val(bare);
    return true;
}

} // namespace

std::string documentTitle(int docKind)
{
    switch (docKind) {
    case 1: return "御　請　求　書";
    case 2: return "納　　品　　書";
    default: return "御　見　積　書";
    }
}

std::int32_t rowY(const PrintJob &job)
{
    return job.PRN_LINE_NO * 50 + (job.PRN_PAGE == 1 ? 659 : 259);
}

void PRN_YOKO_HEAD_FIRST(PrintJob &job)
{
    const PrintSource &s = job.src;
    line(job, 1160, 190, 1640, 190);
    if (!isBlank(s.HEAD_TOKUI)) {
        const auto n = static_cast<std::int32_t>(qd::text::charCount(trim(s.HEAD_TOKUI) + "　" + "御中"));
        line(job, 250, 290, 250 + 55 * n, 290);
    }
    const bool project = s.DOC_KIND == 0 || s.PRN_OPTION == 0;
    if (project && !isBlank(s.HEAD_BUKKEN)) {
        const auto m = static_cast<std::int32_t>(qd::text::charCount(trim(s.HEAD_BUKKEN)));
        line(job, 250, 370, std::min(250 + 40 * m, projectEnd(s.DOC_KIND)), 370);
    }
    if (s.DOC_KIND == 1) {
        for (std::int32_t y = 330; y <= 580; y += 50)
            line(job, kBankBoxLeft, y, kBankBoxRight, y);
        line(job, kBankBoxLeft, 330, kBankBoxLeft, 580);
        line(job, kBankBoxRight, 330, kBankBoxRight, 580);
    }
    if (s.DOC_KIND == 0)
        for (std::int32_t y = 360; y <= 510; y += 50)
            line(job, kConditionsLeft, y, 1720, y);
    line(job, 1910, 300, 2660, 300);
    tableFrame(job, 600, 700);
}

void PRN_YOKO_TITLE_FIRST(PrintJob &job)
{
    const PrintSource &s = job.src;
    const int kind = s.DOC_KIND;
    text(job, 1180, 110, 18, documentTitle(kind));
    ++job.PRN_PAGE;
    text(job, 250, 230, 15, trim(s.HEAD_TOKUI) + "　" + "御中");
    // A long project name is narrowed to end where its underline does.
    if (kind == 0 || s.PRN_OPTION == 0)
        fitText(job, 250, 325, 11, s.HEAD_BUKKEN, 0, projectEnd(kind), false);
    // On the invoice the greetings end short of the bank-transfer box, narrowed where needed.
    const std::int32_t greetingEnd = kind == 1 ? kBankBoxLeft - kRuleGap : std::numeric_limits<std::int32_t>::max();
    fitText(job, 260, 430, 8,
            kind == 0   ? "ご照会を頂きました件、下記の通り御見積致します。"
            : kind == 1 ? "毎度ありがとうございます。下記の通り御請求致します。"
                        : "下記の通り納品させていただきました。",
            0, greetingEnd, false);
    fitText(job, 260, 470, 8,
            kind == 0 ? "何卒ご下命下さいますようお願い致します。"
                      : "今後共、より一層ご愛顧下さいますようお願い申し上げます。",
            0, greetingEnd, false);
    const std::string caption = totalCaption(kind);
    text(job, kTotalLeft, kTotalY, kTotalSize, caption);

    // The amount ends where its underline does, on the caption's line.
    const std::int32_t total = s.TAX_PRINT == 1 && s.TAX_MODE == 1 ? s.DOC_GRAND_TOTAL : s.DOC_AMOUNT_TOTAL;
    const std::string amount = kYen + format(total, "#,###,###");
    const std::int32_t right = totalRight(job, caption);
    text(job, right - qd::emf::textAdvance(fontOf(job, kTotalSize), amount), kTotalY, kTotalSize, amount);
    line(job, kTotalLeft, kTotalRuleY, right, kTotalRuleY);
    if (s.TAX_PRINT == 0) {
        // After the underline; on the invoice the bank-transfer box stands there, so the note
        // goes in front of the caption, at the table's left edge.
        text(job, kind == 1 ? 30 : right + 20, 540, 10, "【消費税別】");
    }

    if (kind == 1) {
        text(job, 1235, 335, 11, "〓〓〓 お振込み先 〓〓〓");
        // Each line in the middle of its cell of the box, clear of the rules above and below; a
        // long one is narrowed to end clear of the box's right edge.
        for (int i = 0; i < 4; ++i)
            fitText(job, 1040, 388 + 50 * i, 10, s.FURIKOMI[static_cast<std::size_t>(i)], 0,
                    kBankBoxRight - kRuleGap, false);
    }
    if (kind == 0) {
        const std::array<std::pair<const char *, const std::string *>, 4> conditions{{
            {"納　地・", &s.HEAD_NOUHIN},
            {"条　件・", &s.HEAD_SIHARAI},
            {"納　期・", &s.HEAD_NOUKI},
            {"有効日・", &s.HEAD_YUKOU},
        }};
        // Each condition stands above its underline with its characters clear of it.
        for (int i = 0; i < 4; ++i) {
            const std::int32_t y = 320 + 50 * i;
            text(job, 1260, y, 10, *conditions[static_cast<std::size_t>(i)].second);
            text(job, kConditionsLeft, y, 10, conditions[static_cast<std::size_t>(i)].first);
        }
    }
    issueLine(job, 1920, 250);
    text(job, 1960, 340, 15, trim(s.OWN_NAME));
    text(job, 1960, 410, 10, "〒");
    text(job, 2000, 405, 11, trim(s.OWN_POSTCODE));
    text(job, 1960, 450, 10, trim(s.OWN_ADDRESS_1) + trim(s.OWN_ADDRESS_2));
    text(job, 2010, 500, 10.5, "TEL " + trim(s.OWN_TEL));
    text(job, 2400, 500, 10.5, "FAX " + trim(s.OWN_FAX));
    if (!isBlank(s.OWN_REG_NO))
        text(job, 2010, 550, 12, "【登録番号：" + trim(s.OWN_REG_NO) + "】");
    captions(job, 630);
    job.PRN_FONT_SIZE = 10;
}

void PRN_HEAD_NEXT(PrintJob &job)
{
    line(job, 1030, 190, 1510, 190);
    line(job, 1660, 190, 2410, 190);
    tableFrame(job, 200, 300);
}

void PRN_TITLE_NEXT(PrintJob &job)
{
    const PrintSource &s = job.src;
    text(job, 1050, 110, 18, documentTitle(s.DOC_KIND));
    ++job.PRN_PAGE;
    text(job, 20, 140, 11,
         "【" + trim(s.DOC_KIND == 0 ? s.HEAD_BUKKEN : s.OWN_NAME) + "】");
    issueLine(job, 1670, 140);
    captions(job, 230);
    job.PRN_FONT_SIZE = 10;
}

void PRN_DETAIL(PrintJob &job)
{
    static const SheetRow kBlankRow{};
    const SheetRow &r = job.row ? *job.row : kBlankRow;
    const PrintSource &s = job.src;
    ++job.PRN_LINE_NO;
    if (r[2].find("【x】") != std::string::npos) {
        job.PRN_LINE_NO -= 2; // a group row prints nothing and takes no room
        return;
    }
    const std::int32_t y = rowY(job);
    const bool dateColumn = s.DOC_KIND == 1 || s.DOC_KIND == 2;
    if (dateColumn)
        cellText(job, 40, y, 10, qd::text::trimRight(r[1]), kFrameLeft, kDateRule);

    std::string product = qd::text::trimRight(r[2]) + " " + trim(r[8]);
    if (s.PRN_NAME_COL == 0 && !isBlank(r[3]))
        product += " : (" + trim(r[3]) + ")";
    if (s.PRN_NAME_COL == 1 && !isBlank(r[21]))
        product += " : (" + trim(r[21]) + ")";
    // The name starts clear of the rule on its left; a long one is narrowed to end clear of
    // the size column's rule.
    fitText(job, dateColumn ? kDateRule + kRuleGap : 40, y, 10, product, 0, kColumnRules[0] - kRuleGap, false);

    std::string size;
    if ((s.SIZE_MODE == 1 || s.SIZE_MODE == 2) && !isBlank(r[4]))
        size = qd::text::padLeftChars(trim(r[4]) + " X " + trim(r[5]), 20);
    cellText(job, 1300, y, 10, size, 1300, 1665);

    // The quantity the amount was priced from ("1,000" is a thousand), with its decimals when
    // it has any.
    if (!isBlank(r[9]))
        cellText(job, 1525, y, 10, qd::text::padLeftChars(format(qd::core::pricedQuantity(r[9]), "###,##0.####"), 13),
                 1665, 1765);
    cellText(job, 1750, y, 10, " " + trim(r[10]), 1765, 1865);

    double value = 0;
    if (cellNumber(r[14], value))
        cellText(job, 1858, y, 10, qd::text::padLeftChars(format(value, "###,###,###"), 13), 1865, 2100);
    if (cellNumber(r[15], value)) {
        cellText(job, 2105, y, 10, qd::text::padLeftChars(format(value, "###,###,###"), 13), 2100, 2345);
        job.g.PRN_AMOUNT_SUM += qd::text::roundHalfEven(value);
    }

    // A long remark is narrowed to end clear of the table's frame.
    const std::string &remark = r[16];
    const std::int32_t remarkEnd = kFrameRight - kRuleGap;
    if (qd::text::charCount(remark) > 12) {
        job.PRN_LINE_NO -= 1;
        fitText(job, 2355, rowY(job), 10, qd::text::midChars(remark, 1, 12), 0, remarkEnd, false);
        job.PRN_LINE_NO += 1;
        fitText(job, 2355, y, 10, qd::text::midChars(remark, 13, 50), 0, remarkEnd, false);
    } else {
        fitText(job, 2355, y, 10, trim(remark), 0, remarkEnd, false);
    }

    // The rate the totals taxed the row at: a row without a rate of its own is taxed at the
    // common rate.
    if (!isBlank(qd::text::removeChars(r[15], ","))) {
        const qd::text::Fixed4 amount = qd::text::valFixed(trim(qd::core::withoutMoneyMarks(r[15])));
        cellText(job, 2810, y, 6, "(" + format(qd::core::rowTaxRate(r[23], amount, s.TAX_RATE), "#00.00") + "%)", 2345,
                 kFrameRight);
        job.PRN_FONT_SIZE = 10;
    }
}

void PRN_TAX_LINE(PrintJob &job, int slot)
{
    const PrintSource &s = job.src;
    const std::int32_t y = rowY(job);
    const auto k = static_cast<std::size_t>(slot);
    cellText(job, 1862, y, 10, s.TAX_MODE == 0 ? "【消費内税額】" : "【消費外税額】", 1865, 2100);
    const std::string tax = format(s.TAX_TBL_TAX[k], "###,###,###");
    if (!isBlank(tax))
        cellText(job, 2105, y, 10, qd::text::padLeftChars(tax, 13), 2100, 2345);
    text(job, 2400, y, 10,
         format(s.TAX_TBL_RATE[k], "#00.00") + "%対象  " + kYen + format(s.TAX_TBL_BASE[k], "###,###,###"));
}

void PRN_GRAND_TOTAL_LINE(PrintJob &job)
{
    const PrintSource &s = job.src;
    const std::int32_t y = rowY(job);
    cellText(job, 1862, y, 10, "【　総合計　】", 1865, 2100);
    std::int64_t total = job.g.PRN_AMOUNT_SUM;
    if (s.TAX_PRINT == 1 && s.TAX_MODE == 1)
        total += s.DOC_TAX_TOTAL;
    const std::string t = format(total, "###,###,###");
    if (!isBlank(t))
        cellText(job, 2105, y, 10, qd::text::padLeftChars(t, 13), 2100, 2345);
}

} // namespace qd::printing
