#include "quotedesk/entry/tanpin_items.h"

#include <algorithm>
#include <limits>

#include "platform/files/file_lock.h"
#include "platform/text/cp932.h"
#include "platform/text/list_order.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/tax_totals.h"
#include "quotedesk/entry/price_item.h"
#include "records/whole_file.h"

namespace qd::entry {

namespace {

using qd::records::Record;
using qd::text::format;
namespace I = qd::records::Item;

constexpr std::int32_t ITEM_LENGTH = 128;

std::string masterPath(QdState &g) { return qd::records::instDir(g) + "\\data\\TANPIN.TXT"; }

std::string codeText(const Record &rec) { return format(rec.number(I::TANPIN_CD), "0000"); }

std::vector<ItemLine> listItems(QdState &g, const std::string &contained)
{
    std::vector<ItemLine> out;
    const auto records = qd::records::readShownRecords(masterPath(g), I::layout(), g.partialNotes);
    std::int32_t n = 0;
    for (const Record &rec : records) {
        ++n;
        if (qd::records::isDeletedItem(rec))
            continue;
        const std::string name = rec.text(I::NAME);
        if (!contained.empty() && name.find(contained) == std::string::npos)
            continue;
        out.push_back({codeText(rec) + " " + name + std::string(50, ' ') + format(n, "00000"), n, rec});
    }
    return out;
}

} // namespace

std::vector<ItemLine> TANPIN_LIST_ALL(QdState &g) { return listItems(g, {}); }

std::vector<ItemLine> TANPIN_LIST_FIND(QdState &g)
{
    const std::string text = qd::text::trim(g.SEARCH_TEXT);
    return text.empty() ? std::vector<ItemLine>{} : listItems(g, text);
}

void ITEM_CHOOSE(QdState &g, const Record &item)
{
    // A field that holds no plain number (an exponent, say) is kept to the edit value's range.
    const auto whole = [&](int field, auto limit) {
        using L = std::numeric_limits<decltype(limit)>;
        const std::int64_t v = qd::text::roundHalfEven(qd::text::valFixed(qd::text::trim(item.raw(field))).toDouble());
        return static_cast<decltype(limit)>(std::clamp<std::int64_t>(v, L::min(), L::max()));
    };
    g.ITEM_CODE = whole(I::TANPIN_CD, std::int16_t{});
    g.ITEM_NAME = item.text(I::NAME);
    g.ITEM_TANKA = whole(I::TANKA, std::int32_t{});
    g.ITEM_GENKA = whole(I::GENKA, std::int32_t{});
}

bool itemPriceInRange(std::int64_t value) { return value >= -999999 && value <= 9999999; }

void TANPIN_TO_GRID(QdState &g)
{
    qd::grid::FlexGrid &grid = g.curGrid();
    const int row = static_cast<int>(g.ROW_NO);
    auto set = [&](int k, const std::string &text) { grid.setCell(row, qd::core::COL_BASE + k - 1, text); };
    grid.setRow(row);

    const std::int64_t quantity = 1;
    set(C_HINMEI, g.ITEM_NAME);
    set(C_TEIKA, format(g.ITEM_TANKA, "########"));
    // Without a rate the row is sold at the price in its unit-price cell.
    set(C_TANKA, format(g.ITEM_TANKA, "########"));
    set(C_SURYO, format(quantity, "####0"));
    set(C_KINGAKU, format(quantity * g.ITEM_TANKA, "########"));
    set(C_GENKA, std::to_string(g.ITEM_GENKA));
    set(C_BIKO, std::string(100, ' '));
    // The row carries the common tax rate, as a product row does.
    set(C_ZEI_RITU, format(g.TAX_RATE, "##0.00"));

    qd::core::ROW_CALC(g);
    qd::core::TAX_TOTAL_CALC(g);
    grid.setRow(row);
    grid.setCol(std::clamp(qd::core::COL_BASE + static_cast<int>(g.COL_NO), 0, grid.cols() - 1));
}

std::int32_t TANPIN_REWRITE(QdState &g)
{
    const std::string master = masterPath(g);
    const std::string work = qd::records::instDir(g) + "\\data\\WTANPIN.TXT";
    // Nobody changes the master between its read and the rename of the work copy.
    const qd::files::FileLock lock(master, qd::files::LockKind::Exclusive);
    const qd::records::WholeRecords file = qd::records::readWholeRecords(master, ITEM_LENGTH);
    if (!file.exists)
        return 0;
    qd::records::refusePartialRecord(master, file, ITEM_LENGTH);

    std::vector<std::int32_t> kept;
    std::vector<std::string> keys;
    Record rec(I::layout());
    for (std::int32_t n = 1; n <= file.count; ++n) {
        rec.setBytes(file.record(n, ITEM_LENGTH));
        if (qd::records::isDeletedItem(rec))
            continue;
        kept.push_back(n);
        keys.push_back(codeText(rec) + " " + format(n, "00000"));
    }
    std::string bytes;
    bytes.reserve(kept.size() * ITEM_LENGTH);
    for (int i : qd::text::sortedOrder(keys))
        bytes.append(file.record(kept[static_cast<std::size_t>(i)], ITEM_LENGTH));
    qd::records::rewriteRecords(master, work, ITEM_LENGTH, bytes);
    return static_cast<std::int32_t>(kept.size());
}

} // namespace qd::entry
