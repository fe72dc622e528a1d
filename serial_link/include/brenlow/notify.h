#pragma once

#include <cstdint>
#include <string>

#include "brenlow/export.h"

// The owner's side of a connection's notifications. Implemented by the application.

// Receives the data-arrived message (0x401, 0, 0) from the watcher thread. Post must be
// safe to call from any thread and must not block: it should queue the message for the
// owner's user-interface thread and return.
class BRENLOW_API CNotifyTarget {
  public:
    static constexpr std::uint32_t kDataArrived = 0x401;  // WM_USER + 1

    virtual void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;

  protected:
    ~CNotifyTarget() = default;
};

// Shows the library's message boxes ("Cannot Open port", "Error while creating
// ThreadWatchComm" + port name). text is the box's text exactly; detail says why, for
// users who need to fix it (may be empty). Both are UTF-8 on every platform (the system's
// own texts included), whatever the code page of the program. Called from the
// user-interface thread by OpenPort and from the watcher thread by the watcher, so an
// implementation must be safe to call from any thread and should hand the box to its
// user-interface thread.
class BRENLOW_API CMessageBoxHook {
  public:
    virtual void ShowMessage(const std::string& text, const std::string& detail) = 0;

  protected:
    ~CMessageBoxHook() = default;
};
