#include "win32_watch.h"

#include <algorithm>
#include <array>

#include "open_failure.h"

namespace brenlow::detail {

namespace {

// What a status query or a wait fails with once the device has gone: USB serial drivers
// answer with one of the first five; a port whose device Wine lost answers like a failed
// device.
constexpr std::array<DWORD, 8> kDeviceGone = {
    ERROR_DEVICE_NOT_CONNECTED, ERROR_DEVICE_REMOVED, ERROR_BAD_COMMAND,    ERROR_GEN_FAILURE,
    ERROR_ACCESS_DENIED,        ERROR_NOT_READY,      ERROR_INVALID_HANDLE, ERROR_FILE_NOT_FOUND,
};

}  // namespace

bool SaysDeviceGone(DWORD error) {
    return std::find(kDeviceGone.begin(), kDeviceGone.end(), error) != kDeviceGone.end();
}

std::unique_ptr<PortWatch> Win32Watch::Create(HANDLE port, std::string& reason) {
    UniqueHandle waitEvent = MakeEvent();
    UniqueHandle wakeEvent = MakeEvent();
    if (!waitEvent.Valid() || !wakeEvent.Valid()) {
        reason = "CreateEventA: " + SystemMessage(::GetLastError());
        return nullptr;
    }
    if (!::SetCommMask(port, EV_RXCHAR)) {
        reason = "SetCommMask: " + SystemMessage(::GetLastError());
        return nullptr;
    }
    return std::make_unique<Win32Watch>(port, std::move(waitEvent), std::move(wakeEvent));
}

bool Win32Watch::Woken() const {
    return ::WaitForSingleObject(m_wakeEvent.Get(), 0) == WAIT_OBJECT_0;
}

WaitResult Win32Watch::WaitForCharacters() {
    for (;;) {
        if (Woken()) {
            return WaitResult::kWoken;
        }
        DWORD events = 0;
        const DWORD error = WaitOnce(events);
        if (Woken()) {
            return WaitResult::kWoken;
        }
        if (error != 0) {
            return AfterFailedWait();
        }
        if ((events & EV_RXCHAR) != 0) {
            return WaitResult::kCharacters;
        }
        // Completed without characters: the mask changed under the wait. Wait again.
    }
}

DWORD Win32Watch::WaitOnce(DWORD& events) {
    OVERLAPPED record{};
    record.hEvent = m_waitEvent.Get();
    static_cast<void>(::ResetEvent(m_waitEvent.Get()));
    if (::WaitCommEvent(m_port, &events, &record)) {
        return 0;
    }
    if (const DWORD error = ::GetLastError(); error != ERROR_IO_PENDING) {
        return error;
    }
    const std::array<HANDLE, 2> handles = {m_waitEvent.Get(), m_wakeEvent.Get()};
    if (::WaitForMultipleObjects(handles.size(), handles.data(), FALSE, INFINITE) !=
        WAIT_OBJECT_0) {
        EndPendingWait(record);  // woken: the wait must be over before record and events go
    }
    DWORD ignored = 0;
    if (::GetOverlappedResult(m_port, &record, &ignored, TRUE)) {
        return 0;
    }
    return ::GetLastError();
}

// Clearing the mask ends a pending wait; Wine misses a clear that falls between the start
// of the wait and its registration, so the clear and a cancel are repeated until it ends.
void Win32Watch::EndPendingWait(OVERLAPPED& record) {
    constexpr DWORD kRetryMs = 20;
    do {
        static_cast<void>(::SetCommMask(m_port, 0));
        static_cast<void>(::CancelIoEx(m_port, &record));
    } while (::WaitForSingleObject(m_waitEvent.Get(), kRetryMs) == WAIT_TIMEOUT);
}

// A wait that failed: the device is gone when its status cannot be read either. Otherwise
// what is waiting is read all the same (a platform whose wait fails on this kind of port
// still delivers, a second late), and the watcher pauses before it waits again.
WaitResult Win32Watch::AfterFailedWait() {
    COMSTAT status{};
    if (!::ClearCommError(m_port, nullptr, &status)) {
        const DWORD error = ::GetLastError();
        if (!SaysDeviceGone(error)) {
            return WaitResult::kWoken;
        }
        m_goneError = error;
        return WaitResult::kGone;
    }
    return status.cbInQue != 0 ? WaitResult::kCharacters : WaitResult::kWoken;
}

std::string Win32Watch::GoneReason() const {
    return m_goneError == 0 ? std::string() : "the system reports: " + SystemMessage(m_goneError);
}

void Win32Watch::Pause(std::chrono::milliseconds pause) {
    const auto ms = static_cast<DWORD>(std::clamp<std::chrono::milliseconds::rep>(
        pause.count(), 0, static_cast<std::chrono::milliseconds::rep>(INFINITE - 1)));
    static_cast<void>(::WaitForSingleObject(m_wakeEvent.Get(), ms));
}

void Win32Watch::Wake() {
    static_cast<void>(::SetEvent(m_wakeEvent.Get()));
    static_cast<void>(::SetCommMask(m_port, 0));
}

}  // namespace brenlow::detail
