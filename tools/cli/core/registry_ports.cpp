// The port listing of Windows, from what the registry and SetupAPI report.
#include "registry_ports.h"

#include <map>

namespace veltaro::cli {
namespace {

PortListing FromDevice(const SetupApiDevice& device, unsigned number) {
    PortListing port;
    port.number = number;
    port.listedBy = "Ports class";
    port.friendlyName = device.friendlyName;
    port.maker = device.maker;
    if (const std::optional<DeviceIds> ids =
            ParseDeviceIds(device.hardwareId, device.instanceId, device.parentInstanceId)) {
        port.usb = UsbDetails{ids->vendorId, ids->productId, device.maker, device.description,
                              ids->serial};
    }
    return port;
}

}  // namespace

std::vector<PortListing> FindComPorts(ComPortSource& source) {
    std::map<unsigned, PortListing> ports;
    for (const SetupApiDevice& device : source.SetupApiDevices()) {
        if (const std::optional<unsigned> number = ComNumberOf(device.portName)) {
            ports.try_emplace(*number, FromDevice(device, *number));
        }
    }
    for (const SerialCommValue& value : source.SerialComm()) {
        const std::optional<unsigned> number = ComNumberOf(value.portName);
        if (!number) {
            continue;
        }
        PortListing& port = ports.try_emplace(*number).first->second;
        if (port.listedBy != "SERIALCOMM") {
            port.number = *number;
            port.listedBy = "SERIALCOMM";
            port.path = value.device;
        }
    }
    std::vector<PortListing> listed;
    for (auto& [number, port] : ports) {
        listed.push_back(std::move(port));
    }
    return listed;
}

}  // namespace veltaro::cli
