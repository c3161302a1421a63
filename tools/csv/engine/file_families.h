// The files of the CSV tools below the install folder: the fixed masters of the single-file
// tools, the kind files of one major class and the list-price files named by eight digits, and
// what the kind and list-price windows list and show about them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/csv/engine/csv_convert.h"
#include "tools/csv/engine/csv_table.h"

#include "records/whole_file.h"

namespace qd::csv {

// INST_DIR + "\data\" + name.
std::string dataPath(const std::string &instDir, std::string_view name);

// The master and the CSV file of one conversion, and what the import demands of the rows.
struct ConversionFiles {
    std::string master;
    std::string csv;
    ImportCheck check;
};
// The fixed files of a single-file tool.
ConversionFiles singleFiles(const std::string &instDir, const CsvTable &table);
// The kind file of a major class and its CSV file; every imported row must be of that class.
ConversionFiles kindFiles(const std::string &instDir, int kind, int major);
// The list-price file of a key (eight digits) and its CSV file.
ConversionFiles priceFiles(const std::string &instDir, std::string_view key);

// ---- kind files ----------------------------------------------------------------------------

// "HISYU1" + nn + ".TXT" (kind 1) and "品種1" + nn + ".CSV"; nn the major class through "00".
std::string kindMasterName(int kind, int major);
std::string kindCsvName(int kind, int major);

// The major class of a kind file's or a kind CSV file's name: the two digits of "HISYU1nn.TXT"
// (`csv` false) or "品種1nn.CSV" (`csv` true), the letters in any case. Any other name (one with
// more characters, or other than digits where nn stands) is no file of the family: nullopt.
std::optional<int> kindFileMajor(std::string_view fileName, int kind, bool csv);

// The lines of the kind windows' list for the file names found (in their order): for each file
// of the family, each whole major-class record of MAKER.TXT (its bytes) with that code gives the
// line nn + " " + the class's name as stored (20 bytes); bytes after the last whole record are no
// record.
std::vector<std::string> kindListLines(const std::vector<std::string> &fileNames, int kind, bool csv,
                                       std::string_view makerBytes);

// ---- list-price files ----------------------------------------------------------------------

// Whether a name is a list-price file ("01020100.TXT") or its CSV file ("01020100.CSV"):
// exactly eight digits and the extension `ext` ("TXT" or "CSV"), the letters in any case.
bool isPriceFileName(std::string_view fileName, std::string_view ext);

// The major class, class and kind names of a list-price file's key (its eight digits), as the
// entry information shows them: each name as stored, or "情報がありません。" when it is not found.
// Only whole records are looked at; a file read that ends in a part of a record is noted in
// `notes`, when given, for the user.
struct PriceEntryInfo {
    std::string majorName;
    std::string className;
    std::string kindName;
};
PriceEntryInfo priceEntryInfo(const std::string &instDir, std::string_view key,
                              qd::records::PartialRecordNotes *notes = nullptr);

} // namespace qd::csv
