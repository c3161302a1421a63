// The lines of the unit-price search's lists, the list-price file a cascade choice names, and
// the colour-code list behind the price panels.
//
// Lines are what the user sees; what a handler needs of a line (its code, its record number,
// the price file it came from) travels beside it as a ListLine, never parsed out of the text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "quotedesk/core/qd_state.h"

namespace qd::entry {

using qd::core::QdState;
using qd::records::Record;

struct ListLine {
    std::string text;    // the line as shown
    std::string code;    // the record's code as stored (cut at NUL)
    std::int32_t recNo = 0;
    std::string file;    // price lines: the list-price file name (no folder)
};

// List2: MAKER_CD & " " & NAME (20) & 5 blanks & record number "00000".
ListLine majorLine(const Record &rec, std::int32_t recNo);
// List5: CIHO_CD & " " & NAME (20) & 5 blanks & "00000".
ListLine sectionLine(const Record &rec, std::int32_t recNo);
// List1: BUNRUI_CD & " " & NAME (20) & 5 blanks & "00000".
ListLine classLine(const Record &rec, std::int32_t recNo);
// List7: IRO_CD & " " & NAME (20) & "0000".
ListLine colourLine(const Record &rec, std::int32_t recNo);
// List3: HINSYU1_CD & " " & NAME (36) & 15 blanks & "000000".
ListLine kind1Line(const Record &rec, std::int32_t recNo);
// List4: HINSYU2_CD & " " & NAME (32) & 15 blanks & "000000".
ListLine kind2Line(const Record &rec, std::int32_t recNo);
// List6: KIGO (25) & " " & BIKO (50) & 3 blanks & MAKER_CD & BUNRUI_CD & HINSYU2_CD & "000000"
// (93 characters of single-byte text), with the price file it was read from.
ListLine priceLine(const Record &rec, std::int32_t recNo, const std::string &file);

// Which records the cascade lists keep, by the current choice.
bool classListed(const QdState &g, const Record &rec);  // MAKER_CD = MAJOR_NO
bool colourListed(const QdState &g, const Record &rec); // MAKER_CD = MAJOR_NO
// Whether the colour file has colour `colour` under major class `major`: a colour chosen under
// one major class is no colour of a line of another. Reads through the form's open colour file.
bool colourOfMajor(QdState &g, std::int32_t major, std::int32_t colour);
bool kind1Listed(const QdState &g, const Record &rec);  // MAJOR_NO, CLASS_NO, not "0000"
// The kind-1 prefix is the first two characters of the chosen kind-1 code.
bool kind2Listed(const QdState &g, const Record &rec, const std::string &kind1Prefix);
bool priceListed(const QdState &g, const Record &rec);  // MAJOR, CLASS, KIND2 and SECTION_NO

// The list-price file of the cascade choice: MAJOR_NO "00" & CLASS_NO "00" & KIND1_NO "0000"
// & ".TXT". A choice outside those widths (a code that was no number of its width) names none.
std::optional<std::string> cascadePriceFile(const QdState &g);
// The list-price file the text search reads for a kind-1 record: its MAKER_CD, BUNRUI_CD and
// HINSYU1_CD as stored & ".TXT"; none unless they are digit codes of 2, 2 and 4.
std::optional<std::string> searchPriceFile(const Record &kind1);

// The colour codes of slots 1 to 16 of TANKA_REC packed to the front of PANEL_COLORS (blank
// slots skipped); PANEL_POS ends as the number of codes + 1; PANEL_PRICES(0) := 0. Later
// entries of PANEL_COLORS keep their values.
void COLOR_CODE_LIST(QdState &g);

} // namespace qd::entry
