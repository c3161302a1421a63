// The price panel's content in its two variants: how prices and colours are placed when a slot
// has a colour but no price.
#include <gtest/gtest.h>

#include "platform/text/cp932.h"
#include "quotedesk/entry/master_reads.h"
#include "quotedesk/entry/price_lists.h"
#include "quotedesk/entry/price_panel.h"
#include "tests/forms/entry_fixture.h"

namespace {

using namespace qd::entry;
using qd::entry_test::EntryDesk;
namespace P = qd::records::Price;

TEST(PricePanel, VariantsPlaceAPriceLessSlotDifferently)
{
    qd::core::NullCoreUi ui;
    EntryDesk desk(ui);
    auto &g = desk.g;
    // Slots 1 to 3 with colours 01, 02, 03; slot 2 without a price; slot 17 beyond the panel.
    g.TANKA_REC = qd::entry_test::price({"01", "01", "1001", "01", "X-1", "1", 0, 0, 0, 0,
                                         {{1, 1000}, {2, 2000}, {3, 12345}}, ""});
    g.TANKA_REC.blank(P::tanka(2));
    g.TANKA_REC.setNumber(P::iroCd(17), 1, "000");
    g.TANKA_REC.setNumber(P::tanka(17), 99, "0000000");

    struct Expect {
        PanelVariant variant;
        std::vector<std::string> prices; // positions 1..4
    } cases[] = {
        {PanelVariant::UnitPrice, {"1,000", "12,345", "99", ""}},
        {PanelVariant::Set, {"1,000", "", "12,345", ""}},
    };
    for (const Expect &e : cases) {
        g.LINE_WORK.KOSYO = std::string(20, ' ');
        const PanelContent c = panelContent(g, e.variant);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(c.prices[static_cast<std::size_t>(k)], e.prices[static_cast<std::size_t>(k)]) << k;
        EXPECT_EQ(qd::text::trim(c.colours[0]), "シルバー");
        EXPECT_EQ(qd::text::trim(c.colours[1]), "ブロンズ");
        EXPECT_EQ(qd::text::trim(c.colours[2]), "ホワイト");
        EXPECT_EQ(c.colours[3], NO_COLOUR_LABEL);
        EXPECT_EQ(c.wMiri, "0.0");
        EXPECT_EQ(c.wSyaku, "0.00");
        EXPECT_EQ(g.PANEL_POS, 4);
        // Only the unit-price search takes the item's 呼称 into the designation field.
        EXPECT_EQ(qd::text::trim(g.LINE_WORK.KOSYO), e.variant == PanelVariant::UnitPrice ? "1" : "");
    }
    EXPECT_FALSE(g.HISYU1_CTL.file.isOpen());
    EXPECT_FALSE(g.HISYU2_CTL.file.isOpen());
    closeFormMasters(g);
}

TEST(EntryFiles, NothingIsCreatedAndOnlyDigitCodesNameAFile)
{
    qd::core::NullCoreUi ui;
    EntryDesk desk(ui);
    auto &g = desk.g;
    g.MAJOR_NO = 7;
    HISYU1_OPEN_READ(g);
    EXPECT_EQ(g.HISYU1_CTL.recordCount, 0);
    EXPECT_FALSE(std::filesystem::exists(desk.inst.data() / "HISYU107.TXT"));

    qd::records::Record k(qd::records::Kind1::layout());
    k.setText(qd::records::Kind1::MAKER_CD, "01");
    k.setText(qd::records::Kind1::BUNRUI_CD, "01");
    const std::vector<std::pair<std::string, bool>> codes = {
        {"1000", true}, {"../x", false}, {"10 0", false}, {"1a00", false}};
    for (const auto &[code, ok] : codes) {
        k.setText(qd::records::Kind1::HINSYU1_CD, code);
        EXPECT_EQ(searchPriceFile(k).has_value(), ok) << code;
    }
    EXPECT_EQ(*searchPriceFile(qd::entry_test::kind(qd::records::Kind1::layout(), "01", "02", "0300", "n", 0, 0)),
              "01020300.TXT");
}

} // namespace
