#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "model_rules.h"
#include "veltaro/console/model_table.h"
#include "veltaro/console/settings_form.h"

// The two parsers of finished console screens. They work on their own copy of a block and
// report the controls to switch instead of switching them, so they need no dialog.
namespace veltaro::console::detail {

// The information block ("Information  --" up to the length rule): channel, power,
// destination ID, period and its unit, the mode and the device-mode flag. Appends the
// controls to switch, in order, to switches.
void ParseInformationBlock(std::string_view block, Family family, SettingsForm& form,
                           std::int32_t& deviceMode, std::vector<ControlSwitch>& switches);

// The UART information block: interface, data bits, stop bits, parity.
void ParseUartBlock(std::string_view block, SettingsForm& form);

}  // namespace veltaro::console::detail
