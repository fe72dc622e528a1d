#include "device_ids.h"

#include <cctype>
#include <vector>

namespace veltaro::cli {
namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

std::vector<std::string_view> Split(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at == text.size() || separators.find(text[at]) != std::string_view::npos) {
            parts.push_back(text.substr(start, at - start));
            start = at + 1;
        }
    }
    return parts;
}

bool IsHex(std::string_view text) {
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return !text.empty();
}

// "VID_0403" among the ID's parts, separated by '\', '&' or '+' (FTDI's own bus uses '+').
std::string HexField(std::string_view id, std::string_view prefix) {
    const std::string upper = Upper(id);
    for (const std::string_view part : Split(upper, "\\&+")) {
        if (part.starts_with(prefix) && part.size() == prefix.size() + 4 &&
            IsHex(part.substr(prefix.size()))) {
            std::string value(part.substr(prefix.size()));
            for (char& c : value) {
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            return value;
        }
    }
    return {};
}

bool HasPart(std::string_view id, std::string_view prefix) {
    const std::string upper = Upper(id);
    for (const std::string_view part : Split(upper, "\\&+")) {
        if (part.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

// Windows makes up an instance ID's last part ("5&2F1B2C3&0&2") when the device reports no
// serial number; a real one never holds '&'.
std::string RealSerial(std::string_view part) {
    return part.empty() || part.find('&') != std::string_view::npos ? std::string()
                                                                    : std::string(part);
}

std::string SerialOf(std::string_view instanceId) {
    const std::vector<std::string_view> segments = Split(instanceId, "\\");
    if (segments.size() < 2) {
        return {};
    }
    const std::string bus = Upper(segments[0]);
    if (bus == "FTDIBUS") {
        // "VID_0403+PID_6001+A50285BIA": the serial with the channel letter (A for the first
        // port of the chip) appended.
        const std::vector<std::string_view> fields = Split(segments[1], "+");
        std::string serial = fields.size() == 3 ? RealSerial(fields[2]) : std::string();
        if (serial.size() > 1 && serial.back() >= 'A' && serial.back() <= 'D') {
            serial.pop_back();
        }
        return serial;
    }
    return bus == "USB" && segments.size() == 3 ? RealSerial(segments[2]) : std::string();
}

}  // namespace

std::optional<DeviceIds> ParseDeviceIds(std::string_view hardwareId, std::string_view instanceId,
                                        std::string_view parentInstanceId) {
    DeviceIds ids{HexField(hardwareId, "VID_"), HexField(hardwareId, "PID_"), {}};
    if (ids.vendorId.empty() || ids.productId.empty()) {
        ids = {HexField(instanceId, "VID_"), HexField(instanceId, "PID_"), {}};
    }
    if (ids.vendorId.empty() || ids.productId.empty()) {
        return std::nullopt;
    }
    // One interface of a composite device (a modem's CDC port beside its other functions):
    // the serial number belongs to the device above it.
    const bool composite = HasPart(hardwareId, "MI_") || HasPart(instanceId, "MI_");
    ids.serial = SerialOf(composite ? parentInstanceId : instanceId);
    return ids;
}

std::optional<unsigned> ComNumberOf(std::string_view portName) {
    const std::string upper = Upper(portName);
    if (!upper.starts_with("COM") || upper.size() < 4 || upper.size() > 6 || upper[3] == '0') {
        return std::nullopt;
    }
    unsigned number = 0;
    for (const char c : std::string_view(upper).substr(3)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    return number;
}

}  // namespace veltaro::cli
