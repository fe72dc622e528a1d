// What a run of Apply needs to know of the models' screens besides the step tables.
#include "veltaro/console/setting_command.h"

#include <algorithm>
#include <string_view>

#include "model_rules.h"
#include "veltaro/console/control_ids.h"
#include "veltaro/console/model_table.h"

namespace veltaro::console {

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

bool HasInformationScreen(const std::string& modelCode) {
    return FamilyOf(modelCode) != Family::kNone;
}

// The families whose on-detect action leaves the UART_Information button enabled.
bool HasUartScreen(const std::string& modelCode) {
    const Family family = FamilyOf(modelCode);
    if (family == Family::kNone) {
        return false;
    }
    const detail::Switches switches = detail::RulesOf(family).onDetectSwitches;
    return std::none_of(switches.begin(), switches.end(), [](const detail::ControlSwitch& item) {
        return item.id == ctl::kUartInformation && !item.enable;
    });
}

std::string RefusalLineOf(const std::string& screen) {
    std::string_view rest(screen);
    std::string_view said;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = Trimmed(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (line == "!!") {
            return std::string(said);
        }
        // The screen's rule of dashes is not the modem's word.
        if (!line.empty() && line.find_first_not_of('-') != std::string_view::npos) {
            said = line;
        }
    }
    return {};
}

}  // namespace veltaro::console
