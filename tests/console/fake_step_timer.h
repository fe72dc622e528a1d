#pragma once

#include "event_log.h"
#include "veltaro/console/step_timer.h"

namespace veltaro::console::testing {

// The window's timer, as a test drives it: every arming is recorded in the shared log as a
// pause of that length, and Fire runs the runner as the window's timer would.
class FakeTimer : public StepTimer {
  public:
    explicit FakeTimer(EventLog& log) : m_log(log) {}
    void StartStepTimer(int milliseconds) override {
        m_log.Add(EventKind::kPause).id = milliseconds;
        armed = true;
        armedMs = milliseconds;
    }
    void StopStepTimer() override { armed = false; }
    bool armed = false;
    int armedMs = 0;

  private:
    EventLog& m_log;
};

}  // namespace veltaro::console::testing
