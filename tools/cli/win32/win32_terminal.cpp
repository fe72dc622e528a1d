#include "win32_terminal.h"

namespace veltaro::cli {

Win32Terminal::Win32Terminal(HANDLE handle) : m_handle(handle) {
    // GetConsoleMode fails for a file, a pipe and the null device.
    m_console = m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE &&
                GetConsoleMode(m_handle, &m_originalMode) != 0;
    if (!m_console) {
        return;
    }
    m_takesProgress = (m_originalMode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
                      SetConsoleMode(m_handle, m_originalMode | ENABLE_PROCESSED_OUTPUT |
                                                   ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

Win32Terminal::~Win32Terminal() {
    if (m_console) {
        SetConsoleMode(m_handle, m_originalMode);
    }
}

TerminalSize Win32Terminal::Size() const {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!m_console || GetConsoleScreenBufferInfo(m_handle, &info) == 0) {
        return {};
    }
    return {static_cast<unsigned>(info.srWindow.Right - info.srWindow.Left + 1),
            static_cast<unsigned>(info.srWindow.Bottom - info.srWindow.Top + 1)};
}

}  // namespace veltaro::cli
