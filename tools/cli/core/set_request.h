#pragma once

#include <span>
#include <string>
#include <vector>

#include "setting_keys.h"

namespace veltaro::cli {

struct SetParse {
    std::vector<SetItem> items;  // in sending order (by SetKey)
    std::string error;           // empty on success
    bool unsendable = false;     // the error is a value the modem cannot take as typed text
};

// Parses the arguments of `set`. Key names are case-sensitive; choice words and the period
// unit letter are not. A key given twice, an unknown key, an empty value or a value outside
// a radio group is an error, and so is a value with a byte outside printable ASCII (the
// modem's console would take control bytes as keys); text values are checked later by the
// console's own checks. An empty list is accepted when allowEmpty (set --from).
SetParse ParseSetItems(std::span<const std::string> args, bool allowEmpty = false);

}  // namespace veltaro::cli
