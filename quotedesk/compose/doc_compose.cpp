#include "quotedesk/compose/doc_compose.h"

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"

namespace qd::printing {

namespace {

constexpr std::int16_t kStop = 9;

void pageBreak(PrintJob &job)
{
    EMF_PAGE_CLOSE(job);
    ++job.g.PAGE_NO;
    PRN_HEAD_NEXT(job);
    PRN_TITLE_NEXT(job);
    job.PRN_LINE_NO = 1;
}

void firstPage(PrintJob &job)
{
    job.PRN_LINE_NO = 1;
    PRN_YOKO_HEAD_FIRST(job);
    PRN_YOKO_TITLE_FIRST(job);
}

void breakIfFull(PrintJob &job)
{
    if ((job.PRN_PAGE == 1 && job.PRN_LINE_NO > 26) || (job.PRN_PAGE > 1 && job.PRN_LINE_NO > 34))
        pageBreak(job);
}

// The rate slot of a breakdown entry "10.00 01": the number after the blank.
int slotOf(const std::string &entry)
{
    const std::size_t blank = entry.find(' ');
    if (blank == std::string::npos)
        return 0;
    return static_cast<int>(qd::text::val(std::string_view(entry).substr(blank + 1)));
}

} // namespace

void PRN_DOC_MAKE(PrintJob &job)
{
    job.g.PAGE_W = qd::text::Fixed4::fromInt(296);
    job.g.PAGE_H = qd::text::Fixed4::fromInt(209);
    EMF_PAGE_OPEN(job);
    PRN_FONT_DEFAULT(job);
    PRN_YOKO_START(job);
}

void PRN_YOKO_START(PrintJob &job)
{
    job.g.PRN_CANCEL = 0;
    PRN_YOKO_PAGES(job);
}

void PRN_YOKO_PAGES(PrintJob &job)
{
    job.PRN_PAGE = 0;
    job.PRN_LINE_NO = 0;
    for (const SheetRow &row : job.src.rows) {
        job.row = &row;
        const std::string order = qd::text::trim(row[21]);
        const bool skipped = job.src.PRN_NAME_COL == 1 && order.compare(0, 2, "se") == 0;
        if (!skipped)
            PRN_YOKO_LINE_PUT(job);
        if (job.g.PRN_CANCEL == kStop)
            return;
    }
    job.row = nullptr;
    if (job.g.PRN_CANCEL == kStop)
        return;
    PRN_YOKO_TOTALS(job);
}

void PRN_YOKO_LINE_PUT(PrintJob &job)
{
    if (job.PRN_PAGE == 0 && job.PRN_LINE_NO == 0)
        firstPage(job);
    breakIfFull(job);
    PRN_DETAIL(job);
    ++job.PRN_LINE_NO;
}

void PRN_YOKO_TOTALS(PrintJob &job)
{
    // A document whose every row is filtered out still gets page 1 with its headings and totals.
    if (job.PRN_PAGE == 0)
        firstPage(job);
    if (job.PRN_LINE_NO % 2 == 0)
        ++job.PRN_LINE_NO;
    breakIfFull(job);
    if (job.src.TAX_PRINT == 1) {
        --job.PRN_LINE_NO;
        for (const std::string &entry : job.src.taxEntries) {
            ++job.PRN_LINE_NO;
            breakIfFull(job);
            const int slot = slotOf(entry);
            if (slot >= 1 && slot <= 10)
                PRN_TAX_LINE(job, slot);
        }
    }
    ++job.PRN_LINE_NO;
    breakIfFull(job);
    PRN_GRAND_TOTAL_LINE(job);
    EMF_PAGE_CLOSE(job);
    job.completed = true;
}

ComposeResult composeDocument(qd::core::QdState &g, const PrintSource &source,
                              std::function<void()> doEvents)
{
    PrintJob job(g, source);
    job.doEvents = std::move(doEvents);
    g.PAGE_NO = 1;
    PRN_DOC_MAKE(job);
    return {job.pagesWritten, !job.completed};
}

} // namespace qd::printing
