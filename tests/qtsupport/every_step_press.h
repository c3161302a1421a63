// A button that writes a file, pressed with every step of the file layer failing in turn (the
// opens of its locks and files and its reads too), once, from then on, and as a write cut short
// on a disk that then stays full; after each run the same press again on a sound disk.
//
// What is checked is what the user is told against what the file holds: a message that says
// the file is as it was only where it is byte for byte as it was; where the write landed, the
// user is told so, or only what a sound press tells; where the file may hold a part of it, the
// message says so. Every failure told names the file (or one of the others the press reads) and
// the system's reason. Pressed again on a sound disk, the press writes what a sound press writes,
// or refuses (its file already holds the record, or ends in a part of one) and leaves the file
// as it stands: nothing is ever written twice.
#pragma once

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "platform/files/fault_plan.h"
#include "platform/qt/scripted_seam.h"
#include "tests/support/fault_runs.h"
#include "tests/support/temp_install.h"

namespace qd::testing {

struct EveryStepPress {
    std::filesystem::path file;   // the file the press writes
    std::string before, after;    // the file before the press, and after a press that wrote
    QString fileName;             // the file as a message of a failure names it
    QString asItWas;              // the words that say the file is as it was ("元のファイルはそのままです")
    QString landed;               // the words that say the write landed ("追加しました"); empty: a
                                  // landed write is told by no words of its own
    QString mayHold;              // the words that say the file may hold a part of the write

    std::function<void()> fresh;  // the form opened afresh on `before`, the values typed
    std::function<void()> press;

    QStringList alsoNamed;        // other files the press reads (a list of another master, a work
                                  // copy locked beside the file), which a failure names instead
    // What the user does to press again on the form a failure left, where a press alone does
    // not repeat what he did (the component to change chosen again): the press unless given.
    std::function<void()> again;
    // The answers of the press's own dialogs (a quantity asked, a file chosen, a question),
    // scripted before each press ahead of the OKs its messages take.
    std::function<void()> script = [] {};
    // What the checks compare with `before` and `after`: the bytes of `file` unless given (a
    // press that writes a pair of files reads both).
    std::function<std::string()> read;
    // Checks of the form after a write that landed and a failure after it was told.
    std::function<void()> landedLeaves = [] {};
};

// How the runs ended, for the note of a change: "as it was" (the file as before), "landed" (the
// file written, the user told so and what failed after it), "written" (the file written, the user
// told what a sound press tells), "may hold" (the user told that the file may hold a part of the
// write, or the file holds neither the old content nor the new).
using PressOutcomes = std::map<std::string, int>;

// "as it was 21, landed 4", for a test's record of its runs (RecordProperty).
inline std::string outcomesText(const PressOutcomes &outcomes)
{
    std::string text;
    for (const auto &[outcome, runs] : outcomes)
        text += (text.empty() ? "" : ", ") + outcome + " " + std::to_string(runs);
    return text;
}

inline PressOutcomes pressUnderEveryStep(qd::qt::ScriptedSeam &seam, const EveryStepPress &p)
{
    PressOutcomes outcomes;
    // Words that are given and found in a message; no words are never found.
    const auto says = [](const QString &told, const QString &words) { return !words.isEmpty() && told.contains(words); };
    const auto state = [&] { return p.read ? p.read() : readBytes(p.file); };
    const auto pressAnswering = [&](const std::function<void()> &press) {
        seam.clearCalls();
        seam.clearScript();
        p.script();
        for (int i = 0; i < 8; ++i)
            seam.answerMessage(qd::qt::Answer::Ok);
        press();
        seam.clearScript();
        return seam.messages().join(QStringLiteral(" / "));
    };
    QString soundTold;
    p.fresh();
    const StepCounts steps = allStepsOf([&] { soundTold = pressAnswering(p.press); });
    EXPECT_EQ(state(), p.after) << "a press on a sound disk writes";
    EXPECT_FALSE(says(soundTold, p.asItWas) || says(soundTold, p.mayHold)) << soundTold.toStdString();
    EXPECT_GT(steps.all, 0);

    // The runs stop at the first one that failed a check, its trace naming the failure armed.
    const auto failures = [] { return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count(); };
    const int failedBefore = failures();
    for (const FaultCase &c : everyStepCases(steps)) {
        SCOPED_TRACE(c.name());
        p.fresh();
        c.arm();
        const QString told = pressAnswering(p.press);
        qd::files::faults::clear();
        const std::string now = state();
        SCOPED_TRACE(told.toStdString());
        std::string outcome;
        if (says(told, p.mayHold)) {
            outcome = "may hold";
            EXPECT_FALSE(says(told, p.asItWas)) << "a file that may hold the write is told as it was";
            EXPECT_FALSE(says(told, p.landed)) << "a write that may hold a part is told as landed";
        } else if (now == p.before) {
            outcome = "as it was";
            EXPECT_FALSE(told.isEmpty()) << "a press that wrote nothing says so";
            EXPECT_FALSE(says(told, p.landed)) << "a write that did not land is told as landed";
        } else if (now == p.after) {
            outcome = told == soundTold ? "written" : "landed";
            EXPECT_FALSE(says(told, p.asItWas)) << "a write that landed is told as not written";
            if (outcome == "landed" && !p.landed.isEmpty()) {
                EXPECT_TRUE(says(told, p.landed)) << "a write that landed is told so";
            }
            if (outcome == "landed")
                p.landedLeaves();
        } else {
            outcome = "may hold";
            ADD_FAILURE() << "a file changed in part is not told so";
        }
        if (outcome != "written") {
            bool named = told.contains(p.fileName);
            for (const QString &other : p.alsoNamed)
                named = named || told.contains(other);
            EXPECT_TRUE(named && told.contains(QString::fromUtf8(std::strerror(c.err))))
                << "the file and the system's reason";
        }
        ++outcomes[outcome];

        // The same press again on a sound disk, the form as the failure left it.
        const std::string left = state();
        pressAnswering(p.again ? p.again : p.press);
        const std::string again = state();
        if (left == p.before)
            EXPECT_EQ(again, p.after) << "the press again writes";
        else
            EXPECT_TRUE(again == left || again == p.after) << "nothing is written twice";
        if (failures() > failedBefore)
            break;
    }
    return outcomes;
}

} // namespace qd::testing
