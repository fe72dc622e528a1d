#include "win32_event_pump.h"

#include <array>

namespace veltaro::cli {

Win32EventPump::Win32EventPump(HANDLE stopEvent)
    : m_event(CreateEventW(nullptr, FALSE, FALSE, nullptr)), m_stopEvent(stopEvent) {}

Win32EventPump::~Win32EventPump() {
    if (m_event != nullptr) {
        CloseHandle(m_event);
    }
}

void Win32EventPump::Post(std::uint32_t message, std::uintptr_t, std::intptr_t) {
    if (message != kDataArrived || m_event == nullptr) {
        return;
    }
    m_messages.fetch_add(1);
    SetEvent(m_event);
}

EventPump::Wake Win32EventPump::Wait(int timeoutMs) {
    const std::array<HANDLE, 2> handles{m_event, m_stopEvent};
    const DWORD limit = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
    Wake wake;
    if (WaitForMultipleObjects(handles.size(), handles.data(), FALSE, limit) == WAIT_TIMEOUT) {
        return wake;
    }
    // The count, not the event, says how many: a Post between the wait and this exchange
    // leaves the event set for the next wait, which then finds nothing new, harmlessly.
    wake.messages = m_messages.exchange(0);
    // Never reset: it stays set for every other connection too.
    wake.stopped = WaitForSingleObject(m_stopEvent, 0) == WAIT_OBJECT_0;
    return wake;
}

}  // namespace veltaro::cli
