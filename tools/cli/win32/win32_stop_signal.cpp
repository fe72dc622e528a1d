#include "win32_stop_signal.h"

#include <array>

#include "win32_event_pump.h"

namespace veltaro::cli {
namespace {

// What the handler thread and the main thread share. Made once and never closed, so that a
// handler still running while the program ends finds them valid.
struct ConsoleRequests {
    HANDLE request = CreateEventW(nullptr, FALSE, FALSE, nullptr);  // auto-reset
    HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);  // manual-reset
};

ConsoleRequests& Requests() {
    static ConsoleRequests requests;
    return requests;
}

// How long the handler of a closing console holds the process for the ports to close.
constexpr DWORD kCloseGraceMs = 4500;

BOOL WINAPI OnConsoleControl(DWORD type) {
    switch (type) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            SetEvent(Requests().request);
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            SetEvent(Requests().request);
            WaitForSingleObject(Requests().finished, kCloseGraceMs);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

Win32StopSignal::Win32StopSignal()
    : m_stop(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    ResetEvent(Requests().finished);
    ResetEvent(Requests().request);
    // A process started in a new process group inherits Ctrl-C as ignored; a run must
    // still stop on it.
    SetConsoleCtrlHandler(nullptr, FALSE);
    m_handlerInstalled = SetConsoleCtrlHandler(OnConsoleControl, TRUE) != 0;
}

Win32StopSignal::~Win32StopSignal() {
    // Made last in the run and destroyed first after it: every port is closed by now.
    SetEvent(Requests().finished);
    if (m_handlerInstalled) {
        SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    }
    for (const HANDLE handle : {m_stop, m_wake}) {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
}

bool Win32StopSignal::Ready() const {
    return m_stop != nullptr && m_wake != nullptr && Requests().request != nullptr &&
           Requests().finished != nullptr && m_handlerInstalled;
}

void Win32StopSignal::Stop() {
    SetEvent(m_stop);
}

bool Win32StopSignal::Stopped() const {
    return WaitForSingleObject(m_stop, 0) == WAIT_OBJECT_0;
}

void Win32StopSignal::Wake() {
    SetEvent(m_wake);
}

bool Win32StopSignal::WaitForSignal(int timeoutMs) {
    // The request first: when both are set, the wait names the lower index.
    const std::array<HANDLE, 2> handles{Requests().request, m_wake};
    const DWORD limit = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
    if (WaitForMultipleObjects(handles.size(), handles.data(), FALSE, limit) != WAIT_OBJECT_0) {
        return false;
    }
    Stop();
    return true;
}

std::unique_ptr<EventPump> Win32StopSignal::MakePump() {
    return std::make_unique<Win32EventPump>(m_stop);
}

}  // namespace veltaro::cli
