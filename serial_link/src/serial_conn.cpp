#include "brenlow/serial_conn.h"

// Placeholder until the POSIX backend lands: every open fails.
CSerialConn::CSerialConn() = default;
CSerialConn::~CSerialConn() = default;
int CSerialConn::OpenPort(std::string, std::uint32_t, std::uint8_t, std::uint8_t, std::uint8_t) {
    return 0;
}
void CSerialConn::ClosePort() {}
std::uint32_t CSerialConn::WriteComm(const unsigned char*, std::uint32_t) { return 0; }
std::uint32_t CSerialConn::ReadComm(unsigned char*, std::uint32_t) { return 0; }
int CSerialConn::sendData(std::string text) { return static_cast<int>(text.size()); }
void CSerialConn::ThreadWatchComm() {}
