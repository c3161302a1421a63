#include "records/layouts.h"

#include <deque>
#include <string>

namespace qd::records {

namespace {
constexpr int Auto = -1; // offset follows from the fields before

FieldDef f(const char *name, int width, bool sep = true) { return FieldDef{name, Auto, width, sep}; }

const char *slotName(const char *prefix, int n)
{
    // Names live as long as the program: they are interned once per layout build.
    static std::deque<std::string> names; // a deque never moves its elements
    names.push_back(std::string(prefix) + (n < 10 ? "0" : "") + std::to_string(n));
    return names.back().c_str();
}

std::vector<FieldDef> rateSlots()
{
    std::vector<FieldDef> v;
    for (int k = 1; k <= RateSlots; ++k)
        v.push_back(f(k % 2 ? slotName("URI_RATE_", (k + 1) / 2) : slotName("SIIRE_RATE_", k / 2), 5));
    return v;
}

std::vector<FieldDef> join(std::vector<FieldDef> a, const std::vector<FieldDef> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
} // namespace

const Layout &MajorClass::layout()
{
    static const Layout l = makeLayout("MajorClassRecord", 32,
        {f("MAKER_CD", 2), f("NAME", 20), f("FILLER", 6, false)}, RecordEnd::CrLf);
    return l;
}

const Layout &Section::layout()
{
    static const Layout l = makeLayout("SectionRecord", 32,
        {f("CIHO_CD", 2), f("NAME", 20), f("DEL_MARK", 6, false)}, RecordEnd::CrLf);
    return l;
}

const Layout &Class::layout()
{
    static const Layout l = makeLayout("ClassRecord", 32,
        {f("MAKER_CD", 2), f("BUNRUI_CD", 2), f("NAME", 20), f("FILLER", 3, false)}, RecordEnd::CrLf);
    return l;
}

const Layout &Color::layout()
{
    static const Layout l = makeLayout("ColorRecord", 32,
        {f("MAKER_CD", 2), f("IRO_CD", 2), f("NAME", 20), f("FILLER", 3, false)}, RecordEnd::CrLf);
    return l;
}

const Layout &Kind1::layout()
{
    static const Layout l = makeLayout("Kind1Record", 256,
        join(join({f("MAKER_CD", 2), f("BUNRUI_CD", 2), f("HINSYU1_CD", 4), f("NAME", 36)}, rateSlots()),
             {f("FILLER", 86, false)}),
        RecordEnd::CrLf);
    return l;
}

const Layout &Kind2::layout()
{
    static const Layout l = makeLayout("Kind2Record", 256,
        join(join({f("MAKER_CD", 2), f("BUNRUI_CD", 2), f("HINSYU2_CD", 4), f("NAME", 32)}, rateSlots()),
             {f("FILLER", 90, false)}),
        RecordEnd::CrLf);
    return l;
}

const Layout &Price::layout()
{
    static const Layout l = [] {
        std::vector<FieldDef> v = {f("MAKER_CD", 2), f("BUNRUI_CD", 2), f("HINSYU2_CD", 4), f("CIHO_CD", 2),
                                   f("KIGO", 25), f("KOSYO", 20), f("W_MIRI", 5), f("H_MIRI", 5),
                                   f("W_SYAKU", 4), f("H_SYAKU", 4)};
        for (int s = 1; s <= PriceSlots; ++s) {
            v.push_back(f(slotName("IRO_CD_", s), 3));
            v.push_back(f(slotName("TANKA_", s), 7));
        }
        for (int g = 1; g <= PriceGroups; ++g) {
            // GRP_n_TEXT, GRP_n_CD, ...: the group number stands between "GRP_" and the field.
            static std::deque<std::string> names; // a deque never moves its elements
            auto grp = [&](const char *field) {
                names.push_back("GRP_" + std::to_string(g) + "_" + field);
                return names.back().c_str();
            };
            v.push_back(f(grp("TEXT"), 20));
            v.push_back(f(grp("CD"), 6));
            v.push_back(f(grp("VAL_A"), 5));
            v.push_back(f(grp("VAL_B"), 5));
            v.push_back(f(grp("KBN"), 2));
        }
        v.push_back(f("BIKO", 50));
        v.push_back(f("FILLER", 52, false));
        return makeLayout("PriceRecord", 600, std::move(v), RecordEnd::CrLf);
    }();
    return l;
}

const Layout &Item::layout()
{
    static const Layout l = makeLayout("ItemRecord", 128,
        {f("TANPIN_CD", 4), f("NAME", 50), f("TANKA", 7), f("GENKA", 7), f("FILLER", 54, false)},
        RecordEnd::CrLf);
    return l;
}

const Layout &SetItem::layout()
{
    static const Layout l = makeLayout("SetItemRecord", 160,
        {f("SET_NAME", 30), f("MAKER_CD", 2), f("BUNRUI_CD", 2), f("HINSYU2_CD", 4), f("CIHO_CD", 2),
         f("KIGO", 25), f("BIKO", 50), f("IRO_CD", 2), f("SURYO", 5), f("FILLER", 27, false)},
        RecordEnd::CrLf);
    return l;
}

const Layout &Glass::layout()
{
    static const Layout l = makeLayout("GlassRecord", 64,
        {f("GARASU_CD", 2), f("NAME", 20), f("TANKA", 7), f("GENKA", 7), f("FILLER", 22, false)}, RecordEnd::CrLf);
    return l;
}

const Layout &Partner::layout()
{
    static const Layout l = makeLayout("PartnerRecord", 64,
        {f("TOKUI_CD", 4), f("NAME", 50), f("FILLER", 6, false)}, RecordEnd::CrLf);
    return l;
}

const Layout &OwnCompany::layout()
{
    static const Layout l = makeLayout("OwnCompanyRecord", 512,
        {f("JISYA_NAME", 50), f("JUSYO_1", 50), f("JUSYO_2", 50), f("YUBIN_NO", 10), f("TEL_NO", 15),
         f("FAX_NO", 15), f("KAKERITU", 29, false), f("TOUROKU_NO", 29), f("FURIKOMI_1", 50),
         f("FURIKOMI_2", 50), f("FURIKOMI_3", 50), f("FURIKOMI_4", 50, false), f("FILLER", 52, false)},
        RecordEnd::CrLf);
    return l;
}

const Layout &InstallDir::layout()
{
    static const Layout l = makeLayout("InstallDirRecord", 768,
        {f("DOC_NAME", 128, false), f("INSTALL_DIR", 512, false), f("FILLER", 126, false),
         f("END_1", 1, false), f("END_2", 1, false)},
        RecordEnd::None);
    return l;
}

const Layout &DocHeader::layout()
{
    static const Layout l = makeLayout("DocumentHeaderRecord", 256,
        {f("TOKUI_NAME", 50), f("BUKKEN_NAME", 50), f("NOUHIN_BASYO", 30), f("SIHARAI_JOKEN", 30),
         f("NOUKI", 10), f("YUKO_KIGEN", 10), f("KAKERITU", 10), f("FILLER", 57, false)},
        RecordEnd::CrLf);
    return l;
}

const Layout &DocLine::layout()
{
    static const Layout l = makeLayout("DocumentLineRecord", 1024,
        {f("HIDUKE", 10), f("HINMEI", 200), f("KOSYO", 50), f("W_MIRI", 10), f("H_MIRI", 10),
         f("D_MIRI", 10), f("M2_TANKA", 10), f("IRO_NAME", 20), f("SURYO", 10), f("TANI", 10),
         f("RITU_KBN", 2), f("KAKERITU", 10), f("TEIKA", 15), f("TANKA", 15), f("KINGAKU", 15),
         f("BIKO", 50), f("GENKA_RITU", 10), f("GENKA", 15), f("GENKA_KINGAKU", 15), f("ARARI", 15),
         f("HACHU_HINBAN", 25), f("HINBAN", 85), f("ZEI_RITU", 10), f("ZEI_GAKU", 15),
         f("FILLER", 361, false)},
        RecordEnd::CrLf);
    return l;
}

} // namespace qd::records
