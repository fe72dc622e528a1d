#pragma once

#include <windows.h>

namespace veltaro::ui {

// The About box on template 100: icon, version line and its OK button "확인", which
// closes it.
class CAboutDlg {
  public:
    // Runs the box modally over owner.
    static INT_PTR DoModal(HINSTANCE instance, HWND owner);
};

}  // namespace veltaro::ui
