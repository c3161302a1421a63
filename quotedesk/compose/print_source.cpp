#include "quotedesk/compose/print_source.h"

#include <algorithm>
#include <limits>

#include "platform/text/cp932.h"
#include "records/layouts.h"

namespace qd::printing {

namespace DocHeader = qd::records::DocHeader;
namespace OwnCompany = qd::records::OwnCompany;
using qd::text::trim;

int lastPrintedRow(const qd::grid::FlexGrid &grid)
{
    const int lastCol = std::min(kSheetColumns, grid.cols() - 1);
    for (int r = grid.rows() - 1; r >= 1; --r)
        for (int c = 1; c <= lastCol; ++c)
            if (!trim(grid.cell(r, c)).empty())
                return r;
    return 0;
}

std::vector<std::string> totalsBeyondPrint(const qd::core::QdState &g)
{
    if (!g.TOTALS_BEYOND_FIELDS)
        return {};
    auto atLimit = [](std::int32_t v) {
        return v == std::numeric_limits<std::int32_t>::max() || v == std::numeric_limits<std::int32_t>::min();
    };
    std::vector<std::string> names;
    if (atLimit(g.DOC_AMOUNT_TOTAL))
        names.emplace_back("製品合計金額");
    if (atLimit(g.DOC_TAX_TOTAL))
        names.emplace_back("消費税額");
    if (atLimit(g.DOC_GROSS_TOTAL))
        names.emplace_back("総合計");
    if (names.empty())
        names.emplace_back("合計"); // beyond, though no total stands at its limit: none is trusted
    return names;
}

PrintSource takePrintSource(qd::core::QdState &g, std::vector<std::string> taxEntries)
{
    PrintSource s;
    const qd::grid::FlexGrid &grid = g.curGrid();
    const int last = std::min<int>(g.LAST_ROW, grid.rows() - 1);
    const int lastCol = std::min(kSheetColumns, grid.cols() - 1);
    s.rows.reserve(static_cast<std::size_t>(std::max(0, last)));
    for (int r = 1; r <= last; ++r) {
        SheetRow row;
        for (int k = 1; k <= lastCol; ++k)
            row[static_cast<std::size_t>(k)] = grid.cell(r, qd::core::COL_BASE + k - 1);
        s.rows.push_back(std::move(row));
    }

    s.DOC_KIND = g.DOC_KIND;
    s.SIZE_MODE = g.SIZE_MODE;
    s.TAX_PRINT = g.TAX_PRINT;
    s.TAX_MODE = g.TAX_MODE;
    s.PRN_OPTION = g.PRN_OPTION;
    s.PRN_NAME_COL = g.PRN_NAME_COL;
    s.ISSUE_DATE = g.ISSUE_DATE;

    // A stored header field that holds a NUL prints what stands before it.
    auto header = [&](int field, std::string &global) {
        if (g.HEAD_REC.raw(field).find('\0') != std::string::npos)
            global = g.HEAD_REC.textToNul(field);
        return global;
    };
    s.HEAD_TOKUI = header(DocHeader::TOKUI_NAME, g.HEAD_TOKUI);
    s.HEAD_BUKKEN = header(DocHeader::BUKKEN_NAME, g.HEAD_BUKKEN);
    s.HEAD_NOUHIN = header(DocHeader::NOUHIN_BASYO, g.HEAD_NOUHIN);
    s.HEAD_SIHARAI = header(DocHeader::SIHARAI_JOKEN, g.HEAD_SIHARAI);
    s.HEAD_NOUKI = header(DocHeader::NOUKI, g.HEAD_NOUKI);
    s.HEAD_YUKOU = header(DocHeader::YUKO_KIGEN, g.HEAD_YUKOU);

    s.OWN_NAME = g.OWN_JISYA_NAME;
    s.OWN_ADDRESS_1 = g.OWN_JUSYO_1;
    s.OWN_ADDRESS_2 = g.OWN_JUSYO_2;
    s.OWN_POSTCODE = g.OWN_YUBIN_NO;
    s.OWN_TEL = g.OWN_TEL_NO;
    s.OWN_FAX = g.OWN_FAX_NO;
    s.OWN_REG_NO = g.OWN_TOUROKU_NO;
    s.FURIKOMI = {g.SYSF_REC.text(OwnCompany::FURIKOMI_1), g.SYSF_REC.text(OwnCompany::FURIKOMI_2),
                  g.SYSF_REC.text(OwnCompany::FURIKOMI_3), g.SYSF_REC.text(OwnCompany::FURIKOMI_4)};

    s.DOC_AMOUNT_TOTAL = g.DOC_AMOUNT_TOTAL;
    s.DOC_TAX_TOTAL = g.DOC_TAX_TOTAL;
    s.DOC_GRAND_TOTAL = g.DOC_GROSS_TOTAL;
    s.TAX_RATE = g.TAX_RATE;
    s.TAX_TBL_RATE = g.TAX_TBL_RATE;
    s.TAX_TBL_BASE = g.TAX_TBL_BASE;
    s.TAX_TBL_TAX = g.TAX_TBL_TAX;
    s.taxEntries = std::move(taxEntries);
    return s;
}

} // namespace qd::printing
