// Row commands of the edit tool window on the current sheet: blank rows inserted, rows deleted,
// rows grouped under the mark "【x】" with a total row below them, groups dissolved, the height
// of grouped rows collapsed and restored, and rows registered as new single items at the end of
// "\data\TANPIN.TXT".
//
// Grouped rows stay in the document as detail lines; their total row carries their amounts as
// one line, so they are neither printed nor totalled.
#pragma once

#include <string>

#include "quotedesk/sheet/selection.h"

namespace qd::sheet {

// Captions of the collapse button: what its next click does.
inline constexpr const char *GROUP_HEIGHT_RESTORE = "行高↑";
inline constexpr const char *GROUP_HEIGHT_COLLAPSE = "行高↓";
inline constexpr int COLLAPSED_ROW_HEIGHT = 100;
// Grouping may reach this row at most; the total row then stands at the next.
inline constexpr int GROUP_LAST_ROW = 500;
inline constexpr int ITEM_CODE_MAX = 9999;

// The height of data rows in force (ROW_HEIGHT_1 in whole twips).
int dataRowHeight(const QdState &g);

// "挿": as many blank rows as the selection has are inserted before its first row (the first data
// row at the least); a whole column is refused with a message.
void rowsInsert(QdState &g, EditCommandUi &ui);

// "削": the selected rows are removed; a whole column is refused with a message. The caption row
// and the sheet's last remaining data row are never removed.
void rowsDelete(QdState &g, EditCommandUi &ui);

// "設": the selected rows (in ascending order) get the group mark before their item name, lose the
// separators and yen marks of their amount and cost amount, and a total row is added directly
// below them with quantity 1, the amount sum as unit price and the cost-amount sum as cost.
// A last row past GROUP_LAST_ROW is refused with a message and nothing is marked.
void groupRows(QdState &g, EditCommandUi &ui);

// "解": every group mark goes from the item names of the selected rows; they get the data-row
// height and lose the grouping colour. The total row stays.
void ungroupRows(QdState &g, EditCommandUi &ui);

// "行高↑" / "行高↓": the selected rows whose trimmed item name begins with the mark get the data-row
// height ("行高↑") or are collapsed ("行高↓"). Returns the button's next caption.
std::string groupHeights(QdState &g, const std::string &caption);

// "単品登録": each selected row, from the first to the last (a selection made from the bottom up
// registers nothing), is appended to "\data\TANPIN.TXT" after the file's last record with the
// next code after the highest in the file, its item name without group marks and its list price
// and cost. A code past ITEM_CODE_MAX stops the registration with a message; rows registered
// before it stay, and the message names them with their codes and the rows not registered. The
// sheet is not changed. A file that cannot be read or written stops the
// registration with a message that says which rows were registered (with their codes), which
// row's item the file may hold (an append that could not be cut back), and which rows were not
// registered, with the file and the system's reason, so that the user can choose the rows still
// to register.
void registerItems(QdState &g);

} // namespace qd::sheet
