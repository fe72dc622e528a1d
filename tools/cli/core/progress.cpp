#include "progress.h"

#include <cstdio>

namespace veltaro::cli {

ProgressBoard::ProgressBoard(std::ostream& out, std::vector<std::string> labels,
                             const ProgressTerminal* terminal)
    : m_out(out), m_terminal(terminal) {
    for (std::string& label : labels) {
        m_rows.push_back({std::move(label), {}, BoardRow::State::kRunning});
    }
}

void ProgressBoard::Set(std::size_t slot, std::string_view text) {
    const std::lock_guard lock(m_mutex);
    if (slot < m_rows.size()) {
        m_rows[slot].text = std::string(text);
        Redraw();
    }
}

void ProgressBoard::Finish(std::size_t slot, bool succeeded, std::string_view text) {
    const std::lock_guard lock(m_mutex);
    if (slot < m_rows.size()) {
        m_rows[slot].text = std::string(text);
        m_rows[slot].state = succeeded ? BoardRow::State::kDone : BoardRow::State::kFailed;
        Redraw();
    }
}

void ProgressBoard::Refresh() {
    const std::lock_guard lock(m_mutex);
    if (!m_frame.empty()) {
        Redraw();
    }
}

// Back to the first line of the last frame, then each line over the old one. No line
// wraps, so the cursor moves by as many rows as the last frame had lines. (A terminal that
// rewraps its lines when it gets narrower can leave the top of that frame behind; moving up
// further could erase what was printed before the board.)
void ProgressBoard::Redraw() {
    std::vector<std::string> lines =
        BoardLines(m_rows, m_terminal != nullptr ? m_terminal->Size() : TerminalSize{});
    if (lines == m_frame) {
        return;  // the summary line often stays the same: nothing to send over a slow link
    }
    if (!m_frame.empty()) {
        m_out << "\x1b[" << m_frame.size() << 'A';
    }
    for (const std::string& line : lines) {
        m_out << "\r\x1b[K" << line << '\n';
    }
    if (lines.size() < m_frame.size()) {
        m_out << "\x1b[J";  // what the longer frame left below
    }
    m_out << std::flush;
    m_frame = std::move(lines);
}

ProgressPrinter::ProgressPrinter(std::ostream& out, bool enabled, const ProgressTerminal* terminal)
    : m_out(out), m_enabled(enabled), m_terminal(terminal) {}

ProgressPrinter::ProgressPrinter(std::ostream& out, ProgressBoard& board, std::size_t slot)
    : m_out(out), m_enabled(true), m_board(&board), m_slot(slot) {}

ProgressPrinter::~ProgressPrinter() {
    Clear();
}

void ProgressPrinter::Phase(std::string_view phase) {
    m_phase = std::string(phase);
    m_lastSent.clear();
    Show("");
}

void ProgressPrinter::Sent(std::string_view text) {
    m_lastSent = "sent " + KeyLabel(text);
    Show(m_lastSent);
}

void ProgressPrinter::Wrote(unsigned char byte) {
    Sent(std::string_view(reinterpret_cast<const char*>(&byte), 1));
}

void ProgressPrinter::Pausing(int milliseconds) {
    const std::string pause = "pause " + std::to_string(milliseconds) + " ms";
    Show(m_lastSent.empty() ? pause : m_lastSent + ", " + pause);
}

void ProgressPrinter::Clear() {
    if (m_enabled && m_lineShown && m_board == nullptr) {
        m_out << "\r\x1b[K" << std::flush;
        m_lineShown = false;
    }
}

void ProgressPrinter::Show(const std::string& detail) {
    if (!m_enabled) {
        return;
    }
    std::string text = m_phase;
    if (!detail.empty()) {
        text += (m_phase.empty() ? "" : ": ") + detail;
    }
    if (m_board != nullptr) {
        m_board->Set(m_slot, text);
        return;
    }
    const TerminalSize size = m_terminal != nullptr ? m_terminal->Size() : TerminalSize{};
    m_out << "\r\x1b[K"
          << FitToWidth(text, size.columns != 0 ? size.columns : kDefaultTerminal.columns)
          << std::flush;
    m_lineShown = true;
}

namespace {

// The name of a byte that would not show on a terminal, or empty for a printable one.
std::string SpecialName(unsigned char byte) {
    switch (byte) {
        case 0x0A:
            return "LF";
        case 0x0D:
            return "CR";
        case 0x1B:
            return "ESC";
        default:
            break;
    }
    if (byte < 0x20 || byte >= 0x7f) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02x", byte);
        return hex;
    }
    return {};
}

}  // namespace

std::string KeyLabel(std::string_view text) {
    if (text.empty()) {
        return "\"\"";
    }
    std::string label;
    bool inQuote = false;
    for (const char c : text) {
        const std::string special = SpecialName(static_cast<unsigned char>(c));
        if (special.empty() && !inQuote) {
            label += label.empty() ? "\"" : " \"";
            inQuote = true;
        } else if (!special.empty() && inQuote) {
            label += '"';
            inQuote = false;
        }
        if (special.empty()) {
            label += c;
        } else {
            label += (label.empty() ? "" : " ") + special;
        }
    }
    return inQuote ? label + '"' : label;
}

int ProgressLink::OpenPort(const std::string& portName, std::uint32_t baudRate,
                           std::uint8_t byteSize, std::uint8_t stopBits, std::uint8_t parity) {
    m_lastPortName = portName;
    m_lastOpenResult = m_inner.OpenPort(portName, baudRate, byteSize, stopBits, parity);
    return m_lastOpenResult;
}

void ProgressLink::SendText(const std::string& text) {
    m_printer.Sent(text);
    m_inner.SendText(text);
}

void ProgressLink::WriteByte(unsigned char byte) {
    m_printer.Wrote(byte);
    m_inner.WriteByte(byte);
}

void ProgressLink::Pause(int milliseconds) {
    m_printer.Pausing(milliseconds);
    m_inner.Pause(milliseconds);
}

}  // namespace veltaro::cli
