#include "tools/setitemreg/core/item_choice.h"

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "records/records_state.h"
#include "records/whole_file.h"

namespace qd::setitemreg {

namespace r = qd::records;
using qd::records::Record;
using qd::text::format;

namespace {

std::string dataPath(SethinState &g, const std::string &name) { return r::instDir(g) + "\\data\\" + name; }

std::string field(const Record &rec, int f) { return rec.text(f); }

std::int16_t value16(const Record &rec, int f) { return static_cast<std::int16_t>(rec.number(f)); }

bool isDigits(const std::string &s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

std::vector<Record> readMaster(SethinState &g, const std::string &fileName, const r::Layout &layout)
{
    return r::readShownRecords(dataPath(g, fileName), layout, g.partialNotes);
}

std::vector<Record> readKindFile(SethinState &g, int kind)
{
    if (g.SEL_MAKER < 0 || g.SEL_MAKER > 99)
        return {};
    const std::string name = (kind == 1 ? "HISYU1" : "HISYU2") + format(g.SEL_MAKER, "00") + ".TXT";
    return readMaster(g, name, kind == 1 ? r::Kind1::layout() : r::Kind2::layout());
}

std::vector<ChoiceLine> majorLines(SethinState &g)
{
    std::vector<ChoiceLine> out;
    std::int32_t n = 0;
    for (const Record &m : readMaster(g, "MAKER.TXT", r::MajorClass::layout())) {
        ++n;
        out.push_back({field(m, r::MajorClass::MAKER_CD) + " " + field(m, r::MajorClass::NAME), n, m});
    }
    return out;
}

std::vector<ChoiceLine> sectionLines(SethinState &g)
{
    std::vector<ChoiceLine> out;
    std::int32_t n = 0;
    for (const Record &s : readMaster(g, "CIHO.TXT", r::Section::layout())) {
        ++n;
        out.push_back({field(s, r::Section::CIHO_CD) + " " + field(s, r::Section::NAME) + format(n, "0000"), n, s});
    }
    return out;
}

std::vector<ChoiceLine> classLines(SethinState &g)
{
    std::vector<ChoiceLine> out;
    std::int32_t n = 0;
    for (const Record &c : readMaster(g, "BUNRUI.TXT", r::Class::layout())) {
        ++n;
        if (c.number(r::Class::MAKER_CD) != g.SEL_MAKER)
            continue;
        out.push_back({field(c, r::Class::BUNRUI_CD) + " " + field(c, r::Class::NAME) + "     " + format(n, "00000"), n, c});
    }
    return out;
}

std::vector<ChoiceLine> colourLines(SethinState &g)
{
    std::vector<ChoiceLine> out;
    std::int32_t n = 0;
    for (const Record &c : readMaster(g, "IRO.TXT", r::Color::layout())) {
        ++n;
        if (c.number(r::Color::MAKER_CD) != g.SEL_MAKER)
            continue;
        out.push_back({field(c, r::Color::IRO_CD) + " " + field(c, r::Color::NAME) + format(n, "0000"), n, c});
    }
    return out;
}

std::vector<ChoiceLine> kind1Lines(SethinState &g)
{
    std::vector<ChoiceLine> out;
    std::int32_t n = 0;
    for (const Record &k : readKindFile(g, 1)) {
        ++n;
        if (k.number(r::Kind1::MAKER_CD) != g.SEL_MAKER || k.number(r::Kind1::BUNRUI_CD) != g.SEL_BUNRUI ||
            k.raw(r::Kind1::HINSYU1_CD) == "0000")
            continue;
        out.push_back({field(k, r::Kind1::HINSYU1_CD) + " " + field(k, r::Kind1::NAME) + std::string(15, ' ') +
                           format(n, "000000"),
                       n, k});
    }
    return out;
}

std::vector<ChoiceLine> kind2Lines(SethinState &g, const Record &kind1)
{
    const std::string group = kind1.raw(r::Kind1::HINSYU1_CD).substr(0, 2);
    std::vector<ChoiceLine> out;
    std::int32_t n = 0;
    for (const Record &k : readKindFile(g, 2)) {
        ++n;
        const std::string code = k.raw(r::Kind2::HINSYU2_CD);
        if (code.substr(0, 2) != group || code == "0000" || k.number(r::Kind2::MAKER_CD) != g.SEL_MAKER ||
            k.number(r::Kind2::BUNRUI_CD) != g.SEL_BUNRUI)
            continue;
        out.push_back({field(k, r::Kind2::HINSYU2_CD) + " " + field(k, r::Kind2::NAME) + std::string(15, ' ') +
                           format(n, "000000"),
                       n, k});
    }
    return out;
}

std::string priceFileOfKey(SethinState &g)
{
    const std::string key = qd::text::trim(g.PRICE_FILE_KEY);
    return key.size() == 8 && isDigits(key) ? key + ".TXT" : std::string();
}

std::vector<ChoiceLine> priceLines(SethinState &g)
{
    const std::string name = priceFileOfKey(g);
    if (name.empty())
        return {};
    std::vector<ChoiceLine> out;
    std::int32_t n = 0;
    for (const Record &p : readMaster(g, name, r::Price::layout())) {
        ++n;
        if (p.number(r::Price::MAKER_CD) != g.SEL_MAKER || p.number(r::Price::BUNRUI_CD) != g.SEL_BUNRUI ||
            p.number(r::Price::HINSYU2_CD) != g.SEL_HINSYU2 || p.number(r::Price::CIHO_CD) != g.SEL_CIHO)
            continue;
        const std::string biko = qd::text::fromField(qd::text::toField(p.textToNul(r::Price::BIKO), 50));
        out.push_back({field(p, r::Price::KIGO) + " " + biko + std::string(30, ' ') + format(n, "000000"), n, p});
    }
    return out;
}

void majorChosen(SethinState &g, const ChoiceLine &line)
{
    g.SEL_MAKER = value16(line.rec, r::MajorClass::MAKER_CD);
    // Colour codes belong to their major class: the code chosen under the last one would name a
    // colour of this one that the list does not show as chosen, and the component would be
    // saved in it.
    g.SEL_IRO = 0;
}
void classChosen(SethinState &g, const ChoiceLine &line) { g.SEL_BUNRUI = value16(line.rec, r::Class::BUNRUI_CD); }
void kind1Chosen(SethinState &g, const ChoiceLine &line) { g.SEL_HINSYU1 = value16(line.rec, r::Kind1::HINSYU1_CD); }
void kind2Chosen(SethinState &g, const ChoiceLine &line) { g.SEL_HINSYU2 = value16(line.rec, r::Kind2::HINSYU2_CD); }

void sectionChosen(SethinState &g, const ChoiceLine &line)
{
    g.SEL_CIHO = value16(line.rec, r::Section::CIHO_CD);
    PRICE_FILE_KEY_SET(g);
}

void PRICE_FILE_KEY_SET(SethinState &g)
{
    g.PRICE_FILE_KEY =
        qd::text::fixedChars(format(g.SEL_MAKER, "00") + format(g.SEL_BUNRUI, "00") + format(g.SEL_HINSYU1, "0000"), 8);
}

void colourChosen(SethinState &g, const ChoiceLine &line) { g.SEL_IRO = value16(line.rec, r::Color::IRO_CD); }

void priceLineChosen(SethinState &g, const ChoiceLine &line)
{
    g.SEL_KIGO = line.rec.raw(r::Price::KIGO);
    g.SEL_BIKO = line.rec.raw(r::Price::BIKO);
}

} // namespace qd::setitemreg
