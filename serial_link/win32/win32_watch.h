#pragma once

#include "serial_device.h"
#include "unique_handle.h"

namespace brenlow::detail {

// The watcher's wait on Win32: an overlapped WaitCommEvent on an event of its own, waited
// for together with a wake event. A wait without a completion record on a port opened for
// overlapped I/O may report completion wrongly, so every wait here has one. Wake signals
// the wake event and clears the port's event mask, which ends a wait in progress; the wake
// event is never reset, so once woken every later wait and pause ends at once.
class Win32Watch final : public PortWatch {
  public:
    // Sets the port's event mask to EV_RXCHAR; null with a reason when that or an event
    // fails. port stays owned by the device, which outlives this watch.
    [[nodiscard]] static std::unique_ptr<PortWatch> Create(HANDLE port, std::string& reason);

    Win32Watch(HANDLE port, UniqueHandle waitEvent, UniqueHandle wakeEvent)
        : m_port(port), m_waitEvent(std::move(waitEvent)), m_wakeEvent(std::move(wakeEvent)) {}

    [[nodiscard]] WaitResult WaitForCharacters() override;
    void Pause(std::chrono::milliseconds pause) override;
    void Wake() override;
    [[nodiscard]] std::string GoneReason() const override;

  private:
    [[nodiscard]] bool Woken() const;
    // One overlapped WaitCommEvent; 0 with the events seen, or the failure's error code.
    [[nodiscard]] DWORD WaitOnce(DWORD& events);
    void EndPendingWait(OVERLAPPED& record);
    [[nodiscard]] WaitResult AfterFailedWait();

    HANDLE m_port;
    UniqueHandle m_waitEvent;
    UniqueHandle m_wakeEvent;
    DWORD m_goneError = 0;  // what the status query failed with once the device was gone
};

// Whether a failure code says that the device itself is gone (a USB adapter pulled), as
// opposed to a transfer or a wait that failed on a device that is still there.
[[nodiscard]] bool SaysDeviceGone(DWORD error);

}  // namespace brenlow::detail
