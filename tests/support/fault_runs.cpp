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
    static const char *const kinds[] = {"write", "flush", "rename", "close", "truncate", "step"};
    return std::string(kinds[static_cast<int>(step)]) + " " + std::to_string(nth) + " (" + std::strerror(err) + ")";
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
