#include "veltaro/console/apply_plan.h"

#include <algorithm>
#include <array>

#include "veltaro/console/reported_settings.h"

namespace veltaro::console {
namespace {

constexpr std::array<std::string_view, 3> kUnitLetters{"h", "m", "s"};

// Numbers the modem shows with leading zeros ("07", "0A", "05"); a destination ID is five
// digits, so its zeros count.
bool IsNumber(SetKey key) {
    return key == SetKey::kChannel || key == SetKey::kPower || key == SetKey::kPeriod;
}

std::string Comparable(std::string_view value, bool number) {
    std::string out(TrimBlanks(value));
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (!number) {
        return out;
    }
    const std::size_t firstKept = out.find_first_not_of('0');
    if (firstKept == std::string::npos) {
        return out.empty() ? out : std::string("0");
    }
    return out.substr(firstKept);
}

std::string WithUnit(std::string_view number, int unit) {
    const std::string_view trimmed = TrimBlanks(number);
    if (trimmed.empty() || unit < 0 || unit >= static_cast<int>(kUnitLetters.size())) {
        return std::string(trimmed);
    }
    return std::string(trimmed) + std::string(kUnitLetters[static_cast<std::size_t>(unit)]);
}

bool IsOffered(const ModemState& state, SetKey key) {
    return std::find(state.offered.begin(), state.offered.end(), key) != state.offered.end();
}

bool ModeChanges(const ModemState& state, const std::vector<SetItem>& requested) {
    const auto mode = std::find_if(requested.begin(), requested.end(),
                                   [](const SetItem& item) { return item.key == SetKey::kMode; });
    return mode != requested.end() && IsOffered(state, SetKey::kMode) &&
           !SameAsShown(*mode, state.shown);
}

}  // namespace

bool SameAsShown(const SetItem& requested, const SettingsForm& shown) {
    const KeyRow& row = RowOf(requested.key);
    if (row.kind == ValueKind::kChoice) {
        return shown.*row.index == requested.index;
    }
    if (row.kind == ValueKind::kPeriod && shown.*row.index != requested.index) {
        return false;
    }
    const bool number = IsNumber(requested.key);
    const std::string have = Comparable(shown.*row.text, number);
    return !have.empty() && have == Comparable(requested.text, number);
}

std::string ShownValue(SetKey key, const SettingsForm& shown) {
    const KeyRow& row = RowOf(key);
    switch (row.kind) {
        case ValueKind::kChoice:
            return std::string(ChoiceName(row.choices, shown.*row.index));
        case ValueKind::kPeriod:
            return WithUnit(shown.*row.text, shown.*row.index);
        case ValueKind::kText:
            break;
    }
    return std::string(TrimBlanks(shown.*row.text));
}

std::string RequestedValue(const SetItem& item) {
    const KeyRow& row = RowOf(item.key);
    switch (row.kind) {
        case ValueKind::kChoice:
            return std::string(ChoiceName(row.choices, item.index));
        case ValueKind::kPeriod:
            return WithUnit(item.text, item.index);
        case ValueKind::kText:
            break;
    }
    return item.text;
}

ApplyPlan PlanApply(const ModemState& current, const std::vector<SetItem>& requested) {
    const bool modeChanges = ModeChanges(current, requested);
    std::array<std::vector<SetItem>, 3> phases;  // offered now, the mode, the new mode's
    ApplyPlan plan;
    for (const SetItem& item : requested) {
        PlannedSetting planned{item, PlanAction::kChange, {}, false};
        if (IsReported(item.key, current.deviceMode, current.uartRead)) {
            planned.before = ShownValue(item.key, current.shown);
        }
        const bool offered = IsOffered(current, item.key);
        if (item.key == SetKey::kMode && offered && modeChanges) {
            phases[1].push_back(item);
        } else if (offered) {
            const bool reported = IsReported(item.key, current.deviceMode, current.uartRead);
            if (reported && SameAsShown(item, current.shown)) {
                planned.action = PlanAction::kUnchanged;
            } else {
                phases[0].push_back(item);
            }
        } else if (modeChanges && item.key != SetKey::kMode) {
            planned.afterModeChange = true;
            phases[2].push_back(item);
        } else {
            planned.action = PlanAction::kNotOffered;
        }
        plan.settings.push_back(std::move(planned));
    }
    for (std::vector<SetItem>& phase : phases) {
        if (!phase.empty()) {
            plan.phases.push_back(std::move(phase));
        }
    }
    return plan;
}

std::vector<SetKey> OfferedKeys(const std::function<bool(int controlId)>& enabled) {
    std::vector<SetKey> keys;
    for (const KeyRow& row : KeyTable()) {
        if (std::all_of(row.controls.begin(), row.controls.end(), enabled)) {
            keys.push_back(row.key);
        }
    }
    return keys;
}

}  // namespace veltaro::console
