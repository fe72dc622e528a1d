#include "posix_platform.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "posix_stop_signal.h"

namespace veltaro::cli {

PosixPlatform::PosixPlatform() : m_ports(DefaultListingPlaces()), m_terminal(STDERR_FILENO) {}

// A standard descriptor that is closed would be the next one open() returns: the serial
// port would then be standard output, and results would go to the modem as keystrokes.
bool PosixPlatform::PrepareStandardStreams() {
    // A closed pipe is reported as a failed write, so the port is still restored and closed.
    std::signal(SIGPIPE, SIG_IGN);
    bool outputOpen = true;
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            outputOpen = outputOpen && fd != STDOUT_FILENO;
            if (open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) != fd) {
                return false;
            }
        }
    }
    return outputOpen;
}

std::unique_ptr<StopSignal> PosixPlatform::MakeStopSignal(std::string& reason) {
    // Before any thread starts, so that only the stop signal's descriptor takes them.
    BlockTerminationSignals();
    auto stop = std::make_unique<PosixStopSignal>();
    if (!stop->Ready()) {
        reason = "signalfd/eventfd";
        return nullptr;
    }
    return stop;
}

}  // namespace veltaro::cli
