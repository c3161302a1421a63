#include "tools/demodata/lib/demo_data.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files/paths.h"
#include "platform/files/record_file.h"
#include "platform/text/numbers.h"
#include "records/layouts.h"
#include "records/records_state.h"
#include "records/set_files.h"

namespace qd::demo {

using namespace qd::records;
using qd::files::RecordFile;

namespace {

struct Writer {
    RecordFile file;
    std::int32_t n = 0;
    Writer(const std::string &path, int length)
    {
        qd::files::removeFile(path);
        file.open(path, length);
    }
    void put(Record &rec)
    {
        rec.setSeparators();
        file.put(++n, rec.bytes());
    }
};

std::string two(int v) { return qd::text::format(static_cast<std::int64_t>(v), "00"); }

// The demo's consumption tax: 10 % added to the amounts, whole yen, rounded down.
constexpr std::int64_t kTaxRatePercent = 10;
constexpr std::int16_t kTaxRoundUnit = 1, kTaxRoundDown = 2, kTaxAdded = 1;

struct MajorClassDef { int cd; const char *name; };
const std::vector<MajorClassDef> kMajors = {{1, "アルミサッシ"}, {2, "ガラス"}, {3, "エクステリア"}};

struct ClassDef { int major, cd; const char *name; };
const std::vector<ClassDef> kClasses = {
    {1, 1, "引違い窓"}, {1, 2, "ＦＩＸ窓"}, {1, 3, "玄関ドア"},
    {2, 1, "フロートガラス"}, {2, 2, "複層ガラス"},
    {3, 1, "テラス屋根"}, {3, 2, "フェンス"},
};

struct ColorDef { int major, cd; const char *name; };
const std::vector<ColorDef> kColors = {
    {1, 1, "シルバー"}, {1, 2, "ステンカラー"}, {1, 3, "ブロンズ"}, {1, 4, "ホワイト"}, {1, 5, "ブラック"},
    {2, 1, "透明"}, {2, 2, "型板"}, {2, 3, "すり"},
    {3, 1, "シルバー"}, {3, 2, "ブロンズ"}, {3, 3, "ホワイト"},
};

struct SectionDef { int cd; const char *name; };
const std::vector<SectionDef> kSections = {{1, "半外付"}, {2, "内付"}, {3, "外付"}, {4, "アングル付"}};

// A kind 1 with its kind 2 products and the shape of its price lines.
struct KindDef {
    int major, cls, kk;
    const char *kind1Name;
    std::vector<const char *> kind2Names;
    const char *kigoPrefix;
    int baseRate; // sales rate of rank 1 in percent
};
const std::vector<KindDef> kKinds = {
    {1, 1, 10, "引違い２枚建", {"標準タイプ", "網戸付タイプ", "面格子付タイプ"}, "HW2", 62},
    {1, 1, 11, "引違い４枚建", {"標準タイプ", "網戸付タイプ"}, "HW4", 60},
    {1, 2, 20, "ＦＩＸ窓", {"単体", "連窓"}, "FX", 65},
    {1, 3, 30, "片開きドア", {"採風タイプ", "断熱タイプ"}, "DR", 58},
    {2, 1, 10, "透明ガラス", {"３ミリ", "５ミリ"}, "FL", 70},
    {2, 2, 20, "複層ガラス", {"一般複層", "Ｌｏｗ－Ｅ複層"}, "PG", 68},
    {3, 1, 10, "テラス屋根", {"Ｒ型", "Ｆ型"}, "TR", 55},
    {3, 2, 20, "フェンス", {"縦格子", "横格子"}, "FE", 57},
};

void writeRates(Record &rec, int rateFirst, int baseRate, int shift)
{
    for (int rank = 1; rank <= 10; ++rank) {
        const int uri = (baseRate + 2 * (rank - 1) + shift) * 100;       // sales rate x 100
        const int siire = (baseRate - 12 + 2 * (rank - 1) + shift) * 100 + 50;
        rec.setNumber(rateFirst + 2 * (rank - 1), uri, "00000");
        rec.setNumber(rateFirst + 2 * (rank - 1) + 1, siire, "00000");
    }
}

void writeMasters(const std::string &data)
{
    {
        Writer w(data + "\\MAKER.TXT", 32);
        Record r(MajorClass::layout());
        for (const auto &m : kMajors) {
            r.setText(MajorClass::MAKER_CD, two(m.cd));
            r.setText(MajorClass::NAME, m.name);
            w.put(r);
        }
    }
    {
        Writer w(data + "\\BUNRUI.TXT", 32);
        Record r(Class::layout());
        for (const auto &c : kClasses) {
            r.setText(Class::MAKER_CD, two(c.major));
            r.setText(Class::BUNRUI_CD, two(c.cd));
            r.setText(Class::NAME, c.name);
            w.put(r);
        }
    }
    {
        Writer w(data + "\\IRO.TXT", 32);
        Record r(Color::layout());
        for (const auto &c : kColors) {
            r.setText(Color::MAKER_CD, two(c.major));
            r.setText(Color::IRO_CD, two(c.cd));
            r.setText(Color::NAME, c.name);
            w.put(r);
        }
    }
    {
        Writer w(data + "\\CIHO.TXT", 32);
        Record r(Section::layout());
        for (const auto &s : kSections) {
            r.setText(Section::CIHO_CD, two(s.cd));
            r.setText(Section::NAME, s.name);
            r.blank(Section::DEL_MARK);
            w.put(r);
        }
    }
}

void writeKindsAndPrices(const std::string &data)
{
    for (const auto &m : kMajors) {
        Writer k1(data + "\\HISYU1" + two(m.cd) + ".TXT", 256);
        Writer k2(data + "\\HISYU2" + two(m.cd) + ".TXT", 256);
        for (const auto &k : kKinds) {
            if (k.major != m.cd)
                continue;
            Record r1(Kind1::layout());
            r1.setText(Kind1::MAKER_CD, two(k.major));
            r1.setText(Kind1::BUNRUI_CD, two(k.cls));
            r1.setText(Kind1::HINSYU1_CD, two(k.kk) + "00");
            r1.setText(Kind1::NAME, k.kind1Name);
            writeRates(r1, Kind1::RATE_FIRST, k.baseRate, 0);
            k1.put(r1);

            Writer price(data + "\\" + two(k.major) + two(k.cls) + two(k.kk) + "00.txt", 600);
            for (std::size_t i = 0; i < k.kind2Names.size(); ++i) {
                const int nn = static_cast<int>(i) + 1;
                Record r2(Kind2::layout());
                r2.setText(Kind2::MAKER_CD, two(k.major));
                r2.setText(Kind2::BUNRUI_CD, two(k.cls));
                r2.setText(Kind2::HINSYU2_CD, two(k.kk) + two(nn));
                r2.setText(Kind2::NAME, k.kind2Names[i]);
                writeRates(r2, Kind2::RATE_FIRST, k.baseRate, nn);
                k2.put(r2);

                // Price lines: a grid of widths and heights, each with the colours of its class.
                std::vector<int> colors;
                for (const auto &c : kColors)
                    if (c.major == k.major)
                        colors.push_back(c.cd);
                for (int wi = 0; wi < 6; ++wi) {
                    for (int hi = 0; hi < 5; ++hi) {
                        const int wMm = 640 + 300 * wi + (k.major == 2 ? 0 : 50);
                        const int hMm = 570 + 300 * hi;
                        Record p(Price::layout());
                        p.setText(Price::MAKER_CD, two(k.major));
                        p.setText(Price::BUNRUI_CD, two(k.cls));
                        p.setText(Price::HINSYU2_CD, two(k.kk) + two(nn));
                        p.setText(Price::CIHO_CD, k.major == 1 ? two(1 + (wi + hi) % 3) : "00");
                        const std::string size = qd::text::format(static_cast<std::int64_t>(wMm / 10), "000") +
                                                 qd::text::format(static_cast<std::int64_t>(hMm / 10), "00");
                        p.setText(Price::KIGO, std::string(k.kigoPrefix) + "-" + std::to_string(nn) + size);
                        p.setText(Price::KOSYO, size);
                        p.setNumber(Price::W_MIRI, wMm * 10, "00000");
                        p.setNumber(Price::H_MIRI, hMm * 10, "00000");
                        p.setNumber(Price::W_SYAKU, wMm * 100 / 303, "0000");
                        p.setNumber(Price::H_SYAKU, hMm * 100 / 303, "0000");
                        const int base = (k.major == 2 ? 8 : 24) * (wMm * hMm / 1000) + 10000 * nn;
                        for (std::size_t s = 0; s < colors.size(); ++s) {
                            p.setNumber(Price::iroCd(static_cast<int>(s) + 1), colors[s], "000");
                            const int priceYen = (base + static_cast<int>(s) * base / 20) / 10 * 10;
                            p.setNumber(Price::tanka(static_cast<int>(s) + 1), priceYen, "0000000");
                        }
                        p.setText(Price::BIKO, k.major == 1 && hi == 0 ? "網戸別途" : "");
                        price.put(p);
                    }
                }
            }
        }
    }
}

// Two sets for the set search, made of price lines written above: each component copies its
// line's codes, symbol and remark, as setitemreg stores them.
void writeSets(const std::string &data)
{
    struct Component {
        const char *priceFile;
        int line;
        int iro, qty;
    };
    struct SetDef {
        int code;
        const char *name;
        std::vector<Component> components;
    };
    const std::vector<SetDef> sets = {
        {1, "引違い窓（網戸付）セット", {{"01011000.txt", 31, 1, 1}, {"02011000.txt", 7, 1, 2}}},
        {2, "テラス屋根・フェンスセット", {{"03011000.txt", 12, 2, 1}, {"03022000.txt", 35, 2, 3}}},
    };
    for (const SetDef &set : sets) {
        Writer w(data + "\\" + setFileName(set.code), SetRecordLength);
        for (const Component &c : set.components) {
            RecordFile prices(data + "\\" + c.priceFile, 600, RecordFile::Mode::ReadOnly);
            Record p(Price::layout());
            p.setBytes(prices.get(c.line));
            Record r(SetItem::layout());
            r.setText(SetItem::SET_NAME, set.name);
            r.setRaw(SetItem::MAKER_CD, p.raw(Price::MAKER_CD));
            r.setRaw(SetItem::BUNRUI_CD, p.raw(Price::BUNRUI_CD));
            r.setRaw(SetItem::HINSYU2_CD, p.raw(Price::HINSYU2_CD));
            r.setRaw(SetItem::CIHO_CD, p.raw(Price::CIHO_CD));
            r.setRaw(SetItem::KIGO, p.raw(Price::KIGO));
            r.setRaw(SetItem::BIKO, p.raw(Price::BIKO));
            r.setNumber(SetItem::IRO_CD, c.iro, "00");
            r.setNumber(SetItem::SURYO, c.qty, "00000");
            w.put(r);
        }
    }
}

void writeItemsPartnersOwn(const std::string &data)
{
    struct ItemDef { const char *name; int tanka, genka; };
    const std::vector<ItemDef> items = {
        {"網戸　標準", 4800, 3100}, {"クレセント錠", 1800, 980}, {"戸車　２個組", 1200, 650},
        {"ビート　１０ｍ", 900, 420}, {"コーキング材", 750, 380}, {"取付金具", 600, 300},
        {"面格子　縦", 12800, 8300}, {"ガラス運搬費", 3000, 2000}, {"取付工事費", 15000, 9000},
        {"撤去処分費", 8000, 5000}, {"出張費", 5000, 3000}, {"シーリング工事", 2500, 1500},
        {"水切り", 2200, 1300}, {"額縁", 3600, 2100}, {"鍵シリンダー交換", 9800, 6200},
        {"ｽﾍﾟｰｻｰ", 150, 70}, {"防犯フィルム", 6500, 4100}, {"すべり止めテープ", 400, 180},
    };
    {
        Writer w(data + "\\TANPIN.TXT", 128);
        RecordsState g;
        int cd = 1;
        for (const auto &it : items) {
            TANPIN_REC_CLEAR(g);
            TANPIN_SEP_SET(g);
            g.ITEM_EDIT_CD = static_cast<std::int16_t>(cd++);
            g.ITEM_EDIT_NAME = it.name;
            g.ITEM_EDIT_TANKA = it.tanka;
            g.ITEM_EDIT_GENKA = it.genka;
            TANPIN_REC_SET(g);
            w.put(g.TANPIN_REC);
        }
    }
    {
        const std::vector<const char *> partners = {
            "株式会社　山川建設", "有限会社　森田工務店", "東和ハウジング株式会社", "青葉リフォーム",
            "株式会社　大西住建", "北町ガラス店", "丸栄建材株式会社", "さくら設計事務所",
        };
        Writer w(data + "\\TOKF.SSS", 64);
        Record r(Partner::layout());
        int cd = 1;
        for (const char *p : partners) {
            r.setNumber(Partner::TOKUI_CD, cd++, "0000");
            r.setText(Partner::NAME, p);
            w.put(r);
        }
    }
    {
        Writer w(data + "\\SYSF.SSS", 512);
        Record r(OwnCompany::layout());
        r.setText(OwnCompany::JISYA_NAME, "株式会社　見本サッシ工業");
        r.setText(OwnCompany::JUSYO_1, "東京都港区見本町１－２－３");
        r.setText(OwnCompany::JUSYO_2, "見本ビル２階");
        r.setText(OwnCompany::YUBIN_NO, "105-0000");
        r.setText(OwnCompany::TEL_NO, "03-0000-1234");
        r.setText(OwnCompany::FAX_NO, "03-0000-1235");
        r.setText(OwnCompany::KAKERITU, "3");
        r.setText(OwnCompany::TOUROKU_NO, "T1234567890123");
        r.setText(OwnCompany::FURIKOMI_1, "振込先：見本銀行　港支店");
        r.setText(OwnCompany::FURIKOMI_2, "普通預金　１２３４５６７");
        r.setText(OwnCompany::FURIKOMI_3, "口座名義　カ）ミホンサッシコウギョウ");
        r.setText(OwnCompany::FURIKOMI_4, "振込手数料は御社にてご負担願います。");
        w.put(r);
    }
}

// The glass master of glassmaint, "\ALMI\GARASU.TXT" beside the data folder: a few glasses
// with a unit price and a cost each.
void writeGlasses(const std::string &dir)
{
    struct GlassDef { int cd; const char *name; int tanka, genka; };
    const std::vector<GlassDef> glasses = {
        {1, "フロート　３ミリ", 3800, 2400},  {2, "フロート　５ミリ", 5600, 3500},
        {3, "型板　４ミリ", 4600, 2900},      {4, "すり板　３ミリ", 4900, 3100},
        {5, "網入型板　６．８ミリ", 9800, 6200}, {6, "複層　Ｌｏｗ－Ｅ", 18500, 12600},
    };
    qd::files::makeDir(dir + "\\ALMI");
    Writer w(dir + "\\ALMI\\GARASU.TXT", 64);
    Record r(Glass::layout());
    for (const auto &g : glasses) {
        r.setText(Glass::GARASU_CD, two(g.cd));
        r.setText(Glass::NAME, g.name);
        r.setNumber(Glass::TANKA, g.tanka, "0000000");
        r.setNumber(Glass::GENKA, g.genka, "0000000");
        w.put(r);
    }
}

// The sample document, stored as a save writes it. Its rows are what quotedesk puts in for the
// products from these masters at the calculation unit it starts with (1 円): the two sashes found
// by the unit-price search at the header's rate rank 3 of their kind-2 records, the single item
// at its price and cost, each with the quantity and unit typed in. So editing a row, recalculating
// all rows or picking its product again changes no price. The row's tax (column 24), which the
// user types, is 10 % of the amount rounded down, as the tax settings round.
void writeSampleDocument(const std::string &txt)
{
    const std::string base = txt + "\\" + sampleDocumentName();
    {
        qd::files::removeFile(base + ".SSS");
        RecordFile f(base + ".SSS", 256);
        Record h(DocHeader::layout());
        h.setText(DocHeader::TOKUI_NAME, "株式会社　山川建設");
        h.setText(DocHeader::BUKKEN_NAME, "見本邸　新築工事");
        h.setText(DocHeader::NOUHIN_BASYO, "東京都世田谷区見本４－５");
        h.setText(DocHeader::SIHARAI_JOKEN, "月末締め翌月末払い");
        h.setText(DocHeader::NOUKI, "2026/12/20");
        h.setText(DocHeader::YUKO_KIGEN, "30日");
        h.setText(DocHeader::KAKERITU, "3.00");
        h.setSeparators();
        f.put(1, h.bytes());
    }
    struct Row {
        const char *hinmei, *kosyo, *w, *h, *iro, *suryo, *tani, *ritu, *kake, *teika, *tanka, *kingaku,
            *genkaRitu, *genka, *genkaKin, *arari, *hachu, *zeiGaku;
    };
    const std::vector<Row> rows = {
        {"引違い窓 引違い２枚建 標準タイプ  外付", "159117", "15900", "11700", "ステンカラー", "2.00", "窓", "3.",
         "6700.0", "57370", "38437", "76874", "5550.0", "31840", "63680", "13194", "0101100103HW2-1159117", " 7687"},
        {"引違い窓 引違い２枚建 網戸付タイプ  半外付", "12987", "12900", "8700", "ブロンズ", "1.00", "窓", "3.",
         "6800.0", "51620", "35101", "35101", "5650.0", "29165", "29165", "5936", "0101100201HW2-212987", " 3510"},
        {"網戸　標準", "", "", "", "", "3.00", "枚", "0.", "0.00", "4800", "4800", "14400", "0.00", "3100", "9300",
         "5100", "", " 1440"},
    };
    qd::files::removeFile(base + ".TXT");
    RecordFile f(base + ".TXT", 1024);
    int n = 0;
    for (const Row &row : rows) {
        Record l(DocLine::layout());
        l.setText(DocLine::HINMEI, row.hinmei);
        l.setText(DocLine::KOSYO, row.kosyo);
        l.setText(DocLine::W_MIRI, row.w);
        l.setText(DocLine::H_MIRI, row.h);
        l.setText(DocLine::IRO_NAME, row.iro);
        l.setText(DocLine::SURYO, row.suryo);
        l.setText(DocLine::TANI, row.tani);
        l.setText(DocLine::RITU_KBN, row.ritu);
        l.setText(DocLine::KAKERITU, row.kake);
        l.setText(DocLine::TEIKA, row.teika);
        l.setText(DocLine::TANKA, row.tanka);
        l.setText(DocLine::KINGAKU, row.kingaku);
        l.setText(DocLine::GENKA_RITU, row.genkaRitu);
        l.setText(DocLine::GENKA, row.genka);
        l.setText(DocLine::GENKA_KINGAKU, row.genkaKin);
        l.setText(DocLine::ARARI, row.arari);
        l.setText(DocLine::HACHU_HINBAN, row.hachu);
        l.setText(DocLine::ZEI_RITU, " 1000");
        l.setText(DocLine::ZEI_GAKU, row.zeiGaku);
        l.setSeparators();
        f.put(++n, l.bytes());
    }
}

} // namespace

void writeTaxSettings(const std::string &data)
{
    std::string b;
    auto le = [&](std::int64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF));
    };
    le(kTaxRatePercent * qd::text::Fixed4::Scale, 8);
    le(kTaxRoundUnit, 2);
    le(kTaxRoundDown, 2);
    le(kTaxAdded, 2);
    b.append(48, ' ');
    b.push_back('\n');
    b.push_back('\r');
    qd::files::removeFile(data + "\\syohizei_calc.fil");
    RecordFile f(data + "\\syohizei_calc.fil", 64);
    f.put(1, b);
}

void writeDemoInstall(const std::string &dir)
{
    const std::string data = dir + "\\data";
    qd::files::makeDir(data);
    qd::files::makeDir(data + "\\TXT");
    qd::files::makeDir(data + "\\SELECT");
    writeMasters(data);
    writeKindsAndPrices(data);
    writeSets(data);
    writeItemsPartnersOwn(data);
    writeTaxSettings(data);
    writeSampleDocument(data + "\\TXT");
    writeGlasses(dir);
}

} // namespace qd::demo
