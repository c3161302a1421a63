// A price line into the sheet: the row that "明細追加" of the unit-price search fills from the
// chosen price record, its master names, its rates and the price of the chosen colour.
#pragma once

#include <string>

#include "quotedesk/core/qd_state.h"

namespace qd::entry {

using qd::core::QdState;

// Sheet columns (grid column = COL_BASE + k - 1) that product entry writes.
enum SheetCol {
    C_HINMEI = 2, C_KOSYO = 3, C_W = 4, C_H = 5, C_D = 6, C_M2_TANKA = 7, C_IRO = 8, C_SURYO = 9,
    C_TANI = 10, C_RITU_KBN = 11, C_KAKERITU = 12, C_TEIKA = 13, C_TANKA = 14, C_KINGAKU = 15,
    C_BIKO = 16, C_GENKA_RITU = 17, C_GENKA = 18, C_GENKA_KINGAKU = 19, C_ARARI = 20,
    C_HACHU_HINBAN = 21, C_HINBAN = 22, C_ZEI_RITU = 23, C_ZEI_GAKU = 24
};

// The 85-character item key of the price record in TANKA_REC: MAKER_CD, BUNRUI_CD, HINSYU2_CD,
// CIHO_CD, KIGO and BIKO as stored (2 + 2 + 4 + 2 + 25 + 50 bytes).
std::string itemKey(const QdState &g);

// Fills row ROW_NO of the current sheet (a blank row just inserted) from TANKA_REC, COLOR_NO and
// the colour-name field of LINE_WORK: looks up the class, kind-1, kind-2, section and colour
// records (a look-up that finds nothing leaves its buffer blank), resolves the rates
// (RATE_SELECT), writes columns 2 to 21 and the common tax rate into column 23, recalculates the
// row (ROW_CALC) and the totals (TAX_TOTAL_CALC), and ends at row ROW_NO, column
// COL_BASE + COL_NO (the sheet's last column at most). Sets MAJOR_NO to the item's major class.
// Throws qd::files::FileError when a master cannot be read.
void PRICE_ITEM_TO_GRID(QdState &g);

} // namespace qd::entry
