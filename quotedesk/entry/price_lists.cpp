#include "quotedesk/entry/price_lists.h"

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/entry/master_reads.h"

namespace qd::entry {

namespace {

namespace Mc = qd::records::MajorClass;
namespace Sec = qd::records::Section;
namespace Cls = qd::records::Class;
namespace Col = qd::records::Color;
namespace K1 = qd::records::Kind1;
namespace K2 = qd::records::Kind2;
namespace P = qd::records::Price;

using qd::text::format;

std::string codeText(const Record &rec, int field) { return qd::text::fromField(codeField(rec, field)); }

ListLine line(std::string text, const Record &rec, int codeFieldIndex, std::int32_t recNo)
{
    ListLine l;
    l.text = std::move(text);
    l.code = qd::text::trimRight(codeText(rec, codeFieldIndex));
    l.recNo = recNo;
    return l;
}

} // namespace

ListLine majorLine(const Record &rec, std::int32_t recNo)
{
    return line(codeText(rec, Mc::MAKER_CD) + " " + nameField(rec, Mc::NAME) + "     " + format(recNo, "00000"), rec,
                Mc::MAKER_CD, recNo);
}

ListLine sectionLine(const Record &rec, std::int32_t recNo)
{
    return line(codeText(rec, Sec::CIHO_CD) + " " + nameField(rec, Sec::NAME) + "     " + format(recNo, "00000"), rec,
                Sec::CIHO_CD, recNo);
}

ListLine classLine(const Record &rec, std::int32_t recNo)
{
    return line(codeText(rec, Cls::BUNRUI_CD) + " " + nameField(rec, Cls::NAME) + "     " + format(recNo, "00000"),
                rec, Cls::BUNRUI_CD, recNo);
}

ListLine colourLine(const Record &rec, std::int32_t recNo)
{
    return line(codeText(rec, Col::IRO_CD) + " " + nameField(rec, Col::NAME) + format(recNo, "0000"), rec,
                Col::IRO_CD, recNo);
}

ListLine kind1Line(const Record &rec, std::int32_t recNo)
{
    return line(codeText(rec, K1::HINSYU1_CD) + " " + nameField(rec, K1::NAME) + std::string(15, ' ') +
                    format(recNo, "000000"),
                rec, K1::HINSYU1_CD, recNo);
}

ListLine kind2Line(const Record &rec, std::int32_t recNo)
{
    return line(codeText(rec, K2::HINSYU2_CD) + " " + nameField(rec, K2::NAME) + std::string(15, ' ') +
                    format(recNo, "000000"),
                rec, K2::HINSYU2_CD, recNo);
}

ListLine priceLine(const Record &rec, std::int32_t recNo, const std::string &file)
{
    ListLine l = line(rec.text(P::KIGO) + " " + nameField(rec, P::BIKO) + "   " + codeText(rec, P::MAKER_CD) +
                          codeText(rec, P::BUNRUI_CD) + codeText(rec, P::HINSYU2_CD) + format(recNo, "000000"),
                      rec, P::KIGO, recNo);
    l.code = rec.text(P::KIGO);
    l.file = file;
    return l;
}

bool classListed(const QdState &g, const Record &rec) { return rec.number(Cls::MAKER_CD) == g.MAJOR_NO; }

bool colourListed(const QdState &g, const Record &rec) { return rec.number(Col::MAKER_CD) == g.MAJOR_NO; }

bool colourOfMajor(QdState &g, std::int32_t major, std::int32_t colour)
{
    openFormMasters(g);
    return findFirst(g.IRO_CTL, g.IRO_REC, [&](const Record &rec) {
        return rec.number(Col::MAKER_CD) == major && rec.number(Col::IRO_CD) == colour;
    });
}

bool kind1Listed(const QdState &g, const Record &rec)
{
    return rec.number(K1::MAKER_CD) == g.MAJOR_NO && rec.number(K1::BUNRUI_CD) == g.CLASS_NO &&
           rec.raw(K1::HINSYU1_CD) != "0000";
}

bool kind2Listed(const QdState &g, const Record &rec, const std::string &kind1Prefix)
{
    const std::string code = rec.raw(K2::HINSYU2_CD);
    return kind1Prefix.size() >= 2 && code.compare(0, 2, kind1Prefix, 0, 2) == 0 && code != "0000" &&
           rec.number(K2::MAKER_CD) == g.MAJOR_NO && rec.number(K2::BUNRUI_CD) == g.CLASS_NO;
}

bool priceListed(const QdState &g, const Record &rec)
{
    return fieldValue(rec, P::MAKER_CD) == g.MAJOR_NO && rec.number(P::BUNRUI_CD) == g.CLASS_NO &&
           rec.number(P::HINSYU2_CD) == g.KIND2_NO && rec.number(P::CIHO_CD) == g.SECTION_NO;
}

std::optional<std::string> cascadePriceFile(const QdState &g)
{
    if (g.MAJOR_NO < 0 || g.MAJOR_NO > 99 || g.CLASS_NO < 0 || g.CLASS_NO > 99 || g.KIND1_NO < 0 ||
        g.KIND1_NO > 9999)
        return std::nullopt;
    return format(g.MAJOR_NO, "00") + format(g.CLASS_NO, "00") + format(g.KIND1_NO, "0000") + ".TXT";
}

std::optional<std::string> searchPriceFile(const Record &kind1)
{
    const std::string m = kind1.raw(K1::MAKER_CD), b = kind1.raw(K1::BUNRUI_CD), k = kind1.raw(K1::HINSYU1_CD);
    if (!isDigitCode(m, 2) || !isDigitCode(b, 2) || !isDigitCode(k, 4))
        return std::nullopt;
    return m + b + k + ".TXT";
}

void COLOR_CODE_LIST(QdState &g)
{
    g.PANEL_PRICES[0] = 0;
    g.PANEL_POS = 1;
    for (int n = 1; n <= 16; ++n) {
        if (g.TANKA_REC.raw(P::iroCd(n)) != "   ") {
            g.PANEL_COLORS[static_cast<std::size_t>(g.PANEL_POS)] =
                static_cast<std::int16_t>(g.TANKA_REC.number(P::iroCd(n)));
            ++g.PANEL_POS;
        }
    }
}

} // namespace qd::entry
