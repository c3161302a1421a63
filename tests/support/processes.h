// Second programs for the tests of what happens when programs share an install folder: a child
// process made by fork, and a one-way signal between two processes.
//
// Fork before locking anything: a child shares the locks its parent holds at that moment.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>

namespace qd::testing {

// Runs `body` in a child process; the child ends with body()'s result as its exit status (an
// exception ends it with 99). The child is killed and reaped when the object goes.
class ChildProcess {
public:
    explicit ChildProcess(const std::function<int()> &body);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // Waits for the child's end; its exit status, or 128 + the signal that ended it.
    int wait();
    void kill();

private:
    pid_t m_pid = -1;
};

// A pipe from one process to the other: post() in one, wait() in the other. Made before fork.
class Signal {
public:
    Signal();
    ~Signal();
    Signal(const Signal &) = delete;
    Signal &operator=(const Signal &) = delete;

    void post(char message = 1);
    // True when a post arrived within the timeout.
    bool wait(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // The message posted, or -1 when none arrived within the timeout.
    int receive(std::chrono::milliseconds timeout = std::chrono::seconds(20));

private:
    int m_fd[2] = {-1, -1};
};

} // namespace qd::testing
