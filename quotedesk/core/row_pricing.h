// Pricing of one sheet row: list price from the sizes and the area or volume price, unit price
// from the list price and the rate rounded up to the calculation unit, amount, cost from the
// cost rate, cost amount and gross profit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "quotedesk/core/qd_state.h"

namespace qd::core {

// Recalculates the current row of the current sheet (Grid1(CUR_SLOT).Row). The number cells it
// reads lose their yen marks and thousands separators and are written back with separators;
// the line work fields hold the row's values afterwards. The tax columns are not touched.
// A figure is never cut to its field: a value the row's document field cannot hold (a list
// price of 10,000,000 yen, an amount of 100,000,000) stands whole in its cell, is priced on
// whole, and its cell is marked (markBeyondField). Ends with the current cell at (ROW_NO, COL_NO).
void ROW_CALC(QdState &g);

// The colour of a cell whose value its document field cannot hold.
inline constexpr qd::grid::Rgb BEYOND_FIELD_COLOR = 0xFF9090;
// Marks cell (row, col) with BEYOND_FIELD_COLOR when the document field of its column cannot hold
// its value (cellFitsItsField), and takes the mark off again when it can.
void markBeyondField(qd::grid::FlexGrid &grid, int row, int col);
// Whether the whole part of a number's text (before its decimal point) has at most `width`
// characters: a work or record field of that width keeps all its digits.
bool wholePartFits(std::string_view text, std::size_t width);

// A price from a rate, exact in decimal: Fix((rate x price / 100 + unit - 1) / unit) x unit,
// that is the whole part of the rated price rounded up to a multiple of the calculation unit.
// `adj` is unit - 1 (CALC_ADJ beside CALC_UNIT); a unit below 1 counts as 1.
std::int64_t ratedPrice(Fixed4 rate, Fixed4 price, std::int16_t unit, std::int16_t adj);
// A typed price rounded up the same way: Fix((price + adj) / unit) x unit.
std::int64_t unitRounded(Fixed4 price, std::int16_t unit, std::int16_t adj);

// The quantity the pricing takes from a 数量 cell: separators and yen marks dropped, blanks
// trimmed, cut to the five characters of the quantity work field and read as a number ("1,000"
// is a thousand, "1.5" one and a half); 0 for a cell that holds no number. Printing shows the
// same quantity the amount was priced from.
Fixed4 pricedQuantity(std::string_view cell);

// The text without thousands separators and yen marks ("\" and "¥", the one byte 0x5C of the
// files).
std::string withoutMoneyMarks(std::string_view s);

} // namespace qd::core
