#pragma once

namespace veltaro::console {

// A one-shot timer that the window lends to the console, so that a long run of commands
// waits between keystrokes without holding the window's thread. The window calls the
// owner's timer handler (ApplyRunner::OnTimer) on its own thread once the time has passed.
//
// Threads: user-interface thread only.
class StepTimer {
  public:
    virtual ~StepTimer() = default;

    // Arms the timer for `milliseconds` (0: as soon as the current event has been handled),
    // replacing any pending one.
    virtual void StartStepTimer(int milliseconds) = 0;
    // Disarms it; no call follows.
    virtual void StopStepTimer() = 0;
};

}  // namespace veltaro::console
