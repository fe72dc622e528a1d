#pragma once

#include <cstdint>

#include "event_pump.h"

namespace veltaro::cli {

// The event pump on POSIX: the watcher's messages count up an eventfd, and the wait polls
// it together with the stop signal's descriptor.
class PosixEventPump final : public EventPump {
  public:
    // stopFd: readable once the run must stop; not owned.
    explicit PosixEventPump(int stopFd);
    ~PosixEventPump() override;

    PosixEventPump(const PosixEventPump&) = delete;
    PosixEventPump& operator=(const PosixEventPump&) = delete;

    bool Ready() const override { return m_eventFd >= 0 && m_stopFd >= 0; }
    void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    Wake Wait(int timeoutMs) override;

  private:
    int m_eventFd = -1;
    int m_stopFd = -1;
};

}  // namespace veltaro::cli
