#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace veltaro::cli {

// The device that a COM number leads to, as far as can be told without opening it.
struct PortDevice {
    std::string identity;  // equal for two ways to one device (links, two nodes of it)
    std::string path;      // how a message names it
};

// The device of a --com number; nothing when there is none (the port's own run reports it).
using PortDeviceLookup = std::function<std::optional<PortDevice>(const std::string& comNumber)>;

// An error naming the first two COM numbers of the list that lead to one device, and the
// device; empty when every number leads to a device of its own. The second connection to a
// device would fail as "in use" after the first had begun, so such a list is refused before
// any port is opened.
[[nodiscard]] std::string SameDeviceTwice(std::span<const std::string> comNumbers,
                                          const PortDeviceLookup& lookup);

}  // namespace veltaro::cli
