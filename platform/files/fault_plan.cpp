#include "platform/files/fault_plan.h"

#include <array>
#include <mutex>

namespace qd::files::faults {

namespace {

constexpr std::size_t kKinds = static_cast<std::size_t>(FileStep::All) + 1;

bool changesAFile(FileStep step) { return step < FileStep::Open; }

// Whether a step of kind `step` is one of the kind `armed`.
bool isOfKind(FileStep step, FileStep armed)
{
    return armed == FileStep::All || (armed == FileStep::Any && changesAFile(step)) || armed == step;
}

struct Plan {
    bool armed = false;
    bool fired = false;
    FileStep step = FileStep::Any;
    int nth = 0;
    int err = 0;
    FaultMode mode = FaultMode::Once;
    std::array<int, kKinds> counts{};
};

std::mutex g_mutex;
Plan g_plan;

} // namespace

void arm(FileStep step, int nth, int err, FaultMode mode)
{
    std::lock_guard lock(g_mutex);
    g_plan = Plan{};
    g_plan.armed = nth > 0;
    g_plan.step = mode == FaultMode::ShortWrite ? FileStep::Write : step;
    g_plan.nth = nth;
    g_plan.err = err;
    g_plan.mode = mode;
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

bool shouldFail(FileStep step, bool *first)
{
    if (first)
        *first = false;
    std::lock_guard lock(g_mutex);
    ++g_plan.counts[static_cast<std::size_t>(step)];
    if (changesAFile(step))
        ++g_plan.counts[static_cast<std::size_t>(FileStep::Any)];
    ++g_plan.counts[static_cast<std::size_t>(FileStep::All)];
    if (!g_plan.armed || !isOfKind(step, g_plan.step))
        return false;
    if (g_plan.fired) {
        if (g_plan.mode == FaultMode::Once)
            return false;
    } else if (g_plan.counts[static_cast<std::size_t>(g_plan.step)] == g_plan.nth) {
        g_plan.fired = true;
        if (first)
            *first = true;
    } else {
        return false;
    }
    errno = g_plan.err;
    return true;
}

} // namespace qd::files::faults
