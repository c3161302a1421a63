// The print menu of the main window: "発行日の設定" (the issue date printed on the documents)
// and "印刷実行" (print the current document through the print dialog and the preview).
#pragma once

#include "quotedesk/core/qd_state.h"
#include "quotedesk/printing/print_context.h"

namespace qd::printing {

// Asks for the issue date ("YYYYMMDD"); an answer that does not start with a number gives
// today. Sets ISSUE_DATE and ISSUE_DATE_NUM.
void PRN_HAKKOBI_Click(qd::core::QdState &g);

// Prepares a print run and opens the print dialog with the main window disabled: deletes the
// page images of the last run, reads the own-company record, asks "消費税印刷しますか？".
// Without a document name it only says "見積の属性を設定してください。".
void PRN_PRINT_Click(PrintContext &ctx);

// While the document's totals are beyond what a printed page holds, says which total is too
// large to print and returns true: the print command then prints nothing.
bool refuseTotalsBeyondPrint(const qd::core::QdState &g);

// Reads record 1 of the own-company file into the own-company print values, when it has one.
// A file that cannot be read leaves them as they were.
void loadOwnCompany(qd::core::QdState &g);

} // namespace qd::printing
