// Failures injected at the write steps of the file layer, for the tests that prove a failing
// disk never leaves half a file behind.
//
// Every write, flush (fsync), rename, close and truncate that the file layer makes on behalf of
// a rewrite or an append is counted as a step: the writes of a record file and of a work copy,
// the flush of either, the close of a file that was written, the rename of a work copy over its
// master (and the folder's flush after it), the cut back of a failed append. A step that the
// plan makes fail behaves as the system call would: it reports the armed error number, which
// then reaches the user as the system's reason; a failing write first writes half of its bytes,
// as a disk that fills up in the middle of a record does.
//
// A test arms the plan to make the n-th step of a kind (or of any kind) fail, runs the
// operation, and checks what is left on disk. It can first run the operation with nothing armed
// (after clear()) and read how many steps it took, then fail each of them in turn. This is the
// only way to inject such failures; production code never arms it. The plan is process-wide and
// meant for single-threaded tests; one armed failure fires once.
#pragma once

#include <cerrno>

namespace qd::files {

enum class FileStep { Write, Flush, Rename, Close, Truncate, Any };

namespace faults {

// Makes the `nth` step (from 1, counted from this call) of kind `step` fail with `err`.
// FileStep::Any counts steps of every kind. The counts start again from 0.
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
