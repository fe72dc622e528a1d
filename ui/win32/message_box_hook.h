#pragma once

#include <windows.h>

#include <string>

#include "brenlow/notify.h"

namespace veltaro::ui {

// Shows the serial link's own message boxes ("Cannot Open port", "Error while creating
// ThreadWatchComm" + port name): the text exactly, the reason after a blank line, an OK
// button and no icon, owned by the dialog.
//
// Threads: on the user-interface thread ShowMessage shows the box at once. From the watcher
// it posts the box to the dialog and returns: the watcher must not wait for the user, since
// the user-interface thread may be waiting for the watcher to end (ClosePort).
class Win32MessageBoxHook : public CMessageBoxHook {
  public:
    // The message that carries a posted box; its lParam owns a PostedBox.
    static constexpr UINT kShowBoxMessage = WM_APP + 2;

    // Set once the dialog window exists, before any port is opened.
    void SetOwner(HWND owner);
    void ShowMessage(const std::string& text, const std::string& detail) override;

    // Shows (show = true) or drops a box that kShowBoxMessage carried, and frees it.
    static void TakePosted(HWND owner, LPARAM lParam, bool show);

  private:
    HWND m_owner = nullptr;
    DWORD m_ownerThread = 0;
};

}  // namespace veltaro::ui
