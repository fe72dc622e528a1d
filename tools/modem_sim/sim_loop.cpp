#include "sim_loop.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>

namespace modem_sim {
namespace {

// Should the master ever report a hang-up with nothing to read (nobody holds the slave),
// look again after this pause instead of spinning.
constexpr auto kLineDownPause = std::chrono::milliseconds(20);

// Nothing left to wait for but signals: a null timeout makes ppoll wait for ever.
std::optional<timespec> wait_until(std::optional<Clock::time_point> deadline,
                                   Clock::time_point now) {
    if (!deadline) {
        return std::nullopt;
    }
    const auto left = std::max(*deadline - now, Clock::duration::zero());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

std::optional<Clock::time_point> earliest(std::optional<Clock::time_point> a,
                                          std::optional<Clock::time_point> b) {
    if (!a || !b) {
        return a ? a : b;
    }
    return std::min(*a, *b);
}

// Reads what waits on the master; false when the line reports it is down.
bool receive(LoopParts& parts) {
    std::array<unsigned char, 4096> bytes{};
    const ssize_t count = ::read(parts.pty.master(), bytes.data(), bytes.size());
    if (count < 0) {
        return errno == EAGAIN || errno == EINTR;
    }
    if (count == 0) {
        return false;
    }
    const std::span<const unsigned char> received(bytes.data(), static_cast<std::size_t>(count));
    if (parts.trace != nullptr) {
        parts.trace->record(received, steady_milliseconds());
    }
    if (!parts.mute) {
        for (unsigned char byte : received) {
            parts.line.queue(parts.console.receive(byte));
        }
    }
    return true;
}

}  // namespace

LoopEnd run_loop(LoopParts parts) {
    std::optional<Clock::time_point> line_down_until;
    for (;;) {
        Clock::time_point now = Clock::now();
        if (parts.hang_up_at && now >= *parts.hang_up_at) {
            parts.pty.hang_up();
            return LoopEnd::hang_up;
        }
        if (line_down_until && now >= *line_down_until) {
            line_down_until.reset();
        }
        std::array<pollfd, 2> fds{pollfd{parts.signal_fd, POLLIN, 0},
                                  pollfd{line_down_until ? -1 : parts.pty.master(), POLLIN, 0}};
        if (parts.line.waits_for_room()) {
            fds[1].events |= POLLOUT;
        }
        std::optional<timespec> timeout = wait_until(
            earliest(earliest(parts.line.next_due(), parts.hang_up_at), line_down_until), now);
        if (::ppoll(fds.data(), fds.size(), timeout ? &*timeout : nullptr, nullptr) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LoopEnd::failure;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            signalfd_siginfo info{};
            [[maybe_unused]] ssize_t ignored = ::read(parts.signal_fd, &info, sizeof info);
            return LoopEnd::signal;
        }
        if ((fds[1].revents & POLLOUT) != 0) {
            parts.line.on_room();
        }
        const bool readable = (fds[1].revents & POLLIN) != 0;
        const bool down = (fds[1].revents & (POLLHUP | POLLERR)) != 0;
        if ((readable && !receive(parts)) || (!readable && down)) {
            line_down_until = Clock::now() + kLineDownPause;
        }
        parts.line.pump(Clock::now());
    }
}

}  // namespace modem_sim
