// What a print run composes from, taken from the program's state when the run starts: the
// rows of the current sheet, the document totals and tax breakdown, the header and the
// own-company values and the print settings. Windows that stay live while pages are composed
// cannot change a document half way through its pages.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text/numbers.h"
#include "quotedesk/core/qd_state.h"

namespace qd::printing {

inline constexpr int kSheetColumns = 24; // sheet columns 1..24

// One sheet row: cell[k] is sheet column k (1..24); cell[0] is unused.
using SheetRow = std::array<std::string, kSheetColumns + 1>;

struct PrintSource {
    std::vector<SheetRow> rows; // sheet rows 1..LAST_ROW

    std::int16_t DOC_KIND = 0, SIZE_MODE = 1, TAX_PRINT = 1, TAX_MODE = 1;
    std::int16_t PRN_OPTION = 1, PRN_NAME_COL = 0;
    std::string ISSUE_DATE;

    std::string HEAD_TOKUI, HEAD_BUKKEN, HEAD_NOUHIN, HEAD_SIHARAI, HEAD_NOUKI, HEAD_YUKOU;
    std::string OWN_NAME, OWN_ADDRESS_1, OWN_ADDRESS_2, OWN_POSTCODE, OWN_TEL, OWN_FAX, OWN_REG_NO;
    std::array<std::string, 4> FURIKOMI; // the bank-transfer lines as stored, 50 characters each

    std::int32_t DOC_AMOUNT_TOTAL = 0, DOC_TAX_TOTAL = 0, DOC_GRAND_TOTAL = 0;
    qd::text::Fixed4 TAX_RATE; // the common rate, at which the totals tax a row without a rate
    std::array<qd::text::Fixed4, 11> TAX_TBL_RATE{}, TAX_TBL_BASE{}, TAX_TBL_TAX{}; // slots 1..10
    // The main window's breakdown by rate: "10.00 01" = rate, blank, slot.
    std::vector<std::string> taxEntries;
};

// The last row of the current sheet with text in any of columns 1..24 (0: none). Reads the
// sheet only; its current cell stays where it is.
int lastPrintedRow(const qd::grid::FlexGrid &grid);

// The totals a document cannot be printed with: while the totals are beyond the 32-bit document
// totals, the names of those standing at their limit ("製品合計金額", "消費税額", "総合計"), as
// the main window shows them; empty when the document's totals print as they are.
std::vector<std::string> totalsBeyondPrint(const qd::core::QdState &g);

// Takes rows 1..LAST_ROW of the current sheet and the values the layouts print. A header
// field whose stored record holds a NUL is cut before it, also in the header global.
PrintSource takePrintSource(qd::core::QdState &g, std::vector<std::string> taxEntries);

} // namespace qd::printing
