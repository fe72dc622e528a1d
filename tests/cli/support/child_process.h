#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace veltaro::cli::testing {

// A program run by a test, with standard output and standard error captured. Every wait is
// bounded; the destructor kills a child that is still running, so no test can leave one.
// posix/child_process.cpp runs it with posix_spawn, win32/child_process.cpp with
// CreateProcessW in a process group of its own in the test's console.
class ChildProcess {
  public:
    struct Result {
        int status = -1;        // exit status; 128 + signal when a signal ended it
        bool timedOut = false;  // killed because it ran past the limit
        std::string out;
        std::string err;
    };

    // Where the child's standard output goes: a pipe the test reads, /dev/full (every write
    // fails), or nowhere (the descriptor is closed).
    enum class Stdout { kPipe, kDevFull, kClosed };
    // False where the system has no such place (Windows has no full device).
    static bool Supports(Stdout stdoutTo);
    // How many bytes of arguments a child may be given (Windows: 32767 characters).
    static std::size_t LongestCommandLine();

    // env: extra "NAME=value" entries on top of this process's environment.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& env, Stdout stdoutTo = Stdout::kPipe);
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const;
    // Collects output until `needle` shows on standard output or error, or the limit passes.
    bool WaitForOutput(std::string_view needle, std::chrono::milliseconds limit);
    // On Windows SIGINT is Ctrl-C to the child's process group, anything else Ctrl-Break.
    void Signal(int signal);
    // Closes the reading end of the output pipe once `bytes` have arrived (0: at once), as
    // `| head -c N` does; the child's next write then fails with EPIPE.
    void CloseStdoutAfter(std::size_t bytes);
    // Collects output until the child ends; kills it (SIGKILL) when it outlives the limit.
    Result Finish(std::chrono::milliseconds limit);

  private:
    // The system's handles of the child and its pipes, and what was read from them.
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace veltaro::cli::testing
