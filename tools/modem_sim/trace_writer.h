// The trace of every byte the simulator receives: one line per byte,
//   <milliseconds> <byte>
// e.g. "1234.567 1b": the time on the steady clock (CLOCK_MONOTONIC, the clock of
// std::chrono::steady_clock, so other processes on the machine can compare against it) in
// milliseconds with three decimals, a blank, and the byte as two lower-case hexadecimal
// digits. Bytes taken by one read share its time. Each read's lines are flushed at once, so
// a reader sees them while the simulator runs. Single-threaded.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace modem_sim {

class TraceWriter {
  public:
    // Creates or truncates the file; on failure returns nothing and says why in `error`.
    [[nodiscard]] static std::optional<TraceWriter> open(const std::string& path,
                                                         std::string& error);

    void record(std::span<const unsigned char> bytes, double milliseconds);

  private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    explicit TraceWriter(std::FILE* file) : file_(file) {}

    std::unique_ptr<std::FILE, Closer> file_;
};

// Now, on the trace's clock, in milliseconds.
[[nodiscard]] double steady_milliseconds();

}  // namespace modem_sim
