#include "line_settings.h"

#include <array>

namespace brenlow::detail {

namespace {

struct BaudRate {
    std::uint32_t rate;
    speed_t speed;
};

constexpr std::array kBaudRates = {
    BaudRate{50, B50},           BaudRate{75, B75},           BaudRate{110, B110},
    BaudRate{134, B134},         BaudRate{150, B150},         BaudRate{200, B200},
    BaudRate{300, B300},         BaudRate{600, B600},         BaudRate{1200, B1200},
    BaudRate{1800, B1800},       BaudRate{2400, B2400},       BaudRate{4800, B4800},
    BaudRate{9600, B9600},       BaudRate{19200, B19200},     BaudRate{38400, B38400},
    BaudRate{57600, B57600},     BaudRate{115200, B115200},   BaudRate{230400, B230400},
    BaudRate{460800, B460800},   BaudRate{500000, B500000},   BaudRate{576000, B576000},
    BaudRate{921600, B921600},   BaudRate{1000000, B1000000}, BaudRate{1152000, B1152000},
    BaudRate{1500000, B1500000}, BaudRate{2000000, B2000000}, BaudRate{2500000, B2500000},
    BaudRate{3000000, B3000000}, BaudRate{3500000, B3500000}, BaudRate{4000000, B4000000},
};

// Control-flag bits by the codes of OpenPort; an index with no entry is refused.
constexpr std::array<tcflag_t, 4> kDataBits = {CS5, CS6, CS7, CS8};  // byte size 5 to 8
constexpr std::array<std::optional<tcflag_t>, 3> kStopBits = {
    tcflag_t{0},      // 0: one
    std::nullopt,     // 1: one and a half, which termios cannot express
    tcflag_t{CSTOPB}  // 2: two
};
constexpr std::array<tcflag_t, 5> kParity = {
    0,                         // 0: none
    PARENB | PARODD,           // 1: odd
    PARENB,                    // 2: even
    PARENB | CMSPAR | PARODD,  // 3: mark, the parity bit always 1
    PARENB | CMSPAR,           // 4: space, the parity bit always 0
};

// The bits raw mode and the line settings decide; everything else stays as the port had
// it, hardware flow control (CRTSCTS) included.
constexpr tcflag_t kInputOff =
    IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK;
constexpr tcflag_t kOutputOff = OPOST;
constexpr tcflag_t kLocalOff = ECHO | ECHONL | ICANON | ISIG | IEXTEN;
constexpr tcflag_t kControlSet = CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CLOCAL | CREAD;

// A 16550 (the 8250 driver) sends 1.5 stop bits, not 2, when CSTOPB meets 5 data bits, and
// Windows refuses that pair; so does this, rather than report a frame the line does not carry.
constexpr std::uint8_t kFiveBits = 5;
constexpr std::uint8_t kTwoStopBits = 2;

std::optional<tcflag_t> ControlBits(const LineSettings& settings) {
    if (settings.byteSize < 5 || settings.byteSize > 8 || settings.stopBits >= kStopBits.size() ||
        !kStopBits[settings.stopBits] || settings.parity >= kParity.size() ||
        (settings.byteSize == kFiveBits && settings.stopBits == kTwoStopBits)) {
        return std::nullopt;
    }
    return kDataBits[settings.byteSize - 5] | *kStopBits[settings.stopBits] |
           kParity[settings.parity] | CLOCAL | CREAD;
}

}  // namespace

std::optional<speed_t> SpeedForBaudRate(std::uint32_t baudRate) {
    for (const BaudRate& entry : kBaudRates) {
        if (entry.rate == baudRate) {
            return entry.speed;
        }
    }
    return std::nullopt;
}

std::optional<termios> MakeLineTermios(const termios& current, const LineSettings& settings) {
    const std::optional<speed_t> speed = SpeedForBaudRate(settings.baudRate);
    const std::optional<tcflag_t> control = ControlBits(settings);
    if (!speed || !control) {
        return std::nullopt;
    }
    termios wanted = current;
    wanted.c_iflag &= ~kInputOff;
    wanted.c_oflag &= ~kOutputOff;
    wanted.c_lflag &= ~kLocalOff;
    wanted.c_cflag = (wanted.c_cflag & ~kControlSet) | *control;
    wanted.c_cc[VMIN] = 0;  // a read returns at once with what has arrived
    wanted.c_cc[VTIME] = 0;
    if (::cfsetispeed(&wanted, *speed) != 0 || ::cfsetospeed(&wanted, *speed) != 0) {
        return std::nullopt;
    }
    return wanted;
}

bool TookLineTermios(const termios& wanted, const termios& actual) {
    return (actual.c_iflag & kInputOff) == (wanted.c_iflag & kInputOff) &&
           (actual.c_oflag & kOutputOff) == (wanted.c_oflag & kOutputOff) &&
           (actual.c_lflag & kLocalOff) == (wanted.c_lflag & kLocalOff) &&
           (actual.c_cflag & kControlSet) == (wanted.c_cflag & kControlSet) &&
           actual.c_cc[VMIN] == wanted.c_cc[VMIN] && actual.c_cc[VTIME] == wanted.c_cc[VTIME] &&
           ::cfgetispeed(&actual) == ::cfgetispeed(&wanted) &&
           ::cfgetospeed(&actual) == ::cfgetospeed(&wanted);
}

}  // namespace brenlow::detail
