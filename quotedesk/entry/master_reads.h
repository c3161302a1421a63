// How product entry reads the master files: openers that never create a missing master (it then
// reads as 0 records), the code and name fields as the look-ups compare and show them, and the
// record scans of the look-ups.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "quotedesk/core/qd_state.h"

namespace qd::entry {

using qd::core::QdState;
using qd::records::Record;
using qd::records::RecordFileControl;

// "\data\MAKER.TXT", "\data\BUNRUI.TXT", "\data\CIHO.TXT", "\data\IRO.TXT" (32-byte records).
void MAKER_OPEN_READ(QdState &g);
void BUNRUI_OPEN_READ(QdState &g);
void CIHO_OPEN_READ(QdState &g);
void IRO_OPEN_READ(QdState &g);
// "\data\HISYU1" / "\data\HISYU2" & MAJOR_NO as "00" & ".TXT" (256-byte records). A MAJOR_NO
// outside 0..99 names no file of the system: nothing is opened and the count is 0.
void HISYU1_OPEN_READ(QdState &g);
void HISYU2_OPEN_READ(QdState &g);

// The four masters the unit-price search keeps open while it is loaded. Any of them that is not
// open (never opened, or closed meanwhile by another window that shares its file control) is
// opened again.
void openFormMasters(QdState &g);
void closeFormMasters(QdState &g);

// A code field as the look-ups compare it: its bytes cut at the first NUL and padded with
// blanks to the field's width again.
std::string codeField(const Record &rec, int field);
// A text field as the lists and panels show it: cut at its first NUL, blank-padded to its width
// (UTF-8).
std::string nameField(const Record &rec, int field);
// The numeric value of a field (the number at its start; none gives 0).
std::int64_t fieldValue(const Record &rec, int field);
// True when the text is exactly `width` ASCII digits: only such codes go into a file name.
bool isDigitCode(std::string_view s, std::size_t width);

// The records of an open file that a list shows: its whole records. A file that ends in a part
// of a record is noted in partialNotes, for the user to be told of once.
std::int32_t shownRecordCount(QdState &g, const RecordFileControl &ctl);

// Reads records 1 .. count of an open file into `rec` and stops at the first that `match`
// accepts; returns whether one did. On a miss `rec` is left blank (separators kept), so no
// caller takes another record's names or rates for a record that is not there.
bool findFirst(RecordFileControl &ctl, Record &rec, const std::function<bool(const Record &)> &match);
// Reads every record 1 .. count into `rec` and calls `each` for those that `match` accepts, so
// a later match overwrites what an earlier one set.
void forEachMatch(RecordFileControl &ctl, Record &rec, const std::function<bool(const Record &)> &match,
                  const std::function<void(const Record &)> &each);

} // namespace qd::entry
