#include "sim_options.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <string_view>

#include "start_settings.h"

namespace modem_sim {
namespace {

using Apply = std::string (*)(SimOptions&, std::string_view);

struct OptionRow {
    std::string_view name;
    bool takes_value;
    Apply apply;
};

template <typename T>
std::optional<T> read_integer(std::string_view text, T low, T high) {
    T value{};
    const char* end = text.data() + text.size();
    auto [stop, failure] = std::from_chars(text.data(), end, value);
    if (failure != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> read_rate(std::string_view text) {
    std::string copy(text);
    char* stop = nullptr;
    const double value = std::strtod(copy.c_str(), &stop);
    if (copy.empty() || *stop != '\0' || !(value >= 0.0 && value <= 1.0)) {
        return std::nullopt;
    }
    return value;
}

// The console prints the code in its screens; the end markers would end a screen early.
std::string check_model(std::string_view code) {
    if (code.size() != 5) {
        return "--model needs a five-character code, got '" + std::string(code) + "'";
    }
    for (char c : code) {
        if (c < 0x20 || c > 0x7E) {
            return "--model: the code must be printable ASCII";
        }
    }
    for (std::string_view marker : {"OK", "!!", "--"}) {
        if (code.find(marker) != std::string_view::npos) {
            return "--model: the code may not contain \"" + std::string(marker) + "\"";
        }
    }
    return {};
}

std::string bad_value(std::string_view option, std::string_view value, std::string_view want) {
    return std::string(option) + ": '" + std::string(value) + "' is not " + std::string(want);
}

constexpr std::array kOptions{
    OptionRow{"--help", false,
              [](SimOptions& o, std::string_view) {
                  o.help = true;
                  return std::string();
              }},
    OptionRow{"--version", false,
              [](SimOptions& o, std::string_view) {
                  o.version = true;
                  return std::string();
              }},
    OptionRow{"--fast", false,
              [](SimOptions& o, std::string_view) {
                  o.fast = true;
                  return std::string();
              }},
    OptionRow{"--mute", false,
              [](SimOptions& o, std::string_view) {
                  o.mute = true;
                  return std::string();
              }},
    OptionRow{"--model", true,
              [](SimOptions& o, std::string_view v) {
                  o.model = std::string(v);
                  return check_model(v);
              }},
    OptionRow{"--com", true,
              [](SimOptions& o, std::string_view v) {
                  o.com_number = read_integer(v, 1, 255);
                  return o.com_number ? std::string() : bad_value("--com", v, "a number 1-255");
              }},
    OptionRow{"--set", true,
              [](SimOptions& o, std::string_view v) {
                  o.assignments.emplace_back(v);
                  return std::string();
              }},
    OptionRow{"--trace", true,
              [](SimOptions& o, std::string_view v) {
                  o.trace_path = std::string(v);
                  return v.empty() ? std::string("--trace needs a file name") : std::string();
              }},
    OptionRow{"--trace-out", true,
              [](SimOptions& o, std::string_view v) {
                  o.trace_out_path = std::string(v);
                  return v.empty() ? std::string("--trace-out needs a file name") : std::string();
              }},
    OptionRow{"--hangup-after", true,
              [](SimOptions& o, std::string_view v) {
                  o.hangup_after_ms = read_integer(v, 0, 86'400'000);
                  return o.hangup_after_ms ? std::string()
                                           : bad_value("--hangup-after", v, "milliseconds");
              }},
    OptionRow{"--noise", true,
              [](SimOptions& o, std::string_view v) {
                  std::optional<double> rate = read_rate(v);
                  o.noise_rate = rate.value_or(0.0);
                  return rate ? std::string() : bad_value("--noise", v, "a rate from 0 to 1");
              }},
    OptionRow{"--seed", true,
              [](SimOptions& o, std::string_view v) {
                  std::optional<std::uint32_t> seed = read_integer<std::uint32_t>(v, 0, UINT32_MAX);
                  o.seed = seed.value_or(1);
                  return seed ? std::string() : bad_value("--seed", v, "an unsigned number");
              }},
};

const OptionRow* find_option(std::string_view name) {
    for (const OptionRow& row : kOptions) {
        if (row.name == name) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

ParsedOptions parse_options(std::span<const char* const> args) {
    ParsedOptions parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::size_t equals = arg.find('=');
        std::string_view name = arg.substr(0, equals);
        const OptionRow* row = find_option(name);
        if (row == nullptr) {
            parsed.error = "unknown option '" + std::string(arg) + "'";
            return parsed;
        }
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
        } else if (row->takes_value) {
            if (i + 1 >= args.size()) {
                parsed.error = std::string(name) + " needs a value";
                return parsed;
            }
            value = args[++i];
        }
        if (!row->takes_value && equals != std::string_view::npos) {
            parsed.error = std::string(name) + " takes no value";
            return parsed;
        }
        parsed.error = row->apply(parsed.options, value);
        if (!parsed.error.empty()) {
            return parsed;
        }
    }
    return parsed;
}

std::string help_text() {
    return "Usage: veltaro-modem-sim [options]\n"
           "Plays a wireless serial modem's configuration console on a pseudo-terminal and\n"
           "prints the terminal's path (one line on standard output).\n"
           "\n"
           "Options:\n"
           "  --model CODE        five-character model code (default GT-45); KD-30, KD-35,\n"
           "                      GT-20, GT-25, GT-40 ... GT-95, FL-20, FL-25, or any other\n"
           "                      code (an unlisted model: narrow ranges, GT period console)\n"
           "  --com N             also create the entry comN (1-255) in the port directory\n"
           "                      ($BRENLOW_PORT_DIR, else $XDG_CONFIG_HOME/brenlow/ports,\n"
           "                      else ~/.config/brenlow/ports); removed on exit\n"
           "  --set KEY=VALUE     start value of a setting (repeatable); keys:\n" +
           assignment_help() +
           "  --fast              answer at once instead of at 9600 baud (1.04 ms a byte)\n"
           "  --trace FILE        write every received byte as \"<ms> <hex>\" per line;\n"
           "                      ms on the steady clock (CLOCK_MONOTONIC), 3 decimals\n"
           "  --trace-out FILE    the same for every byte sent, as it leaves\n"
           "  --hangup-after MS   hang up (close the master) MS ms after start, then exit\n"
           "  --noise RATE        before each byte sent, slip in a random byte with chance\n"
           "                      RATE (0-1)\n"
           "  --seed N            seed of the noise (default 1)\n"
           "  --mute              read (and trace) but never answer\n"
           "  --help, --version\n"
           "\n"
           "Exit status: 0 after SIGINT, SIGTERM, SIGHUP or a hang-up; 2 for a bad command\n"
           "line; 1 when the terminal or the port entry cannot be set up.\n";
}

}  // namespace modem_sim
