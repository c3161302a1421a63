// Helpers of the fault-injection runs: how many file steps an operation takes, and what a
// failed run may leave in a folder.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace qd::testing {

// Runs `op` with nothing armed and returns the number of counted file steps it took.
int stepsOf(const std::function<void()> &op);

// The names in a folder, in name order, without the lock files (".<name>.lock"), which stay.
std::vector<std::string> entriesOf(const std::filesystem::path &dir);

} // namespace qd::testing
