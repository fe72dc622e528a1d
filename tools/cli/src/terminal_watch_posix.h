#pragma once

#include "terminal_size.h"

namespace veltaro::cli {

// The terminal on a descriptor (standard error): its size from TIOCGWINSZ, and SIGWINCH
// through a signal descriptor. The constructor blocks SIGWINCH in the calling thread, and so
// in every thread it starts afterwards: build it before the first thread, as the stop signal.
// A blocked SIGWINCH interrupts no system call anywhere in the program.
class PosixTerminalWatch final : public TerminalWatch {
  public:
    explicit PosixTerminalWatch(int terminalFd);
    ~PosixTerminalWatch() override;

    PosixTerminalWatch(const PosixTerminalWatch&) = delete;
    PosixTerminalWatch& operator=(const PosixTerminalWatch&) = delete;

    [[nodiscard]] TerminalSize Size() const override;
    [[nodiscard]] int ResizeFd() const override { return m_signalFd; }
    bool TakeResize() override;

  private:
    int m_terminalFd;
    int m_signalFd = -1;
};

}  // namespace veltaro::cli
