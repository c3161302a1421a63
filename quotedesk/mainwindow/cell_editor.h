// What the sheet's floating editor Text1 does with a cell's text: the text it shows when it is
// loaded, and the text it writes back into the cell, by the class of the cell's column.
//
//   amounts  7 13 14 15 18 19 20 24  loaded without "," and yen marks; written "###,###,###"
//   sizes    4 5 6                   written "##0.0"
//   rates    12 17 23                written "##0.00"
//   remark   16                      written in full-width characters, trimmed, cut to what the
//                                    remark's 50-byte field holds
//   text     every other column      written trimmed
//
// A number column takes the number at the start of the text: "1,234" gives 1 and text without
// a leading number gives 0 (an empty amount, "0.0" as a size).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qd::forms {

enum class EditorColumnClass { Amount, Size, Rate, Remark, Text };

EditorColumnClass editorColumnClass(int col);

// The bytes the remark keeps in its document field; a longer remark would be cut at the save.
inline constexpr std::size_t REMARK_FIELD_BYTES = 50;

// The editor's text when it is loaded from a cell of column `col`: without the blanks that pad
// a value read from its field, so that a click puts the cursor at the end of the value.
std::string editorLoadText(int col, std::string_view cellText);

// The cell's text when the editor's value is written back into a cell of column `col`.
std::string editorWriteBack(int col, std::string_view editorText);

// Whether the cell text the editor would write into column `col` (editorWriteBack) is a value
// that the column's document field can hold. A typed value it cannot hold (a list price of
// 99,999,999,999 yen, a quantity of 100000) is refused: the field would store another number.
bool editorValueFits(int col, std::string_view cellText);

// Half-width characters turned into their full-width forms: ASCII letters, digits, signs and
// the blank (a blank becomes the ideographic space, the yen mark "\" becomes "￥"), and
// half-width katakana, a voiced or semi-voiced mark joining the kana before it (ｶﾞ becomes ガ,
// ﾊﾟ becomes パ, ｳﾞ becomes ヴ). Every other character is kept.
std::string toFullWidth(std::string_view utf8);

} // namespace qd::forms
