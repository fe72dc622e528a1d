#pragma once

#include <string>
#include <vector>

#include "veltaro/console/apply_report.h"
#include "veltaro/console/apply_runner.h"
#include "veltaro/console/last_report.h"

// Save and Apply of the desktop program, window-free so that both front ends share every
// rule and word: the file name to suggest, writing what the modem reported, reading and
// checking a file for the detected model, the confirmation, the button commands that carry
// the changes, and the summary after the run. User-interface thread; no state.
namespace veltaro::console {

// "GT-45_1A2B3.json" from the model code and the reported destination ID; characters that
// do not belong in a file name are left out.
std::string SuggestedProfileName(const std::string& modelCode, const LastReport& reported);

// Writes what the modem reported as a profile; empty on success, else what went wrong,
// naming the file.
[[nodiscard]] std::string SaveProfile(const std::string& path, const std::string& modelCode,
                                      const LastReport& reported);

struct LoadedProfile;
struct PreparedApply;

}  // namespace veltaro::console
