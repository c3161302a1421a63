// SELECT files: rows of a sheet kept under a name for use in any document. A SELECT file is a
// pair of files with the records of a job document: the header (name + ".SSS", record 1 the
// header of the document the rows came from) and the lines (name + ".TXT", one line record per
// row, in sheet order).
#pragma once

#include <cstdint>
#include <string>

#include "quotedesk/core/qd_state.h"

namespace qd::core {

// The rows a SELECT file can insert at once: no more than a document holds.
inline constexpr std::int32_t SELECT_MAX_ROWS = 999;

// Writes the SELECT file `dir`\`name`: record 1 of the header file from the header globals (what
// follows record 1 in an existing file stays), and a new line file with one record per row
// `first` .. `last` of the current sheet, empty rows and group rows included, each as a save
// turns a row into a record. Both files are written whole to work copies and renamed into place,
// so a failure leaves an existing pair as it was. The document's own folder and names are not
// touched. Rows holding a number that its field cannot hold are refused as a save refuses them
// (refuseRowsBeyondFields): nothing is written and false is returned. Throws
// qd::files::FileError when a file cannot be written, or when the SELECT line file of that name
// ends in a part of a row (refuseCutLineFile: the pair stays as it was).
bool SELECT_FILE_WRITE(QdState &g, const std::string &dir, const std::string &name, int first, int last);

// Inserts the rows of the SELECT file (SELECT_DIR, SELECT_NAME) into the current sheet at row
// ROW_NO (the first data row at the least): as many blank rows as the file has records, each
// filled as a load fills a row, but 率区分 only when it is not 0 (as "##0.00") and the two tax
// columns left empty; each row is repriced and the document totalled. ROW_NO ends below the
// last inserted row; a product row gets its whole item key back into column 21, as a load
// does. A file that ends in a part of a row (cutLineFileMessage), rows whose number fields are
// no numbers, and bytes that are no text, are said once at the end. The file is closed on every path. Returns the number of rows inserted; a
// file of more than SELECT_MAX_ROWS records is refused with a message and inserts nothing.
// Throws qd::files::FileError when the file cannot be read.
int SELECT_FILE_INSERT(QdState &g);

} // namespace qd::core
