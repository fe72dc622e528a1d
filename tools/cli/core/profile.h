#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exit_status.h"
#include "set_request.h"

namespace veltaro::cli {

// The version that `info --json` writes and `set --from` reads.
inline constexpr int kProfileVersion = 1;

struct ProfileLoad {
    std::vector<SetItem> items;  // in sending order
    std::string error;           // "FILE:LINE: ..." naming the key; empty on success
    ExitStatus status = ExitStatus::kOk;
};

// Reads a profile: the object that `info --json` prints. Every setting in "settings" that
// has a value and that "settable" lists (when the file has that list) becomes an item; the
// *_raw columns and the model's names are information only. Invalid JSON, an unknown key, a value of the wrong kind, a version
// other than kProfileVersion or a value `set` would refuse make it fail as a whole.
ProfileLoad ParseProfile(std::string_view text, std::string_view fileName);
ProfileLoad LoadProfile(const std::string& path);

// The profile's items with the command line's items in place of those of the same key.
std::vector<SetItem> MergeSettings(const std::vector<SetItem>& profile,
                                   const std::vector<SetItem>& overrides);

}  // namespace veltaro::cli
