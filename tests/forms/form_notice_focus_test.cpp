// The header and colour forms tell of a master cut short as they come up, in the program's real
// message box; after it the form, not the main window it was asked from, has the focus, in the
// control the user types into or moves through first.
#include <QApplication>
#include <QLineEdit>
#include "platform/qt/list_box.h"
#include <QTest>

#include <cstdint>
#include <functional>

#include "platform/qt/qt_seam.h"
#include "quotedesk/mainwindow/iro_set.h"
#include "quotedesk/mainwindow/mitfm.h"
#include "tests/forms/forms_fixture.h"
#include "tests/qtsupport/dialog_driver.h"
#include "tests/support/torn_file.h"

using qd::forms::IRO_SET;
using qd::forms::KIHON;
using qd::forms::MITFM;

namespace qd::testing {
namespace {

class FormNotice : public QuotedeskFixture {};

TEST_F(FormNotice, AFormThatTellsOfAFileCutShortAsItComesUpKeepsTheFocus)
{
    struct Case {
        const char *menu;
        const char *file;
        std::int32_t recordLength;
        std::function<QWidget *(qd::forms::QuotedeskApp &)> form;
        std::function<QWidget *(QWidget *)> firstControl;
    };
    const Case cases[] = {
        {"ZOKUSEI_MIT", "TOKF.SSS", 64, [](qd::forms::QuotedeskApp &a) -> QWidget * { return a.forms.ifLoaded<MITFM>(); },
         [](QWidget *f) -> QWidget * { return static_cast<MITFM *>(f)->Text[1]; }},
        {"IRO_SETTEI", "MAKER.TXT", 32, [](qd::forms::QuotedeskApp &a) -> QWidget * { return a.forms.ifLoaded<IRO_SET>(); },
         [](QWidget *f) -> QWidget * { return static_cast<IRO_SET *>(f)->List1; }},
    };
    KIHON &k = start();
    openSample(k);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.menu);
        tearLastRecord(inst.data() / c.file, c.recordLength, 20);
        k.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&k));

        qd::qt::QtSeam real;
        qd::qt::SeamGuard useReal(real);
        DialogDriver driver({{"QMessageBox", [](QWidget *w) { clickButton(w, QStringLiteral("OK")); }}});
        k.menus().click(QString::fromLatin1(c.menu));
        ASSERT_TRUE(driver.done());
        ASSERT_EQ(driver.seenTexts.size(), 1);
        EXPECT_TRUE(tellsOfTornFile(driver.seenTexts[0].toStdString(), inst.data() / c.file, c.recordLength));

        QWidget *form = c.form(*app);
        ASSERT_NE(form, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(form, 1000));
        EXPECT_EQ(QApplication::activeWindow(), form);
        EXPECT_EQ(QApplication::focusWidget(), c.firstControl(form));
    }
}

} // namespace
} // namespace qd::testing
