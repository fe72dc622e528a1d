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

std::string Utf8FromWide(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int needed =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    const int written =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), needed, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return utf8;
}

// Taken in UTF-16 and converted once: the ANSI call would give the active code page, which
// the program cannot tell apart from UTF-8 on systems that ignore its manifest's setting.
std::string SystemMessage(DWORD error, DWORD language) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring_view wide =
        length != 0 && text != nullptr ? std::wstring_view(text, length) : std::wstring_view();
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L'.' ||
                             wide.back() == L' ')) {
        wide.remove_suffix(1);
    }
    std::string message = Utf8FromWide(wide);
    ::LocalFree(text);
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
