// veltaro-cli: the modem configuration of Veltaro from a terminal.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "event_pump.h"
#include "options.h"
#include "progress.h"
#include "session.h"

#ifndef VELTARO_CLI_VERSION
#define VELTARO_CLI_VERSION "unknown"
#endif

namespace {

using veltaro::cli::Code;
using veltaro::cli::Command;
using veltaro::cli::ExitStatus;

ExitStatus RunCommand(const veltaro::cli::Options& options) {
    // Before the watcher thread starts, so that it never takes the signals itself.
    veltaro::cli::BlockTerminationSignals();
    // log prints the screens on standard output; a status line beside it would only interfere.
    const bool progress = isatty(STDERR_FILENO) == 1 && options.command != Command::kLog;
    veltaro::cli::ProgressPrinter printer(std::cerr, progress);
    veltaro::cli::Session session(options.comNumber, std::cerr, printer);
    if (!session.Ready()) {
        session.Error("cannot set up the event loop (eventfd/signalfd)");
        return ExitStatus::kFailure;
    }
    switch (options.command) {
        case Command::kInfo:
            return RunInfo(session, options, std::cout);
        case Command::kSet:
            return RunSet(session, options, std::cout);
        case Command::kLog:
            return RunLog(session, std::cout);
        case Command::kNone:
            break;
    }
    return ExitStatus::kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const veltaro::cli::OptionsParse parsed = veltaro::cli::ParseOptions(args);
    if (!parsed.error.empty()) {
        std::cerr << "veltaro-cli: " << parsed.error << "\nTry 'veltaro-cli --help'.\n";
        return Code(ExitStatus::kUsage);
    }
    if (parsed.options.help) {
        std::cout << veltaro::cli::HelpText("veltaro-cli");
        return Code(ExitStatus::kOk);
    }
    if (parsed.options.version) {
        std::cout << "veltaro-cli " << VELTARO_CLI_VERSION << '\n';
        return Code(ExitStatus::kOk);
    }
    return Code(RunCommand(parsed.options));
}
