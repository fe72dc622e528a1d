#pragma once

#include <ostream>
#include <string_view>

namespace veltaro::cli {

// Writes the log pane's text to a stream as the pane shows it: line breaks (CR LF, also when
// the CR ends one append and the LF starts the next) become the terminal's LF; any other
// control byte and every byte from 0x80 is written as \xNN, so that the modem cannot steer
// the terminal. Flushes after each append so that `log` is live in a pipe.
class LogWriter {
  public:
    explicit LogWriter(std::ostream& out) : m_out(out) {}
    ~LogWriter() { Finish(); }

    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    void Write(std::string_view text);
    // Writes a CR held back at the end of the last append.
    void Finish();
    // A write failed (closed pipe, full disk): nothing more is written.
    bool Failed() const { return !m_out; }

  private:
    std::ostream& m_out;
    bool m_heldCr = false;
};

}  // namespace veltaro::cli
