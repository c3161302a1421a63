// Failures injected at the steps of the file layer, for the tests that prove a failing disk never
// leaves half a file behind and never has a write reported the wrong way.
//
// Every write, flush (fsync), rename, close and truncate that the file layer makes on behalf of
// a rewrite or an append is counted as a step that changes a file: the writes of a record file
// and of a work copy, the flush of either, the close of a file that was written, the rename of a
// work copy over its master (and the folder's flush after it), the cut back of a failed append.
// The opens of files and lock files and the reads of files are counted as steps too, so that a
// test can make the lock or the file of a read fail, as a share that drops or a disk that fails
// does. A step that the plan makes fail behaves as the system call would: it reports the armed
// error number, which then reaches the user as the system's reason; the write that fails first
// writes half of its bytes, as a disk that fills up in the middle of a record does.
//
// A test arms the plan to make the n-th step of a kind (or of any kind) fail, runs the
// operation, and checks what is left on disk. It can first run the operation with nothing armed
// (after clear()) and read how many steps it took, then fail each of them in turn. This is the
// only way to inject such failures; production code never arms it. The plan is process-wide and
// meant for single-threaded tests.
#pragma once

#include <cerrno>

namespace qd::files {

enum class FileStep {
    Write,
    Flush,
    Rename,
    Close,
    Truncate,
    Open, // a file or a lock file opened (or a work copy made)
    Read,
    Any,  // any step that changes a file: Write, Flush, Rename, Close, Truncate
    All,  // every step, the opens and reads too
};

// How long an armed failure lasts.
enum class FaultMode {
    Once,       // the n-th step fails, the steps after it go through
    FromThenOn, // the n-th step and every later step of the armed kind fail: a disk that stays
                // full, a share that has dropped
    ShortWrite, // the n-th write writes part of its bytes, then the disk is full: that write and
                // every later one fail (the kind armed is Write whatever is given)
};

namespace faults {

// Makes the `nth` step (from 1, counted from this call) of kind `step` fail with `err`, once or
// from then on. The counts start again from 0.
void arm(FileStep step, int nth, int err = ENOSPC, FaultMode mode = FaultMode::Once);
// Disarms the plan and resets the counts.
void clear();
// Steps of a kind seen since the last arm or clear (FileStep::Any, FileStep::All: of those kinds).
int count(FileStep step);
// Whether the armed failure has fired since it was armed.
bool fired();

// Called by the file layer before each step: true (errno set) when this step is to fail.
// `first`, when given, tells whether it is the armed failure itself rather than one of those
// that follow it from then on (a write that fills the disk writes half its bytes, the writes on
// a full disk nothing).
bool shouldFail(FileStep step, bool *first = nullptr);

} // namespace faults

// Arms the plan for the life of a test scope.
class ScopedFault {
public:
    ScopedFault(FileStep step, int nth, int err = ENOSPC, FaultMode mode = FaultMode::Once)
    {
        faults::arm(step, nth, err, mode);
    }
    ~ScopedFault() { faults::clear(); }
    ScopedFault(const ScopedFault &) = delete;
    ScopedFault &operator=(const ScopedFault &) = delete;
};

} // namespace qd::files
