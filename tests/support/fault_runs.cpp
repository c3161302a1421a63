#include "tests/support/fault_runs.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qd::testing {

int stepsOf(const std::function<void()> &op)
{
    qd::files::faults::clear();
    op();
    const int steps = qd::files::faults::count(qd::files::FileStep::Any);
    qd::files::faults::clear();
    return steps;
}

std::string FaultCase::name() const
{
    static const char *const kinds[] = {"write", "flush", "rename", "close", "truncate", "open", "read", "step", "step"};
    static const char *const modes[] = {"", "every ", "short "};
    const char *const suffix = mode == qd::files::FaultMode::FromThenOn ? " from then on" : "";
    return std::string(modes[static_cast<int>(mode)]) + kinds[static_cast<int>(step)] + " " + std::to_string(nth) +
           suffix + " (" + std::strerror(err) + ")";
}

StepCounts allStepsOf(const std::function<void()> &op)
{
    qd::files::faults::clear();
    op();
    const StepCounts counts{qd::files::faults::count(qd::files::FileStep::All),
                            qd::files::faults::count(qd::files::FileStep::Write)};
    qd::files::faults::clear();
    return counts;
}

std::vector<FaultCase> everyStepCases(const StepCounts &steps, int err)
{
    using qd::files::FaultMode;
    using qd::files::FileStep;
    std::vector<FaultCase> cases;
    for (int n = 1; n <= steps.all; ++n)
        cases.push_back({FileStep::All, n, err, FaultMode::Once});
    for (int n = 1; n <= steps.all; ++n)
        cases.push_back({FileStep::All, n, err, FaultMode::FromThenOn});
    for (int n = 1; n <= steps.writes; ++n)
        cases.push_back({FileStep::Write, n, err, FaultMode::ShortWrite});
    return cases;
}

std::vector<FaultCase> faultCases(int steps)
{
    std::vector<FaultCase> cases;
    for (int n = 1; n <= steps; ++n)
        cases.push_back({qd::files::FileStep::Any, n, ENOSPC});
    cases.push_back({qd::files::FileStep::Flush, 1, EIO});
    return cases;
}

std::vector<std::string> entriesOf(const std::filesystem::path &dir)
{
    std::vector<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (!(name.size() > 6 && name.front() == '.' && name.ends_with(".lock")))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace qd::testing
