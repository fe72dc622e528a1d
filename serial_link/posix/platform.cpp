#include "port_name.h"
#include "posix_device.h"
#include "serial_device.h"

// The POSIX side of the platform seam.

namespace brenlow::detail {

std::unique_ptr<SerialDevice> OpenSerialDevice(const std::string& portName,
                                               const LineSettings& settings, OpenFailure& failure) {
    const std::optional<std::string> path =
        ResolvePortName(portName, DefaultPortNamePlaces(), failure);
    if (!path) {
        return nullptr;
    }
    return PosixSerialDevice::Open(*path, settings, failure);
}

}  // namespace brenlow::detail
