#include "tools/setitemreg/core/price_panels.h"

#include "platform/text/numbers.h"
#include "records/layouts.h"
#include "records/set_files.h"
#include "tools/setitemreg/core/item_choice.h"

namespace qd::setitemreg {

namespace r = qd::records;
using qd::records::Record;
using qd::text::Fixed4;
using qd::text::format;

namespace {

struct Codes {
    std::string maker, bunrui, hinsyu2, ciho;
};

// The master names of a line's codes: major class, class and kind 1 by their first match, kind
// 2 and section by their last. SEL_MAKER := the major class found.
void masterNames(SethinState &g, const Codes &c, PanelContent &p)
{
    for (const Record &m : readMaster(g, "MAKER.TXT", r::MajorClass::layout()))
        if (m.raw(r::MajorClass::MAKER_CD) == c.maker) {
            p.majorName = m.text(r::MajorClass::NAME);
            g.SEL_MAKER = static_cast<std::int16_t>(m.number(r::MajorClass::MAKER_CD));
            break;
        }
    for (const Record &k : readMaster(g, "BUNRUI.TXT", r::Class::layout()))
        if (k.raw(r::Class::MAKER_CD) == c.maker && k.raw(r::Class::BUNRUI_CD) == c.bunrui) {
            p.className = k.text(r::Class::NAME);
            break;
        }
    for (const Record &k : readKindFile(g, 1))
        if (k.raw(r::Kind1::MAKER_CD) == c.maker && k.raw(r::Kind1::BUNRUI_CD) == c.bunrui &&
            k.raw(r::Kind1::HINSYU1_CD).substr(0, 2) == c.hinsyu2.substr(0, 2)) {
            p.kind1Name = k.text(r::Kind1::NAME);
            break;
        }
    for (const Record &k : readKindFile(g, 2))
        if (k.raw(r::Kind2::HINSYU2_CD) == c.hinsyu2 && k.raw(r::Kind2::BUNRUI_CD) == c.bunrui &&
            k.raw(r::Kind2::MAKER_CD) == c.maker)
            p.kind2Name = k.text(r::Kind2::NAME);
    for (const Record &s : readMaster(g, "CIHO.TXT", r::Section::layout()))
        if (s.raw(r::Section::CIHO_CD) == c.ciho)
            p.sectionName = s.text(r::Section::NAME);
}

bool blank(const std::string &raw) { return raw.find_first_not_of(' ') == std::string::npos; }

std::string millimetres(const Record &line, int f) { return format(line.fixedValue(f) / Fixed4::fromInt(10), "###0.0"); }
std::string shaku(const Record &line, int f) { return format(line.fixedValue(f) / Fixed4::fromInt(100), "#0.00"); }

// The line's symbol, designation, remark, sizes and colour grid. The grid takes the slots that
// hold a colour or a price, in slot order, the first sixteen of them: each entry shows the name
// of its slot's colour beside its slot's price, so a slot without a price never shifts a price
// under another colour's name.
void lineFields(SethinState &g, const Record &line, const char *emptyMark, PanelContent &p)
{
    p.lineFound = true;
    p.kigo = line.text(r::Price::KIGO);
    p.kosyo = line.text(r::Price::KOSYO);
    p.biko = line.text(r::Price::BIKO);
    p.wMm = millimetres(line, r::Price::W_MIRI);
    p.hMm = millimetres(line, r::Price::H_MIRI);
    p.wShaku = shaku(line, r::Price::W_SYAKU);
    p.hShaku = shaku(line, r::Price::H_SYAKU);

    g.IRO_CD_TBL.fill(0);
    g.TANKA_TBL.fill(0);
    std::array<bool, 16> hasColour{};
    int k = 0;
    for (int s = 1; s <= r::PriceSlots && k < 16; ++s) {
        const bool noColour = blank(line.raw(r::Price::iroCd(s)));
        if (noColour && blank(line.raw(r::Price::tanka(s))))
            continue;
        hasColour[k] = !noColour;
        g.IRO_CD_TBL[k] = static_cast<std::int16_t>(line.number(r::Price::iroCd(s)));
        g.TANKA_TBL[k] = static_cast<std::int32_t>(line.number(r::Price::tanka(s)));
        ++k;
    }
    for (int e = 0; e < 16; ++e) {
        g.IRO_NAME_TBL[e] = emptyMark;
        p.prices[e] = format(static_cast<std::int64_t>(g.TANKA_TBL[e]), "#,###,##0");
    }
    const std::string maker = line.raw(r::Price::MAKER_CD);
    for (const Record &c : readMaster(g, "IRO.TXT", r::Color::layout())) {
        if (c.raw(r::Color::MAKER_CD) != maker)
            continue;
        for (int e = 0; e < k; ++e)
            if (hasColour[e] && c.number(r::Color::IRO_CD) == g.IRO_CD_TBL[e])
                g.IRO_NAME_TBL[e] = c.text(r::Color::NAME);
    }
    p.colourNames = g.IRO_NAME_TBL;
}

} // namespace

PanelContent componentPanel(SethinState &g, const Record &component, std::int32_t recordNo)
{
    using S = r::SetItem::Field;
    PanelContent p;
    g.SET_REC_NO = recordNo;
    g.SET_QTY = static_cast<std::int32_t>(r::setQuantityOf(component));
    p.quantity = format(static_cast<std::int64_t>(g.SET_QTY), "####0");
    masterNames(g, {component.raw(S::MAKER_CD), component.raw(S::BUNRUI_CD), component.raw(S::HINSYU2_CD), component.raw(S::CIHO_CD)}, p);
    for (const Record &c : readMaster(g, "IRO.TXT", r::Color::layout()))
        if (c.raw(r::Color::IRO_CD) == component.raw(S::IRO_CD) && c.raw(r::Color::MAKER_CD) == component.raw(S::MAKER_CD))
            p.colourName = c.text(r::Color::NAME);

    r::SetPriceBook book(r::instDir(g));
    const r::SetItemPrice price = book.price(component);
    if (!price.lineFound)
        return p;
    const Record &line = book.line();
    g.SEL_KIGO = line.raw(r::Price::KIGO);
    g.SEL_BIKO = line.raw(r::Price::BIKO);
    lineFields(g, line, FRAME2_EMPTY_COLOUR, p);
    if (price.slot != 0)
        p.colourPrice = format(price.listPrice, "#,###,##0");
    return p;
}

PanelContent priceLinePanel(SethinState &g, const Record &line)
{
    using P = r::Price::Field;
    PanelContent p;
    masterNames(g, {line.raw(P::MAKER_CD), line.raw(P::BUNRUI_CD), line.raw(P::HINSYU2_CD), line.raw(P::CIHO_CD)}, p);
    lineFields(g, line, FRAME3_EMPTY_COLOUR, p);
    return p;
}

} // namespace qd::setitemreg
