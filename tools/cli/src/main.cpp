// veltaro-cli: the modem configuration of Veltaro from a terminal.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "exit_status.h"
#include "options.h"
#include "port_list.h"
#include "port_runs.h"
#include "profile.h"
#include "same_device.h"
#include "stop_signal.h"
#include "terminal_watch_posix.h"
#include "text_util.h"

#ifndef VELTARO_CLI_VERSION
#define VELTARO_CLI_VERSION "unknown"
#endif

namespace {

using veltaro::cli::Code;
using veltaro::cli::Command;
using veltaro::cli::ExitStatus;

void Complain(const std::string& message) {
    std::cerr << "veltaro-cli: " << message << '\n' << std::flush;
}

// A standard descriptor that is closed would be the next one open() returns: the serial
// port would then be standard output, and results would go to the modem as keystrokes.
// Returns false when standard output itself was closed.
bool HoldStandardDescriptors() {
    bool outputOpen = true;
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            outputOpen = outputOpen && fd != STDOUT_FILENO;
            if (open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) != fd) {
                return false;
            }
        }
    }
    return outputOpen;
}

// --help, --version and ports print and end; the output must have arrived.
ExitStatus Print(const std::string& text) {
    std::cout << text << std::flush;
    if (!std::cout) {
        Complain(std::string("cannot write to standard output: ") + std::strerror(errno));
        return ExitStatus::kOutputFailed;
    }
    return ExitStatus::kOk;
}

ExitStatus RunCommand(veltaro::cli::Options& options) {
    if (options.command == Command::kPorts) {
        const veltaro::cli::PortsReport report =
            veltaro::cli::ListPorts(veltaro::cli::DefaultListingPlaces(), options.json);
        if (!report.problem.empty()) {
            Complain(report.problem);
        }
        const ExitStatus printed = Print(report.text);
        return printed == ExitStatus::kOk && !report.problem.empty() ? ExitStatus::kPortDirFailed
                                                                     : printed;
    }
    if (const std::string twice =
            veltaro::cli::SameDeviceTwice(options.comNumbers, veltaro::cli::SystemPortDevice);
        !twice.empty()) {
        Complain(twice);
        return ExitStatus::kUsage;
    }
    if (!options.profilePath.empty()) {
        veltaro::cli::ProfileLoad loaded = veltaro::cli::LoadProfile(options.profilePath);
        if (!loaded.error.empty()) {
            Complain(veltaro::cli::TerminalSafe(loaded.error) + "; nothing is sent");
            return loaded.status;
        }
        options.settings = veltaro::cli::MergeSettings(loaded.items, options.settings);
    }
    // Before any thread starts, so that only the stop signal's descriptor takes them.
    veltaro::cli::BlockTerminationSignals();
    veltaro::cli::StopSignal stop;
    if (!stop.Ready()) {
        Complain("cannot set up the signal handling (signalfd/eventfd)");
        return ExitStatus::kFailure;
    }
    std::optional<veltaro::cli::PosixTerminalWatch> terminal;
    if (isatty(STDERR_FILENO) == 1) {
        terminal.emplace(STDERR_FILENO);
    }
    return RunOnPorts(options, stop, std::cout, std::cerr, terminal ? &*terminal : nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    // A closed pipe is reported as a failed write, so the port is still restored and closed.
    std::signal(SIGPIPE, SIG_IGN);
    const bool outputOpen = HoldStandardDescriptors();
    const std::vector<std::string> args(argv + 1, argv + argc);
    veltaro::cli::OptionsParse parsed = veltaro::cli::ParseOptions(args);
    if (!parsed.error.empty()) {
        std::cerr << "veltaro-cli: " << veltaro::cli::TerminalSafe(parsed.error)
                  << "\nTry 'veltaro-cli --help'.\n";
        return Code(parsed.status);
    }
    if (!outputOpen) {
        Complain("standard output is closed; nothing is done");
        return Code(ExitStatus::kOutputFailed);
    }
    if (parsed.options.help) {
        return Code(Print(veltaro::cli::HelpText("veltaro-cli")));
    }
    if (parsed.options.version) {
        return Code(Print("veltaro-cli " VELTARO_CLI_VERSION "\n"));
    }
    return Code(RunCommand(parsed.options));
}
