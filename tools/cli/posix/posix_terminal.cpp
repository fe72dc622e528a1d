#include "posix_terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace veltaro::cli {

bool PosixTerminal::TakesProgress() const {
    return isatty(m_fd) == 1;
}

TerminalSize PosixTerminal::Size() const {
    winsize size{};
    if (ioctl(m_fd, TIOCGWINSZ, &size) != 0) {
        return {};
    }
    return {size.ws_col, size.ws_row};
}

}  // namespace veltaro::cli
