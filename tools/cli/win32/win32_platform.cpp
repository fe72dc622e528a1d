#include "win32_platform.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "win32_stop_signal.h"

namespace veltaro::cli {

Win32Platform::Win32Platform() : m_terminal(GetStdHandle(STD_ERROR_HANDLE)) {}

Win32Platform::~Win32Platform() {
    if (m_consoleCodePage != 0) {
        SetConsoleOutputCP(m_consoleCodePage);
    }
}

// A handle that Windows gives out cannot become standard output the way a descriptor can on
// POSIX, so a closed one is only reported. The streams are made binary: the output is the
// same bytes as on Linux (LF line ends, which every console and editor of today shows),
// and a profile written with `> radio.json` reads back alike on both systems.
bool Win32Platform::PrepareStandardStreams() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const bool outputOpen = output != nullptr && output != INVALID_HANDLE_VALUE &&
                            _get_osfhandle(_fileno(stdout)) != -2 &&
                            _get_osfhandle(_fileno(stdout)) != -1;
    for (FILE* stream : {stdout, stderr}) {
        if (_fileno(stream) >= 0) {
            _setmode(_fileno(stream), _O_BINARY);
        }
    }
    // Everything printed is UTF-8 (names from the system, Brenlow's reasons); a console shows
    // it as such only in that code page, not in the ANSI one it starts with.
    m_consoleCodePage = GetConsoleOutputCP();
    if (m_consoleCodePage != 0 && m_consoleCodePage != CP_UTF8) {
        SetConsoleOutputCP(CP_UTF8);
    } else {
        m_consoleCodePage = 0;
    }
    return outputOpen;
}

std::unique_ptr<StopSignal> Win32Platform::MakeStopSignal(std::string& reason) {
    auto stop = std::make_unique<Win32StopSignal>();
    if (!stop->Ready()) {
        reason = "SetConsoleCtrlHandler/CreateEvent";
        return nullptr;
    }
    return stop;
}

}  // namespace veltaro::cli
