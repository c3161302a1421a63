#include "quotedesk/sheet/row_commands.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>
#include <string>

#include "platform/files/file_error.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/group_rows.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/core/tax_totals.h"

namespace qd::sheet {

using qd::core::GROUP_MARK;
using qd::grid::FlexGrid;
using qd::text::Fixed4;
using qd::text::trim;

namespace {

constexpr int C_HINMEI = 2, C_SURYO = 9, C_TEIKA = 13, C_TANKA = 14, C_KINGAKU = 15, C_GENKA = 18,
              C_GENKA_KINGAKU = 19;

const std::string NO_WHOLE_COLUMN = "列の挿入・削除はできません";

std::string withoutMarks(std::string_view s)
{
    std::string out(s);
    for (std::size_t at = out.find(GROUP_MARK); at != std::string::npos; at = out.find(GROUP_MARK, at))
        out.erase(at, GROUP_MARK.size());
    return out;
}

bool startsWithMark(std::string_view itemName)
{
    return qd::text::leftChars(trim(itemName), 3) == GROUP_MARK;
}

// A money cell without separators and yen marks, written back; returns its value.
Fixed4 cleanMoneyCell(FlexGrid &sheet, int row, int col)
{
    const std::string cleaned = qd::core::withoutMoneyMarks(sheet.cell(row, col));
    sheet.setCell(row, col, cleaned);
    return qd::text::valFixed(trim(cleaned));
}

// CLng(Val(...)) of a money cell, kept within 32 bits.
std::int32_t moneyLong(const FlexGrid &sheet, int row, int col)
{
    const double v = qd::text::val(trim(qd::core::withoutMoneyMarks(trim(sheet.cell(row, col)))));
    const double lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(qd::text::roundHalfEven(std::clamp(v, lo, hi)));
}

bool refuseWholeColumn(QdState &g)
{
    if (!isWholeColumn(g.SAVED_ROW, g.SAVED_ROW_END))
        return false;
    g.UI().beep();
    g.MSG_ANS = g.UI().msgBox(NO_WHOLE_COLUMN, qd::core::Buttons::Ok);
    return true;
}

// The current row for a recalculation, and the recorded cell it returns to, inside the sheet.
void recalcRow(QdState &g, int row)
{
    FlexGrid &sheet = g.curGrid();
    clampWorkCell(g);
    sheet.setRow(clampRow(sheet, row));
    qd::core::ROW_CALC(g);
}

} // namespace

int dataRowHeight(const QdState &g)
{
    return static_cast<int>(std::clamp<std::int64_t>(g.ROW_HEIGHT_1.roundHalfEven(), 0, std::numeric_limits<int>::max()));
}

void rowsInsert(QdState &g, EditCommandUi &ui)
{
    FlexGrid &sheet = g.curGrid();
    {
        qd::grid::RedrawOff off(sheet);
        SEL_RANGE_SAVE(g);
        if (refuseWholeColumn(g))
            return;
        g.ROW_NO = std::max(sheet.row(), 1);
        g.COL_NO = sheet.col();
        g.INSERT_ROWS = static_cast<std::int16_t>(std::max(g.SEL_ROW_SPAN + 1, 0));
        qd::core::GRID_ROWS_INSERT(g);
        qd::core::TAX_TOTAL_CALC(g);
        ui.setCellEditorText(sheet.text());
        SEL_RANGE_SET(g);
    }
    ui.focusSheet();
}

void rowsDelete(QdState &g, EditCommandUi &ui)
{
    FlexGrid &sheet = g.curGrid();
    {
        qd::grid::RedrawOff off(sheet);
        SEL_RANGE_SAVE(g);
        if (refuseWholeColumn(g))
            return;
        g.ROW_NO = sheet.row();
        g.COL_NO = sheet.col();
        // Removing a row moves the rows below up, so the first selected row is removed as many
        // times as the selection has rows. The bounds are taken before any row moves.
        const int first = g.SEL_ROW;
        const int count = g.SEL_ROW_SPAN + 1;
        const int from = std::max(first, sheet.fixedRows());
        for (int n = first + count - from; n > 0; --n) {
            if (from >= sheet.rows() || sheet.rows() - sheet.fixedRows() <= 1)
                break;
            sheet.removeItem(from);
        }
        clampWorkCell(g);
        qd::core::GRID_PAGE_NUMBER(g);
        qd::core::TAX_TOTAL_CALC(g);
        SEL_RANGE_SET(g);
    }
    ui.focusSheet();
}

void groupRows(QdState &g, EditCommandUi &)
{
    FlexGrid &sheet = g.curGrid();
    qd::grid::RedrawOff off(sheet);
    SEL_RANGE_SAVE(g);
    SEL_RANGE_ORDER(g);
    if (g.SEL_ROW_END > GROUP_LAST_ROW) {
        g.UI().beep();
        g.MSG_ANS = g.UI().msgBox(
            qd::text::twoLines("行数が多すぎますので、中断します。", "行まとめの範囲を変更して、再実行してみて下さい｡ "),
            qd::core::Buttons::Ok);
        return;
    }
    const int first = std::max<int>(g.SEL_ROW, 1), last = g.SEL_ROW_END;
    Fixed4 amount, cost;
    for (int r = first; r <= last; ++r) {
        sheet.setCell(r, C_HINMEI, std::string(GROUP_MARK) + sheet.cell(r, C_HINMEI));
        amount = addSaturating(amount, cleanMoneyCell(sheet, r, C_KINGAKU));
        cost = addSaturating(cost, cleanMoneyCell(sheet, r, C_GENKA_KINGAKU));
    }
    const int total = std::max(last, 0) + 1;
    sheet.addItem("", total);
    sheet.setCell(total, C_SURYO, "1");
    sheet.setCell(total, C_TANKA, qd::text::format(amount, "########"));
    sheet.setCell(total, C_GENKA, qd::text::format(cost, "########"));
    recalcRow(g, total);
    qd::core::TAX_TOTAL_CALC(g);
    qd::core::GRID_PAGE_NUMBER(g);
    SEL_RANGE_SET(g);
}

void ungroupRows(QdState &g, EditCommandUi &)
{
    FlexGrid &sheet = g.curGrid();
    qd::grid::RedrawOff off(sheet);
    SEL_RANGE_ORDER(g);
    SEL_RANGE_SAVE(g);
    const int first = std::max<int>(g.SEL_ROW, 1), last = std::min<int>(g.SEL_ROW_END, sheet.rows() - 1);
    const int height = dataRowHeight(g);
    const int lastShaded = std::min(qd::core::GROUP_SHADE_LAST_COL, sheet.cols() - 1);
    for (int r = first; r <= last; ++r) {
        sheet.setCell(r, C_HINMEI, withoutMarks(sheet.cell(r, C_HINMEI)));
        sheet.setRowHeight(r, height);
        for (int c = 1; c <= lastShaded; ++c)
            sheet.setForeColor(r, c, qd::grid::DefaultColor);
    }
    recalcRow(g, last);
    qd::core::TAX_TOTAL_CALC(g);
    qd::core::GRID_PAGE_NUMBER(g);
    SEL_RANGE_SET(g);
}

std::string groupHeights(QdState &g, const std::string &caption)
{
    FlexGrid &sheet = g.curGrid();
    qd::grid::RedrawOff off(sheet);
    SEL_RANGE_ORDER(g);
    SEL_RANGE_SAVE(g);
    std::string next = caption;
    int height = -1;
    if (caption == GROUP_HEIGHT_RESTORE) {
        next = GROUP_HEIGHT_COLLAPSE;
        height = dataRowHeight(g);
    } else if (caption == GROUP_HEIGHT_COLLAPSE) {
        next = GROUP_HEIGHT_RESTORE;
        height = COLLAPSED_ROW_HEIGHT;
    }
    if (height >= 0) {
        const int first = std::max<int>(g.SEL_ROW, 1), last = std::min<int>(g.SEL_ROW_END, sheet.rows() - 1);
        for (int r = first; r <= last; ++r)
            if (startsWithMark(sheet.cell(r, C_HINMEI)))
                sheet.setRowHeight(r, height);
    }
    SEL_RANGE_SET(g);
    return next;
}

namespace {

// "5行目", "5～7行目".
std::string rowsText(int from, int to)
{
    return std::to_string(from) + (to > from ? "～" + std::to_string(to) : std::string()) + "行目";
}

// `text` and, when rows before row `stopped` were registered, which they are and their codes.
std::string withRowsRegistered(std::string text, int first, int stopped, std::int16_t firstCode, std::int16_t lastCode)
{
    if (stopped <= first)
        return text;
    const std::string codes = qd::text::format(firstCode, "0000") +
                              (lastCode != firstCode ? "～" + qd::text::format(lastCode, "0000") : std::string());
    return qd::text::twoLines(text, rowsText(first, stopped - 1) + "の " + std::to_string(stopped - first) +
                                        " 件は登録しました。(単品ｺｰﾄﾞ " + codes + ")");
}

// What the user reads when the registration stops at row `failed` with `e`: the rows already
// registered and their codes, the row whose item the file may hold, the rows not registered,
// and the file with the system's reason. He then chooses the rows still to register himself.
std::string registrationStopped(int first, int last, int failed, std::int16_t firstCode, std::int16_t lastCode,
                                const std::exception &e)
{
    std::string text = withRowsRegistered("単品登録を中断しました。", first, failed, firstCode, lastCode);
    int notRegistered = failed;
    if (qd::files::mayHaveChanged(e)) {
        text = qd::text::twoLines(text, rowsText(failed, failed) +
                                            "の単品は、単品ファイルに書き込まれたかもしれません。itemmaintで確かめて下さい。");
        ++notRegistered;
    }
    std::string rest;
    if (notRegistered <= last)
        rest = rowsText(notRegistered, last) + "は登録していません。";
    return qd::text::twoLines(text, rest + "(" + qd::files::failureText(e) + ")");
}

} // namespace

void registerItems(QdState &g)
{
    const FlexGrid &sheet = g.curGrid();
    const int first = std::max<int>(g.SEL_ROW, 1), last = std::min<int>(g.SEL_ROW_END, sheet.rows() - 1);
    std::int16_t firstCode = 0, lastCode = 0;
    for (int r = first; r <= last; ++r) {
        std::string name = qd::text::leftChars(withoutMarks(trim(sheet.cell(r, C_HINMEI))), 50);
        if (const auto nul = name.find('\0'); nul != std::string::npos)
            name.erase(nul);
        g.ITEM_EDIT_NAME = qd::text::fixedChars(trim(name), 50);
        g.ITEM_EDIT_TANKA = moneyLong(sheet, r, C_TEIKA);
        g.ITEM_EDIT_GENKA = moneyLong(sheet, r, C_GENKA);

        // The next code follows the highest in the file, read afresh for every row under the
        // file's lock: itemmaint or another quotedesk may register items at the same time.
        bool appended = false;
        try {
            appended = qd::records::appendNextItem(g, ITEM_CODE_MAX);
        } catch (const std::exception &e) {
            // The rows registered so far stay in the file; the user is told which, so that
            // pressing again does not register them a second time.
            g.UI().beep();
            g.MSG_ANS = g.UI().msgBox(registrationStopped(first, last, r, firstCode, lastCode, e), qd::core::Buttons::Ok);
            return;
        }
        if (!appended) {
            // The rows registered before the codes ran out stay in the file: the user is told
            // which, so that a press after itemmaint has freed codes does not register them again.
            const std::string stopped =
                qd::text::twoLines("単品ｺｰﾄﾞ番号が最大を超えますので、中断します。", "itemmaintを整理して下さい｡ ");
            std::string text = withRowsRegistered(stopped, first, r, firstCode, lastCode);
            if (r > first)
                text = qd::text::twoLines(text, rowsText(r, last) + "は登録していません。");
            g.UI().beep();
            g.MSG_ANS = g.UI().msgBox(text, qd::core::Buttons::Ok);
            return;
        }
        if (r == first)
            firstCode = g.ITEM_EDIT_CD;
        lastCode = g.ITEM_EDIT_CD;
    }
}

} // namespace qd::sheet
