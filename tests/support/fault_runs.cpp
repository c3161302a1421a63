#include "tests/support/fault_runs.h"

#include <algorithm>

#include "platform/files/fault_plan.h"

namespace qd::testing {

int stepsOf(const std::function<void()> &op)
{
    qd::files::faults::clear();
    op();
    const int steps = qd::files::faults::count(qd::files::FileStep::Any);
    qd::files::faults::clear();
    return steps;
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
