#include "log_writer.h"

#include "text_util.h"

namespace veltaro::cli {

void LogWriter::Write(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 1);
    for (const char c : text) {
        if (m_heldCr && c != '\n') {
            out += "\\x0d";
        }
        m_heldCr = c == '\r';
        if (c == '\n') {
            out += c;
        } else if (!m_heldCr) {
            out += TerminalSafe(std::string_view(&c, 1));
        }
    }
    if (!Failed()) {
        m_out << out << std::flush;
    }
}

void LogWriter::Finish() {
    if (m_heldCr && !Failed()) {
        m_out << "\\x0d" << std::flush;
        m_heldCr = false;
    }
}

}  // namespace veltaro::cli
