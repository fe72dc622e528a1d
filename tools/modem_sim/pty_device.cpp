#include "pty_device.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace modem_sim {
namespace {

std::string failure(const char* step) {
    return std::string(step) + ": " + std::strerror(errno);
}

// 9600 baud 8N1 raw, like the modem's own port; a pseudo-terminal ignores the speed.
bool make_raw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return false;
    }
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

PtyDevice::PtyDevice(UniqueFd master, UniqueFd slave, std::string slave_path)
    : master_(std::move(master)), slave_(std::move(slave)), slave_path_(std::move(slave_path)) {}

std::optional<PtyDevice> PtyDevice::create(std::string& error) {
    UniqueFd master(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!master.valid()) {
        error = failure("posix_openpt");
        return std::nullopt;
    }
    if (grantpt(master.get()) != 0 || unlockpt(master.get()) != 0) {
        error = failure("unlocking the pseudo-terminal");
        return std::nullopt;
    }
    char path[128];
    if (ptsname_r(master.get(), path, sizeof path) != 0) {
        error = failure("ptsname_r");
        return std::nullopt;
    }
    UniqueFd slave(::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!slave.valid()) {
        error = failure(path);
        return std::nullopt;
    }
    if (!make_raw(slave.get())) {
        error = failure("raw mode on the slave");
        return std::nullopt;
    }
    return PtyDevice(std::move(master), std::move(slave), path);
}

void PtyDevice::hang_up() {
    slave_.reset();
    master_.reset();
}

}  // namespace modem_sim
