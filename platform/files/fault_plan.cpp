#include "platform/files/fault_plan.h"

#include <array>
#include <mutex>

namespace qd::files::faults {

namespace {

constexpr std::size_t kKinds = 6;

struct Plan {
    bool armed = false;
    bool fired = false;
    FileStep step = FileStep::Any;
    int nth = 0;
    int err = 0;
    std::array<int, kKinds> counts{};
};

std::mutex g_mutex;
Plan g_plan;

} // namespace

void arm(FileStep step, int nth, int err)
{
    std::lock_guard lock(g_mutex);
    g_plan = Plan{};
    g_plan.armed = nth > 0;
    g_plan.step = step;
    g_plan.nth = nth;
    g_plan.err = err;
}

void clear()
{
    std::lock_guard lock(g_mutex);
    g_plan = Plan{};
}

int count(FileStep step)
{
    std::lock_guard lock(g_mutex);
    return g_plan.counts[static_cast<std::size_t>(step)];
}

bool fired()
{
    std::lock_guard lock(g_mutex);
    return g_plan.fired;
}

bool shouldFail(FileStep step)
{
    std::lock_guard lock(g_mutex);
    ++g_plan.counts[static_cast<std::size_t>(step)];
    ++g_plan.counts[static_cast<std::size_t>(FileStep::Any)];
    if (!g_plan.armed || g_plan.fired)
        return false;
    const int seen = g_plan.counts[static_cast<std::size_t>(g_plan.step)];
    if ((g_plan.step == FileStep::Any || g_plan.step == step) && seen == g_plan.nth) {
        g_plan.fired = true;
        errno = g_plan.err;
        return true;
    }
    return false;
}

} // namespace qd::files::faults
