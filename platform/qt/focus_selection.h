// A text box whose text is selected when the focus arrives keeps that selection when the focus
// came with a mouse click into it, so that what the user types replaces the text shown. The
// press of the click would place the cursor where it was clicked and leave nothing selected:
// typing would then be added to the value ("3.00" and "80" becoming "3.0080").
//
// What is shown and selected stays the box's own focus handling to decide; this only puts back
// what that handling selected once the press that brought the focus is released without a drag.
// A drag made with that press selects what it covers, as always; a click into a box that has the
// focus already places the cursor, so the user can still edit inside the text.
#pragma once

class QLineEdit;

namespace qd::qt {

// For the life of the box.
void keepSelectionOnFocusClick(QLineEdit *box);

} // namespace qd::qt
