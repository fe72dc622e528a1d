#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "exit_status.h"
#include "options.h"
#include "platform.h"
#include "stop_signal.h"

namespace veltaro::cli {

// What one port's run left: its status, and its output and errors kept together.
struct PortResult {
    std::string comNumber;
    ExitStatus status = ExitStatus::kFailure;
    std::string out;
    std::string err;  // "veltaro-cli: ..." lines
};

// Runs the command on every port of options.comNumbers, each on its own connection and
// thread, all at once; waits for termination signals meanwhile and stops every connection
// on one. One port: its output and errors go straight to `out` and `err`, with the usual
// status line. Several: one status line per port while they run (on a terminal), then
// each port's result as a group, in the order given, and a summary of the failures.
// Returns the port's own status for one port; for several, kOk when all succeeded,
// kInterrupted when stopped by a signal, else kSomePortsFailed. `terminal` is the terminal
// on `err`, or null when it is none; the status lines follow its size.
ExitStatus RunOnPorts(const Options& options, StopSignal& stop, std::ostream& out,
                      std::ostream& err, const ProgressTerminal* terminal);

// The summary line for several ports, or empty when all succeeded.
std::string FailureSummary(const std::vector<PortResult>& results);

// One port's object: {"com", "exit_status", "error", "info": {...}} for info; for set the
// members that set printed ("model", "check", "changed", "settings", "before", "after")
// follow "error".
nlohmann::ordered_json PortJson(const PortResult& result, Command command);

// The JSON array of `info --json` or `set --json` on several ports: one object per port.
std::string PortsJson(const std::vector<PortResult>& results, Command command);

}  // namespace veltaro::cli
