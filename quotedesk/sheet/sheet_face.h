// The face of the sheets on screen. The default column widths were made for a narrow Gothic
// whose figures are half as wide as its size; a face with wider figures would cut 8-digit
// amounts. The sheets are drawn in a narrow Japanese Gothic at the share of their font size at
// which the widest value of each column's field, and each caption on at most two lines, fits the
// column's default width, at every step of the font-size buttons. Widths and heights follow the
// font size, as a zoom does.
#pragma once

#include <QFont>

#include <string>

namespace qd::qt {
class GridView;
}

namespace qd::sheet {

// A narrow Japanese Gothic of this machine.
QFont sheetFace();

// The widest text a cell of column `col` shows for a value its field can hold ("99,999,999" for
// an amount); empty for a column of free text (names, remarks), whose field is wider than any
// column.
std::string widestValue(int col);

// The share of the sheet's font size at which `face` fits every shown column of the default set
// with its widest value and its caption, at a screen of `dpi`.
double sheetFaceShare(const QFont &face, int dpi);

// Puts the face on a sheet view; its widths and heights are as given at `basePoints`.
void setSheetFace(qd::qt::GridView &view, double basePoints);

} // namespace qd::sheet
