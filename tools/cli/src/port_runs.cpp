#include "port_runs.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sstream>
#include <system_error>
#include <thread>

#include "commands.h"
#include "progress.h"
#include "session.h"
#include "text_util.h"

namespace veltaro::cli {
namespace {

// Counts finished ports for the main thread, which waits on it beside the signals.
class DoneCounter {
  public:
    DoneCounter() : m_fd(eventfd(0, EFD_CLOEXEC)) {}
    ~DoneCounter() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    DoneCounter(const DoneCounter&) = delete;
    DoneCounter& operator=(const DoneCounter&) = delete;

    int Fd() const { return m_fd; }
    void Post() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(m_fd, &one, sizeof one);
    }
    std::uint64_t Take() {
        std::uint64_t count = 0;
        return read(m_fd, &count, sizeof count) == static_cast<ssize_t>(sizeof count) ? count : 0;
    }

  private:
    int m_fd;
};

ExitStatus RunCommand(const std::string& comNumber, const Options& options, std::ostream& out,
                      std::ostream& err, ProgressPrinter& printer, int stopFd) {
    Session session(comNumber, err, printer, stopFd);
    if (!session.Ready()) {
        session.Error("cannot set up the event loop (eventfd)");
        return ExitStatus::kFailure;
    }
    switch (options.command) {
        case Command::kInfo:
            return RunInfo(session, options, out);
        case Command::kSet:
            return RunSet(session, options, out);
        case Command::kLog:
            return RunLog(session, out);
        default:
            return ExitStatus::kUsage;
    }
}

// Waits for `count` ports to finish; a signal meanwhile stops them all. The board, when
// there is one, is drawn again when the terminal's size changes.
void AwaitPorts(StopSignal& stop, DoneCounter& done, std::size_t count, TerminalWatch* terminal,
                ProgressBoard* board) {
    const std::array<int, 2> wake{done.Fd(), terminal != nullptr ? terminal->ResizeFd() : -1};
    std::uint64_t finished = 0;
    while (finished < count) {
        static_cast<void>(stop.WaitForSignal(wake, -1));
        pollfd one{done.Fd(), POLLIN, 0};
        if (poll(&one, 1, 0) == 1) {
            finished += done.Take();
        }
        if (terminal != nullptr && terminal->TakeResize() && board != nullptr) {
            board->Refresh();
        }
    }
}

std::string LastError(const std::string& err) {
    std::string_view text = Trim(err);
    const std::size_t line = text.rfind('\n');
    text = line == std::string_view::npos ? text : text.substr(line + 1);
    return std::string(text.starts_with("veltaro-cli: ") ? text.substr(13) : text);
}

std::string StatusLine(ExitStatus status) {
    return status == ExitStatus::kOk ? "done"
                                     : "failed (status " + std::to_string(Code(status)) + ")";
}

ExitStatus RunOne(const Options& options, StopSignal& stop, std::ostream& out, std::ostream& err,
                  TerminalWatch* terminal) {
    DoneCounter done;
    ExitStatus status = ExitStatus::kFailure;
    // log prints the screens on standard output; a status line beside it would only interfere.
    ProgressPrinter printer(err, terminal != nullptr && options.command != Command::kLog, terminal);
    std::thread worker([&] {
        status = RunCommand(options.comNumbers.front(), options, out, err, printer, stop.StopFd());
        done.Post();
    });
    AwaitPorts(stop, done, 1, terminal, nullptr);
    worker.join();
    return status;
}

void PrintGroups(const Options& options, const std::vector<PortResult>& results, std::ostream& out,
                 std::ostream& err) {
    if (options.json) {
        out << PortsJson(results) << std::flush;
        return;
    }
    for (const PortResult& result : results) {
        if (!result.out.empty()) {
            out << "== COM" << result.comNumber << " ==\n" << result.out;
        }
        if (!result.err.empty()) {
            err << "== COM" << result.comNumber << " ==\n" << result.err;
        }
    }
    out << std::flush;
    err << std::flush;
}

// One port of several: its output and errors kept for printing as a group.
void RunBuffered(const Options& options, std::size_t slot, ProgressBoard* board, int stopFd,
                 PortResult& result) {
    result.comNumber = options.comNumbers[slot];
    std::ostringstream portOut;
    std::ostringstream portErr;
    {
        ProgressPrinter printer = board != nullptr ? ProgressPrinter(portErr, *board, slot)
                                                   : ProgressPrinter(portErr, false);
        result.status = RunCommand(result.comNumber, options, portOut, portErr, printer, stopFd);
    }
    if (board != nullptr) {
        board->Finish(slot, result.status == ExitStatus::kOk, StatusLine(result.status));
    }
    result.out = portOut.str();
    result.err = portErr.str();
}

// Starts one thread per port; when the system refuses a thread, the ports started so far are
// stopped and the others are reported as not run.
std::vector<std::thread> StartPorts(const Options& options, ProgressBoard* board, StopSignal& stop,
                                    DoneCounter& done, std::vector<PortResult>& results) {
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < results.size(); ++i) {
        try {
            workers.emplace_back([&options, &stop, &done, &results, board, i] {
                RunBuffered(options, i, board, stop.StopFd(), results[i]);
                done.Post();
            });
        } catch (const std::system_error& error) {
            stop.Stop();
            for (std::size_t rest = i; rest < results.size(); ++rest) {
                results[rest] = {options.comNumbers[rest], ExitStatus::kFailure, "",
                                 std::string("veltaro-cli: not run: cannot start a thread: ") +
                                     error.what() + "\n"};
            }
            break;
        }
    }
    return workers;
}

ExitStatus RunMany(const Options& options, StopSignal& stop, std::ostream& out, std::ostream& err,
                   TerminalWatch* terminal) {
    std::vector<std::string> labels;
    for (const std::string& number : options.comNumbers) {
        labels.push_back("COM" + number);
    }
    ProgressBoard board(err, labels, terminal);
    std::vector<PortResult> results(options.comNumbers.size());
    DoneCounter done;
    std::vector<std::thread> workers =
        StartPorts(options, terminal != nullptr ? &board : nullptr, stop, done, results);
    AwaitPorts(stop, done, workers.size(), terminal, terminal != nullptr ? &board : nullptr);
    for (std::thread& worker : workers) {
        worker.join();
    }
    PrintGroups(options, results, out, err);
    // A refused thread stops the run too, but that is no interruption.
    const bool interrupted = stop.Stopped() && workers.size() == results.size();
    if (const std::string summary = FailureSummary(results); !summary.empty()) {
        err << "veltaro-cli: " << summary << '\n' << std::flush;
        return interrupted ? ExitStatus::kInterrupted : ExitStatus::kSomePortsFailed;
    }
    if (!out) {
        err << "veltaro-cli: cannot write to standard output: " << std::strerror(errno) << '\n'
            << std::flush;
        return ExitStatus::kOutputFailed;
    }
    return ExitStatus::kOk;
}

}  // namespace

std::string FailureSummary(const std::vector<PortResult>& results) {
    std::string failed;
    std::size_t count = 0;
    for (const PortResult& result : results) {
        if (result.status == ExitStatus::kOk) {
            continue;
        }
        ++count;
        failed += "\n  COM" + result.comNumber + ": status " + std::to_string(Code(result.status)) +
                  ", " + LastError(result.err);
    }
    if (count == 0) {
        return {};
    }
    return std::to_string(count) + " of " + std::to_string(results.size()) +
           " ports failed:" + failed;
}

std::string PortsJson(const std::vector<PortResult>& results) {
    std::string json = "[";
    for (std::size_t i = 0; i < results.size(); ++i) {
        const PortResult& result = results[i];
        const std::string_view info = Trim(result.out);
        json += i == 0 ? "\n" : ",\n";
        json += "{\"com\": " + std::to_string(std::stoi(result.comNumber)) +
                ", \"exit_status\": " + std::to_string(Code(result.status)) + ", \"error\": " +
                (result.err.empty() ? "null" : JsonString(LastError(result.err))) +
                ",\n \"info\": " + (info.empty() ? "null" : std::string(info)) + "}";
    }
    return json + "\n]\n";
}

ExitStatus RunOnPorts(const Options& options, StopSignal& stop, std::ostream& out,
                      std::ostream& err, TerminalWatch* terminal) {
    return options.comNumbers.size() == 1 ? RunOne(options, stop, out, err, terminal)
                                          : RunMany(options, stop, out, err, terminal);
}

}  // namespace veltaro::cli
