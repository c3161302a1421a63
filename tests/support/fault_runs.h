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

// One failure to arm for a run: the n-th step of a kind failing with an error number.
struct FaultCase {
    qd::files::FileStep step;
    int nth;
    int err;
    // "step 3 (No space left on device)", for the trace of a failing check.
    std::string name() const;
};

// The failures a command of `steps` counted steps is run under: each of its steps in turn
// failing as a full disk does (ENOSPC), then its first flush failing with an I/O error (EIO).
std::vector<FaultCase> faultCases(int steps);

// The names in a folder, in name order, without the lock files (".<name>.lock"), which stay.
std::vector<std::string> entriesOf(const std::filesystem::path &dir);

} // namespace qd::testing
