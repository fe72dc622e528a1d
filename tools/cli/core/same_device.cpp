#include "same_device.h"

#include <map>

namespace veltaro::cli {

std::string SameDeviceTwice(std::span<const std::string> comNumbers,
                            const PortDeviceLookup& lookup) {
    std::map<std::string, const std::string*> firstOf;  // device identity -> its COM number
    for (const std::string& number : comNumbers) {
        const std::optional<PortDevice> device = lookup(number);
        if (!device) {
            continue;
        }
        const auto [found, fresh] = firstOf.emplace(device->identity, &number);
        if (!fresh) {
            return "--com lists COM" + *found->second + " and COM" + number +
                   ", which lead to one device, " + device->path +
                   ": give each device once (a second connection would find it in use)";
        }
    }
    return {};
}

}  // namespace veltaro::cli
