#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltaro::cli {

// What Windows' device identifiers tell about a serial adapter. Pure string work on what
// SetupAPI reports, so that it is tested on every platform.
struct DeviceIds {
    std::string vendorId;   // four hex digits, lower case, as sysfs writes them
    std::string productId;  // likewise
    std::string serial;     // empty when the device reports none
};

// The USB identity of a port's device, or nothing for a port that is not on USB (a built-in
// UART on ACPI or PCI, a Bluetooth link).
// hardwareId:  the first hardware ID, e.g. "USB\VID_10C4&PID_EA60&REV_0100" or
//              "FTDIBUS\COMPORT&VID_0403&PID_6001".
// instanceId:  the device instance ID, e.g. "USB\VID_10C4&PID_EA60\0001"; its last part is
//              the serial number when the device has one, and an ID that Windows made up
//              (it holds '&') when it has none.
// parentInstanceId: the instance ID of the USB device above the port, for an interface of a
//              composite device ("...&MI_00"), whose own instance ID never holds the serial.
[[nodiscard]] std::optional<DeviceIds> ParseDeviceIds(std::string_view hardwareId,
                                                      std::string_view instanceId,
                                                      std::string_view parentInstanceId = {});

// The number of a port name that --com can open: "COM7" -> 7 (1..999), else nothing.
[[nodiscard]] std::optional<unsigned> ComNumberOf(std::string_view portName);

}  // namespace veltaro::cli
