#include "event_pump.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <array>
#include <csignal>

namespace veltaro::cli {
namespace {

sigset_t TerminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

void BlockTerminationSignals() {
    const sigset_t set = TerminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

EventPump::EventPump() {
    m_eventFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const sigset_t set = TerminationSignals();
    m_signalFd = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

EventPump::~EventPump() {
    if (m_eventFd >= 0) {
        close(m_eventFd);
    }
    if (m_signalFd >= 0) {
        close(m_signalFd);
    }
}

void EventPump::Post(std::uint32_t message, std::uintptr_t, std::intptr_t) {
    if (message != kDataArrived || m_eventFd < 0) {
        return;
    }
    const std::uint64_t one = 1;
    // Only fails when the counter would overflow, which a watcher cannot reach.
    [[maybe_unused]] const ssize_t written = write(m_eventFd, &one, sizeof one);
}

EventPump::Wake EventPump::Wait(int timeoutMs) {
    std::array<pollfd, 2> fds{pollfd{m_eventFd, POLLIN, 0}, pollfd{m_signalFd, POLLIN, 0}};
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
    if ((fds[1].revents & POLLIN) != 0) {
        signalfd_siginfo info{};
        if (read(m_signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            wake.signal = static_cast<int>(info.ssi_signo);
        }
    }
    return wake;
}

void MessageCollector::ShowMessage(const std::string& text, const std::string& detail) {
    const std::lock_guard lock(m_mutex);
    m_messages.push_back({text, detail});
}

std::vector<MessageCollector::Message> MessageCollector::Take() {
    const std::lock_guard lock(m_mutex);
    std::vector<Message> taken;
    taken.swap(m_messages);
    return taken;
}

}  // namespace veltaro::cli
