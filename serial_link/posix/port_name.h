#pragma once

// Resolution of Windows port names ("COM4", "\\.\COM12") to POSIX devices, following the
// convention Wine users know:
//   1. an absolute path is used as it is;
//   2. otherwise a leading "\\.\" is dropped and the rest must read COM<N> (any case);
//   3. an entry com<N> in the port directory (usually a symbolic link) names the device;
//   4. otherwise COM1, COM2, ... number the existing ttyS*, then ttyUSB*, then ttyACM*
//      devices in order, each list ending at its first missing index.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "serial_device.h"

namespace brenlow::detail {

// Where names are looked up. Tests point both at temporary folders.
struct PortNamePlaces {
    std::string portDir;  // holds the com<N> entries
    std::string devRoot;  // holds the serial devices, normally "/dev"
};

// Reads one environment variable; null when it is not set.
using EnvLookup = std::function<const char*(const char*)>;

// The port directory: $BRENLOW_PORT_DIR, else $XDG_CONFIG_HOME/brenlow/ports, else
// ~/.config/brenlow/ports. Empty values count as unset, and so does a relative
// XDG_CONFIG_HOME, as the XDG rules say. With HOME unset or empty, ~ is the home directory
// of the password database, so that every program of the suite finds the same directory
// whoever starts it (the program, veltaro-cli and veltaro-modem-sim all ask here).
[[nodiscard]] std::string PortDirFromEnvironment(const EnvLookup& env);

// The places of this process: its environment and /dev.
[[nodiscard]] PortNamePlaces DefaultPortNamePlaces();

// The devices that COM1, COM2, ... name when the port directory has no entry for them:
// the existing ttyS*, then ttyUSB*, then ttyACM* under devRoot, each list ending at its
// first missing index. Only looks at names; opens nothing.
[[nodiscard]] std::vector<std::string> AutomaticallyNumbered(const std::string& devRoot);

// The entry of the port directory that names COM<number>: "com" and the number in decimal
// without leading zeros. It is the only name looked up for that number ("com03" names no
// port), so whatever lists the ports asks here too.
[[nodiscard]] std::string PortEntryPath(unsigned number, const std::string& portDir);

// Whether the port directory holds the entry of COM<number>; a dangling link counts, since it
// still names the device that the port is meant to be. kUnknown when the lookup failed for
// another reason than a missing entry or directory (no permission to search the directory):
// the entry may be there, so the automatic numbering must not stand in for it. `error`, when
// given, receives the errno of a failed lookup.
enum class EntryLookup { kFound, kAbsent, kUnknown };
[[nodiscard]] EntryLookup LookUpPortEntry(unsigned number, const std::string& portDir,
                                          int* error = nullptr);

// The N of "COM<N>" or "\\.\COM<N>" (COM in any case, N from 1); nothing for other names.
[[nodiscard]] std::optional<unsigned> ParseComNumber(std::string_view name);

// The device path for a port name, or nothing with failure filled (kBadName, kNotFound).
[[nodiscard]] std::optional<std::string> ResolvePortName(const std::string& name,
                                                         const PortNamePlaces& places,
                                                         OpenFailure& failure);

}  // namespace brenlow::detail
