// Files whose first record the forms rewrite while whatever follows it stays: the header of a
// document, the tax settings and the display settings, with another program writing the same file
// and with a disk that fails as what follows the record is read.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "platform/files/fault_plan.h"
#include "platform/files/file_lock.h"
#include "platform/files/safe_replace.h"
#include "quotedesk/core/tax_settings.h"
#include "quotedesk/mainwindow/mitfm.h"
#include "quotedesk/sheet/grid_display.h"
#include "tests/forms/forms_fixture.h"
#include "tests/support/processes.h"

namespace qd::testing {
namespace {

class FirstRecordRewrite : public QuotedeskFixture {
protected:
    // The sample open with its header form shown and the display settings read: the three files
    // whose first record is rewritten.
    qd::forms::MITFM *openWithHeaderForm()
    {
        qd::forms::KIHON &k = start();
        openSample(k);
        k.menus().click(QStringLiteral("ZOKUSEI_MIT"));
        qd::sheet::GRID_DISP_SITEI_OPEN(g());
        return app->forms.ifLoaded<qd::forms::MITFM>();
    }
};

TEST_F(FirstRecordRewrite, WaitsForAnotherProgramBeforeItReadsWhatFollowsTheRecord)
{
    qd::forms::MITFM *form = openWithHeaderForm();
    ASSERT_NE(form, nullptr);

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

// What follows the record cannot be read (a share that drops, a failing disk): nothing is written,
// so it is not lost with the rewrite, and the failure is told with the file and the system's
// reason. On a sound disk the rewrite then keeps it.
TEST_F(FirstRecordRewrite, AFileWhoseRestCannotBeReadIsNotRewrittenWithoutIt)
{
    qd::forms::MITFM *form = openWithHeaderForm();
    ASSERT_NE(form, nullptr);
    const std::string reason = std::strerror(EIO);

    struct Case {
        const char *what;
        std::filesystem::path file;
        std::size_t length;
        std::function<void()> rewrite;
        // Whether the rewrite under the failing disk told of it, with the file and the reason.
        std::function<bool()> refused;
    };
    const auto throwsFileError = [&](const std::function<void()> &rewrite, const std::string &name) {
        try {
            rewrite();
        } catch (const qd::files::FileError &e) {
            return e.path().ends_with(name) && e.reason() == reason;
        }
        return false;
    };
    const auto taxSave = [&] { qd::core::writeTaxSettings(g()); };
    const auto displaySave = [&] { qd::sheet::GRID_DISP_SITEI_SAVE(g()); };
    const Case cases[] = {
        {"header form", inst.data() / "TXT" / "見本見積.SSS", 256, [&] { form->Command1_Click(); },
         [&] {
             seam.clearCalls();
             seam.answerMessage(qd::qt::Answer::Ok);
             form->Command1_Click();
             const QString told = seam.messages().join(u'|');
             return seam.messages().size() == 1 && told.contains(QStringLiteral("見本見積.SSS")) &&
                    told.contains(QString::fromStdString(reason)) && app->forms.ifLoaded<qd::forms::MITFM>() == form;
         }},
        {"tax settings", inst.data() / "syohizei_calc.fil", 64, taxSave,
         [&] { return throwsFileError(taxSave, "syohizei_calc.fil"); }},
        {"display settings", inst.data() / "GRID_DISP_SITEI_FILE.fil", 440, displaySave,
         [&] { return throwsFileError(displaySave, "GRID_DISP_SITEI_FILE.fil"); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string record = readBytes(c.file).substr(0, c.length);
        record.resize(c.length, ' ');
        writeBytes(c.file, record + "OLD-TAIL");
        const std::string before = readBytes(c.file);
        {
            qd::files::ScopedFault fault(qd::files::FileStep::Read, 1, EIO);
            EXPECT_TRUE(c.refused());
            EXPECT_TRUE(qd::files::faults::fired()) << "the file is read through the file layer";
        }
        EXPECT_EQ(readBytes(c.file), before);
        c.rewrite();
        EXPECT_EQ(readBytes(c.file).substr(c.length), "OLD-TAIL");
    }
}

} // namespace
} // namespace qd::testing
