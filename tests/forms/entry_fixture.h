// A small install folder for the product-entry tests: two major classes with their classes,
// colours and sections, kind files with rate rank 3, three list-price files and a document
// whose header asks for rate rank 3 (10 % tax added, whole yen, rounded down).
//
//   01 アルミ / 01 引違い窓: kind 1 1000 引違い２枚建 (rank 3: 70.00 / 50.00)
//       kind 2 1002 網戸付 (rank 3: none), 1001 標準タイプ (rank 3: 65.00 / 45.00)
//       01011000.TXT  1 HW2-16511 / 16511, 半外付, シルバー 45,800, ブロンズ 48,100, BIKO 網戸別途
//                     2 HW2-11909 / 11909, 内付, kind 2 1002, シルバー 37,250, ホワイト 39,000
//                     3 hw2-lower / AB12, 半外付, kind 2 1003 (no kind-2 record), シルバー 10,000
//                     4 FX-900 / 09009, no section (00), ホワイト 20,000
//       01011100.TXT  250 lines BULK-001 .. BULK-250 (kind 1 1100 大量品)
//   02 ガラス / 01 フロート: kind 1 1000 透明ガラス; 02011000.TXT 1 HW2-GLASS
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files/paths.h"
#include "platform/files/record_file.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/qd_state.h"
#include "records/layouts.h"
#include "tests/support/temp_install.h"
#include "tools/demodata/lib/demo_data.h"

namespace qd::entry_test {

using namespace qd::records;

struct PriceDef {
    std::string maker, bunrui, hinsyu2, ciho, kigo, kosyo;
    int wMiri = 0, hMiri = 0, wSyaku = 0, hSyaku = 0;
    std::vector<std::pair<int, int>> colours; // colour code and price of slot 1, 2, ...
    std::string biko;
};

inline void writeRecords(const std::string &path, int length, const std::vector<Record> &recs)
{
    qd::files::removeFile(path);
    qd::files::RecordFile f(path, length);
    int n = 0;
    for (const Record &r : recs)
        f.put(++n, r.bytes());
}

inline Record rec(const Layout &l, std::vector<std::pair<int, std::string>> fields)
{
    Record r(l);
    r.setSeparators();
    for (auto &[field, text] : fields)
        r.setText(field, text);
    return r;
}

inline Record kind(const Layout &l, const std::string &m, const std::string &b, const std::string &code,
                   const std::string &name, int uri3, int siire3)
{
    Record r = rec(l, {{0, m}, {1, b}, {2, code}, {3, name}});
    for (int slot = Kind1::RATE_FIRST; slot <= Kind1::RATE_LAST; ++slot)
        r.setText(slot, "00000");
    r.setNumber(Kind1::uriRate(3), uri3, "00000");
    r.setNumber(Kind1::siireRate(3), siire3, "00000");
    return r;
}

inline Record price(const PriceDef &d)
{
    Record r = rec(Price::layout(), {{Price::MAKER_CD, d.maker}, {Price::BUNRUI_CD, d.bunrui},
                                     {Price::HINSYU2_CD, d.hinsyu2}, {Price::CIHO_CD, d.ciho},
                                     {Price::KIGO, d.kigo}, {Price::KOSYO, d.kosyo}, {Price::BIKO, d.biko}});
    r.setNumber(Price::W_MIRI, d.wMiri, "00000");
    r.setNumber(Price::H_MIRI, d.hMiri, "00000");
    r.setNumber(Price::W_SYAKU, d.wSyaku, "0000");
    r.setNumber(Price::H_SYAKU, d.hSyaku, "0000");
    int s = 1;
    for (auto [code, yen] : d.colours) {
        r.setNumber(Price::iroCd(s), code, "000");
        r.setNumber(Price::tanka(s), yen, "0000000");
        ++s;
    }
    return r;
}

inline const char *DOC_NAME = "現場A";

inline void writeEntryFixture(const qd::testing::TempInstall &inst)
{
    const std::string data = inst.dir() + "\\data";
    qd::files::makeDir(data + "\\TXT");
    using MC = MajorClass::Field;
    writeRecords(data + "\\MAKER.TXT", 32,
                 {rec(MajorClass::layout(), {{MC::MAKER_CD, "01"}, {MC::NAME, "アルミ"}}),
                  rec(MajorClass::layout(), {{MC::MAKER_CD, "02"}, {MC::NAME, "ガラス"}})});
    writeRecords(data + "\\BUNRUI.TXT", 32,
                 {rec(Class::layout(), {{Class::MAKER_CD, "01"}, {Class::BUNRUI_CD, "01"}, {Class::NAME, "引違い窓"}}),
                  rec(Class::layout(), {{Class::MAKER_CD, "02"}, {Class::BUNRUI_CD, "01"}, {Class::NAME, "フロート"}})});
    writeRecords(data + "\\CIHO.TXT", 32,
                 {rec(Section::layout(), {{Section::CIHO_CD, "01"}, {Section::NAME, "半外付"}}),
                  rec(Section::layout(), {{Section::CIHO_CD, "02"}, {Section::NAME, "内付"}}),
                  rec(Section::layout(), {{Section::CIHO_CD, "00"}, {Section::NAME, "区分なし"}})});
    auto colour = [](const char *m, const char *c, const char *name) {
        return rec(Color::layout(), {{Color::MAKER_CD, m}, {Color::IRO_CD, c}, {Color::NAME, name}});
    };
    writeRecords(data + "\\IRO.TXT", 32,
                 {colour("01", "01", "シルバー"), colour("01", "02", "ブロンズ"), colour("01", "03", "ホワイト"),
                  colour("02", "01", "透明")});
    writeRecords(data + "\\HISYU101.TXT", 256,
                 {kind(Kind1::layout(), "01", "01", "1000", "引違い２枚建", 7000, 5000),
                  kind(Kind1::layout(), "01", "01", "1100", "大量品", 6000, 4000)});
    writeRecords(data + "\\HISYU201.TXT", 256,
                 {kind(Kind2::layout(), "01", "01", "1002", "網戸付", 0, 0),
                  kind(Kind2::layout(), "01", "01", "1001", "標準タイプ", 6500, 4500)});
    writeRecords(data + "\\HISYU102.TXT", 256, {kind(Kind1::layout(), "02", "01", "1000", "透明ガラス", 8000, 6000)});
    writeRecords(data + "\\HISYU202.TXT", 256, {kind(Kind2::layout(), "02", "01", "1001", "３ミリ", 8000, 6000)});

    writeRecords(data + "\\01011000.TXT", 600,
                 {price({"01", "01", "1001", "01", "HW2-16511", "16511", 16900, 11700, 558, 386,
                         {{1, 45800}, {2, 48100}}, "網戸別途"}),
                  price({"01", "01", "1002", "02", "HW2-11909", "11909", 11900, 8700, 393, 287,
                         {{1, 37250}, {3, 39000}}, ""}),
                  price({"01", "01", "1003", "01", "hw2-lower", "AB12", 1000, 1000, 33, 33, {{1, 10000}}, ""}),
                  price({"01", "01", "1001", "00", "FX-900", "09009", 9000, 9000, 297, 297, {{3, 20000}}, ""})});
    std::vector<Record> bulk;
    for (int i = 1; i <= 250; ++i)
        bulk.push_back(price({"01", "01", "1101", "01", "BULK-" + qd::text::format(i, "000"), "", 1000, 1000, 0, 0,
                              {{1, 1000 + i}}, ""}));
    writeRecords(data + "\\01011100.TXT", 600, bulk);
    writeRecords(data + "\\02011000.TXT", 600,
                 {price({"02", "01", "1001", "00", "HW2-GLASS", "G3", 900, 900, 30, 30, {{1, 5000}}, ""})});

    // Own company (no rate of its own) and the tax settings: 10 % added, whole yen, rounded down.
    writeRecords(data + "\\SYSF.SSS", 512,
                 {rec(OwnCompany::layout(), {{OwnCompany::JISYA_NAME, "見本サッシ"}, {OwnCompany::KAKERITU, ""}})});
    qd::demo::writeTaxSettings(data);

    // The document: a header asking for rate rank 3 and one line already on the sheet.
    Record head = rec(DocHeader::layout(), {{DocHeader::TOKUI_NAME, "山川建設"}, {DocHeader::KAKERITU, "3.00"}});
    writeRecords(data + "\\TXT\\" + DOC_NAME + ".SSS", 256, {head});
    Record line = rec(DocLine::layout(), {{DocLine::HINMEI, "既存の行"}, {DocLine::SURYO, "100"}});
    writeRecords(data + "\\TXT\\" + DOC_NAME + ".TXT", 1024, {line});
}

// A set component copied from price line `n` of a fixture price file, as setitemreg stores it.
inline Record setComponent(const qd::testing::TempInstall &inst, const std::string &priceFile, int n,
                           const std::string &setName, int iro, int qty)
{
    qd::files::RecordFile prices(inst.dir() + "\\data\\" + priceFile, 600, qd::files::RecordFile::Mode::ReadOnly);
    Record p(Price::layout());
    p.setBytes(prices.get(n));
    Record r(SetItem::layout());
    r.setSeparators();
    r.setText(SetItem::SET_NAME, setName);
    for (auto [s, f] : {std::pair{SetItem::MAKER_CD, Price::MAKER_CD}, {SetItem::BUNRUI_CD, Price::BUNRUI_CD},
                        {SetItem::HINSYU2_CD, Price::HINSYU2_CD}, {SetItem::CIHO_CD, Price::CIHO_CD},
                        {SetItem::KIGO, Price::KIGO}, {SetItem::BIKO, Price::BIKO}})
        r.setRaw(s, p.raw(f));
    r.setNumber(SetItem::IRO_CD, iro, "00");
    r.setNumber(SetItem::SURYO, qty, "00000");
    return r;
}

inline void writeSet(const qd::testing::TempInstall &inst, const std::string &fileName, const std::vector<Record> &recs)
{
    writeRecords(inst.dir() + "\\data\\" + fileName, 160, recs);
}

// A state on the fixture with the document loaded into slot 0 (its one line in row 1).
struct EntryDesk {
    // A save leaves the working folder in the install folder: the test's own comes back.
    std::filesystem::path workingDir = std::filesystem::current_path();
    qd::testing::TempInstall inst{qd::testing::TempInstall::Content::Empty};
    qd::core::QdState g;

    ~EntryDesk() { std::filesystem::current_path(workingDir); }
    explicit EntryDesk(qd::core::CoreUi &ui)
    {
        writeEntryFixture(inst);
        g.ui = &ui;
        g.INST_DIR = inst.dir();
        g.DOC_DIR = inst.dir() + "\\data\\TXT";
        g.CUR_DOC_NAME = DOC_NAME;
        qd::records::SYSF_OPEN(g);
        g.SYSF_CTL.get(1, g.SYSF_REC);
        g.SYSF_CTL.close();
        qd::core::BUKKEN_FILE_READ(g);
        g.ROW_NO = 1;
        g.COL_NO = 2;
    }
};

} // namespace qd::entry_test
