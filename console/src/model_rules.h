#pragma once

#include <span>
#include <string_view>

#include "command_steps.h"
#include "veltaro/console/model_table.h"

// The per-family and per-range-class rules: everything model-specific besides the model table
// itself (model code -> range class, family) lives in these tables.
namespace veltaro::console::detail {

struct ControlSwitch {
    int id;
    bool enable;
};
using Switches = std::span<const ControlSwitch>;

struct FamilyRules {
    std::string_view informationKey;  // sent by Information and first by the on-detect action
    Switches onDetectSwitches;        // in the order they are switched
    Steps onDetectSteps;              // the keys the on-detect action sends, with pauses
    std::string_view periodPrefix;    // sent before the unit letter by the period steps
    bool allSettingSendsPeriod;       // All Setting sends the period in device mode
    bool allSettingNeedsPeriod;       // All Setting asks for an empty period in device mode
    Switches deviceScreenSwitches;    // after the "Device Mode" set of an information screen
    Switches pcScreenSwitches;        // after the "PC Mode" set of an information screen
};

struct RangeLabels {
    std::string_view channel;  // static 1054
    std::string_view power;    // static 1055
};

const FamilyRules& RulesOf(Family family);
const RangeLabels& LabelsOf(RangeClass rangeClass);

}  // namespace veltaro::console::detail
