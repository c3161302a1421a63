#include "tools/demodata/lib/demo_data.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files/paths.h"
#include "platform/files/record_file.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/core_ui.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/tax_totals.h"
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

// The sample document, stored as a save writes it. Its rows hold what a user types or product
// entry puts in; their figures (unit price, amount, cost, cost amount, gross profit) are those
// quotedesk's own pricing gives at the calculation unit it starts with, so that the first edit
// of a row in quotedesk changes no price the user did not touch.
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
    // The cells of a row before it is priced: two sash products of rate kind 3 with their list
    // price, rate and cost rate (percent of the list price), and one single item at its own price
    // and cost.
    struct Row {
        const char *hinmei, *kosyo, *w, *h, *iro, *suryo, *tani, *rituKbn, *kakeritu, *teika, *tanka,
            *genkaRitu, *genka, *hachu;
    };
    const std::vector<Row> rows = {
        {"引違い２枚建 標準タイプ", "16511", "1690", "1170", "シルバー", "2", "窓", "3", "66", "69,400", "", "52.5",
         "", "0101100101HW2-116911"},
        {"引違い２枚建 網戸付タイプ", "11909", "1190", "870", "ブロンズ", "1", "窓", "3", "68", "37,250", "", "54.5",
         "", "0101100203HW2-211987"},
        {"網戸　標準", "", "", "", "", "3", "枚", "0", "", "", "4,800", "", "3,100", ""},
    };
    enum Col {
        C_HINMEI = 2, C_KOSYO, C_W, C_H, C_IRO = 8, C_SURYO, C_TANI, C_RITU_KBN, C_KAKERITU, C_TEIKA, C_TANKA,
        C_KINGAKU, C_GENKA_RITU = 17, C_GENKA, C_HACHU_HINBAN = 21, C_ZEI_RITU = 23, C_ZEI_GAKU
    };

    qd::core::NullCoreUi ui;
    qd::core::QdState g; // the calculation unit as quotedesk starts
    g.ui = &ui;
    qd::grid::FlexGrid &grid = g.curGrid();
    grid.setCols(25);
    grid.setRows(static_cast<int>(rows.size()) + 1);

    const std::string taxRate = std::to_string(kTaxRatePercent);
    qd::files::removeFile(base + ".TXT");
    RecordFile f(base + ".TXT", 1024);
    int r = 0;
    for (const Row &row : rows) {
        ++r;
        const std::pair<int, const char *> cells[] = {
            {C_HINMEI, row.hinmei}, {C_KOSYO, row.kosyo},         {C_W, row.w},
            {C_H, row.h},           {C_IRO, row.iro},             {C_SURYO, row.suryo},
            {C_TANI, row.tani},     {C_RITU_KBN, row.rituKbn},   {C_KAKERITU, row.kakeritu},
            {C_TEIKA, row.teika},   {C_TANKA, row.tanka},         {C_GENKA_RITU, row.genkaRitu},
            {C_GENKA, row.genka},   {C_HACHU_HINBAN, row.hachu}, {C_ZEI_RITU, taxRate.c_str()},
        };
        for (const auto &[col, text] : cells)
            grid.setCell(r, col, text);
        g.ROW_NO = r;
        g.COL_NO = C_HINMEI;
        grid.setRow(r);
        qd::core::ROW_CALC(g);
        // The row's own tax beside its amount, rounded as the tax settings round.
        const qd::text::Fixed4 amount = qd::text::valFixed(qd::core::withoutMoneyMarks(grid.cell(r, C_KINGAKU)));
        const qd::text::Fixed4 tax = qd::core::taxRound(
            amount * qd::text::Fixed4::fromInt(kTaxRatePercent) / qd::text::Fixed4::fromInt(100), kTaxRoundUnit,
            kTaxRoundDown);
        grid.setCell(r, C_ZEI_GAKU, qd::text::format(tax, "###,###,###"));
        qd::core::rowToLineRec(g, grid, r);
        f.put(r, g.LINE_REC.bytes());
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
