#pragma once

#include <vector>

#include "veltaro/console/apply_runner.h"
#include "veltaro/console/setting_keys.h"
#include "veltaro/console/setting_value.h"

namespace veltaro::console::detail {

// One button's command with the settings it carries.
struct CarriedCommand {
    ApplyCommand command;
    std::vector<SetKey> keys;
};

// The buttons that send these settings, in their order, each with `base` (what the modem
// reported) and the settings' new values as its form: one button per setting, except that
// data bits, stop bits and parity go out once with Bit Setting, and with UART All Setting
// when the interface changes too (the buttons a user would press).
std::vector<CarriedCommand> CommandsFor(const std::vector<SetItem>& items,
                                        const SettingsForm& base);

}  // namespace veltaro::console::detail
