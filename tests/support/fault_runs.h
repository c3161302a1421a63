// Helpers of the fault-injection runs: how many file steps an operation takes, which failures a
// run is checked against, and what a failed run may leave in a folder.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/files/fault_plan.h"

namespace qd::testing {

// Runs `op` with nothing armed and returns the number of counted file steps it took.
int stepsOf(const std::function<void()> &op);

// One failure to arm for a run: the n-th step of a kind failing with an error number, once or
// from then on.
struct FaultCase {
    qd::files::FileStep step;
    int nth;
    int err;
    qd::files::FaultMode mode = qd::files::FaultMode::Once;
    // "step 3 (No space left on device)", "every step 3 from then on (...)", for the trace of a
    // failing check.
    std::string name() const;
    // Arms the plan with this failure.
    void arm() const { qd::files::faults::arm(step, nth, err, mode); }
};

// The failures a command of `steps` counted steps is run under: each of its steps in turn
// failing as a full disk does (ENOSPC), then its first flush failing with an I/O error (EIO).
std::vector<FaultCase> faultCases(int steps);

// Runs `op` with nothing armed and returns how many steps of every kind it took (the opens and
// reads too) and how many of them were writes.
struct StepCounts {
    int all = 0;
    int writes = 0;
};
StepCounts allStepsOf(const std::function<void()> &op);

// The failures of a command whose every step is put to the test, the opens of its locks and
// files and its reads among them: each step in turn failing once, each step failing from then
// on (a full disk, a share that has dropped), and each write cut short with the disk full from
// then on.
std::vector<FaultCase> everyStepCases(const StepCounts &steps, int err = ENOSPC);

// The names in a folder, in name order, without the lock files (".<name>.lock"), which stay.
std::vector<std::string> entriesOf(const std::filesystem::path &dir);

} // namespace qd::testing
