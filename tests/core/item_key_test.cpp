// The whole item key of column 21 through a line record: kept in the 品番 field when that
// column is free, put back only where the record holds such a key.
#include <gtest/gtest.h>

#include "platform/text/cp932.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/item_key.h"

namespace {

using namespace qd::core;
namespace DocLine = qd::records::DocLine;

const std::string KEY = "0101100101" + qd::text::fixedChars("HW2-16511", 25) + "網戸別途" + std::string(42, ' ');

TEST(ItemKey, SavedRowLoadsBackWithItsWholeKey)
{
    struct Case {
        const char *what;
        std::string col21, col22;
        std::string back21, back22; // the columns after a save and a load (trailing blanks cut)
    } cases[] = {
        {"product row", KEY, "", qd::text::trimRight(KEY), ""},
        {"own 品番 kept, key cut", KEY, "客先-7", "0101100101HW2-16511", "客先-7"},
        {"short order number", "A-123", "", "A-123", ""},
        {"long text that is no key", "長い発注品番のテキストでコードなしのもの", "", "長い発注品番のテキストで", ""},
    };
    for (const Case &c : cases) {
        QdState g;
        qd::grid::FlexGrid grid;
        grid.setRows(2);
        grid.setCols(25);
        grid.setCell(1, 21, c.col21);
        grid.setCell(1, 22, c.col22);
        rowToLineRec(g, grid, 1);
        EXPECT_EQ(qd::text::cp932Width(g.LINE_REC.text(DocLine::HACHU_HINBAN)), 25u) << c.what;

        qd::grid::FlexGrid loaded;
        loaded.setRows(2);
        loaded.setCols(25);
        lineRecToRow(g, loaded, 1);
        EXPECT_EQ(qd::text::trimRight(loaded.cell(1, 21)), c.back21) << c.what;
        EXPECT_EQ(qd::text::trimRight(loaded.cell(1, 22)), c.back22) << c.what;
    }
}

TEST(ItemKey, A品番ThatOnlyLooksLikeAKeyIsLeftWhereItIs)
{
    // A record written by hand: 品番 begins with digits but not with the 発注品番 text.
    QdState g;
    g.LINE_REC.setSeparators();
    g.LINE_REC.setText(DocLine::HACHU_HINBAN, "XYZ");
    g.LINE_REC.setText(DocLine::HINBAN, "0101100101" + std::string(30, 'Q'));
    qd::grid::FlexGrid grid;
    grid.setRows(2);
    grid.setCols(25);
    lineRecToRow(g, grid, 1);
    EXPECT_FALSE(restoreItemKey(g, grid, 1));
    EXPECT_EQ(qd::text::trimRight(grid.cell(1, 21)), "XYZ");
    EXPECT_EQ(qd::text::trimRight(grid.cell(1, 22)), "0101100101" + std::string(30, 'Q'));
}

} // namespace
