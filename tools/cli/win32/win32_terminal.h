#pragma once

#include <windows.h>

#include "platform.h"

namespace veltaro::cli {

// Standard error as the display of the progress lines on Windows. Only a console that acts
// on virtual-terminal sequences shows them (Windows 10 and later; Wine's console on a
// terminal); one that would print them as text (an older Windows, Wine's console window)
// gets the plain lines alone, and a file or pipe none. The console's mode is switched
// once, here, and put back when the program ends.
class Win32Terminal final : public ProgressTerminal {
  public:
    // handle: not owned; standard error for the program.
    explicit Win32Terminal(HANDLE handle);
    ~Win32Terminal() override;

    Win32Terminal(const Win32Terminal&) = delete;
    Win32Terminal& operator=(const Win32Terminal&) = delete;

    bool TakesProgress() const override { return m_takesProgress; }
    TerminalSize Size() const override;

  private:
    HANDLE m_handle;
    bool m_console = false;
    DWORD m_originalMode = 0;
    bool m_takesProgress = false;
};

}  // namespace veltaro::cli
