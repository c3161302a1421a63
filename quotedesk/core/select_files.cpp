#include "quotedesk/core/select_files.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files/file_lock.h"
#include "platform/files/file_read.h"
#include "platform/files/safe_replace.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/item_key.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/core/tax_totals.h"

namespace qd::core {

using qd::records::CloseOnExit;

namespace {

constexpr int HEAD_LENGTH = 256;
constexpr int LINE_LENGTH = 1024;
constexpr int C_RITU_KBN = 11;
constexpr int LAST_FILE_COL = 22; // the two tax columns are not taken from the file

} // namespace

bool SELECT_FILE_WRITE(QdState &g, const std::string &dir, const std::string &name, int first, int last)
{
    const std::string base = qd::text::trim(dir) + "\\" + qd::text::trim(name);
    const std::string headPath = base + ".SSS", linePath = base + ".TXT";
    qd::grid::FlexGrid &sheet = g.curGrid();
    if (refuseRowsBeyondFields(g, sheet, first, last))
        return false;

    std::string lines;
    for (int row = std::max(first, 1); row <= last && row < sheet.rows(); ++row) {
        rowToLineRec(g, sheet, row);
        lines += g.LINE_REC.bytes();
    }
    LINE_REC_CLEAR(g);
    BUKKEN_HEAD_SEPARATORS(g);
    BUKKEN_HEAD_BUILD(g);

    // Locked from the read of the old header to the replacement of the pair: header and lines
    // are replaced together, or neither is.
    const qd::files::FileLock headLock(headPath, qd::files::LockKind::Exclusive);
    const qd::files::FileLock lineLock(linePath, qd::files::LockKind::Exclusive);
    refuseCutLineFile(linePath);
    std::string head = g.HEAD_REC.bytes();
    const qd::files::FileSnapshot oldHead = qd::files::readWholeFile(headPath);
    if (oldHead.bytes.size() > static_cast<std::size_t>(HEAD_LENGTH))
        head += oldHead.bytes.substr(HEAD_LENGTH);
    qd::files::replaceFilePair({headPath, head}, {linePath, lines});
    return true;
}

int SELECT_FILE_INSERT(QdState &g)
{
    qd::grid::FlexGrid &sheet = g.curGrid();
    // The records are read while no other program rewrites them; the lock goes before anything
    // is shown, so that no message keeps other programs waiting.
    std::int32_t n = 0;
    std::int64_t length = 0;
    std::vector<std::string> records;
    const std::string linePath = qd::text::trim(g.SELECT_DIR) + "\\" + qd::text::trim(g.SELECT_NAME) + ".TXT";
    {
        const qd::files::FileLock lock(linePath, qd::files::LockKind::Shared);
        SELECT_FILE_OPEN(g);
        CloseOnExit closer{g.LINE_CTL};
        n = g.LINE_CTL.recordCount;
        length = g.LINE_CTL.fileLength;
        if (n <= SELECT_MAX_ROWS)
            for (std::int32_t rec = 1; rec <= n; ++rec)
                records.push_back(g.LINE_CTL.file.get(rec));
    }
    if (n > SELECT_MAX_ROWS) {
        g.UI().beep();
        g.MSG_ANS = g.UI().msgBox(qd::text::twoLines("このSELECT品は" + std::to_string(n) + "行あり、挿入できる" +
                                                         std::to_string(SELECT_MAX_ROWS) + "行を超えています。",
                                                     "挿入を中断します。"),
                                  Buttons::Ok);
        return 0;
    }
    g.ROW_NO = std::clamp<std::int32_t>(g.ROW_NO, 1, sheet.rows() - 1);
    g.COL_NO = std::clamp<std::int32_t>(g.COL_NO, 0, sheet.cols() - 1);
    g.INSERT_ROWS = static_cast<std::int16_t>(n);
    GRID_ROWS_INSERT(g);

    std::string text;
    qd::text::ByteMarkWatch marks; // bytes that are no text are kept as marks, and said once
    std::vector<int> notNumbers;
    for (std::int32_t rec = 1; rec <= n; ++rec) {
        g.LINE_REC.setBytes(records[static_cast<std::size_t>(rec - 1)]);
        g.LINE_CTL.currentRecord = rec;
        const int row = static_cast<int>(g.ROW_NO);
        for (int col = 1; col <= LAST_FILE_COL; ++col) {
            if (col == C_RITU_KBN) {
                const double kbn = qd::text::val(qd::text::trim(g.LINE_REC.raw(qd::records::DocLine::RITU_KBN)));
                if (kbn != 0)
                    sheet.setCell(row, col, qd::text::format(kbn, "##0.00"));
                continue;
            }
            if (readBackCell(g, col, text))
                sheet.setCell(row, col, text);
        }
        // A product row gets its whole item key back, as a document's row does, so the colour
        // form can price it again.
        restoreItemKey(g, sheet, row);
        if (!lineNumbersAreNumbers(g))
            notNumbers.push_back(rec);
        GRID_PAGE_NUMBER(g);
        // The page numbering leaves the cursor at the end of its walk: the imported row is the one
        // to reprice.
        sheet.setRow(row);
        ROW_CALC(g);
        TAX_TOTAL_CALC(g);
        ++g.ROW_NO;
    }
    std::vector<std::string> notes;
    if (length % LINE_LENGTH != 0)
        notes.push_back(cutLineFileMessage(linePath, length, n));
    if (!notNumbers.empty())
        notes.push_back(notNumbersMessage(notNumbers));
    if (marks.any())
        notes.push_back(byteMarksMessage(linePath));
    showNotes(g, notes);
    return static_cast<int>(n);
}

} // namespace qd::core
