#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform.h"

namespace veltaro::cli {

// What the progress display shows of one port.
struct BoardRow {
    std::string label;  // "COM5"
    std::string text;   // what it is doing, or how it ended
    enum class State { kRunning, kDone, kFailed } state = State::kRunning;
};

// A terminal of unknown size is taken to be this large.
inline constexpr TerminalSize kDefaultTerminal{80, 24};

// `line` cut to fit a terminal `columns` wide without wrapping: the last column stays free,
// since a character there leaves some terminals waiting to wrap. The text is ASCII (the
// display escapes everything else), so a byte is a column.
[[nodiscard]] std::string FitToWidth(std::string_view line, std::size_t columns);

// The lines that show the ports on a terminal of `size` (zeros: unknown): one per port while
// they leave a row free for the cursor, so that the display never scrolls and moving back
// up finds its first line; else a single line that counts the ports by state. Each is cut
// to the width. Pure; any thread.
[[nodiscard]] std::vector<std::string> BoardLines(std::span<const BoardRow> rows,
                                                  TerminalSize size);

}  // namespace veltaro::cli
