// Overrides of the start settings given on the command line as key=value (--set).
// Pure functions; any thread. A failed override leaves the settings as they were.
#pragma once

#include <string>
#include <string_view>

#include "model_catalog.h"
#include "modem_settings.h"

namespace modem_sim {

// Applies one "key=value"; returns an error text, empty on success. Channel and power are
// checked against the model's range class, as the modem itself would check them.
[[nodiscard]] std::string apply_assignment(ModemSettings& settings, std::string_view assignment,
                                           RangeClass range);

// Checks what single overrides cannot: the period against its unit. Empty when sound.
[[nodiscard]] std::string check_settings(const ModemSettings& settings);

// One line per key for --help.
[[nodiscard]] std::string assignment_help();

}  // namespace modem_sim
