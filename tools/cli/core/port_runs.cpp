#include "port_runs.h"

#include <atomic>
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
#include "veltaro/console/profile.h"

namespace veltaro::cli {
namespace {

// Counts finished ports for the main thread, which waits for them beside the signals.
class DoneCounter {
  public:
    explicit DoneCounter(StopSignal& stop) : m_stop(stop) {}

    std::size_t Count() const { return m_count.load(); }
    void Post() {
        ++m_count;
        m_stop.Wake();
    }

  private:
    StopSignal& m_stop;
    std::atomic<std::size_t> m_count{0};
};

ExitStatus RunCommand(const std::string& comNumber, const Options& options, std::ostream& out,
                      std::ostream& err, ProgressPrinter& printer, StopSignal& stop) {
    Session session(comNumber, err, printer, stop);
    if (!session.Ready()) {
        session.Error("cannot set up the event loop");
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

// Waits for `count` ports to finish; a signal meanwhile stops them all. Each wake-up (a
// port finished, the terminal's size changed) redraws the board when its frame changed.
void AwaitPorts(StopSignal& stop, const DoneCounter& done, std::size_t count,
                ProgressBoard* board) {
    while (done.Count() < count) {
        static_cast<void>(stop.WaitForSignal(-1));
        if (board != nullptr) {
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

// set --json: one object that carries the port's status and last message, so the port's
// output and errors are kept until it ends.
bool WrapsEachPort(const Options& options) {
    return options.json && options.command == Command::kSet;
}

ExitStatus RunOne(const Options& options, StopSignal& stop, std::ostream& out, std::ostream& err,
                  const ProgressTerminal* terminal) {
    DoneCounter done(stop);
    PortResult result{options.comNumbers.front(), ExitStatus::kFailure, {}, {}};
    std::ostringstream keptOut;
    std::ostringstream keptErr;
    const bool wrap = WrapsEachPort(options);
    // log prints the screens on standard output; a status line beside it would only interfere.
    ProgressPrinter printer(err, terminal != nullptr && options.command != Command::kLog, terminal);
    std::thread worker([&] {
        result.status = RunCommand(result.comNumber, options, wrap ? keptOut : out,
                                   wrap ? keptErr : err, printer, stop);
        done.Post();
    });
    AwaitPorts(stop, done, 1, nullptr);
    worker.join();
    if (wrap) {
        result.out = keptOut.str();
        result.err = keptErr.str();
        err << result.err << std::flush;
        out << console::DumpJson(PortJson(result, Command::kSet)) << std::flush;
    }
    return result.status;
}

void PrintGroups(const Options& options, const std::vector<PortResult>& results, std::ostream& out,
                 std::ostream& err) {
    if (options.json) {
        out << PortsJson(results, options.command) << std::flush;
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
void RunBuffered(const Options& options, std::size_t slot, ProgressBoard* board, StopSignal& stop,
                 PortResult& result) {
    result.comNumber = options.comNumbers[slot];
    std::ostringstream portOut;
    std::ostringstream portErr;
    {
        ProgressPrinter printer = board != nullptr ? ProgressPrinter(portErr, *board, slot)
                                                   : ProgressPrinter(portErr, false);
        result.status = RunCommand(result.comNumber, options, portOut, portErr, printer, stop);
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
                RunBuffered(options, i, board, stop, results[i]);
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
                   const ProgressTerminal* terminal) {
    std::vector<std::string> labels;
    for (const std::string& number : options.comNumbers) {
        labels.push_back("COM" + number);
    }
    ProgressBoard board(err, labels, terminal);
    std::vector<PortResult> results(options.comNumbers.size());
    DoneCounter done(stop);
    std::vector<std::thread> workers =
        StartPorts(options, terminal != nullptr ? &board : nullptr, stop, done, results);
    AwaitPorts(stop, done, workers.size(), terminal != nullptr ? &board : nullptr);
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

nlohmann::ordered_json PortJson(const PortResult& result, Command command) {
    using Json = nlohmann::ordered_json;
    Json port = Json::object();
    port["com"] = std::stoi(result.comNumber);
    port["exit_status"] = Code(result.status);
    port["error"] =
        result.err.empty() ? Json(nullptr) : console::BytesToJson(LastError(result.err));
    // The command printed its own JSON; a port that printed nothing has null there.
    Json printed = Json::parse(result.out, nullptr, false);
    if (command == Command::kInfo) {
        port["info"] = printed.is_discarded() ? Json(nullptr) : std::move(printed);
    } else if (printed.is_object()) {
        port.update(printed);
    } else {
        // The port did not get as far as set: nothing was read or sent.
        port.update(Json{{"model", nullptr},
                         {"check", false},
                         {"changed", false},
                         {"settings", Json::object()},
                         {"before", nullptr},
                         {"after", nullptr}});
    }
    return port;
}

std::string PortsJson(const std::vector<PortResult>& results, Command command) {
    nlohmann::ordered_json ports = nlohmann::ordered_json::array();
    for (const PortResult& result : results) {
        ports.push_back(PortJson(result, command));
    }
    return console::DumpJson(ports);
}

ExitStatus RunOnPorts(const Options& options, StopSignal& stop, std::ostream& out,
                      std::ostream& err, const ProgressTerminal* terminal) {
    return options.comNumbers.size() == 1 ? RunOne(options, stop, out, err, terminal)
                                          : RunMany(options, stop, out, err, terminal);
}

}  // namespace veltaro::cli
