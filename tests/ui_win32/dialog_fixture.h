#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "quistor_dlg.h"

namespace veltaro::ui::test {

// Handles every queued message of this thread, as the dialog's message loop would.
void Pump();

// The main dialog, created modeless on the program's own templates (linked into the test
// program), so that a test drives it message by message.
class Win32DialogTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    HWND Ctl(int id) const { return GetDlgItem(hwnd, id); }
    std::wstring Text(int id) const;
    bool Enabled(int id) const { return IsWindowEnabled(Ctl(id)) != FALSE; }
    // Where a control stands in the dialog's client area.
    RECT RectInDialog(HWND control) const;
    RECT RectInDialog(int id) const { return RectInDialog(Ctl(id)); }
    // Types text into a control as keystrokes would arrive (WM_CHAR), so that the edit
    // raises its real EN_CHANGE notifications.
    void Type(int id, const std::wstring& text);
    void Click(int id);
    // The console text of a modem arriving: put into the receive queue, then the
    // data-arrived message, as the watcher does.
    void Receive(const std::string& bytes);

    std::unique_ptr<CQuistorDlg> dialog;
    HWND hwnd = nullptr;
};

}  // namespace veltaro::ui::test
