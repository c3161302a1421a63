// A price line into the sheet: the row that "明細追加" of the unit-price search fills from the
// chosen price record, and each component row of a set, from the master names of the line, its
// rates and the list price of its colour.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
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

// The 85-character item key of a price record: MAKER_CD, BUNRUI_CD, HINSYU2_CD, CIHO_CD, KIGO
// and BIKO as stored (2 + 2 + 4 + 2 + 25 + 50 bytes).
std::string itemKey(const qd::records::Record &line);
std::string itemKey(const QdState &g); // of TANKA_REC

// What a row is made of besides its price line: where it goes, which colour record names its
// colour, its list price and quantity. A product chosen in the unit-price search and a
// component of a set differ only here.
struct RowSource {
    int row = 0;
    // A set's component: KIGO, BIKO and the names are cut at their first NUL, a colour that is
    // not in the colour file leaves the colour name blank (a product keeps the one its search
    // form chose), and a line of major class "01" shows its 記号 as the designation.
    bool setComponent = false;
    std::function<bool(const qd::records::Record &colour)> isColour;
    std::optional<std::int64_t> listPrice; // 定価; none leaves it empty
    std::int64_t quantity = 1;
};

// Fills row `source.row` of the current sheet (a blank row just inserted) from the price line:
// looks up the class, kind-1, kind-2, section and colour records (a look-up that finds nothing
// leaves its buffer blank), resolves the rates from the document header or the own-company
// record as they stand in memory (RATE_SELECT), writes columns 2 to 21 and the common tax rate
// into column 23, and recalculates the row (ROW_CALC) and the totals (TAX_TOTAL_CALC). Sets
// MAJOR_NO to the line's major class. Throws qd::files::FileError when a master cannot be read.
void priceLineToRow(QdState &g, const qd::records::Record &line, const RowSource &source);

// The unit-price search's row: row ROW_NO from TANKA_REC in the colour COLOR_NO (the last slot
// of that colour gives the list price), one piece; the colour name stays as the search form
// left it in LINE_WORK when IRO.TXT does not have the colour. Ends at row ROW_NO, column
// COL_BASE + COL_NO (the sheet's last column at most).
void PRICE_ITEM_TO_GRID(QdState &g);

} // namespace qd::entry
