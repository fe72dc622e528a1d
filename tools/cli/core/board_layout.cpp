#include "board_layout.h"

#include <algorithm>
#include <array>

namespace veltaro::cli {
namespace {

TerminalSize Known(TerminalSize size) {
    return {size.columns == 0 ? kDefaultTerminal.columns : size.columns,
            size.rows == 0 ? kDefaultTerminal.rows : size.rows};
}

std::string Summary(std::span<const BoardRow> rows) {
    using State = BoardRow::State;
    static constexpr std::array<std::pair<State, std::string_view>, 3> kStates{
        {{State::kRunning, "running"}, {State::kDone, "done"}, {State::kFailed, "failed"}}};
    std::string line = std::to_string(rows.size()) + " ports:";
    const char* separator = " ";
    for (const auto& [state, name] : kStates) {
        const BoardRow::State counted = state;  // a lambda cannot capture a binding in clang 14
        const auto count = std::count_if(rows.begin(), rows.end(), [counted](const BoardRow& row) {
            return row.state == counted;
        });
        if (count > 0) {
            line += separator + std::to_string(count) + " " + std::string(name);
            separator = ", ";
        }
    }
    return line;
}

}  // namespace

std::string FitToWidth(std::string_view line, std::size_t columns) {
    const std::size_t width = columns == 0 ? 0 : columns - 1;
    return std::string(line.substr(0, width));
}

std::vector<std::string> BoardLines(std::span<const BoardRow> rows, TerminalSize size) {
    const TerminalSize known = Known(size);
    std::vector<std::string> lines;
    if (rows.empty()) {
        return lines;
    }
    if (rows.size() >= known.rows) {
        lines.push_back(FitToWidth(Summary(rows), known.columns));
        return lines;
    }
    for (const BoardRow& row : rows) {
        lines.push_back(FitToWidth(row.label + ": " + row.text, known.columns));
    }
    return lines;
}

}  // namespace veltaro::cli
