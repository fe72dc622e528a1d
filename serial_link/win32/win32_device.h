#pragma once

#include <optional>

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
// A failing step closes what the earlier ones opened. Closing (the destructor) purges the
// input side, and the output side only when DrainOutput gave up on it, gives the port back
// the line settings it had, and closes.
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
    [[nodiscard]] bool DrainOutput(std::uint32_t timeoutPerByteMs) override;
    [[nodiscard]] std::unique_ptr<PortWatch> CreateWatch(std::string& reason) override;

  private:
    Win32SerialDevice(UniqueHandle readEvent, UniqueHandle writeEvent)
        : m_readEvent(std::move(readEvent)), m_writeEvent(std::move(writeEvent)) {}

    [[nodiscard]] bool Prepare(const std::string& name, const LineSettings& settings,
                               OpenFailure& failure);
    [[nodiscard]] std::uint32_t Complete(OVERLAPPED& record, BOOL started);

    // Declared first, closed last: the port goes before the events its transfers used.
    UniqueHandle m_readEvent;
    UniqueHandle m_writeEvent;
    std::optional<DCB> m_saved;  // the port's settings before ours
    bool m_undrained = false;    // DrainOutput gave up: what is left is discarded
    UniqueHandle m_port;
};

}  // namespace brenlow::detail
