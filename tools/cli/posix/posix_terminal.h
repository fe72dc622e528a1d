#pragma once

#include "platform.h"

namespace veltaro::cli {

// A descriptor as the display of the progress lines: a terminal takes them, anything else
// (a file, a pipe, /dev/null) does not.
class PosixTerminal final : public ProgressTerminal {
  public:
    // fd: not owned; standard error for the program.
    explicit PosixTerminal(int fd) : m_fd(fd) {}

    bool TakesProgress() const override;
    TerminalSize Size() const override;

  private:
    int m_fd;
};

}  // namespace veltaro::cli
