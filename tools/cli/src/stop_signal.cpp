#include "stop_signal.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdint>
#include <vector>

namespace veltaro::cli {
namespace {

// A dropped SSH session sends SIGHUP: it ends a run like Ctrl-C, with the port restored.
sigset_t TerminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

bool Readable(int fd) {
    pollfd one{fd, POLLIN, 0};
    return poll(&one, 1, 0) == 1 && (one.revents & POLLIN) != 0;
}

}  // namespace

void BlockTerminationSignals() {
    const sigset_t set = TerminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

StopSignal::StopSignal() {
    const sigset_t set = TerminationSignals();
    m_signalFd = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
    m_stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

StopSignal::~StopSignal() {
    for (const int fd : {m_signalFd, m_stopFd}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void StopSignal::Stop() {
    const std::uint64_t one = 1;
    // Only fails when the counter would overflow; it stays readable either way.
    [[maybe_unused]] const ssize_t written = write(m_stopFd, &one, sizeof one);
}

bool StopSignal::Stopped() const {
    return Readable(m_stopFd);
}

bool StopSignal::WaitForSignal(int wakeFd, int timeoutMs) {
    return WaitForSignal(std::span<const int>(&wakeFd, 1), timeoutMs);
}

bool StopSignal::WaitForSignal(std::span<const int> wakeFds, int timeoutMs) {
    std::vector<pollfd> fds{pollfd{m_signalFd, POLLIN, 0}};
    for (const int fd : wakeFds) {
        fds.push_back(pollfd{fd, POLLIN, 0});  // poll passes over a negative descriptor
    }
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0 || (fds[0].revents & POLLIN) == 0) {
        return false;
    }
    signalfd_siginfo info{};
    if (read(m_signalFd, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) {
        return false;
    }
    Stop();
    return true;
}

}  // namespace veltaro::cli
