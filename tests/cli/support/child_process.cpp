#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>

extern char** environ;

namespace veltaro::cli::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

void CloseFd(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

// Reads what is there; closes the descriptor at end of file.
void Drain(int& fd, std::string& into) {
    std::array<char, 4096> buffer{};
    const ssize_t n = read(fd, buffer.data(), buffer.size());
    if (n > 0) {
        into.append(buffer.data(), static_cast<std::size_t>(n));
    } else if (n == 0) {
        CloseFd(fd);
    }
}

int MillisLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(0, std::min<long long>(left.count(), 100)));
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& env, Stdout stdoutTo) {
    std::array<int, 2> out{-1, -1};
    std::array<int, 2> err{-1, -1};
    if (pipe2(out.data(), O_CLOEXEC) != 0 || pipe2(err.data(), O_CLOEXEC) != 0) {
        return;
    }
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = env;
    for (char** e = environ; *e != nullptr; ++e) {
        envp.emplace_back(*e);  // entries given first win for getenv
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutTo == Stdout::kPipe) {
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    } else if (stdoutTo == Stdout::kDevFull) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/full", O_WRONLY, 0);
    } else {
        posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
    }
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argp = Pointers(argv);
    std::vector<char*> envpp = Pointers(envp);
    if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argp.data(), envpp.data()) != 0) {
        m_pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    m_outFd = out[0];
    m_errFd = err[0];
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_reaped) {
        kill(m_pid, SIGKILL);
        Reap(true);
    }
    CloseFd(m_outFd);
    CloseFd(m_errFd);
}

void ChildProcess::Collect(int timeoutMs) {
    std::array<pollfd, 2> fds{pollfd{m_outFd, POLLIN, 0}, pollfd{m_errFd, POLLIN, 0}};
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0) {
        return;
    }
    if (fds[0].revents != 0) {
        Drain(m_outFd, m_result.out);
        if (m_result.out.size() >= m_closeOutAfter) {
            CloseFd(m_outFd);
        }
    }
    if (fds[1].revents != 0) {
        Drain(m_errFd, m_result.err);
    }
}

bool ChildProcess::WaitForOutput(std::string_view needle, std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
        if (m_result.out.find(needle) != std::string::npos ||
            m_result.err.find(needle) != std::string::npos) {
            return true;
        }
        Collect(MillisLeft(deadline));
    }
    return false;
}

void ChildProcess::Signal(int signal) {
    if (m_pid > 0 && !m_reaped) {
        kill(m_pid, signal);
    }
}

void ChildProcess::CloseStdoutAfter(std::size_t bytes) {
    m_closeOutAfter = bytes;
    if (bytes == 0) {
        CloseFd(m_outFd);
    }
}

bool ChildProcess::Reap(bool block) {
    int status = 0;
    if (waitpid(m_pid, &status, block ? 0 : WNOHANG) != m_pid) {
        return false;
    }
    m_reaped = true;
    m_result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

ChildProcess::Result ChildProcess::Finish(std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    while (m_pid > 0 && !m_reaped && Clock::now() < deadline) {
        Collect(MillisLeft(deadline));
        Reap(false);
    }
    if (m_pid > 0 && !m_reaped) {
        m_result.timedOut = true;
        kill(m_pid, SIGKILL);
        Reap(true);
    }
    // What is still in the pipes; they reach end of file once the child is gone.
    const Clock::time_point drainDeadline = Clock::now() + std::chrono::seconds(2);
    while ((m_outFd >= 0 || m_errFd >= 0) && Clock::now() < drainDeadline) {
        Collect(MillisLeft(drainDeadline));
    }
    return m_result;
}

}  // namespace veltaro::cli::testing
