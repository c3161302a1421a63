// What the set search's component panel (Frame2) shows of one component of a set: the names of
// its major class, class, kinds, section and colour, and from its price line (found by the one
// rule of records/set_files.h that the set's total and its rows use) the symbol, designation,
// remark and sizes, up to sixteen colours each beside its own list price, the list price of the
// component's colour and the component's quantity.
#pragma once

#include <array>
#include <string>

#include "quotedesk/core/qd_state.h"

namespace qd::entry {

using qd::core::QdState;

struct ComponentPanelContent {
    // Empty where no record was found.
    std::string major, klass, kind1, kind2, section; // Text49, Text35, Text3, Text50, Text36
    std::string colourName;                          // Label26
    bool lineFound = false;
    // Empty when the price line is not found.
    std::string colourPrice;                         // Text51
    std::string kigo, kosyo, biko;                   // Text8, Text9, Text37
    std::string wMiri, wSyaku, hMiri, hSyaku;        // Text4, Text5, Text6, Text7
    std::array<std::string, 16> colours, prices;     // the colour positions 1..16
    std::string quantity;                            // Text26
};

// The label of a colour position without a colour: thirteen hyphens, blank-padded to 20.
inline const std::string NO_COMPONENT_COLOUR = "-------------       ";

// The panel of `component` (a SetItemRecord). The colour positions take the price slots that
// hold a colour or a price, in slot order, the first sixteen; a position's label names its own
// slot's colour, so a slot without a price never puts another colour's name beside a price.
// Without its price line the colours and prices are empty too. Reads the masters (MAKER,
// BUNRUI, CIHO and IRO opened again where they are not open), the kind files of its major class
// and its price file; sets MAJOR_NO to its major class when MAKER.TXT has it, the quantity,
// symbol and remark fields of LINE_WORK, PANEL_COLORS and PANEL_PRICES.
ComponentPanelContent FRAME2_SET(QdState &g, const qd::records::Record &component);

} // namespace qd::entry
