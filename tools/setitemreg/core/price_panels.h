// What the two price panels show: the component chosen in the component list (with its colour,
// the price of that colour and its quantity), and the price line pressed in the price list.
// The panels only read; neither shows a rate.
#pragma once

#include <array>
#include <string>

#include "records/record.h"
#include "tools/setitemreg/core/sethin_state.h"

namespace qd::setitemreg {

inline constexpr const char *FRAME2_EMPTY_COLOUR = "----------";
inline constexpr const char *FRAME3_EMPTY_COLOUR = "--------------";

struct PanelContent {
    std::string majorName, className, kind1Name, kind2Name, sectionName;
    bool lineFound = false;
    std::string kigo, kosyo, biko;
    std::string wMm, wShaku, hMm, hShaku;
    // The colour grid, entry k = 1..16 at [k - 1].
    std::array<std::string, 16> colourNames, prices;
    // Component panel only: its colour's name and price, and its quantity.
    std::string colourName, colourPrice, quantity;
};

// The component panel for the component in `component` (SET_REC_NO := recordNo). Sets SET_QTY,
// SEL_MAKER, and when its price line is found SEL_KIGO and SEL_BIKO, which 変更 then uses.
// The price of its colour is the set's list price of the component, as the total counts it.
PanelContent componentPanel(SethinState &g, const qd::records::Record &component, std::int32_t recordNo);

// The price-line panel for the list-price record `line`. Sets SEL_MAKER.
PanelContent priceLinePanel(SethinState &g, const qd::records::Record &line);

} // namespace qd::setitemreg
