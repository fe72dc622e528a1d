#include "open_failure.h"

#include <array>

namespace brenlow::detail {

namespace {

using Kind = CSerialConn::OpenError;

constexpr DWORD kAnyError = 0;

constexpr const char* kMissingHint =
    " Check the number under Ports (COM & LPT) in the Device Manager; a USB adapter must be "
    "plugged in.";
constexpr const char* kInUseHint =
    " Another program holds it, usually a terminal program, a modem or GPS tool, or another "
    "copy of this tool: close it first.";

struct Rule {
    OpenStep step;
    DWORD error;  // kAnyError matches every code
    Kind kind;
    const char* hint;  // appended after the system's message
};

// First match wins; every step ends with a catch-all.
constexpr std::array kRules = {
    Rule{OpenStep::kEvents, kAnyError, Kind::kSystem, ""},
    Rule{OpenStep::kOpen, ERROR_FILE_NOT_FOUND, Kind::kNotFound, kMissingHint},
    Rule{OpenStep::kOpen, ERROR_PATH_NOT_FOUND, Kind::kNotFound, kMissingHint},
    Rule{OpenStep::kOpen, ERROR_DEVICE_NOT_CONNECTED, Kind::kNotFound, kMissingHint},
    Rule{OpenStep::kOpen, ERROR_INVALID_NAME, Kind::kBadName, " Use COM1, COM2, ..."},
    Rule{OpenStep::kOpen, ERROR_ACCESS_DENIED, Kind::kInUse, kInUseHint},
    Rule{OpenStep::kOpen, ERROR_SHARING_VIOLATION, Kind::kInUse, kInUseHint},
    Rule{OpenStep::kOpen, kAnyError, Kind::kSystem, ""},
    Rule{OpenStep::kReadSettings, kAnyError, Kind::kNotASerialPort, ""},
    Rule{OpenStep::kLineSettings, kAnyError, Kind::kLineSettingsRefused, ""},
};

const Rule& FindRule(OpenStep step, DWORD error) {
    for (const Rule& rule : kRules) {
        if (rule.step == step && (rule.error == error || rule.error == kAnyError)) {
            return rule;
        }
    }
    return kRules.back();  // unreachable: every step has a catch-all
}

std::string Sentence(Kind kind, const std::string& name) {
    switch (kind) {
        case Kind::kNotFound:
            return "No device answers at " + name;
        case Kind::kInUse:
            return name + " is in use by another program";
        case Kind::kNotASerialPort:
            return name + " is not a serial port";
        case Kind::kLineSettingsRefused:
            return name + " refused the line settings";
        default:
            return name + " cannot be opened";
    }
}

}  // namespace

std::string SystemMessage(DWORD error) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length != 0 && text != nullptr ? std::string(text, length) : "";
    ::LocalFree(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                                message.back() == '.' || message.back() == ' ')) {
        message.pop_back();
    }
    if (message.empty()) {
        message = "system error " + std::to_string(error);
    }
    return message;
}

OpenFailure DescribeOpenFailure(OpenStep step, DWORD error, const std::string& name) {
    const Rule& rule = FindRule(step, error);
    std::string reason = Sentence(rule.kind, name);
    if (error != 0) {
        reason += " (" + SystemMessage(error) + ")";
    }
    return {rule.kind, reason + "." + rule.hint};
}

}  // namespace brenlow::detail
