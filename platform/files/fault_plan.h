// Failures injected at the write steps of the file layer, for the tests that prove a failing
// disk never leaves half a file behind.
//
// Every write, flush (fsync), rename, close and truncate that the file layer makes on behalf of
// a rewrite or an append is counted as a step. A test arms the plan to make the n-th step of a
// kind (or of any kind) fail with a system error, runs the operation, and checks what is left on
// disk; it can first run the operation with nothing armed and read how many steps it took, then
// fail each of them in turn. This is the only way to inject such failures; production code
// never arms it. The plan is process-wide and meant for single-threaded tests.
#pragma once

#include <cerrno>

namespace qd::files {

enum class FileStep { Write, Flush, Rename, Close, Truncate, Any };

namespace faults {

// Makes the `nth` step (from 1, counted from this call) of kind `step` fail with `err`.
// FileStep::Any counts steps of every kind.
void arm(FileStep step, int nth, int err = ENOSPC);
// Disarms the plan and resets the counts.
void clear();
// Steps of a kind seen since the last arm or clear (FileStep::Any: all of them).
int count(FileStep step);
// Whether the armed failure has fired since it was armed.
bool fired();

// Called by the file layer before each step: true (errno set) when this step is to fail.
bool shouldFail(FileStep step);

} // namespace faults

// Arms the plan for the life of a test scope.
class ScopedFault {
public:
    ScopedFault(FileStep step, int nth, int err = ENOSPC) { faults::arm(step, nth, err); }
    ~ScopedFault() { faults::clear(); }
    ScopedFault(const ScopedFault &) = delete;
    ScopedFault &operator=(const ScopedFault &) = delete;
};

} // namespace qd::files
