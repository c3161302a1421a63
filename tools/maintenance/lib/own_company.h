// The own-company record, record 1 of "\data\SYSF.SSS": its twelve fields as ownmaint edits
// them, and the reading and writing of the record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tools/maintenance/lib/maint_state.h"

namespace qd::maint {

// Field n (1 .. 12) of the record: JISYA_NAME, JUSYO_1, ..., FURIKOMI_4.
int ownField(int n);
// Its width in bytes (50, 50, 50, 10, 15, 15, 29, 29, 50, 50, 50, 50).
int ownFieldWidth(int n);

// SYSF_EDIT_n := as many blanks as field n is wide.
void SYSF_FIELDS_CLEAR(OwnState &g);
// SYSF_EDIT_n := field n of SYSF_REC at its full width.
void SYSF_TO_EDIT(OwnState &g);
// The ten "," fields and CR LF of SYSF_REC.
void SYSF_SEP_SET(OwnState &g);
// Field n := SYSF_EDIT_n cut (never half a character) or blank-filled to its width; FILLER
// blank.
void SYSF_REC_SET(OwnState &g);

// Whether quotedesk's rate selection can read the text of the rate field (KAKERITU): blank (no
// rate of the company's own), a rate rank 1 to 10, or a percentage above 10 up to 999.99, in
// plain digits with at most two decimals.
bool isReadableRate(std::string_view text);
// What ownmaint says of a rate that quotedesk could not read.
inline constexpr const char *RATE_REFUSAL = "掛率は 空白、率ﾗﾝｸ 1～10、又は 999.99 までの掛率(%) で入力して下さい！";

// Reads record 1 of the file (a missing file is created empty) into SYSF_REC and sets the
// record count (whole records); SYSF_REC stays as it is when the file holds no whole record. A
// file that ends in a part of a record is noted in partialNotes.
void readOwnRecord(OwnState &g, const std::string &path);
// Writes SYSF_REC as record 1 and keeps whatever the file holds after it; the file is replaced
// in one step, so a failure leaves it as it was. A file that ends in a part of a record is
// refused (qd::files::FileError) and left as it is.
void writeOwnRecord(const OwnState &g, const std::string &path);

} // namespace qd::maint
