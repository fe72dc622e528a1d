// veltaro-cli from its arguments to its exit status, on any platform.
#include "program.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "exit_status.h"
#include "options.h"
#include "port_runs.h"
#include "same_device.h"
#include "text_util.h"
#include "veltaro/console/profile.h"

namespace {

using veltaro::cli::Code;
using veltaro::cli::Command;
using veltaro::cli::ExitStatus;

void Complain(const std::string& message) {
    std::cerr << "veltaro-cli: " << message << '\n' << std::flush;
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

// The listing, and what kept part of it from being read (the listing is still printed).
ExitStatus RunPorts(veltaro::cli::PortSource& ports, bool json) {
    const std::string listing = veltaro::cli::FormatPorts(ports.FindPorts(), json);
    const std::string problem = ports.ListingProblem();
    if (!problem.empty()) {
        Complain(problem);
    }
    const ExitStatus printed = Print(listing);
    return printed == ExitStatus::kOk && !problem.empty() ? ExitStatus::kPortDirFailed : printed;
}

ExitStatus RunCommand(veltaro::cli::Platform& platform, veltaro::cli::Options& options) {
    if (options.command == Command::kPorts) {
        return RunPorts(platform.Ports(), options.json);
    }
    if (const std::string twice = veltaro::cli::SameDeviceTwice(
            options.comNumbers,
            [&platform](const std::string& number) { return platform.Ports().DeviceOf(number); });
        !twice.empty()) {
        Complain(twice);
        return ExitStatus::kUsage;
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
    std::string reason;
    const std::unique_ptr<veltaro::cli::StopSignal> stop = platform.MakeStopSignal(reason);
    if (stop == nullptr) {
        Complain("cannot set up the signal handling (" + reason + ")");
        return ExitStatus::kFailure;
    }
    const veltaro::cli::ProgressTerminal& terminal = platform.ErrorTerminal();
    return RunOnPorts(options, *stop, std::cout, std::cerr,
                      terminal.TakesProgress() ? &terminal : nullptr);
}

}  // namespace

int veltaro::cli::RunProgram(Platform& platform, std::span<const std::string> args) {
    const bool outputOpen = platform.PrepareStandardStreams();
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
    return Code(RunCommand(platform, parsed.options));
}
