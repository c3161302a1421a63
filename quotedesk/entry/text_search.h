// The text search of the unit-price search form: a walk over every list-price file that the
// ranges of the cascade lists allow, listing the price records whose 記号 (or, when a 呼称 text
// is given as well, whose 呼称) holds the search text.
//
// The walk runs on the user-interface thread. After every price record and every kind-1 record
// it lets pending window events run, and it ends as soon as SEARCH_STOP is 9 (the form's
// "検索中止" sets it).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "quotedesk/core/qd_state.h"
#include "quotedesk/entry/price_lists.h"

namespace qd::entry {

using qd::core::QdState;

// What the walk shows and asks of the form.
class SearchView {
public:
    virtual ~SearchView() = default;
    virtual void clearHits() = 0;          // List6 cleared
    virtual void addHit(const ListLine &line) = 0; // a List6 line with its file and record
    virtual void showCount(const std::string &count) = 0; // Text2
    virtual void showFile(const std::string &file) = 0;   // Text3
    virtual void letEventsRun() = 0;       // pending window events (the stop button among them)
};

// The position (from 1, in characters) of the first occurrence of `needle` in the code page 932
// bytes `field`, 0 when there is none. Both are compared byte for byte but a match must start
// on a character, so a search for "A" never hits the second byte of a double-byte character.
int cp932Find(std::string_view field, std::string_view needle);

// The walk (SERCH_TXT_001). Search texts are the symbol and designation fields of LINE_WORK.
// Masters are read through MAKER_CTL (opened again when it is not open), the kind-1 and
// price files are opened for reading only and closed again, also when the walk is stopped.
// Kind-1 records whose codes are not digit codes name no price file and are skipped.
void SERCH_TXT_001(QdState &g, SearchView &view);

} // namespace qd::entry
