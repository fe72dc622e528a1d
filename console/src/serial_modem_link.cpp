#include "veltaro/console/serial_modem_link.h"

#include <chrono>
#include <thread>

namespace veltaro::console {

int SerialModemLink::OpenPort(const std::string& portName, std::uint32_t baudRate,
                              std::uint8_t byteSize, std::uint8_t stopBits, std::uint8_t parity) {
    return m_connection.OpenPort(portName, baudRate, byteSize, stopBits, parity);
}

void SerialModemLink::ClosePort() {
    m_connection.ClosePort();
}

void SerialModemLink::SendText(const std::string& text) {
    static_cast<void>(m_connection.sendData(text));
}

void SerialModemLink::WriteByte(unsigned char byte) {
    static_cast<void>(m_connection.WriteComm(&byte, 1));
}

void SerialModemLink::Pause(int milliseconds) {
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

int SerialModemLink::QueueSize() {
    return m_connection.m_QueueRead.GetSize();
}

int SerialModemLink::QueueGetByte(unsigned char* out) {
    return m_connection.m_QueueRead.GetByte(out);
}

}  // namespace veltaro::console
