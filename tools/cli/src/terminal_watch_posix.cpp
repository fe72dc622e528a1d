#include "terminal_watch_posix.h"

#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>

namespace veltaro::cli {

PosixTerminalWatch::PosixTerminalWatch(int terminalFd) : m_terminalFd(terminalFd) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGWINCH);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    m_signalFd = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

PosixTerminalWatch::~PosixTerminalWatch() {
    if (m_signalFd >= 0) {
        close(m_signalFd);
    }
}

TerminalSize PosixTerminalWatch::Size() const {
    winsize size{};
    if (ioctl(m_terminalFd, TIOCGWINSZ, &size) != 0) {
        return {};
    }
    return {size.ws_col, size.ws_row};
}

bool PosixTerminalWatch::TakeResize() {
    bool resized = false;
    signalfd_siginfo info{};
    while (m_signalFd >= 0 && read(m_signalFd, &info, sizeof info) == sizeof info) {
        resized = true;
    }
    return resized;
}

}  // namespace veltaro::cli
