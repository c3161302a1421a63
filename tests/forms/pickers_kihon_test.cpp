// The set search and the single-item picker as the main window shows them from its pop-up menu,
// on the demo data: a set and an item into the sample document, saved and opened again; and the
// pickers going with the last document.
#include <QLineEdit>
#include <QPushButton>

#include "quotedesk/core/documents.h"
#include "quotedesk/entry/price_item.h"
#include "quotedesk/entry/ssgarasufm.h"
#include "quotedesk/entry/ssset.h"
#include "tests/forms/forms_fixture.h"

namespace {

using qd::forms::SSGARASUFM;
using qd::forms::SSSET;
using namespace qd::entry;

class PickersFromKihon : public qd::testing::QuotedeskFixture {
protected:
    SSSET &showSetSearch(qd::forms::KIHON &k)
    {
        k.SERCH_SETHIN_Click();
        SSSET *f = app->forms.ifLoaded<SSSET>();
        EXPECT_NE(f, nullptr);
        EXPECT_TRUE(f->isVisible());
        return *f;
    }
    SSGARASUFM &showItemPicker(qd::forms::KIHON &k)
    {
        k.SERCH_GARASU_Click();
        SSGARASUFM *f = app->forms.ifLoaded<SSGARASUFM>();
        EXPECT_NE(f, nullptr);
        EXPECT_TRUE(f->isVisible());
        return *f;
    }
};

TEST_F(PickersFromKihon, ASetAndAnItemAreAddedSavedAndOpenedAgain)
{
    qd::forms::KIHON &k = start();
    openSample(k);
    g().ROW_NO = 4;
    g().COL_NO = 2;
    SSSET &set = showSetSearch(k);
    ASSERT_EQ(set.List9->lineCount(), 2); // the demo's two sets
    set.List9->setListIndex(0);
    ASSERT_EQ(set.List8->lineCount(), 2);
    EXPECT_FALSE(set.Text2->text().isEmpty());
    set.Command1->click();
    EXPECT_FALSE(app->forms.isLoaded<SSSET>());

    g().ROW_NO = 7;
    SSGARASUFM &items = showItemPicker(k);
    items.List1->setListIndex(0);
    items.Command1->click();
    EXPECT_FALSE(app->forms.isLoaded<SSGARASUFM>());

    const auto &grid = g().curGrid();
    EXPECT_EQ(qd::text::trim(grid.cell(4, C_HINMEI)), "引違い窓（網戸付）セット");
    EXPECT_EQ(qd::text::trim(grid.cell(4, C_KOSYO)), "セット品");
    for (int row : {5, 6}) {
        EXPECT_NE(grid.cell(row, C_TEIKA), "") << row;
        EXPECT_NE(grid.cell(row, C_KINGAKU), "") << row;
    }
    EXPECT_EQ(qd::text::trim(grid.cell(7, C_HINMEI)), "網戸　標準");
    EXPECT_EQ(grid.cell(7, C_TANKA), "4,800");
    std::vector<std::string> before;
    for (int row = 4; row <= 7; ++row)
        for (int col = 1; col <= 24; ++col)
            before.push_back(grid.cell(row, col));

    seam.answerSave(docPath("見本見積3.TXT"));
    k.FILE_WRITE_Click();
    ASSERT_EQ(g().CUR_DOC_NAME, "見本見積3");
    ASSERT_TRUE(qd::core::BUKKEN_FILE_READ(g()));
    EXPECT_EQ(qd::text::trim(grid.cell(4, C_KOSYO)), "セット品");
    EXPECT_EQ(qd::text::trimRight(grid.cell(5, C_HACHU_HINBAN)), qd::text::trimRight(before[24 + C_HACHU_HINBAN - 1]));
    EXPECT_EQ(grid.cell(5, C_KINGAKU), before[24 + C_KINGAKU - 1]);
    EXPECT_EQ(grid.cell(7, C_TANKA), "4,800");
    EXPECT_EQ(g().DOC_AMOUNT_TOTAL > 0, true);
}

TEST_F(PickersFromKihon, ThePickersGoWithTheLastDocument)
{
    qd::forms::KIHON &k = start();
    openSample(k);
    showSetSearch(k);
    showItemPicker(k);
    seam.answerMessage(qd::qt::Answer::Yes); // release the document without saving
    k.Command4_Click();
    EXPECT_FALSE(app->forms.isLoaded<SSSET>());
    EXPECT_FALSE(app->forms.isLoaded<SSGARASUFM>());
}

} // namespace
