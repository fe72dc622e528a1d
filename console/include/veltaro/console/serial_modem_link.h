#pragma once

#include <cstdint>
#include <string>

#include "brenlow/serial_conn.h"
#include "veltaro/console/modem_link.h"

namespace veltaro::console {

// The modem link over a real serial connection: every call forwards to the connection, and
// pauses really sleep the calling thread.
//
// Ownership: the connection belongs to the caller (the dialog holds it by value) and must
// outlive this object. Threads: user-interface thread only, like the connection's owner
// operations; the receive queue is drained here as its single consumer.
class SerialModemLink final : public ModemLink {
  public:
    explicit SerialModemLink(CSerialConn& connection) : m_connection(connection) {}

    int OpenPort(const std::string& portName, std::uint32_t baudRate, std::uint8_t byteSize,
                 std::uint8_t stopBits, std::uint8_t parity) override;
    void ClosePort() override;
    // sendData; its result is not looked at, as the console never checks a send.
    void SendText(const std::string& text) override;
    // WriteComm of the single byte.
    void WriteByte(unsigned char byte) override;
    // Sleeps the calling thread; 0 or less returns at once.
    void Pause(int milliseconds) override;
    int QueueSize() override;
    int QueueGetByte(unsigned char* out) override;

  private:
    CSerialConn& m_connection;
};

}  // namespace veltaro::console
