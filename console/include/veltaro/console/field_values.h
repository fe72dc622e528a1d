#pragma once

#include <string>
#include <vector>

#include "veltaro/console/setting_value.h"

namespace veltaro::console {

// Runs the program's own check of each text setting's field on its value, for the detected
// model, as if the user had pasted the value into the field (the period's unit chosen
// first), on a console of its own that has no window and no port. Returns empty when every
// field keeps its value (the items' texts then hold what the fields show, a destination ID
// in capitals), else the refusal naming the setting and the value. Sends nothing.
[[nodiscard]] std::string CheckFieldValues(const std::string& modelCode,
                                           std::vector<SetItem>& items);

}  // namespace veltaro::console
