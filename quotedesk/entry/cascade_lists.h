// The cascade of master lists that the unit-price search and the set search share: major class
// (List2), class (List1), kind 1 (List3), kind 2 (List4), section (List5) and colour (List7)
// narrow the price lines (List6) of one list-price file. Each fill reads its master from record 1
// and lists, in record order, the records the current choice keeps (price_lists.h).
#pragma once

#include <cstdint>
#include <string>

#include "quotedesk/core/qd_state.h"
#include "quotedesk/entry/list_lines.h"

namespace qd::forms {

using qd::core::QdState;

void fillMajors(QdState &g, ListBox *list);   // every major class
void fillSections(QdState &g, ListBox *list); // every section
void fillClasses(QdState &g, ListBox *list);  // the classes of MAJOR_NO
void fillColours(QdState &g, ListBox *list);  // the colours of MAJOR_NO
void fillKind1(QdState &g, ListBox *list);    // the kind-1 records of MAJOR_NO and CLASS_NO
// The kind-2 records of MAJOR_NO and CLASS_NO whose code begins as the chosen kind-1 code.
void fillKind2(QdState &g, ListBox *list, const std::string &kind1Code);
// KIND2_NO := the code of kind-2 record `recNo` (unchanged when it is not there).
void takeKind2(QdState &g, std::int32_t recNo);
// SECTION_NO := the code of section record `recNo`; false when it is not there.
bool takeSection(QdState &g, std::int32_t recNo);
// The price lines of the cascade's list-price file that the choice keeps; none when the choice
// names no file.
void fillPriceLines(QdState &g, ListBox *list);

// Reads record `recNo` of list-price file `file` into TANKA_REC; the file stays open for the
// next line of it (until the price lines lose the focus). False when the file does not hold
// that record.
bool readPriceLine(QdState &g, const std::string &file, std::int32_t recNo);

// Entering a cascade list empties the price lines and resets the choices below the one it
// makes: List2 the major class and all below, List1 the class and below, List3 the kinds, List4
// kind 2, List5 nothing.
enum class CascadeLevel { Major, Class, Kind1, Kind2, Section };
void cascadeGotFocus(QdState &g, CascadeLevel level, ListBox *priceLines);

} // namespace qd::forms
