// veltaro-cli: the modem configuration of Veltaro from a terminal.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "exit_status.h"
#include "options.h"
#include "port_list.h"
#include "port_runs.h"
#include "stop_signal.h"
#include "text_util.h"
#include "veltaro/console/profile.h"

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
        return Print(veltaro::cli::ListPorts(veltaro::cli::DefaultListingPlaces(), options.json));
    }
    if (!options.profilePath.empty()) {
        const veltaro::console::ProfileRead loaded =
            veltaro::console::LoadProfile(options.profilePath);
        if (!loaded.Ok()) {
            Complain(veltaro::cli::TerminalSafe(loaded.error) + "; nothing is sent");
            return loaded.fault == veltaro::console::ProfileFault::kUnsendable
                       ? ExitStatus::kValueRefused
                       : ExitStatus::kUsage;
        }
        options.settings = veltaro::console::MergeSettings(loaded.items, options.settings);
    }
    // Before any thread starts, so that only the stop signal's descriptor takes them.
    veltaro::cli::BlockTerminationSignals();
    veltaro::cli::StopSignal stop;
    if (!stop.Ready()) {
        Complain("cannot set up the signal handling (signalfd/eventfd)");
        return ExitStatus::kFailure;
    }
    const ExitStatus status =
        RunOnPorts(options, stop, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
    return status;
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
