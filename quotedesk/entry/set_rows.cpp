#include "quotedesk/entry/set_rows.h"

#include <algorithm>
#include <stdexcept>

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/core/tax_totals.h"
#include "quotedesk/entry/master_reads.h"
#include "quotedesk/entry/price_item.h"
#include "records/set_files.h"

namespace qd::entry {

namespace {

using qd::records::Record;
namespace S = qd::records::SetItem;
namespace Col = qd::records::Color;

} // namespace

std::vector<SetComponent> SET_COMPONENTS_READ(QdState &g, const std::string &fileName)
{
    g.SET_FILE_NAME = fileName;
    qd::records::SET_FILE_OPEN(g);
    qd::records::CloseOnExit closer{g.SET_CTL};
    g.partialNotes.see(g.SET_CTL.path, g.SET_CTL.fileLength, qd::records::SetRecordLength);
    std::vector<SetComponent> out;
    for (std::int32_t n = 1; n <= g.SET_CTL.recordCount; ++n) {
        g.SET_REC_NO = n;
        g.SET_CTL.get(n, g.SET_REC);
        if (qd::records::isSetComponent(g.SET_REC))
            out.push_back({n, g.SET_REC});
    }
    return out;
}

std::string setNameOfComponents(const std::vector<SetComponent> &components)
{
    return components.empty() ? std::string(30, ' ') : qd::records::setNameOf(components.front().rec);
}

void OWN_COMPANY_READ(QdState &g)
{
    qd::records::openRecordFile(g, g.SYSF_CTL, qd::records::instDir(g) + "\\data\\SYSF.SSS", 512,
                                qd::files::RecordFile::Mode::ReadOnly);
    qd::records::CloseOnExit closer{g.SYSF_CTL};
    if (g.SYSF_CTL.recordCount < 1)
        return;
    qd::records::SYSF_REC_CLEAR(g);
    g.SYSF_CTL.get(1, g.SYSF_REC);
    qd::records::SYSF_TO_GLOBALS(g);
}

bool SET_HEAD_RATE_READ(QdState &g)
{
    qd::core::BUKKEN_HEAD_OPEN_READ(g);
    qd::records::CloseOnExit closer{g.HEAD_CTL};
    if (g.HEAD_CTL.recordCount < 1)
        return false;
    g.HEAD_CTL.get(1, g.HEAD_REC);
    g.RATE_VALUE = qd::text::valFixed(qd::text::trim(g.HEAD_REC.text(qd::records::DocHeader::KAKERITU)));
    return true;
}

void SET_HEAD_TO_GRID(QdState &g)
{
    qd::grid::FlexGrid &grid = g.curGrid();
    const int row = static_cast<int>(g.ROW_NO);
    grid.setRow(row);
    g.LINE_WORK.HINMEI = qd::text::fixedChars(g.CUR_SET_NAME, 138);
    grid.setCell(row, qd::core::COL_BASE + C_HINMEI - 1, g.LINE_WORK.HINMEI);
    g.LINE_WORK.HACHU_HINBAN = qd::text::fixedChars("セット品", 25);
    grid.setCell(row, qd::core::COL_BASE + C_KOSYO - 1, g.LINE_WORK.HACHU_HINBAN);
}

void SET_ITEMS_TO_GRID(QdState &g, const std::vector<SetComponent> &components)
{
    qd::records::SetPriceBook book(qd::records::instDir(g));
    g.SET_ITEM_NO = 0;
    for (const SetComponent &c : components) {
        const int row = static_cast<int>(g.ROW_NO) + g.SET_ITEM_NO + 1;
        ++g.SET_ITEM_NO;
        g.SET_REC = c.rec;
        g.SET_REC_NO = c.recNo;
        const qd::records::SetItemPrice price = book.price(c.rec);
        if (!price.lineFound)
            continue; // its row stays blank
        g.TANKA_REC = book.line();
        g.TANKA_NAME = qd::records::setPriceFileName(c.rec);

        RowSource source;
        source.row = row;
        source.setComponent = true;
        const std::string colour = codeField(c.rec, S::IRO_CD);
        source.isColour = [colour](const Record &r) { return codeField(r, Col::IRO_CD) == colour; };
        if (price.slot != 0)
            source.listPrice = price.listPrice;
        source.quantity = price.quantity;
        priceLineToRow(g, g.TANKA_REC, source);
    }
    // The cursor where the user last was, within the sheet.
    qd::grid::FlexGrid &grid = g.curGrid();
    grid.setRow(static_cast<int>(g.ROW_NO));
    grid.setCol(std::clamp(qd::core::COL_BASE + static_cast<int>(g.COL_NO), 0, grid.cols() - 1));
}

void SET_INTO_SHEET(QdState &g, const std::vector<SetComponent> &components)
{
    // A set larger than a document can hold is no set a sheet can take.
    if (components.size() >= static_cast<std::size_t>(qd::core::DOC_MAX_ROWS))
        throw std::length_error("セット品の明細が " + std::to_string(components.size()) + " 件あり、見積に入りません");
    g.CUR_SET_NAME = setNameOfComponents(components);
    const int rows = static_cast<int>(components.size()) + 1;
    g.INSERT_ROWS = static_cast<std::int16_t>(rows);
    qd::core::GRID_ROWS_INSERT(g);
    try {
        SET_HEAD_TO_GRID(g);
        SET_ITEMS_TO_GRID(g, components);
    } catch (...) {
        // The rows that could not be filled go again: the sheet is as it was.
        qd::grid::FlexGrid &grid = g.curGrid();
        for (int i = 0; i < rows; ++i)
            grid.removeItem(static_cast<int>(g.ROW_NO));
        qd::core::GRID_PAGE_NUMBER(g);
        qd::core::TAX_TOTAL_CALC(g);
        throw;
    }
}

} // namespace qd::entry
