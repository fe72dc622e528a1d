#include "log_writer.h"

namespace veltaro::cli {

void LogWriter::Write(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 1);
    for (const char c : text) {
        if (m_heldCr && c != '\n') {
            out += '\r';
        }
        m_heldCr = c == '\r';
        if (!m_heldCr) {
            out += c;
        }
    }
    m_out << out << std::flush;
}

void LogWriter::Finish() {
    if (m_heldCr) {
        m_out << '\r' << std::flush;
        m_heldCr = false;
    }
}

}  // namespace veltaro::cli
