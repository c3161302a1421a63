#include "tools/csv/engine/csv_table.h"

#include "records/layouts.h"

namespace qd::csv {

namespace {

using namespace qd::records;

CsvColumn code(std::string caption, int field, std::string out, std::string in)
{
    return {std::move(caption), field, CellKind::Code, std::move(out), std::move(in)};
}
CsvColumn number(std::string caption, int field, std::string out, std::string in = {})
{
    return {std::move(caption), field, CellKind::Number, std::move(out), std::move(in)};
}
// A price or cost: as a number, and below zero for a discount.
CsvColumn amount(std::string caption, int field, std::string out)
{
    CsvColumn c = number(std::move(caption), field, std::move(out));
    c.mayBeNegative = true;
    return c;
}
CsvColumn text(std::string caption, int field) { return {std::move(caption), field, CellKind::Text, {}, {}}; }

// A slot number in full-width digits, as the captions of the rate and price slots carry it.
std::string fullWidth(int n)
{
    static const char *const digits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    std::string s;
    for (char c : std::to_string(n))
        s += digits[c - '0'];
    return s;
}

// The code-and-name masters: a code (or a major class and a code) and a name.
CsvTable codeAndName(std::string tool, std::string word, const Layout &layout, std::string master,
                     std::string csv, std::vector<CsvColumn> columns)
{
    CsvTable t;
    t.tool = std::move(tool);
    t.title = word + " の変換をします。";
    t.word = std::move(word);
    t.layout = &layout;
    t.masterName = std::move(master);
    t.csvName = std::move(csv);
    t.columns = std::move(columns);
    return t;
}

// The kind files: codes, a name and the twenty rate slots, sales and purchase rate of each rank
// in turn from `rateFirst` on.
CsvTable kindTable(int kind, const Layout &layout, int codeField, int nameField, int rateFirst)
{
    const std::string k = std::to_string(kind);
    const std::string kw = fullWidth(kind);
    CsvTable t;
    t.tool = "csvkind" + k;
    t.word = "kind" + k + "maint";
    t.title = t.word + " の変換をします。";
    t.layout = &layout;
    t.oneMajorClass = true;
    t.columns = {code("大分類ｺｰﾄﾞ", 0, "00", "00"), code("分類コード", 1, "00", "00"),
                 code("品種" + kw + "コード", codeField, "0000", "0000"),
                 text("品種" + kw + "名", nameField)};
    for (int rank = 1; rank <= 10; ++rank) {
        // The rates go out through "000" and come back as the digits read, left in the slot.
        t.columns.push_back(number("売上率" + fullWidth(rank), rateFirst + 2 * (rank - 1), "000"));
        t.columns.push_back(number("仕入率" + fullWidth(rank), rateFirst + 2 * (rank - 1) + 1, "000"));
    }
    return t;
}

} // namespace

std::string CsvTable::captionLine() const
{
    std::string line;
    for (const CsvColumn &c : columns) {
        if (!line.empty())
            line += ',';
        line += c.caption;
    }
    return line;
}

const CsvTable &groupTable()
{
    static const CsvTable t = codeAndName("csvgroup", "groupmaint", MajorClass::layout(), "MAKER.TXT", "大分類.CSV",
                                          {code("大分類ｺｰﾄﾞ", MajorClass::MAKER_CD, "00", "00"),
                                           text("大分類名", MajorClass::NAME)});
    return t;
}

const CsvTable &sectTable()
{
    static const CsvTable t = [] {
        CsvTable s = codeAndName("csvsect", "sectmaint", Section::layout(), "CIHO.TXT", "区分.CSV",
                                 {code("区分ｺｰﾄﾞ", Section::CIHO_CD, "00", "00"), text("区分名", Section::NAME)});
        s.skipDeletedSections = true;
        return s;
    }();
    return t;
}

const CsvTable &colorTable()
{
    static const CsvTable t = codeAndName("csvcolor", "colormaint", Color::layout(), "IRO.TXT", "色.CSV",
                                          {code("大分類ｺｰﾄﾞ", Color::MAKER_CD, "00", "00"),
                                           code("色コード", Color::IRO_CD, "00", "00"), text("色名", Color::NAME)});
    return t;
}

const CsvTable &classTable()
{
    static const CsvTable t = codeAndName("csvclass", "classmaint", Class::layout(), "BUNRUI.TXT", "分類.CSV",
                                          {code("大分類ｺｰﾄﾞ", Class::MAKER_CD, "00", "00"),
                                           code("分類コード", Class::BUNRUI_CD, "00", "00"),
                                           text("分類名", Class::NAME)});
    return t;
}

const CsvTable &itemTable()
{
    // Prices and costs go out without leading zeros (a zero as an empty cell) and come back as
    // the digits read, left in their fields; a discount keeps its minus sign.
    static const CsvTable t = codeAndName("csvitem", "itemmaint", Item::layout(), "TANPIN.TXT", "単品.CSV",
                                          {code("単品ｺｰﾄﾞ", Item::TANPIN_CD, "0000", "0000"),
                                           text("単品名", Item::NAME),
                                           amount("単価", Item::TANKA, "#######"),
                                           amount("原価", Item::GENKA, "#######")});
    return t;
}

const CsvTable &kind1Table()
{
    static const CsvTable t = kindTable(1, Kind1::layout(), Kind1::HINSYU1_CD, Kind1::NAME, Kind1::uriRate(1));
    return t;
}

const CsvTable &kind2Table()
{
    static const CsvTable t = kindTable(2, Kind2::layout(), Kind2::HINSYU2_CD, Kind2::NAME, Kind2::uriRate(1));
    return t;
}

const CsvTable &priceTable()
{
    static const CsvTable t = [] {
        CsvTable p;
        p.tool = "csvprice";
        p.title = "pricemaint の変換をします。";
        p.word = "定価情報";
        p.layout = &Price::layout();
        p.captionWhenEmpty = true;
        // The section goes out with four digits and the colour codes with seven, and both come
        // back in their own widths.
        p.columns = {code("大分類ｺｰﾄﾞ", Price::MAKER_CD, "00", "00"),
                     code("分類コード", Price::BUNRUI_CD, "00", "00"),
                     code("品種コード", Price::HINSYU2_CD, "0000", "0000"),
                     code("区分ｺｰﾄﾞ", Price::CIHO_CD, "0000", "00"),
                     text("記号", Price::KIGO),
                     text("呼称", Price::KOSYO),
                     number("Ｗサイズ（ミリ）", Price::W_MIRI, "00000", "00000"),
                     number("Ｈサイズ（ミリ）", Price::H_MIRI, "00000", "00000"),
                     number("Ｗサイズ（尺）", Price::W_SYAKU, "0000", "0000"),
                     number("Ｈサイズ（尺）", Price::H_SYAKU, "0000", "0000")};
        for (int s = 1; s <= PriceSlots; ++s) {
            p.columns.push_back(number("色コード" + fullWidth(s), Price::iroCd(s), "0000000", "000"));
            p.columns.push_back(number("単価" + fullWidth(s), Price::tanka(s), "0000000", "0000000"));
        }
        p.columns.push_back({"備考", Price::BIKO, CellKind::Remark, {}, {}});
        return p;
    }();
    return t;
}

} // namespace qd::csv
