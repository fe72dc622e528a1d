#include "recording_link.h"

#include <algorithm>
#include <climits>

namespace veltaro::console::testing {

int RecordingLink::OpenPort(const std::string& portName, std::uint32_t baudRate,
                            std::uint8_t byteSize, std::uint8_t stopBits, std::uint8_t parity) {
    Event& e = m_log.Add(EventKind::kOpenPort);
    e.first = static_cast<int>(baudRate);
    e.second = byteSize;
    e.third = stopBits;
    e.fourth = parity;
    e.text = portName;
    m_open = m_open || m_openResult == 1;
    return m_openResult;
}

void RecordingLink::ClosePort() {
    m_log.Add(EventKind::kClosePort);
    m_open = false;
}

void RecordingLink::SendText(const std::string& text) {
    m_log.Add(EventKind::kSend).text = text;
    m_wire += text;
}

void RecordingLink::WriteByte(unsigned char byte) {
    m_log.Add(EventKind::kWriteByte).id = byte;
    m_wire += static_cast<char>(byte);
}

void RecordingLink::Pause(int milliseconds) {
    m_log.Add(EventKind::kPause).id = milliseconds;
}

int RecordingLink::QueueSize() {
    return static_cast<int>(std::min<std::size_t>(m_queue.size(), INT_MAX));
}

int RecordingLink::QueueGetByte(unsigned char* out) {
    if (m_queue.empty()) {
        return 0;
    }
    *out = m_queue.front();
    m_queue.pop_front();
    return 1;
}

void RecordingLink::Receive(std::string_view bytes) {
    for (const char c : bytes) {
        m_queue.push_back(static_cast<unsigned char>(c));
    }
}

}  // namespace veltaro::console::testing
