#include "posix_stop_signal.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdint>

#include "posix_event_pump.h"

namespace veltaro::cli {
namespace {

// A dropped SSH session sends SIGHUP: it ends a run like Ctrl-C, with the port restored.
// SIGWINCH (the terminal was resized) arrives here too, but only wakes the main thread, so
// that the progress lines follow the new size; blocked, it interrupts no system call.
sigset_t TerminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    sigaddset(&set, SIGWINCH);
    return set;
}

bool Readable(int fd) {
    pollfd one{fd, POLLIN, 0};
    return poll(&one, 1, 0) == 1 && (one.revents & POLLIN) != 0;
}

void Count(int fd) {
    const std::uint64_t one = 1;
    // Only fails when the counter would overflow; it stays readable either way.
    [[maybe_unused]] const ssize_t written = write(fd, &one, sizeof one);
}

}  // namespace

void BlockTerminationSignals() {
    const sigset_t set = TerminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

PosixStopSignal::PosixStopSignal() {
    const sigset_t set = TerminationSignals();
    m_signalFd = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
    m_stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

PosixStopSignal::~PosixStopSignal() {
    for (const int fd : {m_signalFd, m_stopFd, m_wakeFd}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void PosixStopSignal::Stop() {
    Count(m_stopFd);
}

bool PosixStopSignal::Stopped() const {
    return Readable(m_stopFd);
}

void PosixStopSignal::Wake() {
    Count(m_wakeFd);
}

bool PosixStopSignal::WaitForSignal(int timeoutMs) {
    std::array<pollfd, 2> fds{pollfd{m_signalFd, POLLIN, 0}, pollfd{m_wakeFd, POLLIN, 0}};
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0) {
        return false;
    }
    if ((fds[1].revents & POLLIN) != 0) {
        std::uint64_t wakes = 0;  // reading resets the count: one wait takes them all
        [[maybe_unused]] const ssize_t taken = read(m_wakeFd, &wakes, sizeof wakes);
    }
    bool terminate = false;
    signalfd_siginfo info{};
    while ((fds[0].revents & POLLIN) != 0 &&
           read(m_signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        terminate = terminate || info.ssi_signo != SIGWINCH;
    }
    if (terminate) {
        Stop();
    }
    return terminate;
}

std::unique_ptr<EventPump> PosixStopSignal::MakePump() {
    return std::make_unique<PosixEventPump>(m_stopFd);
}

}  // namespace veltaro::cli
