// The text and JSON forms of the port listing.
#include "port_listing.h"
#include "text_util.h"

namespace veltaro::cli {
namespace {

std::string UsbText(const UsbDetails& usb) {
    std::string text = "USB " + usb.vendorId + ":" + usb.productId;
    for (const std::string* part : {&usb.maker, &usb.product}) {
        if (!part->empty()) {
            text += " " + *part;
        }
    }
    return usb.serial.empty() ? text : text + ", serial " + usb.serial;
}

std::string State(const PortListing& port) {
    if (port.dangling) {
        return "dangling link: the target does not exist";
    }
    std::string state = port.characterDevice ? "character device" : "not a device";
    if (port.noUart) {
        state += ", no UART behind it";
    }
    if (port.usb) {
        state += ", " + UsbText(*port.usb);
    }
    if (port.accessible) {
        return state + ", you may open it";
    }
    return state + (port.group.empty() ? ", you may not open it"
                                       : ", you may not open it: join group " + port.group);
}

std::string TextLine(const PortListing& port) {
    std::string line = "COM" + std::to_string(port.number) + "  " + TerminalSafe(port.path);
    if (!port.target.empty()) {
        line += " -> " + TerminalSafe(port.target);
    }
    line += port.fromPortDir ? "  (port directory; " : "  (automatic numbering; ";
    return line + TerminalSafe(State(port)) + ")\n";
}

std::string JsonOrNull(const std::string& text) {
    return text.empty() ? "null" : JsonString(text);
}

std::string JsonUsb(const std::optional<UsbDetails>& usb) {
    if (!usb) {
        return "null";
    }
    return "{\"vendor_id\": " + JsonOrNull(usb->vendorId) +
           ", \"product_id\": " + JsonOrNull(usb->productId) +
           ", \"maker\": " + JsonOrNull(usb->maker) + ", \"product\": " + JsonOrNull(usb->product) +
           ", \"serial\": " + JsonOrNull(usb->serial) + "}";
}

std::string JsonObject(const PortListing& port) {
    const auto flag = [](bool value) { return value ? std::string("true") : std::string("false"); };
    return "{\"com\": " + std::to_string(port.number) +
           ", \"source\": " + JsonString(port.fromPortDir ? "port directory" : "automatic") +
           ", \"path\": " + JsonString(port.path) + ", \"target\": " + JsonOrNull(port.target) +
           ", \"dangling\": " + flag(port.dangling) +
           ", \"character_device\": " + flag(port.characterDevice) +
           ", \"usb\": " + JsonUsb(port.usb) + ", \"no_uart\": " + flag(port.noUart) +
           ", \"accessible\": " + flag(port.accessible) + ", \"group\": " + JsonOrNull(port.group) +
           "}";
}

}  // namespace

std::string FormatPorts(const std::vector<PortListing>& ports, bool json) {
    std::string out = json ? "[" : "";
    for (std::size_t i = 0; i < ports.size(); ++i) {
        out += json ? (i == 0 ? "\n  " : ",\n  ") + JsonObject(ports[i]) : TextLine(ports[i]);
    }
    if (json) {
        return out + (ports.empty() ? "]\n" : "\n]\n");
    }
    return ports.empty() ? "no COM ports: the port directory has no entries and no serial "
                           "devices are numbered\n"
                         : out;
}

}  // namespace veltaro::cli
