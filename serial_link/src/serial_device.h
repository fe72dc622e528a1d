#pragma once

// The platform seam of Brenlow. The portable connection (serial_conn.cpp, watcher.cpp)
// talks to a device only through these interfaces; each platform folder (posix/ now,
// win32/ later) implements them and OpenSerialDevice.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "brenlow/serial_conn.h"

namespace brenlow::detail {

// The arguments of OpenPort that describe the line, in the platform's device-control
// codes: stopBits 0 = one, 1 = one and a half, 2 = two; parity 0 none, 1 odd, 2 even,
// 3 mark, 4 space.
struct LineSettings {
    std::uint32_t baudRate = 0;
    std::uint8_t byteSize = 0;
    std::uint8_t stopBits = 0;
    std::uint8_t parity = 0;
};

// Why a device could not be opened: the kind the owner can act on, and a sentence for the
// user that names the device and carries the system's own message.
struct OpenFailure {
    CSerialConn::OpenError kind = CSerialConn::OpenError::kNone;
    std::string reason;
};

// What ended the watcher's wait.
enum class WaitResult {
    kCharacters,  // received characters are waiting
    kWoken,       // Wake was called
    kGone,        // the device hung up or failed; it will deliver nothing more
};

// The watcher's blocking wait. Made by the owner's thread before the watcher starts and
// destroyed after the watcher was joined, so Wake never meets a destroyed object.
class PortWatch {
  public:
    virtual ~PortWatch() = default;

    // Watcher thread: blocks until characters arrive, the device goes away, or Wake.
    [[nodiscard]] virtual WaitResult WaitForCharacters() = 0;
    // Watcher thread: sleeps for pause, or less once Wake has been called.
    virtual void Pause(std::chrono::milliseconds pause) = 0;
    // Any thread: ends the current and every later wait and pause at once.
    virtual void Wake() = 0;
    // Watcher thread, after a wait gave kGone: why, in a sentence for the user (what the
    // system reported). Empty when the platform cannot say.
    [[nodiscard]] virtual std::string GoneReason() const { return {}; }
};

// One open serial device, held exclusively. Destroying it empties the receive buffer,
// discards output only if DrainOutput gave up on it, restores the settings the device had
// before, releases the exclusive hold and closes it.
// Write is called by the owner's thread, Read by the watcher, possibly at the same time.
class SerialDevice {
  public:
    virtual ~SerialDevice() = default;

    // Writes up to length bytes; gives up once timeoutMs have passed (0: no time limit).
    // Returns the number of bytes written.
    [[nodiscard]] virtual std::uint32_t Write(const unsigned char* data, std::uint32_t length,
                                              std::uint64_t timeoutMs) = 0;
    // Reads what has arrived, up to capacity bytes, without blocking; 0 on nothing or error.
    [[nodiscard]] virtual std::uint32_t Read(unsigned char* buffer, std::uint32_t capacity) = 0;
    // Owner's thread, just before the device goes: waits until the bytes written so far
    // have left the device, at most timeoutPerByteMs (1 when given 0) for each byte still
    // queued when it starts, so a device that takes nothing cannot hang a close. Returns
    // false when it gave up; the bytes still queued are then discarded on destruction.
    [[nodiscard]] virtual bool DrainOutput(std::uint32_t timeoutPerByteMs) = 0;
    // Makes the watcher's wait machinery for this device; null with a reason on failure.
    [[nodiscard]] virtual std::unique_ptr<PortWatch> CreateWatch(std::string& reason) = 0;
};

// Resolves the port name as the platform does, opens the device exclusively and applies
// the line settings in raw mode. On failure returns null, fills failure, and leaves the
// device as it was, closed.
[[nodiscard]] std::unique_ptr<SerialDevice> OpenSerialDevice(const std::string& portName,
                                                             const LineSettings& settings,
                                                             OpenFailure& failure);

// The write time limit per byte: 19200 / baud rate ms, integer division (2 ms at 9600 baud,
// 0 above 19200 baud, which means no limit).
constexpr std::uint32_t WriteTimeoutPerByteMs(std::uint32_t baudRate) {
    return baudRate == 0 ? 0 : 19200 / baudRate;
}

}  // namespace brenlow::detail
