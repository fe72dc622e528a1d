#include "progress.h"

#include <cstdio>

namespace veltaro::cli {

namespace {

// Longer lines would wrap and throw the board's cursor moves off.
constexpr std::size_t kBoardWidth = 79;

}  // namespace

ProgressBoard::ProgressBoard(std::ostream& out, std::vector<std::string> labels)
    : m_out(out), m_labels(std::move(labels)), m_lines(m_labels.size()) {}

void ProgressBoard::Set(std::size_t slot, std::string_view text) {
    const std::lock_guard lock(m_mutex);
    if (slot < m_lines.size()) {
        m_lines[slot] = std::string(text);
        Redraw();
    }
}

void ProgressBoard::Redraw() {
    if (m_drawn) {
        m_out << "\x1b[" << m_lines.size() << 'A';
    }
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const std::string line = m_labels[i] + ": " + m_lines[i];
        m_out << "\r\x1b[K" << line.substr(0, kBoardWidth) << '\n';
    }
    m_out << std::flush;
    m_drawn = true;
}

ProgressPrinter::ProgressPrinter(std::ostream& out, bool enabled)
    : m_out(out), m_enabled(enabled) {}

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
    m_out << "\r\x1b[K" << text << std::flush;
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
