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

struct ChildProcess::State {
    pid_t pid = -1;
    int outFd = -1;
    int errFd = -1;
    Result result;
    bool reaped = false;
    std::size_t closeOutAfter = static_cast<std::size_t>(-1);

    void Collect(int timeoutMs);
    bool Reap(bool block);
};

bool ChildProcess::Supports(Stdout) {
    return true;
}

std::size_t ChildProcess::LongestCommandLine() {
    return 2 * 1024 * 1024;  // ARG_MAX on Linux, with 128 KiB for one argument
}

bool ChildProcess::Started() const {
    return m_state->pid > 0;
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& env, Stdout stdoutTo)
    : m_state(std::make_unique<State>()) {
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
    if (posix_spawn(&m_state->pid, program.c_str(), &actions, nullptr, argp.data(), envpp.data()) !=
        0) {
        m_state->pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    m_state->outFd = out[0];
    m_state->errFd = err[0];
}

ChildProcess::~ChildProcess() {
    if (m_state->pid > 0 && !m_state->reaped) {
        kill(m_state->pid, SIGKILL);
        m_state->Reap(true);
    }
    CloseFd(m_state->outFd);
    CloseFd(m_state->errFd);
}

void ChildProcess::State::Collect(int timeoutMs) {
    std::array<pollfd, 2> fds{pollfd{outFd, POLLIN, 0}, pollfd{errFd, POLLIN, 0}};
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0) {
        return;
    }
    if (fds[0].revents != 0) {
        Drain(outFd, result.out);
        if (result.out.size() >= closeOutAfter) {
            CloseFd(outFd);
        }
    }
    if (fds[1].revents != 0) {
        Drain(errFd, result.err);
    }
}

bool ChildProcess::WaitForOutput(std::string_view needle, std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
        if (m_state->result.out.find(needle) != std::string::npos ||
            m_state->result.err.find(needle) != std::string::npos) {
            return true;
        }
        m_state->Collect(MillisLeft(deadline));
    }
    return false;
}

void ChildProcess::Signal(int signal) {
    if (m_state->pid > 0 && !m_state->reaped) {
        kill(m_state->pid, signal);
    }
}

void ChildProcess::CloseStdoutAfter(std::size_t bytes) {
    m_state->closeOutAfter = bytes;
    if (bytes == 0) {
        CloseFd(m_state->outFd);
    }
}

bool ChildProcess::State::Reap(bool block) {
    int status = 0;
    if (waitpid(pid, &status, block ? 0 : WNOHANG) != pid) {
        return false;
    }
    reaped = true;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

ChildProcess::Result ChildProcess::Finish(std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    while (m_state->pid > 0 && !m_state->reaped && Clock::now() < deadline) {
        m_state->Collect(MillisLeft(deadline));
        m_state->Reap(false);
    }
    if (m_state->pid > 0 && !m_state->reaped) {
        m_state->result.timedOut = true;
        kill(m_state->pid, SIGKILL);
        m_state->Reap(true);
    }
    // What is still in the pipes; they reach end of file once the child is gone.
    const Clock::time_point drainDeadline = Clock::now() + std::chrono::seconds(2);
    while ((m_state->outFd >= 0 || m_state->errFd >= 0) && Clock::now() < drainDeadline) {
        m_state->Collect(MillisLeft(drainDeadline));
    }
    return m_state->result;
}

}  // namespace veltaro::cli::testing
