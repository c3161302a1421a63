// The composition run: the rows of a print source become page image files 001.emf ... in
// "\data", A4 landscape, with the page breaks, the row filter, the totals and the stop request.
//
// Page 1 holds at most 13 printed rows, every continuation page 17. With PRN_NAME_COL 1 a row
// whose trimmed 発注品番 starts with "se" is not printed. A stop request (PRN_CANCEL = 9) is
// honoured between rows: the pages closed so far stay, the page being composed and the totals
// are not written.
#pragma once

#include <functional>

#include "quotedesk/compose/landscape_layout.h"

namespace qd::printing {

// PAGE_W := 296, PAGE_H := 209; a fresh page, the default font, then the run. Pages are saved
// from PAGE_NO on (the caller sets 1). Throws qd::emf::PageWriteError when a page image cannot
// be written.
void PRN_DOC_MAKE(PrintJob &job);
// PRN_CANCEL := 0, then the pages.
void PRN_YOKO_START(PrintJob &job);
// The row walk and the totals.
void PRN_YOKO_PAGES(PrintJob &job);
// Page control for job.row: page 1 set up for the first row, a page break when the page is
// full, then the detail line.
void PRN_YOKO_LINE_PUT(PrintJob &job);
// Tax lines, the grand total and the close of the last page.
void PRN_YOKO_TOTALS(PrintJob &job);

struct ComposeResult {
    int pagesWritten = 0;
    bool stopped = false;
};

// A whole run over `source`: pages from 1 on, `doEvents` before every text. Sets PAGE_NO
// and PRN_CANCEL of `g` as the run goes. Throws qd::emf::PageWriteError.
ComposeResult composeDocument(qd::core::QdState &g, const PrintSource &source,
                              std::function<void()> doEvents = {});

} // namespace qd::printing
