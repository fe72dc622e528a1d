#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace veltaro::ui {

// The progress of Save's reading and of Apply: a small window owned by the main dialog with
// what is being sent, a progress bar and Cancel. The owner is disabled while it shows, as a
// modal box would do, but its messages (screens arriving, the steps' timer, painting) go on.
// Cancel and the close box only ask: the owner cancels the run and closes the window when
// the run has ended.
//
// Threads: user-interface thread only.
class ApplyProgressWnd {
  public:
    static constexpr int kTextId = 101;
    static constexpr int kBarId = 102;

    ApplyProgressWnd() = default;
    ~ApplyProgressWnd();
    ApplyProgressWnd(const ApplyProgressWnd&) = delete;
    ApplyProgressWnd& operator=(const ApplyProgressWnd&) = delete;

    // Shows the window over `owner` and disables the owner; onCancel runs on Cancel.
    bool Open(HWND owner, std::function<void()> onCancel);
    void ShowStep(const std::wstring& text, int done, int total);
    void ShowCancelling();
    // Enables the owner again and destroys the window.
    void Close();
    HWND Handle() const { return m_hWnd; }

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void AddControls();

    HWND m_hWnd = nullptr;
    HWND m_owner = nullptr;
    std::function<void()> m_onCancel;
};

}  // namespace veltaro::ui
