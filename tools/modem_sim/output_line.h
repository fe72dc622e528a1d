// The modem's transmit side: text the console prints waits here and goes out on the
// pseudo-terminal master at the pace of a 9600-baud line (10 bits a byte, about 1.04 ms),
// or as fast as the master takes it. Fault injection: random bytes mixed into the output,
// or no output at all (mute). Single-threaded; the loop polls and pumps it.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "trace_writer.h"

namespace modem_sim {

using Clock = std::chrono::steady_clock;

struct LineOptions {
    bool paced = true;
    bool mute = false;
    double noise_rate = 0.0;  // chance, per byte sent, of a random byte slipped in before it
    std::uint32_t seed = 1;
};

class OutputLine {
  public:
    // sent, when given, records every byte as it leaves (noise included); it must outlive
    // this object.
    OutputLine(int fd, LineOptions options, TraceWriter* sent = nullptr);

    void queue(std::string_view text);
    // Writes what is due by `now`. A line that refuses writes for good drops what waits.
    void pump(Clock::time_point now);

    // When pump has something to do next; nothing while idle or waiting for room.
    [[nodiscard]] std::optional<Clock::time_point> next_due() const;
    // True after the master refused a write for lack of room; poll for POLLOUT then.
    [[nodiscard]] bool waits_for_room() const { return blocked_; }
    void on_room() { blocked_ = false; }

  private:
    [[nodiscard]] std::size_t waiting() const { return pending_.size() - sent_; }

    int fd_;
    LineOptions options_;
    TraceWriter* sent_trace_;
    std::string pending_;
    std::size_t sent_ = 0;
    Clock::time_point next_byte_{};
    bool blocked_ = false;
    std::mt19937 random_;
    std::bernoulli_distribution noise_;
};

}  // namespace modem_sim
