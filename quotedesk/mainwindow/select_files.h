// The two SELECT commands of the search menu (also the sheet's pop-up menu): the selected rows of
// the current sheet saved under a name in "\data\SELECT", and the rows of a SELECT file inserted
// into the current sheet at the row of the last click or key press.
#pragma once

namespace qd::forms {

class QuotedeskApp;

// "SELECT品登録": the selected rows (whole rows, in ascending order) go to the SELECT file chosen in
// the save dialog, with the header of the current document. A selection without a data row is
// refused with a message. The document keeps its own folder and names. Cancel ends the command
// quietly; a file that cannot be written is reported.
void SERCH_SELECT_OUT_Click(QuotedeskApp &app);

// "SELECT品挿入": the rows of the SELECT file chosen in the open dialog are inserted at ROW_NO and
// priced. Cancel ends the command quietly; a file that cannot be read is reported.
void SERCH_SELECT_IN_Click(QuotedeskApp &app);

} // namespace qd::forms
