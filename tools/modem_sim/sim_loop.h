// The simulator's one loop: waits on the pseudo-terminal master and a signal descriptor,
// feeds every received byte to the trace and the console, and sends the console's answers
// through the output line. Runs on the main thread until a signal or the hang-up time.
#pragma once

#include <optional>

#include "modem_console.h"
#include "output_line.h"
#include "pty_device.h"
#include "trace_writer.h"

namespace modem_sim {

struct LoopParts {
    PtyDevice& pty;
    ModemConsole& console;
    OutputLine& line;
    TraceWriter* trace;  // may be null
    bool mute;
    std::optional<Clock::time_point> hang_up_at;
    int signal_fd;
};

enum class LoopEnd { signal, hang_up, failure };

// Returns why the loop ended. A hang-up has closed the pseudo-terminal by then.
[[nodiscard]] LoopEnd run_loop(LoopParts parts);

}  // namespace modem_sim
