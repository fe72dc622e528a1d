#include "trace_writer.h"

#include <cerrno>
#include <chrono>
#include <cstring>

namespace modem_sim {

std::optional<TraceWriter> TraceWriter::open(const std::string& path, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "we");
    if (file == nullptr) {
        error = "cannot write the trace file " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return TraceWriter(file);
}

void TraceWriter::record(std::span<const unsigned char> bytes, double milliseconds) {
    for (unsigned char byte : bytes) {
        std::fprintf(file_.get(), "%.3f %02x\n", milliseconds, static_cast<unsigned>(byte));
    }
    std::fflush(file_.get());
}

double steady_milliseconds() {
    using Milliseconds = std::chrono::duration<double, std::milli>;
    return std::chrono::duration_cast<Milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace modem_sim
