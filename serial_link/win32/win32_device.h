#pragma once

#include "serial_device.h"
#include "unique_handle.h"

namespace brenlow::detail {

// A serial device opened through the Win32 communications API. Opening, in this order:
//   1. the read and the write completion records' events;
//   2. CreateFileA for reading and writing, not shared, existing devices only, overlapped;
//   3. event mask EV_RXCHAR, driver queues of 4192 bytes each, purge of both directions;
//   4. timeouts: reads return at once with what has arrived, writes get 19200 / baud ms
//      per byte;
//   5. the line settings: baud rate, byte size, parity and stop bits change, every other
//      setting of the port stays.
// A failing step closes what the earlier ones opened. Closing (the destructor) lets what
// was written drain, within a bounded wait, then purges only the input side and closes.
class Win32SerialDevice final : public SerialDevice {
  public:
    [[nodiscard]] static std::unique_ptr<SerialDevice> Open(const std::string& name,
                                                            const LineSettings& settings,
                                                            OpenFailure& failure);
    ~Win32SerialDevice() override;

    Win32SerialDevice(const Win32SerialDevice&) = delete;
    Win32SerialDevice& operator=(const Win32SerialDevice&) = delete;

    // The port's own write timeouts bound a write; timeoutMs says the same and is not used.
    [[nodiscard]] std::uint32_t Write(const unsigned char* data, std::uint32_t length,
                                      std::uint64_t timeoutMs) override;
    [[nodiscard]] std::uint32_t Read(unsigned char* buffer, std::uint32_t capacity) override;
    [[nodiscard]] std::unique_ptr<PortWatch> CreateWatch(std::string& reason) override;
    // Waits within the line's own time limit (DrainTimeLimitMs), which bounds the wait as
    // the per-byte limit would.
    [[nodiscard]] bool DrainOutput(std::uint32_t timeoutPerByteMs) override;

  private:
    Win32SerialDevice(UniqueHandle readEvent, UniqueHandle writeEvent, std::uint32_t baudRate)
        : m_readEvent(std::move(readEvent)),
          m_writeEvent(std::move(writeEvent)),
          m_baudRate(baudRate) {}

    [[nodiscard]] bool Prepare(const std::string& name, const LineSettings& settings,
                               OpenFailure& failure);
    [[nodiscard]] std::uint32_t Complete(OVERLAPPED& record, BOOL started);
    void DrainOutput();

    // Declared first, closed last: the port goes before the events its transfers used.
    UniqueHandle m_readEvent;
    UniqueHandle m_writeEvent;
    std::uint32_t m_baudRate;
    UniqueHandle m_port;
};

// How long closing waits for queued bytes to leave: the write time limit for them, and at
// least the time the line needs for them (10 bits a byte) and a tenth of a second.
[[nodiscard]] std::uint32_t DrainTimeLimitMs(std::uint32_t baudRate, std::uint32_t queued);

}  // namespace brenlow::detail
