#include "quotedesk/entry/price_panel.h"

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/entry/master_reads.h"
#include "quotedesk/entry/price_lists.h"

namespace qd::entry {

namespace {

using qd::records::Record;
using qd::text::Fixed4;
using qd::text::format;
namespace P = qd::records::Price;
namespace Mc = qd::records::MajorClass;
namespace Cls = qd::records::Class;
namespace K1 = qd::records::Kind1;
namespace K2 = qd::records::Kind2;
namespace Sec = qd::records::Section;
namespace Col = qd::records::Color;

using Match = std::function<bool(const Record &)>;

// A look-up that takes the first match or, reading on to the end, the last one.
std::optional<std::string> lookUp(qd::records::RecordFileControl &ctl, Record &rec, const Match &match, int nameField,
                                  bool lastWins, const std::function<void(const Record &)> &also = {})
{
    std::optional<std::string> name;
    auto take = [&](const Record &r) {
        name = r.text(nameField);
        if (also)
            also(r);
    };
    if (lastWins) {
        forEachMatch(ctl, rec, match, take);
    } else {
        for (std::int32_t n = 1; n <= ctl.recordCount; ++n) {
            ctl.get(n, rec);
            if (match(rec)) {
                take(rec);
                break;
            }
        }
    }
    return name;
}

} // namespace

LineCodes lineCodes(const Record &t)
{
    return {codeField(t, P::MAKER_CD), codeField(t, P::BUNRUI_CD), codeField(t, P::HINSYU2_CD), codeField(t, P::CIHO_CD)};
}

std::string sizeText(const Record &t, int field, int divisor, const char *pattern)
{
    const Fixed4 v = qd::text::valFixed(qd::text::trim(t.raw(field)));
    return format(v / Fixed4::fromInt(divisor), pattern);
}

void panelNames(QdState &g, const LineCodes &codes, PanelVariant variant, PanelContent &c)
{
    const bool unitPrice = variant == PanelVariant::UnitPrice;
    openFormMasters(g);
    const std::string &maker = codes.maker, &bunrui = codes.bunrui, &hinsyu2 = codes.hinsyu2, &ciho = codes.ciho;

    // Major class; it also names the kind files.
    c.major = lookUp(
        g.MAKER_CTL, g.MAKER_REC, [&](const Record &r) { return codeField(r, Mc::MAKER_CD) == maker; }, Mc::NAME,
        unitPrice, [&](const Record &r) { g.MAJOR_NO = static_cast<std::int16_t>(r.number(Mc::MAKER_CD)); });

    c.klass = lookUp(
        g.BUNRUI_CTL, g.BUNRUI_REC,
        [&](const Record &r) { return codeField(r, Cls::BUNRUI_CD) == bunrui && codeField(r, Cls::MAKER_CD) == maker; },
        Cls::NAME, false);

    HISYU1_OPEN_READ(g);
    c.kind1 = lookUp(
        g.HISYU1_CTL, g.HISYU1_REC,
        [&](const Record &r) {
            return codeField(r, K1::BUNRUI_CD) == bunrui && codeField(r, K1::MAKER_CD) == maker &&
                   codeField(r, K1::HINSYU1_CD).compare(0, 2, hinsyu2, 0, 2) == 0;
        },
        K1::NAME, false);
    g.HISYU1_CTL.close();

    HISYU2_OPEN_READ(g);
    c.kind2 = lookUp(
        g.HISYU2_CTL, g.HISYU2_REC,
        [&](const Record &r) {
            return codeField(r, K2::BUNRUI_CD) == bunrui && codeField(r, K2::MAKER_CD) == maker &&
                   codeField(r, K2::HINSYU2_CD) == hinsyu2;
        },
        K2::NAME, !unitPrice);
    g.HISYU2_CTL.close();

    c.section = lookUp(
        g.CIHO_CTL, g.CIHO_REC, [&](const Record &r) { return codeField(r, Sec::CIHO_CD) == ciho; }, Sec::NAME,
        !unitPrice);
}

PanelContent panelContent(QdState &g, PanelVariant variant)
{
    const bool unitPrice = variant == PanelVariant::UnitPrice;
    PanelContent c;
    const Record &t = g.TANKA_REC;
    const std::string maker = codeField(t, P::MAKER_CD);
    panelNames(g, lineCodes(t), variant, c);

    if (unitPrice)
        g.LINE_WORK.KOSYO = qd::text::fixedChars(t.text(P::KOSYO), 20);

    c.biko = t.text(P::BIKO);
    c.kigo = t.text(P::KIGO);
    c.kosyo = t.text(P::KOSYO);
    c.wMiri = sizeText(t, P::W_MIRI, 10, "###0.0");
    c.hMiri = sizeText(t, P::H_MIRI, 10, "###0.0");
    c.wSyaku = sizeText(t, P::W_SYAKU, 100, "#0.00");
    c.hSyaku = sizeText(t, P::H_SYAKU, 100, "#0.00");
    c.colours.fill(NO_COLOUR_LABEL);

    // Prices: packed to the front (unit-price search) or slot n at position n (set search).
    for (int k = 1; k <= 16; ++k)
        g.PANEL_COLORS[static_cast<std::size_t>(k)] = 0;
    const int cleared = unitPrice ? 20 : 100;
    for (int k = 1; k <= cleared; ++k)
        g.PANEL_PRICES[static_cast<std::size_t>(k)] = 0;
    int fill = 1;
    for (int s = 1; s <= qd::records::PriceSlots; ++s) {
        const bool blank = t.raw(P::tanka(s)) == "       ";
        const auto value = static_cast<std::int32_t>(t.number(P::tanka(s)));
        if (unitPrice) {
            if (!blank)
                g.PANEL_PRICES[static_cast<std::size_t>(fill++)] = value;
        } else {
            g.PANEL_PRICES[static_cast<std::size_t>(s)] = blank ? 0 : value;
        }
    }
    COLOR_CODE_LIST(g);

    // Colour names: every colour record of the item's major class names the positions of its
    // code (compared as numbers, so 01 names a slot code 001); a later record overwrites.
    forEachMatch(
        g.IRO_CTL, g.IRO_REC, [&](const Record &r) { return codeField(r, Col::MAKER_CD) == maker; },
        [&](const Record &r) {
            const std::int64_t v = r.number(Col::IRO_CD);
            for (int k = 1; k <= 16; ++k)
                if (g.PANEL_COLORS[static_cast<std::size_t>(k)] == v)
                    c.colours[static_cast<std::size_t>(k - 1)] = r.text(Col::NAME);
        });

    for (int k = 1; k <= 16; ++k)
        c.prices[static_cast<std::size_t>(k - 1)] =
            format(static_cast<std::int64_t>(g.PANEL_PRICES[static_cast<std::size_t>(k)]), "#,###,###");
    return c;
}

} // namespace qd::entry
