#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "veltaro/console/setting_keys.h"
#include "veltaro/console/settings_form.h"

namespace veltaro::console {

// One line of what the modem reported: the value trimmed for reading and, for the edit
// fields, the value exactly as the modem printed it (the console copies fixed-width columns,
// blanks and line ends included).
struct ReportEntry {
    std::string_view key;      // "destination-id", or "period-unit"
    std::string_view jsonKey;  // "destination_id"
    std::string value;         // trimmed text, or the choice's name; empty when unknown
    bool hasRaw = false;
    std::string raw;
};

// What the modem reported, picked from the form as the console last showed it: channel,
// power and mode always; the destination ID and the period only in device mode (the
// console takes them only then; the period only if it has one); the UART values only when
// a UART information screen was read. In the order of KeyTable(). Pure.
[[nodiscard]] std::vector<ReportEntry> ReportedSettings(const SettingsForm& shown, bool deviceMode,
                                                        bool uartRead);

// Whether the information screens carry the key's value in that mode (see above).
[[nodiscard]] bool IsReported(SetKey key, bool deviceMode, bool uartRead);

// Without blanks, tabs, CR and LF at either end.
[[nodiscard]] std::string_view TrimBlanks(std::string_view text);

}  // namespace veltaro::console
