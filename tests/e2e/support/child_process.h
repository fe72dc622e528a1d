#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace veltaro::e2e {

using Millis = std::chrono::milliseconds;

// A program run as a child, its standard output on a pipe (standard error is shared). The
// destructor stops it (SIGTERM, then SIGKILL), so nobody leaves one behind. Every wait is
// bounded. One thread.
class ChildProcess {
  public:
    // argv[0] is the program's path; env: "NAME=value" entries set on top of this process's
    // environment.
    ChildProcess(std::vector<std::string> argv, const std::vector<std::string>& env);
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }

    // The next line of its standard output, without the line end; nothing when none came
    // within the timeout or the output ended.
    std::optional<std::string> ReadLine(Millis timeout);
    // Waits for it to end by itself: its exit status (128 + signal when a signal ended it),
    // or nothing when it still runs.
    std::optional<int> WaitExit(Millis timeout);
    // SIGTERM and wait; SIGKILL when that does not end it. The exit status, or -1.
    int Stop(Millis timeout = Millis(3000));

  private:
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_pending;  // output read past the last line returned
};

}  // namespace veltaro::e2e
