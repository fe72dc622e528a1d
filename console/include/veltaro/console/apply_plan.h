#pragma once

#include <functional>
#include <string>
#include <vector>

#include "veltaro/console/setting_keys.h"
#include "veltaro/console/settings_form.h"

// The plan of applying settings to a detected modem: which requested settings change,
// which are already equal (and are not typed at all) and which the model does not offer, in
// the order that works. `veltaro-cli set` and the programs' Apply build the same plan, so
// that there is one comparison rule. Pure; any thread.
namespace veltaro::console {

enum class PlanAction {
    kChange,      // differs from what the modem showed, or the modem did not show it: send
    kUnchanged,   // equal to what the modem showed: not sent
    kNotOffered,  // the model does not offer it (in its current mode): refuse, or skip
};

// The modem as the console last showed it, right after its information screens.
struct ModemState {
    SettingsForm shown;
    bool deviceMode = false;
    bool uartRead = false;
    std::vector<SetKey> offered;  // keys whose controls the console leaves enabled
};

struct PlannedSetting {
    SetItem requested;
    PlanAction action = PlanAction::kChange;
    std::string before;  // the modem's value as ShownValue() gives it; empty when not shown
    // The mode changes and the model offers this setting only in the new mode: it is sent
    // after the mode, and decided again by PlanApply on the new mode's information screen.
    bool afterModeChange = false;
};

struct ApplyPlan {
    std::vector<PlannedSetting> settings;  // every requested setting, in sending order
    // What goes out, kChange only: the settings offered now, then the mode, then those of
    // the new mode. Each group is sent and read back on its own. Empty phases are left out.
    std::vector<std::vector<SetItem>> phases;

    [[nodiscard]] bool Changes() const { return !phases.empty(); }
};

// requested: at most one item per key, in sending order (as ParseProfile and the CLI give).
[[nodiscard]] ApplyPlan PlanApply(const ModemState& current, const std::vector<SetItem>& requested);

// The one comparison rule, as the modem shows values: texts trimmed, letters in capitals,
// leading zeros dropped for the channel, the power and the period (a destination ID keeps
// them: it is five digits); the period equal only with the same unit; choices by index.
[[nodiscard]] bool SameAsShown(const SetItem& requested, const SettingsForm& shown);

// A value for people and for JSON: trimmed text ("07"), a choice word ("device"), a period
// with its unit letter ("30m"); as `set` takes it, so requested and shown values read alike.
[[nodiscard]] std::string ShownValue(SetKey key, const SettingsForm& shown);
[[nodiscard]] std::string RequestedValue(const SetItem& item);

// The keys whose setting button and controls are all enabled, in KeyTable() order.
[[nodiscard]] std::vector<SetKey> OfferedKeys(const std::function<bool(int controlId)>& enabled);

}  // namespace veltaro::console
