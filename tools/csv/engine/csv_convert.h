// Export of a master file to its CSV file and import back, through a tool's column table.
//
// The export writes the CSV file through a work copy, so a failed export leaves the old CSV file
// whole. The import reads and checks the whole CSV file before it touches the master, and then
// replaces the master through a work copy under the master's lock: a refused or failed import
// leaves the master byte for byte as it was.
#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "records/whole_file.h"
#include "tools/csv/engine/csv_table.h"
#include "tools/csv/engine/csv_text.h"

namespace qd::csv {

// The CSV file's bytes for a master's bytes: the caption line, then one line per whole record in
// record order (deleted sections left out; bytes after the last whole record are no record). A
// text field goes out as the readers of the masters show it, up to its first NUL byte. A master
// without records gives an empty file, or the caption line alone where the table says so.
// `records`, when given, takes the lines written.
std::string exportBytes(const CsvTable &table, std::string_view masterBytes, int *records = nullptr);

// What the import demands beyond the column table.
struct ImportCheck {
    int majorClass = -1; // the kind file's major class, which every row must name; -1: any
};

// The master's bytes for a CSV file's bytes: the caption line dropped, one record per row in row
// order. An empty file or a caption line alone gives an empty master. Throws CsvRefused, naming
// the file (`csvName`), the line and the column, for text saved as UTF-8 or UTF-16, a first line
// that is a record rather than the captions, a row with too few or too many cells, a cell holding
// bytes that are no code page 932 text or a control character (tab, CR and LF aside), a code
// that is empty or not digits alone, a number that is not a whole number (a value below zero
// allowed only for a single item's price or cost), a code or number that does not fit its field,
// and a row of another major class than `check` demands. In a number a plus sign and the minus of
// a zero are dropped. Names that do not fit their field are cut at the field's width, never
// inside a character.
std::string importBytes(const CsvTable &table, std::string_view csvBytes, const std::string &csvName,
                        const ImportCheck &check = {}, int *records = nullptr);

// The same on files (system paths below the install folder). The export returns the records
// written, the import the records of the new master. Both throw FileError when a file cannot be
// read, locked or written (nothing changed then); the import throws CsvRefused when the CSV file
// is missing or refused (the master untouched). A master that ends in a part of a record is
// exported with its whole records and noted in `notes`, when given, for the user.
int exportFile(const CsvTable &table, const std::string &masterPath, const std::string &csvPath,
               qd::records::PartialRecordNotes *notes = nullptr);
int importFile(const CsvTable &table, const std::string &csvPath, const std::string &masterPath,
               const ImportCheck &check = {});

// Whether importing the CSV file would leave the master empty: the file is there, holds no
// record (it is empty, or holds its caption line alone) and is not refused. The question before
// an import says so.
bool importLeavesEmpty(const CsvTable &table, const std::string &csvPath, const ImportCheck &check = {});

// A field's bytes through a zero pattern ("00", "0000", "#######"): a value that reads as a number
// becomes a whole number with at least as many digits as the pattern has zeros ("#######": none,
// and zero gives an empty text); any other value comes back trimmed and otherwise unchanged.
std::string throughPattern(std::string_view field, std::string_view pattern);

// The message a user sees for a failed conversion: a refused CSV file's own message; for a file
// that could not be read, locked or written, the file and the system's reason.
std::string failureMessage(const std::exception &e);

// The last part of a system path ("\data\大分類.CSV" -> "大分類.CSV"), for the messages.
std::string fileNameOf(std::string_view systemPath);

} // namespace qd::csv
