#include "start_settings.h"

#include <array>
#include <cctype>
#include <optional>

#include "value_rules.h"

namespace modem_sim {
namespace {

bool same_word(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Index of the word in the list (case-insensitive), or nothing.
template <std::size_t N>
std::optional<std::size_t> find_word(std::string_view value,
                                     const std::array<std::string_view, N>& words) {
    for (std::size_t i = 0; i < N; ++i) {
        if (same_word(value, words[i])) {
            return i;
        }
    }
    return std::nullopt;
}

using Apply = bool (*)(ModemSettings&, std::string_view, RangeClass);

struct AssignmentKey {
    std::string_view name;
    Apply apply;
    std::string_view values;
};

constexpr std::array kModes{std::string_view{"pc"}, std::string_view{"device"}};
constexpr std::array kUnits{std::string_view{"hor"}, std::string_view{"min"},
                            std::string_view{"sec"}};
constexpr std::array kInterfaces{std::string_view{"rs232"}, std::string_view{"rs485"}};
constexpr std::array kStopBits{std::string_view{"1"}, std::string_view{"1.5"},
                               std::string_view{"2"}};
constexpr std::array kDataBits{std::string_view{"5"}, std::string_view{"6"}, std::string_view{"7"},
                               std::string_view{"8"}};
constexpr std::array kParities{std::string_view{"even"}, std::string_view{"odd"},
                               std::string_view{"space"}, std::string_view{"mark"},
                               std::string_view{"none"}};

template <typename T>
bool assign(T& field, std::optional<T> value) {
    if (!value) {
        return false;
    }
    field = *value;
    return true;
}

// Stores the index of the word as the field's value (enumerations and flags alike).
template <typename Enum, std::size_t N>
bool assign_word(Enum& field, std::string_view value,
                 const std::array<std::string_view, N>& words) {
    std::optional<std::size_t> index = find_word(value, words);
    if (!index) {
        return false;
    }
    field = static_cast<Enum>(*index);
    return true;
}

constexpr std::array kKeys{
    AssignmentKey{"channel",
                  [](ModemSettings& s, std::string_view v, RangeClass r) {
                      return assign(s.channel, read_channel(v, r));
                  },
                  "hexadecimal 01-14, or 01-45 on wide-range models"},
    AssignmentKey{"power",
                  [](ModemSettings& s, std::string_view v, RangeClass r) {
                      return assign(s.power, read_power(v, r));
                  },
                  "hexadecimal 01-0F, or 01-FF on wide-range models"},
    AssignmentKey{"mode",
                  [](ModemSettings& s, std::string_view v, RangeClass) {
                      return assign_word(s.device_mode, v, kModes);
                  },
                  "pc | device"},
    AssignmentKey{"dest-id",
                  [](ModemSettings& s, std::string_view v, RangeClass) {
                      return assign(s.dest_id, read_dest_id(v));
                  },
                  "five hexadecimal digits"},
    AssignmentKey{"period",
                  [](ModemSettings& s, std::string_view v, RangeClass) {
                      // Checked against the unit once every override is in.
                      return assign(s.period, read_period(v, PeriodUnit::minutes));
                  },
                  "1-3 with unit hor, 1-59 with unit min or sec"},
    AssignmentKey{"unit",
                  [](ModemSettings& s, std::string_view v, RangeClass) {
                      return assign_word(s.unit, v, kUnits);
                  },
                  "hor | min | sec"},
    AssignmentKey{"interface",
                  [](ModemSettings& s, std::string_view v, RangeClass) {
                      return assign_word(s.rs485, v, kInterfaces);
                  },
                  "rs232 | rs485"},
    AssignmentKey{"data-bits",
                  [](ModemSettings& s, std::string_view v, RangeClass) {
                      std::optional<std::size_t> index = find_word(v, kDataBits);
                      if (!index) {
                          return false;
                      }
                      s.data_bits = static_cast<int>(*index) + 5;
                      return true;
                  },
                  "5 | 6 | 7 | 8"},
    AssignmentKey{"stop-bits",
                  [](ModemSettings& s, std::string_view v, RangeClass) {
                      return assign_word(s.stop_bits, v, kStopBits);
                  },
                  "1 | 1.5 | 2"},
    AssignmentKey{"parity",
                  [](ModemSettings& s, std::string_view v, RangeClass) {
                      return assign_word(s.parity, v, kParities);
                  },
                  "even | odd | space | mark | none"},
};

}  // namespace

std::string apply_assignment(ModemSettings& settings, std::string_view assignment,
                             RangeClass range) {
    std::size_t equals = assignment.find('=');
    if (equals == std::string_view::npos) {
        return "--set needs key=value, got '" + std::string(assignment) + "'";
    }
    std::string_view key = assignment.substr(0, equals);
    std::string_view value = assignment.substr(equals + 1);
    for (const AssignmentKey& entry : kKeys) {
        if (entry.name != key) {
            continue;
        }
        ModemSettings changed = settings;
        if (!entry.apply(changed, value, range)) {
            return "--set " + std::string(key) + ": '" + std::string(value) +
                   "' is not valid here (" + std::string(entry.values) + ")";
        }
        settings = changed;
        return {};
    }
    return "--set: unknown key '" + std::string(key) + "' (see --help)";
}

std::string check_settings(const ModemSettings& settings) {
    if (settings.period > max_period(settings.unit)) {
        return "--set period=" + std::to_string(settings.period) + " is out of range for unit " +
               std::string(unit_word(settings.unit));
    }
    return {};
}

std::string assignment_help() {
    std::string help;
    for (const AssignmentKey& entry : kKeys) {
        std::string name(entry.name);
        name.resize(12, ' ');
        help += "    " + name + std::string(entry.values) + "\n";
    }
    return help;
}

}  // namespace modem_sim
