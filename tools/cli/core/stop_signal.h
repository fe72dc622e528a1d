#pragma once

#include <memory>

#include "event_pump.h"

namespace veltaro::cli {

// The one place where termination requests arrive (SIGINT, SIGTERM and SIGHUP on POSIX;
// Ctrl-C, Ctrl-Break and a closed console on Windows), and the flag that tells every
// port's connection to stop. Once Stop ran, every pump's current and later waits end as
// stopped, so any number of connections can watch it.
//
// Threads: Stop, Stopped, Wake and MakePump from any thread; WaitForSignal from the main
// thread only.
class StopSignal {
  public:
    virtual ~StopSignal() = default;

    virtual void Stop() = 0;
    [[nodiscard]] virtual bool Stopped() const = 0;

    // Ends the main thread's current WaitForSignal, or its next one when none runs (a port
    // has finished). Wakes that arrive together end one wait.
    virtual void Wake() = 0;
    // Waits up to timeoutMs (-1: without limit) for a termination request or a Wake. On a
    // request, stops and returns true. A change of standard error's terminal size may end
    // the wait too (returning false), so that the progress lines can follow it.
    virtual bool WaitForSignal(int timeoutMs) = 0;

    // A pump for one connection that also wakes once Stop ran; check its Ready().
    [[nodiscard]] virtual std::unique_ptr<EventPump> MakePump() = 0;
};

}  // namespace veltaro::cli
