// The simulator's command line. Pure functions; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace modem_sim {

struct SimOptions {
    std::string model = "GT-45";
    std::optional<int> com_number;
    std::vector<std::string> assignments;  // --set key=value, in order
    bool fast = false;
    bool mute = false;
    std::string trace_path;
    std::string trace_out_path;  // the same record of every byte sent
    std::optional<int> hangup_after_ms;
    double noise_rate = 0.0;
    std::uint32_t seed = 1;
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    SimOptions options;
    std::string error;  // empty when the command line is sound
};

// Takes the arguments after the program name. Accepts "--name value" and "--name=value".
[[nodiscard]] ParsedOptions parse_options(std::span<const char* const> args);
[[nodiscard]] std::string help_text();

}  // namespace modem_sim
