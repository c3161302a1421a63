// Editing one set file: opening a set by its code or its list line, listing its components
// with the set's total, taking the name and the quantity, and the three writes (add, change,
// delete) and the removal of an empty set.
//
// Every write locks the set file, reads it whole again, builds the new content in memory and
// writes it through the work copy "W" + the set file's name, renamed over the set file. A write
// that returns has landed; one that throws has left the file as it was. The set file is left
// closed: the listing that follows opens it afresh, so that a failure to read it again is told
// apart from a failure to write it. A change or delete goes ahead only while the file still
// holds what was listed, so a set changed by another program meanwhile is never changed at the
// wrong record. A file that ends in a part of a record is reported and left as it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/set_files.h"
#include "tools/setitemreg/core/sethin_state.h"

namespace qd::setitemreg {

using qd::records::Record;

// The range of the numeric check of the set code box: -999,999,999 to 999,999,999.
bool numericInRange(std::int64_t value);

// Opens the set of `code` (1..99,999): SET_FILE_NAME "SET" + Format(code, "00000") + ".TXT",
// its paths, SET_FILE_OPEN, SET_OPEN := true, SET_CODE := code, CUR_SET_NAME := blanks. Returns
// whether the set has records (a new set has none; its file is made by the first 追加).
bool SET_OPEN_BY_CODE(SethinState &g, std::int32_t code);
// The same for a file name taken from the set list (a set file's name, any letter case).
bool SET_OPEN_BY_NAME(SethinState &g, const std::string &fileName);
// No set open any more: the set file is closed, SET_OPEN := false, CUR_SET_NAME := blanks.
void SET_CLOSE(SethinState &g);

// One component of the open set as the component list shows it.
struct ListedComponent {
    std::int32_t recordNo = 0;
    std::string line; // KIGO (25) & " " & BIKO (50) & 30 blanks & Format(record, "000000")
    Record rec{qd::records::SetItem::layout()};
};

// Reads the open set, its file opened afresh (SET_FILE_OPEN, left open for the panels): its
// components in file order (records with a blank name are skipped), SET_TOTAL (the shared set
// total), CUR_SET_NAME (the name of the first component; blanks for a set without one), SET_CODE
// (from the file name), SET_REC_NO := SET_REC_COUNT and LISTED_BYTES. A set file that ends in a
// part of a record is noted in partialNotes.
std::vector<ListedComponent> SET_LIST_READ(SethinState &g);

// The buffer routines of the set record.
void SET_REC_CLEAR(SethinState &g);
void SET_REC_SEPARATORS(SethinState &g);
// Fills SET_REC from CUR_SET_NAME, the current item and SET_QTY (quantity as "00000").
void SET_REC_BUILD(SethinState &g);

// The name typed in the name box, cut or blank-padded to 30 bytes; false (nothing taken) when
// it is blank, since a blank name marks a record that is no component.
bool SET_NAME_TAKE(SethinState &g, const std::string &typed);

enum class QtyAnswer { Cancelled, Refused, Taken };
// The answer of the quantity question. Empty (Cancel) changes nothing. Otherwise its first five
// characters are SET_QTY_TEXT and the number at their start, rounded, the quantity ("123456"
// gives 12345, "abc" 0); a quantity below 0 or beyond 99,999 ("-5", "9e9"), which the five
// digits of the record cannot hold, is refused.
QtyAnswer SET_QTY_TAKE(SethinState &g, const std::string &answer);

// 追加: the current item with SET_QTY becomes the last component; CUR_SET_NAME goes into every
// component. Needs an open set and a name.
void SET_COMPONENT_ADD(SethinState &g);
// 変更: component `recordNo` is replaced by the current item with SET_QTY; CUR_SET_NAME goes
// into every component.
void SET_COMPONENT_CHANGE(SethinState &g, std::int32_t recordNo);
// 削除: the set file is written again without the components `recordNos` (and without records
// whose name is blank). Returns how many were taken out.
std::int32_t SET_COMPONENTS_DELETE(SethinState &g, const std::vector<std::int32_t> &recordNos);
// The set file of the open set is deleted (a set whose component list is empty).
void SET_FILE_REMOVE(SethinState &g);

} // namespace qd::setitemreg
