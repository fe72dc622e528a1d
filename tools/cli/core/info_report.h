#pragma once

#include <string>

#include "veltaro/console/profile.h"
#include "veltaro/console/reported_settings.h"

namespace veltaro::cli {

using console::ReportedSettings;
using console::ReportEntry;
// What `info` prints: the model, and what its information screens reported.
using InfoReport = console::ModemReport;

// `key: value` lines; bytes that would disturb a terminal are written as \xNN.
std::string FormatText(const InfoReport& report);
// The profile, one JSON object; console bytes of 0x80 and above appear as \u0080..\u00ff.
std::string FormatJson(const InfoReport& report);

}  // namespace veltaro::cli
