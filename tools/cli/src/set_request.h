#pragma once

#include <span>
#include <string>
#include <vector>

#include "setting_keys.h"

namespace veltaro::cli {

// One `key=value` of the set command, as typed; nothing here knows the model's rules.
struct SetItem {
    SetKey key;
    std::string text;  // kText: the value as typed; kPeriod: its number
    int index = -1;    // kChoice: the radio index; kPeriod: the unit index
};

struct SetParse {
    std::vector<SetItem> items;  // in sending order (by SetKey)
    std::string error;           // empty on success
};

// Parses the arguments of `set`. Key names are case-sensitive; choice words and the period
// unit letter are not. A key given twice, an unknown key, an empty value or a value outside
// a radio group is an error; text values are checked later by the console's own checks.
SetParse ParseSetItems(std::span<const std::string> args);

}  // namespace veltaro::cli
