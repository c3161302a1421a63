// The column tables of the eight CSV tools: which record field each CSV column holds, how it goes
// out (through a zero pattern, trimmed) and how it comes back (through a zero pattern, as read).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "records/record.h"

namespace qd::csv {

// What a column holds, and so what the import accepts in it.
enum class CellKind {
    Code,   // a code that names the record: digits, never empty
    Number, // a number or a slot code: digits, or empty for none
    Text,   // a name: any text, cut at the field's width
    Remark, // the remark of a price line: trimmed at both ends on the way back
};

struct CsvColumn {
    std::string caption;   // UTF-8, as the caption line shows it
    int field = 0;         // field of the record layout
    CellKind kind = CellKind::Text;
    std::string outPattern; // the zero pattern of the export; empty: the field trimmed
    std::string inPattern;  // the zero pattern of the import; empty: the digits as read
    // A price or cost of a single item: below zero for a discount, with a minus sign.
    bool mayBeNegative = false;
};

struct CsvTable {
    std::string tool;       // program name, the window's caption
    std::string title;      // the window's title line ("groupmaint の変換をします。")
    std::string word;       // the word the messages use for the master ("groupmaint")
    // The master and CSV file of the single-file tools, below "\data\" (empty for the kind
    // and list-price tools, whose files are chosen from a list).
    std::string masterName;
    std::string csvName;
    const records::Layout *layout = nullptr;
    std::vector<CsvColumn> columns;
    // The caption line goes out even when the master has no records (the list-price files);
    // the other tools write an empty file then.
    bool captionWhenEmpty = false;
    // Deleted sections keep their code and name; the export leaves them out so that the import
    // does not bring them back as live ones.
    bool skipDeletedSections = false;
    // The kind tools' files belong to one major class: rows of another one are refused.
    bool oneMajorClass = false;

    // The caption line's text (UTF-8), captions joined by ",".
    std::string captionLine() const;
};

// The tables of the tools, built once.
const CsvTable &groupTable();  // csvgroup: MAKER.TXT <-> 大分類.CSV
const CsvTable &sectTable();   // csvsect: CIHO.TXT <-> 区分.CSV
const CsvTable &colorTable();  // csvcolor: IRO.TXT <-> 色.CSV
const CsvTable &classTable();  // csvclass: BUNRUI.TXT <-> 分類.CSV
const CsvTable &itemTable();   // csvitem: TANPIN.TXT <-> 単品.CSV
const CsvTable &kind1Table();  // csvkind1: HISYU1nn.TXT <-> 品種1nn.CSV
const CsvTable &kind2Table();  // csvkind2: HISYU2nn.TXT <-> 品種2nn.CSV
const CsvTable &priceTable();  // csvprice: nnnnnnnn.TXT <-> nnnnnnnn.CSV

} // namespace qd::csv
