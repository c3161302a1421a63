#include "tests/support/processes.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

namespace qd::testing {

ChildProcess::ChildProcess(const std::function<int()> &body)
{
    std::fflush(nullptr); // nothing buffered is written twice
    m_pid = ::fork();
    if (m_pid < 0)
        throw std::runtime_error("cannot start a second process");
    if (m_pid == 0) {
        int status = 99;
        try {
            status = body();
        } catch (...) {
        }
        ::_exit(status);
    }
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0) {
        kill();
        wait();
    }
}

int ChildProcess::wait()
{
    if (m_pid <= 0)
        return -1;
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

void ChildProcess::kill()
{
    if (m_pid > 0)
        ::kill(m_pid, SIGKILL);
}

Signal::Signal()
{
    if (::pipe(m_fd) != 0)
        throw std::runtime_error("cannot make a pipe");
}

Signal::~Signal()
{
    ::close(m_fd[0]);
    ::close(m_fd[1]);
}

void Signal::post(char message)
{
    const char c = message;
    while (::write(m_fd[1], &c, 1) < 0 && errno == EINTR) {
    }
}

bool Signal::wait(std::chrono::milliseconds timeout) { return receive(timeout) >= 0; }

int Signal::receive(std::chrono::milliseconds timeout)
{
    pollfd p{m_fd[0], POLLIN, 0};
    int r;
    while ((r = ::poll(&p, 1, static_cast<int>(timeout.count()))) < 0 && errno == EINTR) {
    }
    if (r <= 0)
        return -1;
    unsigned char c;
    return ::read(m_fd[0], &c, 1) == 1 ? c : -1;
}

} // namespace qd::testing
