// The item key of a product row across a save and a load.
//
// A row entered from a price line carries its 85-character item key in column 21 (発注品番),
// but the line record's field for that column holds 25 bytes. The 品番 field beside it (column
// 22) is 85 bytes wide and empty on product rows, so a save keeps the whole key there and a load
// puts it back into column 21; the first 25 bytes stay in the 発注品番 field as before, so older
// readers of the file see what they always saw. A row with its own text in column 22 keeps
// that text, and its key is cut to 25 bytes as it always was.
#pragma once

#include "platform/grid/flex_grid.h"
#include "quotedesk/core/qd_state.h"

namespace qd::core {

// After a row has been put into LINE_REC for saving: when column 21 of `row` holds a key (ten
// code digits first) longer than the 発注品番 field can take and column 22 is empty, the whole
// of column 21 goes into the 品番 field.
void keepItemKey(QdState &g, const qd::grid::FlexGrid &grid, int row);

// After a loaded line record has filled `row`: when the 品番 field holds a key whose first 25
// bytes are the 発注品番 field, column 21 gets the whole key and column 22 stays empty.
// Returns whether it did.
bool restoreItemKey(const QdState &g, qd::grid::FlexGrid &grid, int row);

} // namespace qd::core
