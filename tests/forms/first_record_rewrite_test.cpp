// Files whose first record the forms rewrite while whatever follows it stays: the header of a
// document, the tax settings and the display settings, with another program writing the same file.
#include <unistd.h>

#include <functional>

#include "platform/files/file_lock.h"
#include "platform/files/safe_replace.h"
#include "quotedesk/core/tax_settings.h"
#include "quotedesk/mainwindow/mitfm.h"
#include "quotedesk/sheet/grid_display.h"
#include "tests/forms/forms_fixture.h"
#include "tests/support/processes.h"

namespace qd::testing {
namespace {

using FirstRecordRewrite = QuotedeskFixture;

TEST_F(FirstRecordRewrite, WaitsForAnotherProgramBeforeItReadsWhatFollowsTheRecord)
{
    qd::forms::KIHON &k = start();
    openSample(k);
    k.menus().click(QStringLiteral("ZOKUSEI_MIT"));
    qd::forms::MITFM *form = app->forms.ifLoaded<qd::forms::MITFM>();
    ASSERT_NE(form, nullptr);
    qd::sheet::GRID_DISP_SITEI_OPEN(g());

    struct Case {
        const char *what;
        std::filesystem::path file;
        std::size_t length;
        std::function<void()> rewrite;
    };
    const Case cases[] = {
        {"header form", inst.data() / "TXT" / "見本見積.SSS", 256, [&] { form->Command1_Click(); }},
        {"tax settings", inst.data() / "syohizei_calc.fil", 64, [&] { qd::core::writeTaxSettings(g()); }},
        {"display settings", inst.data() / "GRID_DISP_SITEI_FILE.fil", 440,
         [&] { qd::sheet::GRID_DISP_SITEI_SAVE(g()); }},
    };
    for (const Case &c : cases) {
        std::string record = readBytes(c.file).substr(0, c.length);
        record.resize(c.length, ' ');
        writeBytes(c.file, record + "OLD-TAIL");
        // The other program holds the file while it writes what follows the record anew.
        Signal locked;
        ChildProcess other([&] {
            const qd::files::FileLock lock(c.file.string(), qd::files::LockKind::Exclusive);
            locked.post();
            ::usleep(300 * 1000);
            qd::files::writeFileSafely(c.file.string(), record + "NEW-TAIL");
            return 0;
        });
        ASSERT_TRUE(locked.wait());
        c.rewrite();
        EXPECT_EQ(other.wait(), 0);
        EXPECT_EQ(readBytes(c.file).substr(c.length), "NEW-TAIL") << c.what;
    }
}

} // namespace
} // namespace qd::testing
