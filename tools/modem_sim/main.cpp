// veltaro-modem-sim: a simulated wireless serial modem on a pseudo-terminal, for tests and
// for trying Veltaro without a modem. See --help.
#include <signal.h>
#include <sys/signalfd.h>

#include <cstdio>
#include <optional>
#include <string>

#include "model_catalog.h"
#include "modem_console.h"
#include "output_line.h"
#include "port_entry.h"
#include "pty_device.h"
#include "sim_loop.h"
#include "sim_options.h"
#include "start_settings.h"
#include "trace_writer.h"
#include "unique_fd.h"

namespace {

using namespace modem_sim;

constexpr int kBadUsage = 2;
constexpr int kSetupFailed = 1;

int fail(const std::string& why, int status) {
    std::fprintf(stderr, "veltaro-modem-sim: %s\n", why.c_str());
    if (status == kBadUsage) {
        std::fprintf(stderr, "Try 'veltaro-modem-sim --help'.\n");
    }
    return status;
}

// The ending signals are taken from a descriptor in the loop, so they are blocked first.
UniqueFd open_signal_fd() {
    sigset_t endings;
    sigemptyset(&endings);
    sigaddset(&endings, SIGINT);
    sigaddset(&endings, SIGTERM);
    sigaddset(&endings, SIGHUP);
    if (sigprocmask(SIG_BLOCK, &endings, nullptr) != 0) {
        return UniqueFd();
    }
    ::signal(SIGPIPE, SIG_IGN);
    return UniqueFd(signalfd(-1, &endings, SFD_NONBLOCK | SFD_CLOEXEC));
}

int serve(const SimOptions& options, const ModemSettings& start) {
    UniqueFd signals = open_signal_fd();
    if (!signals.valid()) {
        return fail("cannot set up signal handling", kSetupFailed);
    }
    std::string error;
    std::optional<PtyDevice> pty = PtyDevice::create(error);
    if (!pty) {
        return fail(error, kSetupFailed);
    }
    // Made before the path is printed, so a script that has read the path finds the entry.
    const std::optional<PortEntry> entry =
        options.com_number ? PortEntry::create(*options.com_number, pty->slave_path(), error)
                           : std::nullopt;
    if (options.com_number && !entry) {
        return fail(error, kSetupFailed);
    }
    std::optional<TraceWriter> trace;
    if (!options.trace_path.empty() && !(trace = TraceWriter::open(options.trace_path, error))) {
        return fail(error, kSetupFailed);
    }
    std::optional<TraceWriter> sent_trace;
    if (!options.trace_out_path.empty() &&
        !(sent_trace = TraceWriter::open(options.trace_out_path, error))) {
        return fail(error, kSetupFailed);
    }
    const Clock::time_point started = Clock::now();
    std::printf("%s\n", pty->slave_path().c_str());
    std::fflush(stdout);

    ModemConsole console(options.model, start);
    OutputLine line(pty->master(),
                    LineOptions{!options.fast, options.mute, options.noise_rate, options.seed},
                    sent_trace ? &*sent_trace : nullptr);
    std::optional<Clock::time_point> hang_up_at;
    if (options.hangup_after_ms) {
        hang_up_at = started + std::chrono::milliseconds(*options.hangup_after_ms);
    }
    LoopEnd end = run_loop(LoopParts{*pty, console, line, trace ? &*trace : nullptr, options.mute,
                                     hang_up_at, signals.get()});
    return end == LoopEnd::failure ? fail("waiting on the terminal failed", kSetupFailed) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    ParsedOptions parsed =
        parse_options(std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1)));
    if (!parsed.error.empty()) {
        return fail(parsed.error, kBadUsage);
    }
    const SimOptions& options = parsed.options;
    if (options.help) {
        std::fputs(help_text().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("veltaro-modem-sim %s\n", VELTARO_VERSION);
        return 0;
    }
    const RangeClass range = lookup_model(options.model).range;
    ModemSettings start;
    for (const std::string& assignment : options.assignments) {
        if (std::string error = apply_assignment(start, assignment, range); !error.empty()) {
            return fail(error, kBadUsage);
        }
    }
    if (std::string error = check_settings(start); !error.empty()) {
        return fail(error, kBadUsage);
    }
    return serve(options, start);
}
