#include "rule_reader.h"

#include <array>

namespace sim_test {
namespace {

long find(const std::string& text, std::string_view pattern) {
    std::size_t at = text.find(pattern);
    return at == std::string::npos ? -1 : static_cast<long>(at);
}

// Substring with the program's clamping, applied in its order.
std::string clamped(const std::string& text, long start, long count) {
    const long length = static_cast<long>(text.size());
    if (start < 0) {
        start = 0;
    }
    if (count < 0) {
        count = 0;
    }
    if (start + count > length) {
        count = length - start;
    }
    if (start > length) {
        count = 0;
    }
    return count <= 0
               ? std::string()
               : text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
}

bool holds(const std::string& text, std::string_view pattern) {
    return find(text, pattern) >= 0;
}

// Index of the first pattern in the list that occurs anywhere, or `unchanged`.
template <std::size_t N>
int first_present(const std::string& block, const std::array<std::string_view, N>& patterns,
                  int unchanged) {
    for (std::size_t i = 0; i < N; ++i) {
        if (holds(block, patterns[i])) {
            return static_cast<int>(i);
        }
    }
    return unchanged;
}

}  // namespace

void RuleReader::message(std::string_view chunk) {
    buffer += chunk;
    if (awaiting_model && buffer.size() > 20) {
        if (long at = find(buffer, "CONFIGURATION"); at > 0) {
            model = clamped(buffer, at - 6, 5);
            buffer.clear();
            awaiting_model = false;
        }
    }
    const long ok = find(buffer, "OK");
    const long bang = find(buffer, "!!");
    const long dash = find(buffer, "--");
    if (dash < 0 || (ok < 0 && bang < 0)) {
        return;
    }
    const long end = bang >= 0 ? bang + 2 : ok;
    log.push_back(clamped(buffer, dash - 29, end - dash + 31));
    if (bang >= 0) {
        buffer.clear();
        return;
    }
    if (long info = find(buffer, "Information  --"); info >= 0) {
        read_information(clamped(buffer, info, ok));
    }
    if (long uart = find(buffer, "UART Information"); uart >= 0) {
        read_uart(clamped(buffer, uart, ok));
    }
    std::string rest = clamped(buffer, ok + 2, static_cast<long>(buffer.size()) - (ok + 2));
    buffer = holds(rest, "--") ? rest : std::string();
}

void RuleReader::read_information(const std::string& block) {
    ++information_reads;
    if (long at = find(block, "Channel Number"); at >= 0) {
        form.channel = clamped(block, at + 16, 3);
    }
    if (long at = find(block, "Power"); at >= 0) {
        form.power = clamped(block, at + 7, 3);
    }
    if (holds(block, "Device Mode")) {
        form.mode = 1;
        if (long at = find(block, "Destination ID"); at >= 0) {
            form.dest_id = clamped(block, at + 16, 5);
        }
        if (long at = find(block, "TX Peirod"); at >= 0) {
            form.period = clamped(block, at + 13, 3);
            form.unit = first_present(block, std::array<std::string_view, 3>{"HOR", "MIN", "SEC"},
                                      form.unit);
        }
    }
    if (holds(block, "PC Mode")) {
        form.mode = 0;
    }
}

void RuleReader::read_uart(const std::string& block) {
    ++uart_reads;
    form.interface = holds(block, "RS232") ? 0 : 1;
    form.data_bits = first_present(
        block, std::array<std::string_view, 4>{": 5 Bit", ": 6 Bit", ": 7 Bit", ": 8 Bit"},
        form.data_bits);
    form.stop_bits = first_present(
        block, std::array<std::string_view, 3>{": 1 Bit", ": 1.5 Bit", ": 2 Bit"}, form.stop_bits);
    form.parity = first_present(
        block, std::array<std::string_view, 5>{"Even", "Odd", "Space", "Mark", "Non"}, form.parity);
}

}  // namespace sim_test
