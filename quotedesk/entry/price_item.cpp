#include "quotedesk/entry/price_item.h"

#include <algorithm>

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/rate_select.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/tax_totals.h"
#include "quotedesk/entry/master_reads.h"

namespace qd::entry {

namespace {

using qd::text::Fixed4;
using qd::text::format;
using qd::text::trim;
namespace P = qd::records::Price;
namespace Cls = qd::records::Class;
namespace K1 = qd::records::Kind1;
namespace K2 = qd::records::Kind2;
namespace Sec = qd::records::Section;
namespace Col = qd::records::Color;

std::string work(std::string_view text, std::size_t width) { return qd::text::fixedChars(text, width); }

Fixed4 num(std::string_view s) { return qd::text::valFixed(trim(s)); }

// The name a look-up keeps for the row: the field cut at its first NUL, trimmed.
std::string lookedUpName(const qd::records::Record &rec, int field) { return trim(nameField(rec, field)); }

// A colour code of digits (blanks around allowed) as a number; a code that is no number never
// matches a chosen colour.
bool colourCodeIs(const qd::records::Record &rec, int field, std::int16_t colour)
{
    const std::string code = trim(codeField(rec, field));
    if (code.empty() || code.find_first_not_of("0123456789") != std::string::npos)
        return false;
    return rec.number(field) == colour;
}

} // namespace

std::string itemKey(const qd::records::Record &t)
{
    return t.text(P::MAKER_CD) + t.text(P::BUNRUI_CD) + t.text(P::HINSYU2_CD) + t.text(P::CIHO_CD) +
           t.text(P::KIGO) + t.text(P::BIKO);
}

std::string itemKey(const QdState &g) { return itemKey(g.TANKA_REC); }

void priceLineToRow(QdState &g, const qd::records::Record &priceLine, const RowSource &source)
{
    qd::grid::FlexGrid &grid = g.curGrid();
    qd::core::LineWork &w = g.LINE_WORK;
    const int row = source.row;

    // A set's component takes its line's symbol and remark up to their first NUL, as the set
    // file stores them.
    qd::records::Record t = priceLine;
    if (source.setComponent) {
        t.setRaw(P::KIGO, codeField(priceLine, P::KIGO));
        t.setRaw(P::BIKO, codeField(priceLine, P::BIKO));
    }

    // 1. The row to fill becomes the current row.
    grid.setRow(row);

    const std::string maker = codeField(t, P::MAKER_CD);
    const std::string bunrui = codeField(t, P::BUNRUI_CD);
    const std::string hinsyu2 = codeField(t, P::HINSYU2_CD);
    const std::string ciho = codeField(t, P::CIHO_CD);

    // 2. The master names, each from the first record with the item's codes.
    BUNRUI_OPEN_READ(g);
    const bool classFound = findFirst(g.BUNRUI_CTL, g.BUNRUI_REC, [&](const qd::records::Record &r) {
        return codeField(r, Cls::MAKER_CD) == maker && codeField(r, Cls::BUNRUI_CD) == bunrui;
    });
    g.BUNRUI_CTL.close();
    const std::string className = classFound ? lookedUpName(g.BUNRUI_REC, Cls::NAME) : std::string();

    g.MAJOR_NO = static_cast<std::int16_t>(t.number(P::MAKER_CD));
    HISYU1_OPEN_READ(g);
    const bool kind1Found = findFirst(g.HISYU1_CTL, g.HISYU1_REC, [&](const qd::records::Record &r) {
        return codeField(r, K1::MAKER_CD) == maker && codeField(r, K1::BUNRUI_CD) == bunrui &&
               codeField(r, K1::HINSYU1_CD).compare(0, 2, hinsyu2, 0, 2) == 0;
    });
    g.HISYU1_CTL.close();
    const std::string kind1Name = kind1Found ? lookedUpName(g.HISYU1_REC, K1::NAME) : std::string();

    HISYU2_OPEN_READ(g);
    const bool kind2Found = findFirst(g.HISYU2_CTL, g.HISYU2_REC, [&](const qd::records::Record &r) {
        return codeField(r, K2::MAKER_CD) == maker && codeField(r, K2::BUNRUI_CD) == bunrui &&
               codeField(r, K2::HINSYU2_CD) == hinsyu2;
    });
    g.HISYU2_CTL.close();
    const std::string kind2Name = kind2Found ? lookedUpName(g.HISYU2_REC, K2::NAME) : std::string();

    // The rates of the kind records just found (a missing one is blank: 100 %), with the
    // own-company rate as it stands in its file.
    qd::core::readOwnCompany(g);
    qd::core::RATE_SELECT(g);

    CIHO_OPEN_READ(g);
    const bool sectionFound = findFirst(g.CIHO_CTL, g.CIHO_REC, [&](const qd::records::Record &r) {
        return codeField(r, Sec::CIHO_CD) == ciho;
    });
    g.CIHO_CTL.close();
    // An item without a section ("00") carries no section name.
    const std::string sectionName =
        sectionFound && ciho != "00" ? lookedUpName(g.CIHO_REC, Sec::NAME) : std::string();

    IRO_OPEN_READ(g);
    const bool colourFound = findFirst(g.IRO_CTL, g.IRO_REC, [&](const qd::records::Record &r) {
        return codeField(r, Col::MAKER_CD) == maker && source.isColour && source.isColour(r);
    });
    g.IRO_CTL.close();
    if (colourFound)
        w.IRO_NAME = work(nameField(g.IRO_REC, Col::NAME), 20);
    else if (source.setComponent)
        w.IRO_NAME = work("", 20); // never the name the previous component left
    // Colour code 01 is the plain finish: it has no name on the quotation.
    if (colourFound && g.IRO_REC.raw(Col::IRO_CD) == "01")
        w.IRO_NAME = work("", 20);

    // 3. The work fields of the row.
    w.HINMEI = qd::text::fixedChars(className + " " + kind1Name + " " + kind2Name + " " +
                                        trim(t.text(P::BIKO)) + " " + sectionName + std::string(100, ' '),
                                    138);
    w.HINBAN = itemKey(t); // exactly the 85 bytes of its six fields
    w.KOSYO = work(t.text(P::KOSYO), 20);
    w.BIKO = work("", 50);
    w.SURYO = work(format(source.quantity, "####0"), 5);
    w.W_MIRI = work(format(t.number(P::W_MIRI), "####0"), 7);
    w.H_MIRI = work(format(t.number(P::H_MIRI), "####0"), 7);
    // Without a price of its colour the price stays empty, whatever an earlier row left.
    w.TEIKA = work(source.listPrice ? std::to_string(*source.listPrice) : std::string(), 7);

    // 4. The cells.
    auto set = [&](int k, const std::string &text) { grid.setCell(row, qd::core::COL_BASE + k - 1, text); };
    const Fixed4 hundred = Fixed4::fromInt(100);
    set(C_HINMEI, trim(w.HINMEI));
    if (source.setComponent && maker == "01") {
        // Sash components are known by their symbol.
        w.HACHU_HINBAN = work(trim(t.text(P::KIGO)), 25);
        set(C_KOSYO, w.HACHU_HINBAN);
    } else {
        set(C_KOSYO, w.KOSYO);
    }
    set(C_W, format(num(w.W_MIRI) / Fixed4::fromInt(10), "###0.0"));
    set(C_H, format(num(w.H_MIRI) / Fixed4::fromInt(10), "###0.0"));
    set(C_D, "0.00");
    set(C_M2_TANKA, "0");
    set(C_IRO, trim(w.IRO_NAME));
    set(C_SURYO, format(num(w.SURYO), "####0"));
    set(C_TANI, "");
    set(C_RITU_KBN, trim(w.RITU_KBN));
    w.KAKERITU = qd::text::fixedCharsRight(format(g.RATE_VALUE, "##0.00"), 6);
    set(C_KAKERITU, format(num(w.KAKERITU), "##0.00"));
    set(C_TEIKA, format(num(w.TEIKA), "#######"));
    w.TANKA = work(format(num(w.KAKERITU) * num(w.TEIKA) / hundred, "0000000"), 7);
    set(C_TANKA, format(num(w.TANKA), "#######"));
    w.KINGAKU = work(format(num(w.TANKA) * num(w.SURYO), "00000000"), 8);
    set(C_KINGAKU, format(num(w.KINGAKU), "########"));
    set(C_BIKO, w.BIKO);
    w.GENKA_RITU = qd::text::fixedCharsRight(format(num(w.GENKA_RITU), "##0.00"), 6);
    set(C_GENKA_RITU, format(num(w.GENKA_RITU), "##0.00"));
    w.GENKA = work(format(num(w.TEIKA) * num(w.GENKA_RITU) / hundred, "0000000"), 7);
    set(C_GENKA, format(num(w.GENKA), "#######"));
    w.GENKA_KINGAKU = work(format(num(w.GENKA) * num(w.SURYO), "00000000"), 8);
    set(C_GENKA_KINGAKU, format(num(w.GENKA_KINGAKU), "########"));
    w.ARARI = work(format(num(w.KINGAKU) - num(w.GENKA_KINGAKU), "00000000"), 8);
    set(C_ARARI, format(num(w.ARARI), "########"));
    set(C_HACHU_HINBAN, w.HINBAN);
    // The row carries the common tax rate, as it reads back after a save.
    set(C_ZEI_RITU, format(g.TAX_RATE, "##0.00"));

    // 5. The final prices and the totals.
    grid.setRow(row);
    qd::core::ROW_CALC(g);
    qd::core::TAX_TOTAL_CALC(g);
}

void PRICE_ITEM_TO_GRID(QdState &g)
{
    const qd::records::Record &t = g.TANKA_REC;
    RowSource source;
    source.row = static_cast<int>(g.ROW_NO);
    source.isColour = [&g](const qd::records::Record &r) { return colourCodeIs(r, Col::IRO_CD, g.COLOR_NO); };
    // The list price of the chosen colour: the last slot carrying it.
    for (int s = 1; s <= qd::records::PriceSlots; ++s)
        if (t.number(P::iroCd(s)) == g.COLOR_NO)
            source.listPrice = t.number(P::tanka(s));
    priceLineToRow(g, t, source);

    // 6. The cursor where the user last was, within the sheet.
    qd::grid::FlexGrid &grid = g.curGrid();
    grid.setRow(source.row);
    grid.setCol(std::clamp(qd::core::COL_BASE + static_cast<int>(g.COL_NO), 0, grid.cols() - 1));
}

} // namespace qd::entry
