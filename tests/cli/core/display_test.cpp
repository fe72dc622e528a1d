// The progress display on terminals of every size: which lines it draws, and what a
// terminal shows after its redraws.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "board_layout.h"
#include "progress.h"

namespace veltaro::cli {
namespace {

std::vector<BoardRow> Running(std::size_t ports, const std::string& text) {
    std::vector<BoardRow> rows;
    for (std::size_t i = 0; i < ports; ++i) {
        rows.push_back({"COM" + std::to_string(i + 1), text, BoardRow::State::kRunning});
    }
    return rows;
}

TEST(BoardLayout, OneLinePerPortWhileTheyFitElseOneSummaryAndNoLineWraps) {
    const std::string text = "setting channel: sent \"2\", pause 500 ms";
    const struct {
        std::size_t ports;
        TerminalSize size;
        std::vector<std::string> lines;
    } cases[] = {
        {2, {80, 24}, {"COM1: " + text, "COM2: " + text}},
        {2, {30, 24}, {"COM1: setting channel: sent \"", "COM2: setting channel: sent \""}},
        {3,
         {30, 4},
         {"COM1: setting channel: sent \"", "COM2: setting channel: sent \"",
          "COM3: setting channel: sent \""}},
        {4, {30, 4}, {"4 ports: 4 running"}},  // a row stays free for the cursor
        {8, {100, 6}, {"8 ports: 8 running"}},
        {8, {12, 6}, {"8 ports: 8 "}},
        {2, {0, 0}, {"COM1: " + text, "COM2: " + text}},  // unknown: 80 x 24
        {30, {0, 0}, {"30 ports: 30 running"}},
        {2, {1, 24}, {"", ""}},
        {0, {80, 24}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.ports) + " ports on " + std::to_string(c.size.columns) +
                     " x " + std::to_string(c.size.rows));
        EXPECT_EQ(BoardLines(Running(c.ports, text), c.size), c.lines);
    }
    std::vector<BoardRow> mixed = Running(5, "x");
    mixed[1].state = BoardRow::State::kDone;
    mixed[3].state = BoardRow::State::kFailed;
    mixed[4].state = BoardRow::State::kDone;
    EXPECT_EQ(BoardLines(mixed, {80, 5}),
              std::vector<std::string>{"5 ports: 2 running, 2 done, 1 failed"});
}

// A terminal as far as the board uses it: printable ASCII, CR, LF, cursor up, erase line,
// erase below; lines wrap at the width and the screen scrolls at the bottom. Resizing cuts
// lines and, when rows go, scrolls the top away so that the cursor stays on screen.
class Screen {
  public:
    Screen(std::size_t columns, std::size_t rows) : m_columns(columns), m_lines(rows) {}

    void Resize(std::size_t columns, std::size_t rows) {
        while (m_row >= rows) {
            m_lines.erase(m_lines.begin());
            --m_row;
        }
        m_lines.resize(rows);
        m_columns = columns;
        for (std::string& line : m_lines) {
            line.resize(std::min(line.size(), columns));
        }
        m_column = std::min(m_column, columns - 1);
    }

    void Feed(const std::string& bytes) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\x1b') {
                i = Escape(bytes, i + 2);
            } else if (bytes[i] == '\r') {
                m_column = 0;
            } else if (bytes[i] == '\n') {
                m_column = 0;  // the terminal driver sends CR LF for it (ONLCR)
                LineFeed();
            } else {
                Put(bytes[i]);
            }
        }
    }

    // The rows that hold text, top to bottom.
    std::vector<std::string> Shown() const {
        std::vector<std::string> shown;
        std::copy_if(m_lines.begin(), m_lines.end(), std::back_inserter(shown),
                     [](const std::string& line) { return !line.empty(); });
        return shown;
    }

  private:
    std::size_t Escape(const std::string& bytes, std::size_t at) {
        std::size_t count = 0;
        for (; std::isdigit(static_cast<unsigned char>(bytes[at])) != 0; ++at) {
            count = count * 10 + static_cast<std::size_t>(bytes[at] - '0');
        }
        if (bytes[at] == 'A') {
            m_row -= std::min(m_row, std::max<std::size_t>(count, 1));
        } else if (bytes[at] == 'K') {
            m_lines[m_row].resize(std::min(m_lines[m_row].size(), m_column));
        } else if (bytes[at] == 'J') {
            m_lines[m_row].resize(std::min(m_lines[m_row].size(), m_column));
            std::fill(m_lines.begin() + static_cast<std::ptrdiff_t>(m_row) + 1, m_lines.end(), "");
        }
        return at;
    }
    void LineFeed() {
        if (++m_row == m_lines.size()) {
            m_lines.erase(m_lines.begin());
            m_lines.emplace_back();
            --m_row;
        }
    }
    void Put(char c) {
        if (m_column == m_columns) {
            m_column = 0;
            LineFeed();
        }
        std::string& line = m_lines[m_row];
        line.resize(std::max(line.size(), m_column + 1), ' ');
        line[m_column++] = c;
    }

    std::size_t m_columns;
    std::vector<std::string> m_lines;
    std::size_t m_row = 0;
    std::size_t m_column = 0;
};

class FixedTerminal final : public ProgressTerminal {
  public:
    TerminalSize size;
    [[nodiscard]] bool TakesProgress() const override { return true; }
    [[nodiscard]] TerminalSize Size() const override { return size; }
};

// After any sequence of updates and resizes the terminal shows exactly the last frame below
// what was printed before: no wrapped, doubled or stale status lines.
TEST(ProgressBoard, TerminalShowsTheLastFrameWhateverItsSize) {
    struct Step {
        TerminalSize size;
        std::size_t ports;  // each port gets a new status this long, then the board redraws
        std::size_t length;
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"4 ports, 30 columns", {{{30, 24}, 4, 100}}},
        {"4 ports, 4 rows", {{{80, 4}, 4, 20}}},
        {"8 ports, 100 x 6", {{{100, 6}, 8, 120}}},
        {"wide, then narrow", {{{80, 24}, 3, 70}, {{30, 24}, 3, 70}}},
        {"tall, then short", {{{100, 24}, 8, 40}, {{100, 6}, 8, 40}}},
        {"short, then tall", {{{100, 6}, 8, 40}, {{100, 24}, 8, 40}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TerminalSize first = c.steps.front().size;
        Screen screen(first.columns, first.rows);
        screen.Feed("before\n");
        FixedTerminal terminal;
        std::ostringstream out;
        std::vector<std::string> labels;
        for (std::size_t i = 0; i < c.steps.front().ports; ++i) {
            labels.push_back("COM" + std::to_string(i + 1));
        }
        ProgressBoard board(out, labels, &terminal);
        std::vector<BoardRow> rows = Running(labels.size(), "");
        for (const Step& step : c.steps) {
            terminal.size = step.size;
            screen.Resize(step.size.columns, step.size.rows);
            board.Refresh();
            for (std::size_t i = 0; i < labels.size(); ++i) {
                rows[i].text = std::string(step.length, static_cast<char>('a' + i));
                board.Set(i, rows[i].text);
            }
            screen.Feed(out.str());
            out.str("");
        }
        std::vector<std::string> shown = screen.Shown();
        if (!shown.empty() && shown.front() == "before") {
            shown.erase(shown.begin());
        }
        EXPECT_EQ(shown, BoardLines(rows, c.steps.back().size));
        board.Set(0, rows[0].text);  // the same frame again is not sent again
        EXPECT_EQ(out.str(), "");
    }
}

}  // namespace
}  // namespace veltaro::cli
