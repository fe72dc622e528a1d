#pragma once

#include <cstdint>
#include <string>

namespace veltaro::console {

// What the modem configuration needs of the serial connection. The real link wraps
// CSerialConn and a real sleep; tests use a recording link that keeps pauses as data.
// All calls come from the user-interface thread.
class ModemLink {
  public:
    virtual ~ModemLink() = default;

    // CSerialConn::OpenPort; 1 on success, else 0.
    virtual int OpenPort(const std::string& portName, std::uint32_t baudRate, std::uint8_t byteSize,
                         std::uint8_t stopBits, std::uint8_t parity) = 0;
    // CSerialConn::ClosePort.
    virtual void ClosePort() = 0;
    // sendData: one key, value or line end.
    virtual void SendText(const std::string& text) = 0;
    // WriteComm of one byte (the ESC byte).
    virtual void WriteByte(unsigned char byte) = 0;
    // Sleep of the calling thread.
    virtual void Pause(int milliseconds) = 0;
    // The receive queue: GetSize and GetByte.
    virtual int QueueSize() = 0;
    virtual int QueueGetByte(unsigned char* out) = 0;
};

}  // namespace veltaro::console
