// The unit-price search as the main window shows it from its pop-up menu, on the demo data:
// three products into the sample document, saved and opened again.
#include <QLineEdit>
#include <QPushButton>

#include "quotedesk/core/documents.h"
#include "quotedesk/entry/list_lines.h"
#include "quotedesk/entry/price_item.h"
#include "quotedesk/entry/sskensa.h"
#include "quotedesk/mainwindow/form_links.h"
#include "quotedesk/mainwindow/mitfm.h"
#include "quotedesk/printing/mitumori.h"
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

// The product the tests add: the first line of the cascade, in its second colour, at `row`.
struct AddedRow {
    std::string kind, rate, price; // 率区分, 掛率, 単価
    bool operator==(const AddedRow &) const = default;
};

class ProductsOfOneDocument : public qd::testing::QuotedeskFixture {
protected:
    AddedRow addProduct(qd::forms::KIHON &k, int row)
    {
        g().ROW_NO = row;
        g().COL_NO = 2;
        k.SERCH_SYOHIN_Click();
        SSKENSA *f = app->forms.ifLoaded<SSKENSA>();
        EXPECT_NE(f, nullptr);
        if (!f)
            return {};
        for (qd::qt::ListBox *list : {f->List2, f->List1, f->List3, f->List4, f->List5, f->List6})
            list->setListIndex(0);
        f->List6_MouseDown();
        f->List6_MouseUp();
        f->List7->setListIndex(1);
        f->Command5_Click();
        const auto &s = g().curGrid();
        return {qd::text::trim(s.cell(row, C_RITU_KBN)), s.cell(row, C_KAKERITU), s.cell(row, C_TANKA)};
    }
    // A print run as far as the print dialog, which reads the own-company record too.
    void printRun(qd::forms::KIHON &k)
    {
        seam.answerMessage(qd::qt::Answer::Yes);
        k.menus().click(QStringLiteral("PRN_PRINT"));
        auto *dialog = qd::forms::printContext(*app).mitumori.ifLoaded();
        ASSERT_NE(dialog, nullptr);
        dialog->Command1->click();
    }
};

// One product has one price: its rate comes from the own-company record as it stands in the
// file, before any print run and after one, with and without a rate of the document's own.
TEST_F(ProductsOfOneDocument, GetOneRateBeforeAndAfterAPrintRun)
{
    struct Case {
        const char *headerRate; // typed into the header form; nullptr: none
        AddedRow want;
    };
    const Case cases[] = {
        {nullptr, {"3", "67.00", "13,668"}}, // the own company's rank 3
        {"72.5", {"0", "72.50", "14,790"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.headerRate ? c.headerRate : "no header rate");
        app = std::make_unique<qd::forms::QuotedeskApp>();
        qd::forms::KIHON &k = start();
        newDocument(k, QStringLiteral("新件"));
        if (c.headerRate) {
            k.ZOKUSEI_MIT_Click();
            auto &header = app->forms.get<qd::forms::MITFM>();
            header.Text[7]->setText(QString::fromLatin1(c.headerRate));
            header.Text_KeyDown(7, 13);
            header.Command1_Click();
        }
        EXPECT_EQ(addProduct(k, 1), c.want);
        printRun(k);
        EXPECT_EQ(addProduct(k, 2), c.want);
        EXPECT_EQ(addProduct(k, 3), c.want);
    }
}

// The picker adds to the current document: it closes with the last one, and without a document
// it adds nothing.
TEST_F(ProductsOfOneDocument, ThePickerClosesWithTheLastDocument)
{
    qd::forms::KIHON &k = start();
    openSample(k);
    k.SERCH_SYOHIN_Click();
    ASSERT_TRUE(app->forms.isLoaded<SSKENSA>());
    seam.answerMessage(qd::qt::Answer::Yes); // 解放しますか？
    k.Command4_Click();
    EXPECT_FALSE(app->forms.isLoaded<SSKENSA>());

    SSKENSA &f = app->forms.get<SSKENSA>();
    seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) {
        EXPECT_TRUE(m.text.contains(QStringLiteral("開いている見積がありません"))) << m.text.toStdString();
    });
    f.Command5_Click();
    EXPECT_TRUE(g().curGrid().cell(1, C_HINMEI).empty());
}

} // namespace
