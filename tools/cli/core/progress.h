#pragma once

#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "board_layout.h"
#include "platform.h"
#include "veltaro/console/modem_link.h"

namespace veltaro::cli {

// One status line per port on a terminal, for a run on several ports: each port's printer
// sets its own line and the board redraws them all in place, cut to the terminal's width;
// with more ports than the terminal has rows, one line that counts them (see BoardLines).
//
// Threads: Set, Finish and Refresh from any thread. The terminal, when given, must
// outlive the board; without one the terminal is taken to be 80 x 24.
class ProgressBoard {
  public:
    ProgressBoard(std::ostream& out, std::vector<std::string> labels,
                  const ProgressTerminal* terminal = nullptr);

    ProgressBoard(const ProgressBoard&) = delete;
    ProgressBoard& operator=(const ProgressBoard&) = delete;

    void Set(std::size_t slot, std::string_view text);
    // The port's run ended; `text` says how.
    void Finish(std::size_t slot, bool succeeded, std::string_view text);
    // Draws again when the terminal's size now gives another frame (it was resized).
    void Refresh();

  private:
    // Draws the frame when it differs from the last one.
    void Redraw();

    std::mutex m_mutex;
    std::ostream& m_out;
    const ProgressTerminal* m_terminal;
    std::vector<BoardRow> m_rows;
    std::vector<std::string> m_frame;  // the lines drawn last; the next frame starts on its first
};

// Shows on one status line of a terminal what a long command is doing: the phase, the key
// just sent, the pause running. Prints nothing at all when disabled (standard error is not a
// terminal), so that scripts get plain, quiet output.
//
// Threads: the connection's thread only.
class ProgressPrinter {
  public:
    // With a terminal, the line is cut to the terminal's width (80 without one).
    ProgressPrinter(std::ostream& out, bool enabled, const ProgressTerminal* terminal = nullptr);
    // Shows the status on the board's line `slot` instead.
    ProgressPrinter(std::ostream& out, ProgressBoard& board, std::size_t slot);
    ~ProgressPrinter();

    ProgressPrinter(const ProgressPrinter&) = delete;
    ProgressPrinter& operator=(const ProgressPrinter&) = delete;

    // "detecting the model", "setting channel", ...; forgets the last key.
    void Phase(std::string_view phase);
    void Sent(std::string_view text);
    void Wrote(unsigned char byte);
    void Pausing(int milliseconds);
    // Erases the status line, e.g. before a message is printed.
    void Clear();

  private:
    void Show(const std::string& detail);

    std::ostream& m_out;
    bool m_enabled;
    const ProgressTerminal* m_terminal = nullptr;
    ProgressBoard* m_board = nullptr;
    std::size_t m_slot = 0;
    bool m_lineShown = false;
    std::string m_phase;
    std::string m_lastSent;
};

// How a key is shown on the status line: "2", "LF", "ESC", "0x07".
std::string KeyLabel(std::string_view text);

// A ModemLink that reports every send and pause to a ProgressPrinter and passes everything
// on to the link it wraps. Both must outlive it.
class ProgressLink final : public console::ModemLink {
  public:
    ProgressLink(console::ModemLink& inner, ProgressPrinter& printer)
        : m_inner(inner), m_printer(printer) {}

    int OpenPort(const std::string& portName, std::uint32_t baudRate, std::uint8_t byteSize,
                 std::uint8_t stopBits, std::uint8_t parity) override;
    void ClosePort() override { m_inner.ClosePort(); }
    void SendText(const std::string& text) override;
    void WriteByte(unsigned char byte) override;
    void Pause(int milliseconds) override;
    int QueueSize() override { return m_inner.QueueSize(); }
    int QueueGetByte(unsigned char* out) override { return m_inner.QueueGetByte(out); }

    // The port name of the last OpenPort and its result.
    const std::string& LastPortName() const { return m_lastPortName; }
    int LastOpenResult() const { return m_lastOpenResult; }

  private:
    console::ModemLink& m_inner;
    ProgressPrinter& m_printer;
    std::string m_lastPortName;
    int m_lastOpenResult = 0;
};

}  // namespace veltaro::cli
