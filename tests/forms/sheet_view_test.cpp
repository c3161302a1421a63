// The sheet on screen: its face and sizes at the default widths and every font size, and the
// boxes of the top bar that must show their texts whole.
#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "quotedesk/core/tax_totals.h"
#include "quotedesk/sheet/grid_display.h"
#include "quotedesk/sheet/sheet_face.h"
#include "quotedesk/sheet/sheet_header.h"
#include "quotedesk/sheet/view_commands.h"
#include "tests/forms/edit_fixture.h"

using qd::forms::KIHON;

namespace qd::testing {
namespace {

using SheetView = EditFixture;

TEST_F(SheetView, EveryDefaultColumnShowsItsWidestValueAndCaptionWholeAtEveryFontSize)
{
    KIHON &k = openNew();
    qd::qt::GridView &view = k.currentGridView();
    const auto &captions = qd::sheet::columnCaptions();
    const int amountWidth = view.colPixels(15), rowHeight = view.rowPixels(1);
    // 100 percent, then the font-size button's steps up to 140 and back to 100, then down to 60.
    for (int step = 0; step < 10; ++step) {
        if (step > 0 && step <= 5)
            qd::sheet::fontUp(g());
        else if (step > 5)
            qd::sheet::fontDown(g());
        const QFontMetrics m(view.cellFont());
        const int pct = g().FONT_PCT;
        for (int c = 0; c < qd::sheet::SHEET_COLUMN_COUNT; ++c) {
            if (sheet().colWidth(c) <= qd::sheet::HIDDEN_COL_WIDTH)
                continue;
            const QString widest = QString::fromStdString(qd::sheet::widestValue(c));
            EXPECT_LE(m.horizontalAdvance(widest), view.textRoom(c)) << "column " << c << " at " << pct << "%";
            const QRect caption = m.boundingRect(QRect(0, 0, view.textRoom(c), 10000), Qt::TextWordWrap,
                                                 QString::fromUtf8(captions[static_cast<std::size_t>(c)]));
            EXPECT_LE(caption.width(), view.textRoom(c)) << "caption of column " << c << " at " << pct << "%";
            EXPECT_LE(caption.height(), view.rowPixels(0) - 1) << "caption of column " << c << " at " << pct << "%";
        }
        EXPECT_LE(m.height(), view.rowPixels(1)) << pct << "%";
        // Widths and heights follow the font size.
        EXPECT_NEAR(view.colPixels(15), amountWidth * pct / 100.0, 1.0) << pct << "%";
        EXPECT_NEAR(view.rowPixels(1), rowHeight * pct / 100.0, 1.0) << pct << "%";
    }
    EXPECT_EQ(sheet().colWidth(15), 1000) << "the stored widths stay as they were";
}

TEST_F(SheetView, TheTaxBreakdownShowsWholeAndTheDocumentListShowsNamesOnly)
{
    KIHON &k = openNew(QStringLiteral("大口見積"));
    // The widest amounts an amount field holds.
    fill(1, {{col::KINGAKU, "99,999,999"}, {col::ZEI_RITU, "10.00"}});
    fill(2, {{col::KINGAKU, "99,999,999"}, {col::ZEI_RITU, "8.00"}});
    qd::core::TAX_TOTAL_CALC(g());
    ASSERT_EQ(k.Combo4->count(), 2);
    QStyleOptionComboBox option;
    option.initFrom(k.Combo4);
    const int room = k.Combo4->style()
                         ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, k.Combo4)
                         .width();
    const QFontMetrics m(k.Combo4->font());
    for (int i = 0; i < k.Combo4->count(); ++i) {
        EXPECT_LE(m.horizontalAdvance(k.Combo4->itemText(i)), room) << k.Combo4->itemText(i).toStdString();
        EXPECT_LE(m.horizontalAdvance(k.Combo4->itemText(i)), k.Combo4->view()->minimumWidth());
    }
    EXPECT_EQ(k.Combo4->itemText(0).toStdString(), "【税率】10.00:【対象額】99,999,999:【消費税額】9,999,999");

    EXPECT_EQ(k.Combo2->itemText(0), QStringLiteral("大口見積")) << "the folder is for the program";
    EXPECT_TRUE(k.comboEntryAt(0).ends_with("#00" + g().DOC_DIR));
}

TEST_F(SheetView, TheSpreadsheetMenuStaysDisabledAfterTheWindowWasDisabled)
{
    KIHON &k = openNew();
    for (const char *name : {"HYO_000", "HYO_123", "HYO_EXCEL"})
        EXPECT_FALSE(k.menus().isEnabled(QString::fromLatin1(name))) << name;
    // As while the colour form or the print dialog stands over it.
    k.setEnabled(false);
    k.setEnabled(true);
    EXPECT_FALSE(k.menus().isEnabled(QStringLiteral("HYO_000")));
    EXPECT_TRUE(k.menus().isEnabled(QStringLiteral("PRN_000")));
}

} // namespace
} // namespace qd::testing
