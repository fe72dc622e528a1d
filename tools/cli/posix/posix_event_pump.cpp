#include "posix_event_pump.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>

namespace veltaro::cli {
PosixEventPump::PosixEventPump(int stopFd) : m_stopFd(stopFd) {
    m_eventFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

PosixEventPump::~PosixEventPump() {
    if (m_eventFd >= 0) {
        close(m_eventFd);
    }
}

void PosixEventPump::Post(std::uint32_t message, std::uintptr_t, std::intptr_t) {
    if (message != kDataArrived || m_eventFd < 0) {
        return;
    }
    const std::uint64_t one = 1;
    // Only fails when the counter would overflow, which a watcher cannot reach.
    [[maybe_unused]] const ssize_t written = write(m_eventFd, &one, sizeof one);
}

EventPump::Wake PosixEventPump::Wait(int timeoutMs) {
    std::array<pollfd, 2> fds{pollfd{m_eventFd, POLLIN, 0}, pollfd{m_stopFd, POLLIN, 0}};
    Wake wake;
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0) {
        return wake;  // timed out, or a signal that is not ours interrupted the wait
    }
    if ((fds[0].revents & POLLIN) != 0) {
        std::uint64_t count = 0;
        if (read(m_eventFd, &count, sizeof count) == static_cast<ssize_t>(sizeof count)) {
            wake.messages = count;
        }
    }
    // Never read: it stays readable for every other connection too.
    wake.stopped = (fds[1].revents & POLLIN) != 0;
    return wake;
}

}  // namespace veltaro::cli
