// A fresh quotedesk in a temporary demo install folder, started from that folder, with every
// dialog answered by a scripted seam on a screen of 1280 x 800 pixels.
#pragma once

#include <QString>

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/files/paths.h"
#include "platform/text/cp932.h"
#include "platform/qt/scripted_seam.h"
#include "quotedesk/mainwindow/kihon.h"
#include "quotedesk/mainwindow/quotedesk_app.h"
#include "tests/support/temp_install.h"

namespace qd::testing {

class QuotedeskFixture : public ::testing::Test {
protected:
    QuotedeskFixture()
    {
        m_oldDir = std::filesystem::current_path();
        std::filesystem::current_path(inst.path());
        seam.setScreenSizeOverride(qd::qt::ScreenSize{1280, 800, 96, 96, 0, 0});
        app = std::make_unique<qd::forms::QuotedeskApp>();
        app->endProgram = [this] { ++ended; };
    }
    ~QuotedeskFixture() override
    {
        app.reset();
        std::filesystem::current_path(m_oldDir);
    }
    void TearDown() override { EXPECT_EQ(seam.problems().toStdString(), ""); }

    qd::forms::KIHON &start()
    {
        qd::forms::KIHON &k = app->kihon();
        k.Form_Load();
        return k;
    }
    qd::core::QdState &g() { return app->g; }

    // The install folder and its document folder as the program writes them.
    std::string instDir() const { return qd::files::systemPath(inst.path()); }
    std::string txtDir() const { return qd::files::systemPath(inst.data() / "TXT"); }
    QString docPath(const std::string &name) const { return QString::fromStdString(txtDir() + "/" + name); }

    // A folder-pointer file of the records given (each: document name, install folder).
    void writePointer(const std::string &bytes) { writeBytes(inst.driveC() / "tamo" / "tamo_dir.SSS", bytes); }
    static std::string pointerRecord(const std::string &docName, const std::string &folder)
    {
        std::string rec = qd::text::toCp932(docName);
        rec.resize(128, ' ');
        rec += folder;
        rec.resize(128 + 512, ' ');
        rec.resize(766, ' ');
        return rec + "\r\n";
    }

    // Opens the sample document through the open dialog.
    void openSample(qd::forms::KIHON &k)
    {
        seam.answerOpen(docPath("見本見積.TXT"));
        k.FILE_READ_Click();
    }
    void newDocument(qd::forms::KIHON &k, const QString &name)
    {
        seam.answerInput(name);
        k.FILE_NEW_Click();
    }

    TempInstall inst{TempInstall::Content::Demo};
    qd::qt::ScriptedSeam seam;
    qd::qt::SeamGuard guard{seam};
    std::unique_ptr<qd::forms::QuotedeskApp> app;
    int ended = 0;

private:
    std::filesystem::path m_oldDir;
};

} // namespace qd::testing
