#pragma once

// Terminal settings for a serial line: raw mode (8-bit clean, reads that never block) with
// the requested baud rate, data bits, stop bits and parity. Hardware flow control stays as
// the port had it.

#include <termios.h>

#include <optional>

#include "serial_device.h"

namespace brenlow::detail {

// The platform speed code for a baud rate; nothing for a rate this platform cannot set.
[[nodiscard]] std::optional<speed_t> SpeedForBaudRate(std::uint32_t baudRate);

// current with raw mode and the line settings applied; nothing when the settings cannot be
// expressed here (baud rate 0 or unknown, data bits outside 5 to 8, one and a half stop
// bits, parity code above 4).
[[nodiscard]] std::optional<termios> MakeLineTermios(const termios& current,
                                                     const LineSettings& settings);

// Whether the device took what was asked: the driver may silently keep settings it cannot
// do, so what was applied is read back and compared on every field raw mode sets.
[[nodiscard]] bool TookLineTermios(const termios& wanted, const termios& actual);

}  // namespace brenlow::detail
