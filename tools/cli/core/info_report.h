#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "veltaro/console/settings_form.h"

namespace veltaro::cli {

// One line of the settings: the value trimmed for reading and, for the edit fields, the
// value exactly as the modem printed it (the console copies fixed-width columns, blanks and
// line ends included).
struct ReportEntry {
    std::string_view key;      // "destination-id"
    std::string_view jsonKey;  // "destination_id"
    std::string value;         // trimmed text, or the choice's name; empty when unknown
    bool hasRaw = false;
    std::string raw;
};

struct InfoReport {
    std::string model;  // raw bytes as cut from the console text
    std::string rangeClass;
    std::string family;
    bool settingsRead = false;
    std::vector<ReportEntry> settings;
    std::vector<std::string_view> settable;  // key names, in table order
};

// What the modem reported, picked from the form as the console last showed it: channel,
// power and mode always; the destination ID and the period only when the modem reported
// device mode (the console takes them only then; the period only if it has one); the UART
// values only when a UART information screen was read.
std::vector<ReportEntry> ReportedSettings(const console::SettingsForm& shown, bool deviceMode,
                                          bool uartRead);

// `key: value` lines; bytes that would disturb a terminal are written as \xNN.
std::string FormatText(const InfoReport& report);
// One JSON object; console bytes of 0x80 and above appear as \u0080..\u00ff.
std::string FormatJson(const InfoReport& report);

}  // namespace veltaro::cli
