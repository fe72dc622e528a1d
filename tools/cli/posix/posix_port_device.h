#pragma once

#include <optional>
#include <string>

#include "same_device.h"

namespace veltaro::cli {

// The device that a --com number leads to on this system: the serial library's port-name
// resolution, then the device behind the path it gives (the node's identity, and its real
// path to name it). Nothing when the name leads nowhere. Opens nothing.
[[nodiscard]] std::optional<PortDevice> PosixPortDevice(const std::string& comNumber);

}  // namespace veltaro::cli
