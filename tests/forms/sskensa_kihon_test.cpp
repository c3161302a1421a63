// The unit-price search as the main window shows it from its pop-up menu, on the demo data:
// three products into the sample document, saved and opened again.
#include <QLineEdit>

#include "quotedesk/core/documents.h"
#include "quotedesk/entry/list_lines.h"
#include "quotedesk/entry/price_item.h"
#include "quotedesk/entry/sskensa.h"
#include "tests/forms/forms_fixture.h"

namespace {

using qd::forms::SSKENSA;
using namespace qd::entry;

class SskensaFromKihon : public qd::testing::QuotedeskFixture {};

TEST_F(SskensaFromKihon, ThreeProductsAreAddedSavedAndOpenedAgain)
{
    qd::forms::KIHON &k = start();
    openSample(k);
    ASSERT_EQ(qd::text::trim(g().curGrid().cell(3, C_HINMEI)), "網戸　標準");

    std::vector<std::string> keys;
    for (int n = 0; n < 3; ++n) {
        g().ROW_NO = 4 + n;
        g().COL_NO = 2;
        g().LINE_WORK.HACHU_HINBAN = "left over";
        k.SERCH_SYOHIN_Click();
        SSKENSA *f = app->forms.ifLoaded<SSKENSA>();
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(f->List6->lineCount(), 0); // each showing starts afresh
        EXPECT_EQ(g().LINE_WORK.HACHU_HINBAN, std::string(25, ' '));
        if (n < 2) {
            f->List2->setListIndex(0);
            f->List1->setListIndex(n); // 引違い窓, then ＦＩＸ窓
            f->List3->setListIndex(0);
            f->List4->setListIndex(0);
            f->List5->setListIndex(0);
        } else {
            f->eventIntervalMs = 0;
            f->Text1->setText(QStringLiteral("PG-1064"));
            f->Text1_KeyDown(13);
            f->Command1_Click();
        }
        ASSERT_GT(f->List6->lineCount(), 0) << n;
        f->List6->setListIndex(0);
        f->List6_MouseDown(); // the press that shows the panel fills the colours of the line
        f->List6_MouseUp();
        f->List7->setListIndex(1);
        f->Command5_Click();
        EXPECT_FALSE(app->forms.isLoaded<SSKENSA>());
        keys.push_back(g().curGrid().cell(4 + n, C_HACHU_HINBAN));
        EXPECT_EQ(qd::text::cp932Width(keys.back()), 85u) << n;
    }
    EXPECT_EQ(keys[0].substr(0, 4), "0101");
    EXPECT_EQ(keys[1].substr(0, 4), "0102");
    EXPECT_EQ(keys[2].substr(0, 4), "0202");
    EXPECT_EQ(qd::text::trim(g().curGrid().cell(7, C_HINMEI)), "");

    seam.answerSave(docPath("見本見積2.TXT"));
    k.FILE_WRITE_Click();
    ASSERT_EQ(g().CUR_DOC_NAME, "見本見積2");
    ASSERT_TRUE(qd::core::BUKKEN_FILE_READ(g())); // the saved document read back into its sheet
    for (int n = 0; n < 3; ++n) {
        // The whole key (a key without remark fits the 25 bytes; its blanks are no content).
        EXPECT_EQ(qd::text::trimRight(g().curGrid().cell(4 + n, C_HACHU_HINBAN)),
                  qd::text::trimRight(keys[static_cast<std::size_t>(n)]))
            << n;
        EXPECT_EQ(qd::text::trim(g().curGrid().cell(4 + n, C_HINBAN)), "") << n;
    }
}

} // namespace
