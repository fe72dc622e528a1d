#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

extern char** environ;

namespace veltaro::e2e {
namespace {

using Clock = std::chrono::steady_clock;

std::string NameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string name = NameOf(*entry);
        bool replaced = false;
        for (const std::string& override : overrides) {
            replaced = replaced || NameOf(override) == name;
        }
        if (!replaced) {
            env.emplace_back(*entry);
        }
    }
    env.insert(env.end(), overrides.begin(), overrides.end());
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& text : texts) {
        result.push_back(text.data());
    }
    result.push_back(nullptr);
    return result;
}

}  // namespace

ChildProcess::ChildProcess(std::vector<std::string> argv, const std::vector<std::string>& env) {
    int pipeFds[2];
    if (argv.empty() || ::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    std::vector<std::string> envTexts = EnvironmentWith(env);
    std::vector<char*> args = Pointers(argv);
    std::vector<char*> envp = Pointers(envTexts);
    if (posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) {
        m_pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    m_out = pipeFds[0];
}

ChildProcess::~ChildProcess() {
    Stop();
    if (m_out >= 0) {
        ::close(m_out);
    }
}

std::optional<std::string> ChildProcess::ReadLine(Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    while (m_pending.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
        pollfd waiting{m_out, POLLIN, 0};
        if (m_out < 0 || left <= 0 || ::poll(&waiting, 1, static_cast<int>(left)) <= 0) {
            return std::nullopt;
        }
        char bytes[512];
        const ssize_t count = ::read(m_out, bytes, sizeof bytes);
        if (count <= 0) {
            return std::nullopt;
        }
        m_pending.append(bytes, static_cast<std::size_t>(count));
    }
    const std::size_t end = m_pending.find('\n');
    std::string line = m_pending.substr(0, end);
    m_pending.erase(0, end + 1);
    return line;
}

std::optional<int> ChildProcess::WaitExit(Millis timeout) {
    if (m_pid <= 0) {
        return std::nullopt;
    }
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (done < 0 || Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(Millis(2));
    }
}

int ChildProcess::Stop(Millis timeout) {
    if (m_pid <= 0) {
        return -1;
    }
    ::kill(m_pid, SIGTERM);
    if (std::optional<int> status = WaitExit(timeout)) {
        return *status;
    }
    ::kill(m_pid, SIGKILL);
    (void)WaitExit(Millis(2000));
    return -1;
}

}  // namespace veltaro::e2e
