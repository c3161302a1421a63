// Consumption-tax totals of the current sheet: the amounts grouped by tax rate into ten rate
// slots, the tax of each slot rounded by the settings, the totals and the per-rate lines on the
// main window.
#pragma once

#include <string_view>

#include "quotedesk/core/qd_state.h"

namespace qd::core {

// Totals rows 1 to the last filled row of the current sheet, fills the slot tables,
// DOC_AMOUNT_TOTAL / DOC_TAX_TOTAL / DOC_GROSS_TOTAL, Combo4, Combo5, Label11 and Text4..Text7,
// shades group rows, and puts the current cell back to (ROW_NO, COL_NO). A total beyond the 32
// bits of the document totals sets TOTALS_BEYOND_FIELDS: its box shows the whole figure, marked.
void TAX_TOTAL_CALC(QdState &g);

// The same totals after another document became the current one: no hourglass, group rows
// skipped without shading, the current cell left where the scan ended.
void TAX_BREAKDOWN(QdState &g);

// The rate a row is totalled at: its own rate (the number of its 消費税率 cell), or, for a row
// with an amount and no rate of its own, the common rate to two decimals; 0 for a row that no
// rate taxes. Printing shows this rate beside the row's amount.
Fixed4 rowTaxRate(std::string_view rateCell, Fixed4 amount, Fixed4 commonRate);

// Rounds TAX_WORK in place by HASU_TANI and HASU_MODE of TAX_REC.
void TAX_ROUND(QdState &g);

// The rounding of TAX_ROUND on an exact value: unit 1, 10 or 100 rounds, mode 1 up (adding
// 0.9, 9 or 90 before dropping the fraction), 2 down, 3 half up; any other unit leaves the value.
Fixed4 taxRound(Fixed4 v, std::int16_t unit, std::int16_t mode);

} // namespace qd::core
