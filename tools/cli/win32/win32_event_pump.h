#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "event_pump.h"

namespace veltaro::cli {

// The event pump on Windows: the watcher's messages count up and set an event, and the
// wait takes it together with the stop signal's event.
class Win32EventPump final : public EventPump {
  public:
    // stopEvent: a manual-reset event that is set once the run must stop; not owned.
    explicit Win32EventPump(HANDLE stopEvent);
    ~Win32EventPump() override;

    Win32EventPump(const Win32EventPump&) = delete;
    Win32EventPump& operator=(const Win32EventPump&) = delete;

    bool Ready() const override { return m_event != nullptr && m_stopEvent != nullptr; }
    void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    Wake Wait(int timeoutMs) override;

  private:
    HANDLE m_event;  // auto-reset: one wait takes every message posted before it
    HANDLE m_stopEvent;
    std::atomic<std::uint64_t> m_messages{0};
};

}  // namespace veltaro::cli
