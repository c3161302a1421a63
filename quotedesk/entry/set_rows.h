// A set into the sheet: the components of a set file, the heading row that carries the set's
// name, and one priced row per component, filled by the rules of a product line
// (price_item.h) with the component's price line, colour and quantity.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quotedesk/core/qd_state.h"

namespace qd::entry {

using qd::core::QdState;

// A component of a set and its record number in the set file.
struct SetComponent {
    std::int32_t recNo = 0;
    qd::records::Record rec{qd::records::SetItem::layout()};
};

// The components of the set file `fileName` as it stands now: every whole record whose SET_NAME
// is not blank, in record order. A missing file has none and is not created. SET_FILE_NAME names
// the file afterwards and SET_REC_NO is its last record; the file is closed again. A file that
// ends in a part of a record is noted in partialNotes. Throws
// qd::files::FileError for a name that is no set file's or a file that cannot be read.
std::vector<SetComponent> SET_COMPONENTS_READ(QdState &g, const std::string &fileName);

// The set's name: its first component's (30 blanks for a set without components).
std::string setNameOfComponents(const std::vector<SetComponent> &components);

// The own-company record as its file holds it now, into SYSF_REC and the print values, so the
// rates of the rows come from it where the document asks for none. A missing or empty file
// leaves them and counts as no record.
void OWN_COMPANY_READ(QdState &g);
// The current document's header record, into HEAD_REC, and RATE_VALUE from its rate field.
// False when the header file holds no record (a document not saved yet); no file is created.
bool SET_HEAD_RATE_READ(QdState &g);

// The heading row at ROW_NO: column 2 the set's name CUR_SET_NAME in the 138 characters of the
// name field, column 3 "セット品" in the 25 characters of the symbol field; nothing else.
void SET_HEAD_TO_GRID(QdState &g);
// Row ROW_NO + i + 1 for component i: the component's price line, colour and quantity, or a
// blank row when its price line is not found. Ends at row ROW_NO, column COL_BASE + COL_NO (the
// sheet's last column at most).
void SET_ITEMS_TO_GRID(QdState &g, const std::vector<SetComponent> &components);

// Inserts the heading row and one row per component at ROW_NO of the current sheet and fills
// them (CUR_SET_NAME := the set's name). A set of more components than a document holds rows is
// refused (std::length_error) before anything is inserted. When a master cannot be read the inserted rows go
// again, the sheet and its totals are as they were, and the FileError is thrown.
void SET_INTO_SHEET(QdState &g, const std::vector<SetComponent> &components);

} // namespace qd::entry
