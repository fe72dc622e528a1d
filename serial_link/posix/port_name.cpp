#include "port_name.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace brenlow::detail {

namespace {

using Kind = CSerialConn::OpenError;

constexpr std::string_view kDevicePrefix = "\\\\.\\";  // the Win32 device namespace prefix
constexpr std::size_t kMaxDigits = 6;
constexpr unsigned kMaxPerFamily = 256;  // a bound on each family's walk
// Wine's order of automatic numbering.
constexpr std::array<std::string_view, 3> kFamilies = {"ttyS", "ttyUSB", "ttyACM"};

bool IsComPrefix(std::string_view text) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return text.size() == 3 && lower(text[0]) == 'c' && lower(text[1]) == 'o' &&
           lower(text[2]) == 'm';
}

const char* NonEmpty(const char* value) {
    return (value != nullptr && value[0] != '\0') ? value : nullptr;
}

std::string HomeDirectory(const EnvLookup& env) {
    if (const char* home = NonEmpty(env("HOME"))) {
        return home;
    }
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::array<char, 4096> buffer{};
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string NoDeviceReason(unsigned number, const PortNamePlaces& places, std::size_t count) {
    const std::string com = "COM" + std::to_string(number);
    const std::string entry = PortEntryPath(number, places.portDir);
    return com + " has no device: " + entry + " does not exist, and " + places.devRoot +
           " has only " + std::to_string(count) +
           " serial devices (ttyS*, ttyUSB*, ttyACM*). Make " + entry +
           " a link to the device to use.";
}

}  // namespace

std::string PortDirFromEnvironment(const EnvLookup& env) {
    if (const char* dir = NonEmpty(env("BRENLOW_PORT_DIR"))) {
        return dir;
    }
    if (const char* config = NonEmpty(env("XDG_CONFIG_HOME"));
        config != nullptr && config[0] == '/') {
        return std::string(config) + "/brenlow/ports";
    }
    return HomeDirectory(env) + "/.config/brenlow/ports";
}

std::string PortEntryPath(unsigned number, const std::string& portDir) {
    return portDir + "/com" + std::to_string(number);
}

EntryLookup LookUpPortEntry(unsigned number, const std::string& portDir, int* error) {
    struct stat info {};
    if (::lstat(PortEntryPath(number, portDir).c_str(), &info) == 0) {
        return EntryLookup::kFound;
    }
    if (error != nullptr) {
        *error = errno;
    }
    // No directory, or a file in its place: there is no entry, and the numbering decides.
    return errno == ENOENT || errno == ENOTDIR ? EntryLookup::kAbsent : EntryLookup::kUnknown;
}

std::vector<std::string> AutomaticallyNumbered(const std::string& devRoot) {
    std::vector<std::string> devices;
    for (std::string_view family : kFamilies) {
        for (unsigned index = 0; index < kMaxPerFamily; ++index) {
            std::string path = devRoot + "/" + std::string(family) + std::to_string(index);
            if (!Exists(path)) {
                break;
            }
            devices.push_back(std::move(path));
        }
    }
    return devices;
}

PortNamePlaces DefaultPortNamePlaces() {
    return {PortDirFromEnvironment([](const char* name) { return std::getenv(name); }), "/dev"};
}

std::optional<unsigned> ParseComNumber(std::string_view name) {
    if (name.starts_with(kDevicePrefix)) {
        name.remove_prefix(kDevicePrefix.size());
    }
    if (name.size() < 4 || name.size() > 3 + kMaxDigits || !IsComPrefix(name.substr(0, 3))) {
        return std::nullopt;
    }
    unsigned number = 0;
    for (char digit : name.substr(3)) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<unsigned>(digit - '0');
    }
    if (number == 0) {
        return std::nullopt;
    }
    return number;
}

std::optional<std::string> ResolvePortName(const std::string& name, const PortNamePlaces& places,
                                           OpenFailure& failure) {
    if (name.starts_with('/')) {
        return name;
    }
    const std::optional<unsigned> number = ParseComNumber(name);
    if (!number) {
        failure = {Kind::kBadName, "\"" + name +
                                       "\" is not a port name: use COM1, COM2, ... or the "
                                       "absolute path of a device."};
        return std::nullopt;
    }
    int error = 0;
    switch (LookUpPortEntry(*number, places.portDir, &error)) {
        case EntryLookup::kFound:
            return PortEntryPath(*number, places.portDir);
        case EntryLookup::kUnknown:
            // The entry may be there: the numbering would open another device than it names.
            failure = {error == EACCES ? Kind::kPermissionDenied : Kind::kSystem,
                       "cannot look for " + PortEntryPath(*number, places.portDir) + ": " +
                           std::strerror(error)};
            return std::nullopt;
        case EntryLookup::kAbsent:
            break;
    }
    std::vector<std::string> devices = AutomaticallyNumbered(places.devRoot);
    if (*number <= devices.size()) {
        return std::move(devices[*number - 1]);
    }
    failure = {Kind::kNotFound, NoDeviceReason(*number, places, devices.size())};
    return std::nullopt;
}

}  // namespace brenlow::detail
