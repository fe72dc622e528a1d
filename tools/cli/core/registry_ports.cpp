// The port listing of Windows, from what the registry and SetupAPI report.
#include "registry_ports.h"

#include <algorithm>
#include <map>

#include "text_util.h"

namespace veltaro::cli {
namespace {

ComListing FromDevice(const PortDevice& device, unsigned number) {
    ComListing port;
    port.number = number;
    port.portName = device.portName;
    port.friendlyName = device.friendlyName;
    port.maker = device.maker;
    port.description = device.description;
    port.usb = ParseDeviceIds(device.hardwareId, device.instanceId, device.parentInstanceId);
    return port;
}

std::string UsbText(const ComListing& port) {
    std::string text = "USB " + port.usb->vendorId + ":" + port.usb->productId;
    for (const std::string* part : {&port.maker, &port.description}) {
        if (!part->empty()) {
            text += " " + *part;
        }
    }
    return port.usb->serial.empty() ? text : text + ", serial " + port.usb->serial;
}

std::string TextLine(const ComListing& port) {
    std::string line = "COM" + std::to_string(port.number) + "  " +
                       (port.device.empty() ? std::string("-") : port.device) + "  (" +
                       (port.inSerialComm ? "SERIALCOMM" : "Ports class only");
    if (!port.friendlyName.empty()) {
        line += "; " + port.friendlyName;
    }
    if (port.usb) {
        line += ", " + UsbText(port);
    } else if (!port.maker.empty()) {
        line += ", " + port.maker;
    }
    return TerminalSafe(line) + ")\n";
}

std::string JsonOrNull(const std::string& text) {
    return text.empty() ? "null" : JsonString(text);
}

std::string JsonObject(const ComListing& port) {
    std::string usb = "null";
    if (port.usb) {
        usb = "{\"vendor_id\": " + JsonString(port.usb->vendorId) +
              ", \"product_id\": " + JsonString(port.usb->productId) +
              ", \"maker\": " + JsonOrNull(port.maker) +
              ", \"product\": " + JsonOrNull(port.description) +
              ", \"serial\": " + JsonOrNull(port.usb->serial) + "}";
    }
    return "{\"com\": " + std::to_string(port.number) +
           ", \"source\": " + JsonString(port.inSerialComm ? "SERIALCOMM" : "Ports class") +
           ", \"path\": " + JsonOrNull(port.device) +
           ", \"friendly_name\": " + JsonOrNull(port.friendlyName) +
           ", \"maker\": " + JsonOrNull(port.maker) + ", \"usb\": " + usb + "}";
}

}  // namespace

std::vector<ComListing> FindComPorts(ComPortSource& source) {
    std::map<unsigned, ComListing> ports;
    const std::vector<PortDevice> devices = source.PortDevices();
    for (const PortDevice& device : devices) {
        if (const std::optional<unsigned> number = ComNumberOf(device.portName)) {
            ports.try_emplace(*number, FromDevice(device, *number));
        }
    }
    for (const SerialCommValue& value : source.SerialComm()) {
        const std::optional<unsigned> number = ComNumberOf(value.portName);
        if (!number) {
            continue;
        }
        ComListing& port = ports.try_emplace(*number).first->second;
        if (!port.inSerialComm) {
            port.number = *number;
            port.portName = value.portName;
            port.inSerialComm = true;
            port.device = value.device;
        }
    }
    std::vector<ComListing> listed;
    for (auto& [number, port] : ports) {
        listed.push_back(std::move(port));
    }
    return listed;
}

std::string FormatComPorts(const std::vector<ComListing>& ports, bool json) {
    std::string out = json ? "[" : "";
    for (std::size_t i = 0; i < ports.size(); ++i) {
        out += json ? (i == 0 ? "\n  " : ",\n  ") + JsonObject(ports[i]) : TextLine(ports[i]);
    }
    if (json) {
        return out + (ports.empty() ? "]\n" : "\n]\n");
    }
    return ports.empty() ? "no COM ports: Windows lists none under "
                           "HKLM\\HARDWARE\\DEVICEMAP\\SERIALCOMM\n"
                         : out;
}

}  // namespace veltaro::cli
