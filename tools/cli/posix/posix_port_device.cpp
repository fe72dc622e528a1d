#include "posix_port_device.h"

#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "port_name.h"
#include "text_util.h"
#include "veltaro/console/text_rules.h"

namespace veltaro::cli {

std::optional<PortDevice> PosixPortDevice(const std::string& comNumber) {
    const std::string name = console::FormatPortName(std::atoi(comNumber.c_str()));
    brenlow::detail::OpenFailure failure{};
    const std::optional<std::string> path =
        brenlow::detail::ResolvePortName(name, brenlow::detail::DefaultPortNamePlaces(), failure);
    struct stat info {};
    if (!path || stat(path->c_str(), &info) != 0) {
        return std::nullopt;
    }
    // Two nodes of one character device are the same device; anything else is one file.
    const std::string identity = S_ISCHR(info.st_mode) ? "char " + std::to_string(info.st_rdev)
                                                       : "file " + std::to_string(info.st_dev) +
                                                             ":" + std::to_string(info.st_ino);
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(path->c_str(), nullptr),
                                                           &std::free);
    return PortDevice{identity, TerminalSafeUtf8(real ? real.get() : *path)};
}

}  // namespace veltaro::cli
