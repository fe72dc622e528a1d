#include "output_line.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace modem_sim {
namespace {

// One start bit, eight data bits, one stop bit at 9600 baud.
constexpr auto kByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / 9600);
// Beyond this much unsent text nobody is reading; more would only eat memory.
constexpr std::size_t kMaxWaiting = 1u << 20;

}  // namespace

OutputLine::OutputLine(int fd, LineOptions options, TraceWriter* sent)
    : fd_(fd),
      options_(options),
      sent_trace_(sent),
      random_(options.seed),
      noise_(std::clamp(options.noise_rate, 0.0, 1.0)) {}

void OutputLine::queue(std::string_view text) {
    if (options_.mute || text.empty() || waiting() > kMaxWaiting) {
        return;
    }
    if (waiting() == 0) {
        pending_.clear();
        sent_ = 0;
        next_byte_ = std::max(next_byte_, Clock::now());
    }
    std::uniform_int_distribution<int> any_byte(0, 255);
    for (char c : text) {
        if (options_.noise_rate > 0.0 && noise_(random_)) {
            pending_ += static_cast<char>(any_byte(random_));
        }
        pending_ += c;
    }
}

void OutputLine::pump(Clock::time_point now) {
    if (waiting() == 0 || blocked_ || fd_ < 0) {
        return;
    }
    std::size_t count = waiting();
    if (options_.paced) {
        if (now < next_byte_) {
            return;
        }
        // A late wake-up sends every byte that fell due meanwhile, keeping the average pace.
        const auto due = static_cast<std::size_t>((now - next_byte_) / kByteTime) + 1;
        count = std::min(count, due);
    }
    const ssize_t written = ::write(fd_, pending_.data() + sent_, count);
    if (written > 0) {
        if (sent_trace_ != nullptr) {
            sent_trace_->record(std::span<const unsigned char>(
                                    reinterpret_cast<const unsigned char*>(pending_.data() + sent_),
                                    static_cast<std::size_t>(written)),
                                steady_milliseconds());
        }
        sent_ += static_cast<std::size_t>(written);
        next_byte_ += kByteTime * written;
    } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        blocked_ = true;
    } else if (written < 0 && errno != EINTR) {
        pending_.clear();
        sent_ = 0;
    }
}

std::optional<Clock::time_point> OutputLine::next_due() const {
    if (waiting() == 0 || blocked_) {
        return std::nullopt;
    }
    return options_.paced ? next_byte_ : Clock::time_point{};
}

}  // namespace modem_sim
