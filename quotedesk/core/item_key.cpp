#include "quotedesk/core/item_key.h"

#include "platform/text/cp932.h"

namespace qd::core {

namespace {

namespace DocLine = qd::records::DocLine;
constexpr int C_HACHU_HINBAN = 21, C_HINBAN = 22;
constexpr std::size_t ORDER_NO_BYTES = 25;
constexpr std::size_t CODE_DIGITS = 10; // major class, class, kind 2 and section codes

// The key as a save stores a cell: without "," and "\".
std::string stored(std::string_view cell) { return qd::text::removeChars(cell, ",\\"); }

bool startsWithCodes(std::string_view bytes)
{
    if (bytes.size() < CODE_DIGITS)
        return false;
    for (std::size_t i = 0; i < CODE_DIGITS; ++i)
        if (bytes[i] < '0' || bytes[i] > '9')
            return false;
    return true;
}

} // namespace

void keepItemKey(QdState &g, const qd::grid::FlexGrid &grid, int row)
{
    if (grid.cols() <= C_HINBAN)
        return;
    const std::string key = stored(grid.cell(row, C_HACHU_HINBAN));
    // Only what a load can tell for a key goes there: its ten code digits first.
    if (!startsWithCodes(key) || qd::text::cp932Width(qd::text::trimRight(key)) <= ORDER_NO_BYTES)
        return;
    if (!qd::text::trim(grid.cell(row, C_HINBAN)).empty())
        return;
    g.LINE_REC.setText(DocLine::HINBAN, key);
}

bool restoreItemKey(const QdState &g, qd::grid::FlexGrid &grid, int row)
{
    if (grid.cols() <= C_HINBAN)
        return false;
    const qd::records::Record &rec = g.LINE_REC;
    const std::string key = rec.raw(DocLine::HINBAN);
    if (!startsWithCodes(key))
        return false;
    const std::string keyText = qd::text::fromField(key);
    if (qd::text::cp932Width(qd::text::trimRight(keyText)) <= ORDER_NO_BYTES)
        return false;
    if (qd::text::toField(keyText, ORDER_NO_BYTES) != rec.raw(DocLine::HACHU_HINBAN))
        return false;
    grid.setCell(row, C_HACHU_HINBAN, keyText);
    grid.setCell(row, C_HINBAN, "");
    return true;
}

} // namespace qd::core
