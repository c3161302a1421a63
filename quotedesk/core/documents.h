// Job documents on disk: a header file (name + ".SSS", record 1 of 256 bytes) and a line file
// (name + ".TXT", one 1024-byte record per sheet row) in the document folder. This is where a
// sheet row becomes a line record and back, where a document is loaded into the current sheet
// and where the current sheet is saved.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/grid/flex_grid.h"
#include "quotedesk/core/qd_state.h"

namespace qd::core {

// The data rows a load can fill: those of a freshly set-up sheet (1000 rows, row 0 captions).
// A save never writes more, so every saved document loads back whole.
inline constexpr int DOC_MAX_ROWS = 999;

// Openers: Random access, a missing file created empty, record count from the file length,
// current record 0. The caller closes the file when its operation ends.
void BUKKEN_HEAD_OPEN(QdState &g); // Trim(DOC_DIR) & "\" & Trim(HEAD_NAME) & ".SSS", 256
// The header file for reading only: a missing one is not created and has 0 records.
void BUKKEN_HEAD_OPEN_READ(QdState &g);
void BUKKEN_FILE_OPEN(QdState &g); // Trim(DOC_DIR) & "\" & Trim(CUR_DOC_NAME) & ".TXT", 1024
void SELECT_FILE_OPEN(QdState &g); // Trim(SELECT_DIR) & "\" & Trim(SELECT_NAME) & ".TXT", on LINE_CTL

// Header buffer and globals.
void BUKKEN_HEAD_SEPARATORS(QdState &g); // "," separators, blank FILLER, CR LF
void BUKKEN_HEAD_BUILD(QdState &g);      // HEAD_REC from HEAD_TOKUI .. HEAD_YUKOU and HEAD_RATE
void BUKKEN_HEAD_CLEAR(QdState &g);      // header globals blank, RATE_VALUE 0 (HEAD_RATE kept)
void DOC_HEAD_CLEAR(QdState &g);         // the six text fields of HEAD_REC blank
// Reads record 1 of the current header file into the header globals and HEAD_RATE; the file
// is closed in every case. A file shorter than a record is read as far as it goes, the rest
// blank. Returns whether the file held anything; an empty or missing file leaves the globals.
bool DOC_HEAD_READ(QdState &g);
// Every field of the document header blank: the six texts (as BUKKEN_HEAD_CLEAR leaves them),
// HEAD_RATE and RATE_VALUE 0, and the fields of HEAD_REC with its rate. Done before the header
// of another document is read, so that nothing of the previous one stays.
void blankHeader(QdState &g);

// Line work fields and the line buffer.
void LINE_REC_CLEAR(QdState &g); // every work field blank but D, 平米/立米単価 and 単位
void TX_FIL_MOVE(QdState &g);    // "," separators, blank FILLER, CR LF of LINE_REC
void TX_REC_MOVE(QdState &g);    // LINE_WORK into the 24 fields of LINE_REC

// One cell's text of sheet column `col` (0..24) into its LINE_WORK field, as a save takes it.
// Column 0 (the page number) is not stored.
void cellToLineWork(QdState &g, int col, std::string_view text);
// Whether the number a cell of sheet column `col` holds can be stored in its line field as a save
// writes it, with every digit of its whole part (a cut of decimals, 数量 123.45 stored as 123.4,
// is the field's known form). Text columns always fit.
bool cellFitsItsField(int col, std::string_view text);
// Before rows first .. last of `grid` are saved: every number cell is marked as markBeyondField
// marks it, and when any row holds a number that its field cannot hold, the user is told which
// rows (beep and message) and true is returned: such rows are not saved.
bool refuseRowsBeyondFields(QdState &g, qd::grid::FlexGrid &grid, int first, int last);
// Row `row` of `grid` into LINE_REC, ready to be put: LINE_REC_CLEAR, every column through
// cellToLineWork, TX_FIL_MOVE, TX_REC_MOVE. Throws qd::grid::GridError for a row or a column
// the grid does not have.
void rowToLineRec(QdState &g, const qd::grid::FlexGrid &grid, int row);
// The text a load puts into sheet column `col` (1..24) from LINE_REC. False when the column
// is left untouched: a number column that is shown only when its value is not 0.
bool readBackCell(const QdState &g, int col, std::string &text);
// Columns 1..24 of row `row` of `grid` from LINE_REC, as a load fills them.
void lineRecToRow(const QdState &g, qd::grid::FlexGrid &grid, int row);

// What a load tells the user once, after the rows are shown: whether every number field of the
// line record in LINE_REC holds a number (or nothing), the message naming the rows whose number
// fields do not (they are read by the number rule all the same), the message for a file that
// holds bytes that are no text (kept as marks), and the showing of such messages.
bool lineNumbersAreNumbers(const QdState &g);
std::string notNumbersMessage(const std::vector<int> &rows);
std::string byteMarksMessage(const std::string &file);
// A line file (document or SELECT, a system path) of `length` bytes that ends in a part of a
// row, of which `rowsRead` rows were read: what of the cut row was read, the file and its size.
std::string cutLineFileMessage(const std::string &linePath, std::int64_t length, std::int32_t rowsRead);
// Throws qd::files::FileError naming the line file when it ends in a part of a row: such a file
// is not saved over, so that what its cut row held stays for someone to look at.
void refuseCutLineFile(const std::string &linePath);
void showNotes(QdState &g, const std::vector<std::string> &notes);

// Loads the current document (DOC_DIR, CUR_DOC_NAME) into the current sheet: header globals
// and RATE_VALUE from the header file, SHEET_INIT, one row per line record, TAX_TOTAL_CALC,
// current cell (1, 2). The rows are shown as saved, not repriced. Every header field is blanked
// before the header is read; a header file shorter than its record is read as far as it goes.
// A document that cannot be read (a file error, more line records than the sheet's data rows)
// gets a message and leaves the sheet empty, never half filled; returns false then. A line
// file that ends in a partial record loads its rows as counted (a cut row of more than half a
// record completed with blanks), with a message that names the file, its size and what was read
// (cutLineFileMessage). Both files are read
// under their shared locks, so the header and the lines come from one save; the slot remembers
// what it read (DOC_FILES_SEEN).
bool BUKKEN_FILE_READ(QdState &g);

// The save dialog of "保存" as the main window shows it.
struct SaveDialogSetup {
    std::string initDir;  // Trim(INST_DIR) & "\data\TXT"
    std::string fileName; // Trim(HEAD_NAME) & ".TXT"
    std::string filter;   // "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|"
    int flags = 2;        // ask before overwriting an existing file
};
// First step of "保存": the working folder becomes the document folder of the install folder
// and the dialog's settings are returned. When that folder is missing a message is shown and
// false returned; no file is touched.
bool FILE_WRITE_PREPARE(QdState &g, SaveDialogSetup &setup);
// Ends "保存" without saving (Cancel in the dialog): working folder back to the install folder,
// Redraw of the current sheet on.
void FILE_WRITE_END(QdState &g);
// Saves the current sheet and the header globals under the name chosen in the save dialog
// (its FileName and FileTitle). The name is the title without a closing ".txt" (any case); the
// folder is the one the dialog chose. Both files are written completely to work copies and
// renamed into place, so a failure (reported by a message) leaves the old files as they were,
// and HEAD_NAME, CUR_DOC_NAME and DOC_DIR take the new name only once the save succeeded.
// A sheet whose last filled row lies beyond DOC_MAX_ROWS, or that holds a number its field cannot
// hold (refuseRowsBeyondFields), is refused with a message, and so is a line file of that name
// that ends in a part of a row (refuseCutLineFile): it stays as it is. When the
// slot's own document files were changed by another program since this one loaded or last
// saved them, the user is asked (Yes/No) before they are overwritten; No saves nothing. A name
// that is no plain file name is refused with a message, and existing files the dialog did not
// ask about are asked about first (confirmPairOverwrite). Ends as FILE_WRITE_END does; the caller gives the sheet the focus. Returns whether the files were
// written.
bool BUKKEN_FILE_WRITE(QdState &g, const std::string &fileName, const std::string &fileTitle);

// Before a save replaces the pair `dir`\`name` (".SSS" and ".TXT"): when either file holds
// something and the save dialog has not asked about it already (it asks about the name typed, `title`, and
// the save adds ".TXT" to a name typed without it), the user is asked whether to replace the
// files, by their names. Not asked about: a file the current slot wrote itself (its header form's
// "終了", its last save) that is as it left it, the open document's own; and one the slot has seen
// that another program has changed since, which the save asks about in those words. Returns false
// when the answer is No.
bool confirmPairOverwrite(QdState &g, const std::string &dir, const std::string &name, const std::string &title);

// Whether `dir`\`name` names the files of a document open in one of the slots (the files the
// slot last loaded or saved).
bool isOpenDocument(const QdState &g, const std::string &dir, const std::string &name);

// After the header file at `headPath` was written whole (`headLength` bytes, HEAD_REC as its
// record 1): its control group counts what was written, as an open of it would, so products
// entered next take their rate from this header; the current slot takes the new header as its
// own (also for a document not saved yet), so that the next save does not ask about it unless
// another program has written it since.
void headerFileWritten(QdState &g, const std::string &headPath, std::size_t headLength);

} // namespace qd::core
