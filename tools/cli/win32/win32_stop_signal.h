#pragma once

#include <windows.h>

#include <memory>

#include "stop_signal.h"

namespace veltaro::cli {

// The stop signal on Windows. Ctrl-C, Ctrl-Break, closing the console window, logging off
// and shutting down arrive through the console's control handler, which Windows runs on a
// thread of its own; they end a run as SIGINT does on POSIX. For the last three Windows ends
// the process as soon as the handler returns, so the handler waits (up to 4.5 s of the 5 s
// Windows allows) until this object is destroyed: by then every port has been closed.
//
// One instance at a time. Threads: as StopSignal; the handler on the system's thread.
class Win32StopSignal final : public StopSignal {
  public:
    Win32StopSignal();
    ~Win32StopSignal() override;

    Win32StopSignal(const Win32StopSignal&) = delete;
    Win32StopSignal& operator=(const Win32StopSignal&) = delete;

    [[nodiscard]] bool Ready() const;
    void Stop() override;
    bool Stopped() const override;
    void Wake() override;
    bool WaitForSignal(int timeoutMs) override;
    std::unique_ptr<EventPump> MakePump() override;

  private:
    HANDLE m_stop;  // manual-reset: set once and for all
    HANDLE m_wake;  // auto-reset
    bool m_handlerInstalled = false;
};

}  // namespace veltaro::cli
