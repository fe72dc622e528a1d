#include "posix_watch.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <string>
#include <system_error>
#include <utility>

namespace brenlow::detail {

namespace {

constexpr short kGoneEvents = POLLHUP | POLLERR | POLLNVAL;

std::string DescribeGone(short events) {
    if ((events & POLLHUP) != 0) {
        return "The device hung up (POLLHUP); nothing more can be read from it.";
    }
    if ((events & POLLERR) != 0) {
        return "The device reported an error (POLLERR).";
    }
    return "The device's descriptor is no longer valid (POLLNVAL).";
}

}  // namespace

WaitResult PosixWatch::Gone(std::string reason) {
    m_goneReason = std::move(reason);
    return WaitResult::kGone;
}

std::unique_ptr<PortWatch> PosixWatch::Create(int portFd, std::string& reason) {
    UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake.Valid()) {
        reason = "eventfd: " + std::generic_category().message(errno);
        return nullptr;
    }
    return std::make_unique<PosixWatch>(portFd, std::move(wake));
}

WaitResult PosixWatch::WaitForCharacters() {
    std::array<pollfd, 2> fds = {pollfd{m_portFd, POLLIN, 0}, pollfd{m_wakeFd.Get(), POLLIN, 0}};
    for (;;) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            // The wait itself broke: stop rather than spin.
            return Gone("waiting on the device failed: " + std::generic_category().message(errno));
        }
        if (fds[1].revents != 0) {
            return WaitResult::kWoken;
        }
        if ((fds[0].revents & kGoneEvents) != 0) {
            return Gone(DescribeGone(fds[0].revents));
        }
        if ((fds[0].revents & POLLIN) != 0) {
            return WaitResult::kCharacters;
        }
    }
}

void PosixWatch::Pause(std::chrono::milliseconds pause) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + pause;
    pollfd wake{m_wakeFd.Get(), POLLIN, 0};
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return;
        }
        const int ready = ::poll(&wake, 1, static_cast<int>(left));
        if (ready > 0 || (ready < 0 && errno != EINTR)) {
            return;  // woken, or the pause cannot be kept: either way it is over
        }
    }
}

void PosixWatch::Wake() {
    const std::uint64_t one = 1;
    // Cannot fail short of a counter overflow, which billions of wakes would need; a
    // failed write would leave the counter readable anyway, so the result is not acted on.
    [[maybe_unused]] const ssize_t written = ::write(m_wakeFd.Get(), &one, sizeof one);
}

}  // namespace brenlow::detail
