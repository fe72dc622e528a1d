#pragma once

#include <string>
#include <vector>

#include "set_request.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/settings_form.h"

namespace veltaro::cli {

using ButtonHandler = void (console::ModemConsole::*)();

// One press of a setting button: the values to put into the controls first, then the
// button's handler, which reads the whole form and sends its sequence.
struct CommandStep {
    std::string label;  // the keys it sends, e.g. "data-bits, parity"
    ButtonHandler handler;
    std::vector<SetItem> items;
};

// The button presses for the items (already in sending order): one per key, except that
// Bit Setting sends data bits, stop bits and parity together, and that the interface and
// bits go as one UART All Setting when uartAllOffered. Keys not given keep the values the
// controls show, i.e. what the modem reported.
std::vector<CommandStep> PlanCommands(const std::vector<SetItem>& items, bool uartAllOffered);

// Puts an item's value into the form as the user would: the edit's text, the radio index.
void ApplyItem(const SetItem& item, console::SettingsForm& controls);

// Empty when the read-back matches the item, else a sentence saying how it differs.
// Compared by the plan's one rule (console::SameAsShown): "5" matches "05 ".
std::string Mismatch(const SetItem& item, const console::SettingsForm& readBack);

}  // namespace veltaro::cli
