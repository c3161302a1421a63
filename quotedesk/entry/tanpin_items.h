// The single-item picker's work on the item master "\data\TANPIN.TXT": the list lines of its
// live items, the search in their names, the row an item makes in the sheet, and the rewrite of
// the master in code order when the picker ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quotedesk/core/qd_state.h"

namespace qd::entry {

using qd::core::QdState;

// One item of the list: TANPIN_CD formatted "0000", a blank, the 50-character NAME as stored,
// 50 blanks and the record number formatted "00000"; the record as it was read.
struct ItemLine {
    std::string text;
    std::int32_t recNo = 0;
    qd::records::Record rec{qd::records::Item::layout()};
};

// Every item of the master in record order, deleted ones (code "0000") left out. Only whole
// records are items: a master that ends in a part of a record is noted in partialNotes. A
// missing master has no items and is not created.
std::vector<ItemLine> TANPIN_LIST_ALL(QdState &g);
// The items whose name holds SEARCH_TEXT (trimmed, compared character for character); none
// for an empty search text.
std::vector<ItemLine> TANPIN_LIST_FIND(QdState &g);

// The chosen item into the edit values ITEM_CODE, ITEM_NAME, ITEM_TANKA and ITEM_GENKA.
void ITEM_CHOOSE(QdState &g, const qd::records::Record &item);

// A price or cost the sheet's 7-digit fields can hold: -999,999 to 9,999,999.
bool itemPriceInRange(std::int64_t value);

// Writes the item of the edit values into row ROW_NO of the current sheet (a blank row just
// inserted): its name, list price, unit price (the price the row is sold at: the list price, as
// there is no rate), one piece, cost and the common tax rate; recalculates the row (the unit
// price rounded up to the calculation unit, amount, cost amount, gross profit) and the totals;
// ends at row ROW_NO, column COL_BASE + COL_NO (the sheet's last column at most).
void TANPIN_TO_GRID(QdState &g);

// Rewrites the master without its deleted items, in code order (equal codes in record order),
// through its work copy "\data\WTANPIN.TXT", holding the master's lock from its read to the
// rename. Returns the number of items written. A master that ends in a part of a record, or a
// step that fails, throws qd::files::FileError and leaves the master as it was; a missing master
// is left missing.
std::int32_t TANPIN_REWRITE(QdState &g);

} // namespace qd::entry
