// The port listing of Windows, from what the registry and SetupAPI report.
#include "registry_ports.h"

#include <map>

#include "text_util.h"

namespace veltaro::cli {
namespace {

PortListing FromDevice(const PortDevice& device, unsigned number) {
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

std::string UsbText(const UsbDetails& usb) {
    std::string text = "USB " + usb.vendorId + ":" + usb.productId;
    for (const std::string* part : {&usb.maker, &usb.product}) {
        if (!part->empty()) {
            text += " " + *part;
        }
    }
    return usb.serial.empty() ? text : text + ", serial " + usb.serial;
}

std::string JsonOrNull(const std::string& text) {
    return text.empty() ? "null" : JsonString(text);
}

}  // namespace

std::string RegistryTextLine(const PortListing& port) {
    std::string line = "COM" + std::to_string(port.number) + "  " +
                       (port.path.empty() ? std::string("-") : port.path) + "  (" + port.listedBy;
    if (!port.friendlyName.empty()) {
        line += "; " + port.friendlyName;
    }
    if (port.usb) {
        line += ", " + UsbText(*port.usb);
    } else if (!port.maker.empty()) {
        line += ", " + port.maker;
    }
    return TerminalSafe(line) + ")\n";
}

std::string RegistryJsonObject(const PortListing& port) {
    std::string usb = "null";
    if (port.usb) {
        usb = "{\"vendor_id\": " + JsonString(port.usb->vendorId) +
              ", \"product_id\": " + JsonString(port.usb->productId) +
              ", \"maker\": " + JsonOrNull(port.usb->maker) +
              ", \"product\": " + JsonOrNull(port.usb->product) +
              ", \"serial\": " + JsonOrNull(port.usb->serial) + "}";
    }
    return "{\"com\": " + std::to_string(port.number) +
           ", \"source\": " + JsonString(port.listedBy) + ", \"path\": " + JsonOrNull(port.path) +
           ", \"friendly_name\": " + JsonOrNull(port.friendlyName) +
           ", \"maker\": " + JsonOrNull(port.maker) + ", \"usb\": " + usb + "}";
}

std::vector<PortListing> FindComPorts(ComPortSource& source) {
    std::map<unsigned, PortListing> ports;
    for (const PortDevice& device : source.PortDevices()) {
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
