#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device_ids.h"
#include "port_listing.h"

namespace veltaro::cli {

// One value of HKLM\HARDWARE\DEVICEMAP\SERIALCOMM: the driver's device and the port name
// that serial tools open.
struct SerialCommValue {
    std::string device;    // the value's name, e.g. "\Device\VCP0"
    std::string portName;  // its data, e.g. "COM3"
};

// One device of the Ports class as SetupAPI reports it. Strings are UTF-8; empty where the
// system reports nothing.
struct SetupApiDevice {
    std::string portName;      // the device key's PortName, e.g. "COM3"
    std::string friendlyName;  // as Device Manager shows it: "USB Serial Port (COM3)"
    std::string maker;         // the driver's manufacturer: "FTDI"
    std::string description;   // the device description: "USB Serial Port"
    std::string hardwareId;    // the first hardware ID
    std::string instanceId;
    std::string parentInstanceId;  // the device above it (the USB device of an interface)
};

// Where the Windows listing reads from: the registry and SetupAPI on Windows, a table in
// the tests. Called on the main thread only.
class ComPortSource {
  public:
    virtual ~ComPortSource() = default;
    virtual std::vector<SerialCommValue> SerialComm() = 0;
    virtual std::vector<SetupApiDevice> SetupApiDevices() = 0;
};

// What the listing says when Windows knows no port.
inline constexpr std::string_view kNoRegistryPorts =
    "no COM ports: Windows lists none under HKLM\\HARDWARE\\DEVICEMAP\\SERIALCOMM\n";

// Every COM port of SERIALCOMM and of the Ports and Modem classes, by number, each once, with
// the SetupAPI details of the device that has its port name. Names that --com cannot open
// ("CNCA0") are left out. Nothing is opened.
[[nodiscard]] std::vector<PortListing> FindComPorts(ComPortSource& source);

}  // namespace veltaro::cli
