#include "win32_terminal.h"

namespace veltaro::cli {
namespace {

// Whether the console acts on the sequences rather than printing them. A console of Windows
// before 10 refuses the mode; Wine's console window takes it and still prints them, so one
// sequence that moves nothing (erase to the end of the line) is tried: a cursor that moved
// says it was printed, and it is taken back.
bool HonoursSequences(HANDLE console) {
    CONSOLE_SCREEN_BUFFER_INFO before{};
    if (GetConsoleScreenBufferInfo(console, &before) == 0) {
        return false;
    }
    const char probe[] = "\x1b[K";
    DWORD written = 0;
    WriteConsoleA(console, probe, sizeof probe - 1, &written, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO after{};
    GetConsoleScreenBufferInfo(console, &after);
    const COORD at = before.dwCursorPosition;
    if (after.dwCursorPosition.X == at.X && after.dwCursorPosition.Y == at.Y) {
        return true;
    }
    DWORD blanked = 0;
    FillConsoleOutputCharacterA(console, ' ', sizeof probe - 1, at, &blanked);
    SetConsoleCursorPosition(console, at);
    return false;
}

}  // namespace

Win32Terminal::Win32Terminal(HANDLE handle) : m_handle(handle) {
    // GetConsoleMode fails for a file, a pipe and the null device.
    m_console = m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE &&
                GetConsoleMode(m_handle, &m_originalMode) != 0;
    if (!m_console) {
        return;
    }
    m_takesProgress = ((m_originalMode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
                       SetConsoleMode(m_handle, m_originalMode | ENABLE_PROCESSED_OUTPUT |
                                                    ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) &&
                      HonoursSequences(m_handle);
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
