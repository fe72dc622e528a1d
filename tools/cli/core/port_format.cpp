// The text and JSON forms of the port listing.
#include "json_bytes.h"
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
    std::string line = "COM" + std::to_string(port.number) + "  " + TerminalSafeUtf8(port.path);
    if (!port.target.empty()) {
        line += " -> " + TerminalSafeUtf8(port.target);
    }
    line += port.fromPortDir ? "  (port directory; " : "  (automatic numbering; ";
    return line + TerminalSafeUtf8(State(port)) + ")\n";
}

using Json = nlohmann::ordered_json;

Json StringOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(BytesForJson(text));
}

Json JsonUsb(const std::optional<UsbDetails>& usb) {
    if (!usb) {
        return nullptr;
    }
    return Json{{"vendor_id", StringOrNull(usb->vendorId)},
                {"product_id", StringOrNull(usb->productId)},
                {"maker", StringOrNull(usb->maker)},
                {"product", StringOrNull(usb->product)},
                {"serial", StringOrNull(usb->serial)}};
}

Json JsonObject(const PortListing& port) {
    return Json{{"com", port.number},
                {"source", port.fromPortDir ? "port directory" : "automatic"},
                {"path", BytesForJson(port.path)},
                {"target", StringOrNull(port.target)},
                {"dangling", port.dangling},
                {"character_device", port.characterDevice},
                {"usb", JsonUsb(port.usb)},
                {"no_uart", port.noUart},
                {"accessible", port.accessible},
                {"group", StringOrNull(port.group)}};
}

}  // namespace

std::string FormatPorts(const std::vector<PortListing>& ports, bool json) {
    if (json) {
        Json array = Json::array();
        for (const PortListing& port : ports) {
            array.push_back(JsonObject(port));
        }
        return DumpWithByteEscapes(array, 2) + "\n";
    }
    std::string out;
    for (const PortListing& port : ports) {
        out += TextLine(port);
    }
    return ports.empty() ? "no COM ports: the port directory has no entries and no serial "
                           "devices are numbered\n"
                         : out;
}

}  // namespace veltaro::cli
