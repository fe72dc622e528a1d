#pragma once

#include <cstddef>

namespace veltaro::cli {

// A terminal's size in character cells; 0 where it is not known.
struct TerminalSize {
    std::size_t columns = 0;
    std::size_t rows = 0;
};

// The terminal that the progress display draws on, and the news that its size changed.
// The platform provides it (a window-size query and SIGWINCH on POSIX systems).
//
// Threads: Size from any thread; ResizeFd and TakeResize from the thread that waits for
// the ports (the main thread).
class TerminalWatch {
  public:
    virtual ~TerminalWatch() = default;

    // The size now.
    [[nodiscard]] virtual TerminalSize Size() const = 0;
    // A descriptor that becomes readable when the size changed; -1 when there is none, and
    // the size is then only read again at the next redraw.
    [[nodiscard]] virtual int ResizeFd() const = 0;
    // Takes the news of a change; true when there was one since the last call.
    virtual bool TakeResize() = 0;
};

}  // namespace veltaro::cli
