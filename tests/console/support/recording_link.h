#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "event_log.h"
#include "veltaro/console/modem_link.h"

namespace veltaro::console::testing {

// A modem link without a port: it records opens, closes, sends, bytes and pauses into the
// shared event log (a pause is data, never a sleep) and plays a receive queue that tests
// fill with Receive. The queue has no capacity limit, unlike the real one.
class RecordingLink : public ModemLink {
  public:
    explicit RecordingLink(EventLog& log) : m_log(log) {}

    int OpenPort(const std::string& portName, std::uint32_t baudRate, std::uint8_t byteSize,
                 std::uint8_t stopBits, std::uint8_t parity) override;
    void ClosePort() override;
    void SendText(const std::string& text) override;
    void WriteByte(unsigned char byte) override;
    void Pause(int milliseconds) override;
    int QueueSize() override;
    int QueueGetByte(unsigned char* out) override;

    // What OpenPort returns from now on (1 at first).
    void SetOpenResult(int result) { m_openResult = result; }
    bool IsOpen() const { return m_open; }
    // Bytes as the modem would send them, waiting for the next data-arrived message.
    void Receive(std::string_view bytes);
    std::size_t Pending() const { return m_queue.size(); }
    // Everything sent and written so far, concatenated as it went over the line.
    const std::string& Wire() const { return m_wire; }

  private:
    EventLog& m_log;
    std::deque<unsigned char> m_queue;
    std::string m_wire;
    int m_openResult = 1;
    bool m_open = false;
};

}  // namespace veltaro::console::testing
