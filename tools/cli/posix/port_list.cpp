#include "port_list.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "com_list.h"
#include "port_name.h"
#include "text_util.h"

namespace veltaro::cli {
namespace {

namespace fs = std::filesystem;

// How far above the tty's sysfs node the USB device that carries it may sit.
constexpr int kMaxUsbLevels = 6;

std::string ReadAttribute(const fs::path& dir, const char* name) {
    std::ifstream in(dir / name);
    std::string value;
    std::getline(in, value);
    return std::string(Trim(value));
}

std::optional<UsbDetails> UsbOf(const std::string& device, const std::string& sysRoot) {
    std::error_code ec;
    const fs::path node =
        fs::path(sysRoot) / "class" / "tty" / fs::path(device).filename() / "device";
    fs::path dir = fs::canonical(node, ec);
    for (int level = 0; !ec && level < kMaxUsbLevels && dir.has_relative_path(); ++level) {
        if (fs::exists(dir / "idVendor", ec)) {
            return UsbDetails{ReadAttribute(dir, "idVendor"), ReadAttribute(dir, "idProduct"),
                              ReadAttribute(dir, "manufacturer"), ReadAttribute(dir, "product"),
                              ReadAttribute(dir, "serial")};
        }
        dir = dir.parent_path();
    }
    return std::nullopt;
}

std::string GroupName(gid_t gid) {
    group entry{};
    group* found = nullptr;
    std::array<char, 4096> buffer{};
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->gr_name;
    }
    return std::to_string(gid);
}

// Fills in what the device behind `path` is, from its attributes alone.
void Describe(PortListing& port, const ListingPlaces& places) {
    struct stat info {};
    if (stat(port.path.c_str(), &info) != 0) {
        port.dangling = !port.target.empty();
        return;
    }
    port.characterDevice = S_ISCHR(info.st_mode);
    port.accessible = access(port.path.c_str(), R_OK | W_OK) == 0;
    if (!port.accessible && (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP)) {
        port.group = GroupName(info.st_gid);
    }
    std::error_code ec;
    const fs::path real = fs::canonical(port.path, ec);
    if (!ec) {
        port.usb = UsbOf(real.string(), places.sysRoot);
        const fs::path node = fs::path(places.sysRoot) / "class" / "tty" / real.filename();
        port.noUart = ReadAttribute(node, "type") == "0";
    }
}

// The entries that the port-name resolution finds, looked up by the same names: not read
// from the directory, so that a name it never looks up ("com03", "com1000") is not offered,
// and a directory that may be searched but not read still gives its entries.
void AddEntries(const ListingPlaces& places, std::map<unsigned, PortListing>& ports) {
    for (unsigned number = kLowestComNumber; number <= kHighestComNumber; ++number) {
        if (brenlow::detail::LookUpPortEntry(number, places.portDir) !=
            brenlow::detail::EntryLookup::kFound) {
            continue;
        }
        PortListing port;
        port.number = number;
        port.fromPortDir = true;
        port.path = brenlow::detail::PortEntryPath(number, places.portDir);
        std::error_code linkError;
        port.target = fs::read_symlink(port.path, linkError).string();
        ports[number] = std::move(port);
    }
}

}  // namespace

ListingPlaces DefaultListingPlaces() {
    const brenlow::detail::PortNamePlaces names = brenlow::detail::DefaultPortNamePlaces();
    return {names.portDir, names.devRoot, "/sys"};
}

std::vector<PortListing> FindPorts(const ListingPlaces& places) {
    std::map<unsigned, PortListing> ports;
    AddEntries(places, ports);
    const std::vector<std::string> devices = brenlow::detail::AutomaticallyNumbered(places.devRoot);
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const auto number = static_cast<unsigned>(i + 1);
        // An entry takes the number first; where it cannot be looked up, nothing opens.
        if (IsComNumber(number) && !ports.contains(number) &&
            brenlow::detail::LookUpPortEntry(number, places.portDir) ==
                brenlow::detail::EntryLookup::kAbsent) {
            PortListing port;
            port.number = number;
            port.path = devices[i];
            ports[number] = std::move(port);
        }
    }
    std::vector<PortListing> out;
    for (auto& [number, port] : ports) {
        Describe(port, places);
        out.push_back(std::move(port));
    }
    return out;
}

std::string PortDirProblem(const std::string& portDir) {
    struct stat info {};
    int error = 0;
    if (stat(portDir.c_str(), &info) != 0) {
        error = errno == ENOENT ? 0 : errno;  // no directory: the automatic numbering is all
    } else if (!S_ISDIR(info.st_mode)) {
        error = ENOTDIR;
    } else if (access(portDir.c_str(), R_OK | X_OK) != 0) {
        error = errno;
    }
    if (error == 0) {
        return {};
    }
    return "cannot read the port directory " + TerminalSafeUtf8(portDir) + ": " +
           std::strerror(error);
}

}  // namespace veltaro::cli
