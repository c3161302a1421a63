#include "quotedesk/entry/set_panel.h"

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/entry/master_reads.h"
#include "quotedesk/entry/price_panel.h"
#include "records/set_files.h"

namespace qd::entry {

namespace {

using qd::records::Record;
using qd::text::format;
namespace P = qd::records::Price;
namespace S = qd::records::SetItem;
namespace Col = qd::records::Color;

bool blank(const std::string &raw) { return raw.find_first_not_of(' ') == std::string::npos; }

} // namespace

ComponentPanelContent FRAME2_SET(QdState &g, const Record &component)
{
    ComponentPanelContent c;
    const std::int64_t quantity = qd::records::setQuantityOf(component);
    g.LINE_WORK.SURYO = qd::text::fixedChars(std::to_string(quantity), 5);
    c.quantity = format(quantity, "####0");

    const LineCodes codes{codeField(component, S::MAKER_CD), codeField(component, S::BUNRUI_CD),
                          codeField(component, S::HINSYU2_CD), codeField(component, S::CIHO_CD)};
    PanelContent names;
    panelNames(g, codes, PanelVariant::Set, names);
    c.major = names.major.value_or("");
    c.klass = names.klass.value_or("");
    c.kind1 = names.kind1.value_or("");
    c.kind2 = names.kind2.value_or("");
    c.section = names.section.value_or("");

    // The component's colour: the last colour record with its code and major class.
    const std::string colour = codeField(component, S::IRO_CD);
    forEachMatch(
        g.IRO_CTL, g.IRO_REC,
        [&](const Record &r) { return codeField(r, Col::MAKER_CD) == codes.maker && codeField(r, Col::IRO_CD) == colour; },
        [&](const Record &r) { c.colourName = r.text(Col::NAME); });

    // The price line, by the rule of the set's total and rows.
    const qd::records::SetItemPrice price = qd::records::SET_ITEM_PRICE(g, component);
    if (!price.lineFound)
        return c;
    c.lineFound = true;
    const Record &t = g.TANKA_REC;
    g.LINE_WORK.BIKO = qd::text::fromField(qd::records::setMatchField(t.raw(P::BIKO), 50));
    g.LINE_WORK.HACHU_HINBAN = qd::text::fromField(qd::records::setMatchField(t.raw(P::KIGO), 25));
    c.biko = g.LINE_WORK.BIKO;
    c.kigo = g.LINE_WORK.HACHU_HINBAN;
    c.kosyo = t.text(P::KOSYO);
    c.wMiri = sizeText(t, P::W_MIRI, 10, "###0.0");
    c.hMiri = sizeText(t, P::H_MIRI, 10, "###0.0");
    c.wSyaku = sizeText(t, P::W_SYAKU, 100, "#0.00");
    c.hSyaku = sizeText(t, P::H_SYAKU, 100, "#0.00");
    if (price.slot != 0)
        c.colourPrice = format(price.listPrice, "#,###,###");

    // The colour positions: each slot that holds a colour or a price, its price beside its colour.
    std::array<bool, 17> hasColour{};
    g.PANEL_COLORS.fill(0);
    for (int k = 1; k <= 20; ++k)
        g.PANEL_PRICES[static_cast<std::size_t>(k)] = 0;
    int k = 0;
    for (int s = 1; s <= qd::records::PriceSlots && k < 16; ++s) {
        const bool noColour = blank(t.raw(P::iroCd(s)));
        if (noColour && blank(t.raw(P::tanka(s))))
            continue;
        ++k;
        hasColour[static_cast<std::size_t>(k)] = !noColour;
        g.PANEL_COLORS[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(t.number(P::iroCd(s)));
        g.PANEL_PRICES[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(t.number(P::tanka(s)));
    }
    g.PANEL_POS = static_cast<std::int16_t>(k + 1);
    for (int n = 1; n <= 16; ++n) {
        c.colours[static_cast<std::size_t>(n - 1)] = NO_COMPONENT_COLOUR;
        c.prices[static_cast<std::size_t>(n - 1)] =
            format(static_cast<std::int64_t>(g.PANEL_PRICES[static_cast<std::size_t>(n)]), "#,###,###");
    }
    // Colour codes are compared as numbers (a slot's 003 is the colour 03); a later record wins.
    forEachMatch(
        g.IRO_CTL, g.IRO_REC, [&](const Record &r) { return codeField(r, Col::MAKER_CD) == codes.maker; },
        [&](const Record &r) {
            for (int n = 1; n <= k; ++n)
                if (hasColour[static_cast<std::size_t>(n)] && r.number(Col::IRO_CD) == g.PANEL_COLORS[static_cast<std::size_t>(n)])
                    c.colours[static_cast<std::size_t>(n - 1)] = r.text(Col::NAME);
        });
    return c;
}

} // namespace qd::entry
