// What the price detail panel (Frame3) of the unit-price search and of the set search shows of
// one price line: the names of its major class, class, kinds and section, its symbol,
// designation, remark and sizes, and up to sixteen colours with their list prices.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "quotedesk/core/qd_state.h"

namespace qd::entry {

using qd::core::QdState;

// The two panels differ in how their look-ups settle duplicates and in how they place prices.
enum class PanelVariant {
    UnitPrice, // the unit-price search: prices packed to the front, the item's 呼称 kept
    Set,       // the set search: price n beside slot n, blank slots empty
};

struct PanelContent {
    // The five names; nullopt where no record was found (the box keeps what it showed).
    std::optional<std::string> major, klass, kind1, kind2, section; // Text28, Text29, Text30, Text27, Text60
    std::string kigo, kosyo, biko;                                 // Text38, Text39, Text61
    std::string wMiri, wSyaku, hMiri, hSyaku;                      // Text31, Text32, Text33, Text34
    std::array<std::string, 16> colours;                           // labels of positions 1..16
    std::array<std::string, 16> prices;                            // price boxes of positions 1..16
};

// The label of a position without a colour: ten hyphens and ten blanks.
inline const std::string NO_COLOUR_LABEL = "----------          ";

// The codes of a price line or a set's component that name its master records (cut at NUL).
struct LineCodes {
    std::string maker, bunrui, hinsyu2, ciho;
};
LineCodes lineCodes(const qd::records::Record &priceLine);

// The names of the major class, class, kind 1, kind 2 and section of `codes` into `c`: the major
// class, class and kind 1 from their first record with the codes, kind 2 and section from their
// first (unit-price search) or last (set search) one. Sets MAJOR_NO to the major class when
// MAKER.TXT has it.
void panelNames(QdState &g, const LineCodes &codes, PanelVariant variant, PanelContent &c);

// A size field in tenths (or hundredths) divided and shown with the pattern's decimals; a blank
// field shows zero.
std::string sizeText(const qd::records::Record &line, int field, int divisor, const char *pattern);

// The panel of the price record in TANKA_REC. Reads the MAKER, BUNRUI, CIHO and IRO masters
// (opened again where they are not open) and the kind files of the item's major class (opened
// and closed here); sets MAJOR_NO to the item's major class when MAKER.TXT has it, rebuilds
// PANEL_COLORS, PANEL_PRICES and PANEL_POS, and for the unit-price search stores the item's
// 呼称 in the designation field of LINE_WORK.
PanelContent panelContent(QdState &g, PanelVariant variant);

} // namespace qd::entry
