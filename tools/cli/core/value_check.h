#pragma once

#include <string>

#include "set_request.h"
#include "terminal_host.h"
#include "veltaro/console/model_table.h"
#include "veltaro/console/modem_console.h"

namespace veltaro::cli {

// Runs the program's own check of the item's edit field on the value, as if the user had
// pasted it into the field (the period's unit radio chosen first): the value goes into the
// host's edit, then the console's change handler runs. Returns empty when the field keeps
// the value (item.text then holds the field's text, e.g. a destination ID in capitals), or
// the refusal naming the rule: the check cleared the field, or cut the destination ID.
// Choice items have no check and are always accepted. Sends nothing.
std::string CheckValue(console::ModemConsole& console, TerminalHost& host, SetItem& item);

// The rule behind the check, in words, for the refusal message.
std::string RuleText(SetKey key, console::RangeClass range, int periodUnit);

}  // namespace veltaro::cli
