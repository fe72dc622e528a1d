#include "sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

extern char** environ;

namespace sim_test {
namespace {

using Clock = std::chrono::steady_clock;

int millis_left(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Reads what `fd` offers before the deadline into `text`; false on timeout or end.
bool read_some(int fd, std::string& text, Clock::time_point deadline) {
    pollfd waiting{fd, POLLIN, 0};
    if (::poll(&waiting, 1, millis_left(deadline)) <= 0) {
        return false;
    }
    char bytes[4096];
    ssize_t count = ::read(fd, bytes, sizeof bytes);
    if (count <= 0) {
        return false;
    }
    text.append(bytes, static_cast<std::size_t>(count));
    return true;
}

std::vector<std::string> environment_with(const std::string& port_dir) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "BRENLOW_PORT_DIR=", 17) != 0) {
            env.emplace_back(*entry);
        }
    }
    if (!port_dir.empty()) {
        env.push_back("BRENLOW_PORT_DIR=" + port_dir);
    }
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& text : texts) {
        result.push_back(text.data());
    }
    result.push_back(nullptr);
    return result;
}

// Starts the binary with stdout (and stderr when asked) on pipes.
pid_t spawn(const std::vector<std::string>& args, const std::string& port_dir, int& out, int* err) {
    int out_pipe[2];
    int err_pipe[2] = {-1, -1};
    if (::pipe2(out_pipe, O_CLOEXEC) != 0 ||
        (err != nullptr && ::pipe2(err_pipe, O_CLOEXEC) != 0)) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
    if (err != nullptr) {
        posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);
    }
    std::vector<std::string> argv_texts{sim_binary()};
    argv_texts.insert(argv_texts.end(), args.begin(), args.end());
    std::vector<std::string> env_texts = environment_with(port_dir);
    std::vector<char*> argv = pointers(argv_texts);
    std::vector<char*> envp = pointers(env_texts);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out_pipe[1]);
    out = out_pipe[0];
    if (err != nullptr) {
        ::close(err_pipe[1]);
        *err = err_pipe[0];
    }
    return pid;
}

int wait_for(pid_t pid, Clock::time_point deadline) {
    for (;;) {
        int status = 0;
        pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (done < 0 || Clock::now() >= deadline) {
            return -1;
        }
        std::this_thread::sleep_for(2ms);
    }
}

}  // namespace

std::string sim_binary() {
    return MODEM_SIM_PATH;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "modem-sim-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) {
        std::filesystem::remove_all(path_, ignored);
    }
}

Finished run_to_end(const std::vector<std::string>& args, Millis timeout) {
    Finished result;
    int out = -1;
    int err = -1;
    pid_t pid = spawn(args, "", out, &err);
    if (pid < 0) {
        return result;
    }
    const auto deadline = Clock::now() + timeout;
    while (read_some(out, result.out, deadline)) {
    }
    while (read_some(err, result.err, deadline)) {
    }
    ::close(out);
    ::close(err);
    result.status = wait_for(pid, deadline);
    if (result.status < 0) {
        ::kill(pid, SIGKILL);
        wait_for(pid, Clock::now() + 2s);
    }
    return result;
}

SimProcess::SimProcess(const std::vector<std::string>& args, const std::string& port_dir) {
    pid_ = spawn(args, port_dir, out_, nullptr);
    if (pid_ < 0) {
        return;
    }
    std::string line;
    const auto deadline = Clock::now() + 5s;
    while (line.find('\n') == std::string::npos && read_some(out_, line, deadline)) {
    }
    if (std::size_t end = line.find('\n'); end != std::string::npos) {
        slave_path_ = line.substr(0, end);
    }
}

SimProcess::~SimProcess() {
    close_port();
    if (pid_ > 0 && stop(SIGTERM, 3s) < 0) {
        stop(SIGKILL, 2s);
    }
    if (out_ >= 0) {
        ::close(out_);
    }
}

bool SimProcess::open_port() {
    close_port();
    port_ = ::open(slave_path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (port_ < 0 || ::tcgetattr(port_, &raw) != 0) {
        return false;
    }
    ::cfmakeraw(&raw);
    return ::tcsetattr(port_, TCSANOW, &raw) == 0;
}

void SimProcess::close_port() {
    if (port_ >= 0) {
        ::close(port_);
        port_ = -1;
    }
}

void SimProcess::send(std::string_view bytes) {
    ASSERT_EQ(::write(port_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

std::string SimProcess::read_prompts(int prompts, Millis timeout) {
    std::string text;
    const auto deadline = Clock::now() + timeout;
    auto count = [&text] {
        int found = 0;
        for (std::size_t at = text.find("> "); at != std::string::npos;
             at = text.find("> ", at + 2)) {
            ++found;
        }
        return found;
    };
    while (!(count() >= prompts && text.ends_with("> "))) {
        if (!read_some(port_, text, deadline)) {
            ADD_FAILURE() << "no complete answer within the timeout; got: " << text;
            break;
        }
    }
    return text;
}

std::string SimProcess::read_quiet(Millis quiet, Millis limit) {
    std::string text;
    const auto end = Clock::now() + limit;
    while (Clock::now() < end && read_some(port_, text, std::min(end, Clock::now() + quiet))) {
    }
    return text;
}

int SimProcess::stop(int signal, Millis timeout) {
    if (pid_ <= 0) {
        return -1;
    }
    ::kill(pid_, signal);
    int status = wait_for(pid_, Clock::now() + timeout);
    if (status >= 0) {
        pid_ = -1;
    }
    return status;
}

int SimProcess::wait_exit(Millis timeout) {
    int status = wait_for(pid_, Clock::now() + timeout);
    if (status >= 0) {
        pid_ = -1;
    }
    return status;
}

}  // namespace sim_test
