#include "serial_device.h"
#include "win32_device.h"

// The Win32 side of the platform seam. The port name goes to CreateFileA unchanged: "COM4"
// and "\\.\COM12" are the system's own names.

namespace brenlow::detail {

std::unique_ptr<SerialDevice> OpenSerialDevice(const std::string& portName,
                                               const LineSettings& settings, OpenFailure& failure) {
    return Win32SerialDevice::Open(portName, settings, failure);
}

}  // namespace brenlow::detail
