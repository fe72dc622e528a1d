#include "set_report.h"

#include <algorithm>
#include <array>

#include "text_util.h"
#include "veltaro/console/apply_plan.h"

namespace veltaro::cli {
namespace {

using Json = nlohmann::ordered_json;

struct ResultName {
    SettingResult result;
    const char* json;
};

constexpr std::array kResultNames{
    ResultName{SettingResult::kChanged, "changed"},
    ResultName{SettingResult::kUnchanged, "unchanged"},
    ResultName{SettingResult::kRefused, "refused"},
    ResultName{SettingResult::kSkipped, "skipped"},
    ResultName{SettingResult::kNotSent, "not sent"},
    ResultName{SettingResult::kInFlight, "in flight"},
};

const char* NameOf(SettingResult result) {
    for (const ResultName& name : kResultNames) {
        if (name.result == result) {
            return name.json;
        }
    }
    return "";
}

Json OptionalBytes(const std::optional<std::string>& text) {
    return text ? console::BytesToJson(*text) : Json(nullptr);
}

Json SettingsOf(const std::optional<InfoReport>& report) {
    return report ? console::ProfileJson(*report)["settings"] : Json(nullptr);
}

std::string Was(const SettingOutcome& outcome) {
    return outcome.before ? " (was " + Printable(*outcome.before) + ")" : "";
}

std::string ChangedLine(const SettingOutcome& outcome, bool check) {
    const std::string requested = Printable(console::RequestedValue(outcome.requested));
    if (check) {
        return (outcome.before ? Printable(*outcome.before) : std::string("unknown")) + " -> " +
               requested + " (would change)";
    }
    if (!outcome.after) {
        return "sent " + requested + Was(outcome) + ", not read back";
    }
    std::string line = Printable(*outcome.after) + Was(outcome);
    return outcome.error.empty() ? line : line + ", requested " + requested + ": differs";
}

std::string Line(const SettingOutcome& outcome, bool check) {
    switch (outcome.result) {
        case SettingResult::kChanged:
            return ChangedLine(outcome, check);
        case SettingResult::kUnchanged:
            return Printable(outcome.before.value_or("")) + " (unchanged)";
        case SettingResult::kRefused:
            return "refused by the modem: \"" + Printable(outcome.error) + "\"";
        case SettingResult::kSkipped:
            return "skipped, not offered";
        case SettingResult::kNotSent:
            return "not sent";
        case SettingResult::kInFlight:
            return "in flight: its keys were typed, the modem's answer was not awaited";
    }
    return {};
}

}  // namespace

bool SetReport::Changed() const {
    return std::any_of(settings.begin(), settings.end(), [](const SettingOutcome& outcome) {
        return outcome.result == SettingResult::kChanged ||
               outcome.result == SettingResult::kInFlight;
    });
}

SettingOutcome& SetReport::Of(SetKey key) {
    return *std::find_if(settings.begin(), settings.end(), [key](const SettingOutcome& outcome) {
        return outcome.requested.key == key;
    });
}

std::string FormatSetText(const SetReport& report) {
    std::string out;
    for (const SettingOutcome& outcome : report.settings) {
        out += std::string(RowOf(outcome.requested.key).name) + ": " + Line(outcome, report.check) +
               "\n";
    }
    const bool allEqual = !report.settings.empty() &&
                          std::all_of(report.settings.begin(), report.settings.end(),
                                      [](const SettingOutcome& outcome) {
                                          return outcome.result == SettingResult::kUnchanged ||
                                                 outcome.result == SettingResult::kSkipped;
                                      });
    if (allEqual) {
        out += "nothing to change: every setting already has the requested value\n";
    }
    return out;
}

Json SetJson(const SetReport& report) {
    Json out = Json::object();
    out["model"] = OptionalBytes(report.model);
    out["check"] = report.check;
    out["changed"] = report.Changed();
    Json settings = Json::object();
    for (const SettingOutcome& outcome : report.settings) {
        Json one = Json::object();
        one["result"] = NameOf(outcome.result);
        if (outcome.before) {
            one["before"] = console::BytesToJson(*outcome.before);
        }
        one["requested"] = console::RequestedValue(outcome.requested);
        if (outcome.after && !report.check) {
            one["after"] = console::BytesToJson(*outcome.after);
        }
        if (!outcome.error.empty()) {
            one["error"] = console::BytesToJson(outcome.error);
        }
        settings[std::string(RowOf(outcome.requested.key).jsonName)] = std::move(one);
    }
    out["settings"] = std::move(settings);
    out["before"] = SettingsOf(report.before);
    out["after"] = report.check ? Json(nullptr) : SettingsOf(report.after);
    return out;
}

}  // namespace veltaro::cli
