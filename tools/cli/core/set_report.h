#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "info_report.h"
#include "setting_keys.h"

namespace veltaro::cli {

// What became of one requested setting in a run of `set`.
enum class SettingResult {
    kChanged,    // sent and answered (with --check: would be sent)
    kUnchanged,  // already had the value: nothing typed
    kRefused,    // the modem answered with its refusal screen
    kSkipped,    // not offered, left out with --only-offered
    kNotSent,    // not typed: an earlier failure, a refusal, or Ctrl-C
    kInFlight,   // its keys were typed, the modem's answer was not awaited (Ctrl-C)
};

struct SettingOutcome {
    SetItem requested;
    SettingResult result = SettingResult::kNotSent;
    std::optional<std::string> before;  // as the modem showed it; none when not shown
    std::optional<std::string> after;   // as read back; none when not read back
    std::string error;                  // the modem's refusal line, or how the read-back differs
};

// One port's run of `set`, filled while it runs and printed at its end.
// Threads: the port's own.
struct SetReport {
    bool check = false;
    std::optional<std::string> model;      // the code as detected, none before detection
    std::vector<SettingOutcome> settings;  // every requested setting, in sending order
    std::optional<InfoReport> before;      // the settings as first read
    std::optional<InfoReport> after;       // as read back at the end (not with --check)

    // Something was sent (with --check: would be).
    [[nodiscard]] bool Changed() const;
    SettingOutcome& Of(SetKey key);
};

// One line per requested setting ("channel: 12 (was 07)"), and a closing line when nothing
// had to change. Bytes that would disturb a terminal are written as \xNN.
std::string FormatSetText(const SetReport& report);

// The port's object without "com", "exit_status" and "error", which the caller adds.
nlohmann::ordered_json SetJson(const SetReport& report);

}  // namespace veltaro::cli
