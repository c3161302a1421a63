// What an A4 landscape page of a quotation (見積書), invoice (請求書) or delivery note (納品書)
// shows: the frames and rules, the heading block of page 1, the heading of continuation pages,
// one detail line per sheet row and the tax and grand-total lines at the end.
//
// Page 1 has 13 row bands (y 700..2000), continuation pages 17 (y 300..2000). A sheet row
// prints 59 units below the top of its band, so that the commas of its figures stay 0.5 mm
// clear of the rule below; the upper half-line, 9 units below the top, takes the first part of
// a long remark and the totals.
#pragma once

#include <cstdint>
#include <string>

#include "quotedesk/compose/page_print.h"
#include "quotedesk/compose/print_source.h"

namespace qd::printing {

// One composition run: the drawing layer, what is printed, and the page and line counters.
struct PrintJob : PagePrint {
    PrintJob(qd::core::QdState &state, const PrintSource &source) : PagePrint(state), src(source) {}

    const PrintSource &src;
    std::int16_t PRN_PAGE = 0;    // page being composed; 0 before page 1
    std::int16_t PRN_LINE_NO = 0; // half-row counter of the page
    const SheetRow *row = nullptr; // the sheet row PRN_DETAIL prints
    bool completed = false;        // the totals and the last page are written
};

// "御　見　積　書", "御　請　求　書" or "納　　品　　書".
std::string documentTitle(int docKind);

// Text y of half-line PRN_LINE_NO on the page being composed.
std::int32_t rowY(const PrintJob &job);

void PRN_YOKO_HEAD_FIRST(PrintJob &job);  // page-1 rules and frames
void PRN_YOKO_TITLE_FIRST(PrintJob &job); // page-1 texts; PRN_PAGE += 1
void PRN_HEAD_NEXT(PrintJob &job);        // continuation rules and frames
void PRN_TITLE_NEXT(PrintJob &job);       // continuation texts; PRN_PAGE += 1
// The detail line of job.row: adds 1 to PRN_LINE_NO first; a group row ("【x】" in 品名)
// prints nothing and takes 2 back.
void PRN_DETAIL(PrintJob &job);

// The texts of the totals, drawn at the y of the present PRN_LINE_NO (the page control of the
// run places them).
void PRN_TAX_LINE(PrintJob &job, int slot);
void PRN_GRAND_TOTAL_LINE(PrintJob &job);

} // namespace qd::printing
