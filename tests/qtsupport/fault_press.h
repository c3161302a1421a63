// A button that writes a file, pressed on a disk that fails at each of its counted steps in turn.
#pragma once

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/fault_plan.h"
#include "platform/qt/scripted_seam.h"
#include "tests/support/fault_runs.h"
#include "tests/support/temp_install.h"

namespace qd::testing {

struct FaultPress {
    FaultPress(std::filesystem::path file, std::filesystem::path folder, std::vector<std::string> entries,
               QString fileName, std::string before, std::string after, int steps)
        : file(std::move(file)), folder(std::move(folder)), entries(std::move(entries)),
          fileName(std::move(fileName)), before(std::move(before)), after(std::move(after)), steps(steps)
    {
    }

    std::filesystem::path file;   // the file the press writes
    std::filesystem::path folder; // the folder no work copy may be left in
    std::vector<std::string> entries; // its names before the first press
    QString fileName;             // the file as the message of a failure names it
    std::string before, after;    // the file before the press, and after a press that wrote
    int steps;                    // the counted steps of a press that writes
    // Whether the last step comes when the new file stands whole (the flush of the folder after
    // the rename), so that its failure leaves the file written; an append's last step does not.
    bool lastStepAfterTheWrite = true;
    QStringList toldOnWrite;      // the messages of a press that writes (none: it writes without a word)

    std::function<void()> fresh;  // the form opened afresh on `before`, the text typed
    std::function<void()> press;
    // Checks of the form once a failure was told; `message` is the one shown.
    std::function<void(const QString &message)> refused = [](const QString &) {};
    // Checks of the form after a press that wrote.
    std::function<void()> written = [] {};
};

// Presses under each failure of faultCases(steps), each on a form made afresh. A failed run
// leaves `before` byte for byte and one message naming the file and the system's reason, then a
// second press writes `after` as a press on a sound disk does; a failure after the write leaves
// `after` and only what a write tells. No run leaves a work copy.
inline void pressUnderEachFault(qd::qt::ScriptedSeam &seam, const FaultPress &p)
{
    const auto answerTold = [&] {
        for (qsizetype i = 0; i < p.toldOnWrite.size(); ++i)
            seam.answerMessage(qd::qt::Answer::Ok);
    };
    for (const FaultCase &c : faultCases(p.steps)) {
        SCOPED_TRACE(c.name());
        p.fresh();
        seam.clearCalls();
        const bool afterTheWrite =
            p.lastStepAfterTheWrite && c.step == qd::files::FileStep::Any && c.nth == p.steps;
        if (afterTheWrite)
            answerTold();
        else
            seam.answerMessage(qd::qt::Answer::Ok);
        {
            qd::files::ScopedFault fault(c.step, c.nth, c.err, c.mode);
            p.press();
            EXPECT_TRUE(qd::files::faults::fired());
        }
        EXPECT_EQ(entriesOf(p.folder), p.entries) << "no work copy is left";
        if (afterTheWrite) {
            EXPECT_EQ(seam.messages(), p.toldOnWrite);
            EXPECT_EQ(readBytes(p.file), p.after);
            p.written();
            continue;
        }
        EXPECT_EQ(readBytes(p.file), p.before);
        ASSERT_EQ(seam.messages().size(), 1);
        const QString message = seam.messages()[0];
        EXPECT_TRUE(message.contains(p.fileName)) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(std::strerror(c.err)))) << message.toStdString();
        p.refused(message);
        if (::testing::Test::HasFatalFailure())
            return;

        seam.clearCalls();
        answerTold();
        p.press();
        EXPECT_EQ(seam.messages(), p.toldOnWrite);
        EXPECT_EQ(readBytes(p.file), p.after);
        p.written();
    }
}

} // namespace qd::testing
