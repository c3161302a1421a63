// The ascending text order of the sorted list and combo boxes, as plain C++ so that a rewrite can
// order records the way a sorted list would without a list.
//
// Lines compare character by character: ASCII letters without regard to case, every other
// character by its code point (digits stand before letters, letters before kana and kanji).
// Lines equal but for letter case compare by their exact characters; fully equal lines keep the
// order in which they came. Fixed-width codes at the start of a line therefore order the lines by
// code: "05 ..." before "12 ...", "0003 ..." before "0010 ...".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qd::qt {

// <0, 0 or >0 as `a` stands before, with or after `b` (UTF-8 texts).
int compareListText(std::string_view a, std::string_view b);
inline bool listTextLess(std::string_view a, std::string_view b) { return compareListText(a, b) < 0; }

// The positions of `keys` in the order a sorted list gives them: ascending text order, equal
// keys in the order they stand in `keys`. A rewrite that passes the sort keys of its records in
// record order gets equal keys back in record order.
std::vector<int> sortedOrder(const std::vector<std::string> &keys);

} // namespace qd::qt
