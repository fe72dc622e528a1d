#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltaro::cli {

// What the system reports of a USB adapter (empty where it reports nothing).
struct UsbDetails {
    std::string vendorId;
    std::string productId;
    std::string maker;
    std::string product;
    std::string serial;
};

// One COM number that --com can open, and what it leads to.
struct PortListing {
    unsigned number = 0;
    bool fromPortDir = false;  // an entry comN; else the automatic numbering
    std::string path;          // the entry, or the device
    std::string target;        // the entry's link target (empty for a plain file or a device)
    bool dangling = false;     // a link whose target does not exist
    bool characterDevice = false;
    std::optional<UsbDetails> usb;
    // A legacy serial port that the kernel lists without a UART behind it (sysfs type 0),
    // as most of ttyS0..ttyS31 on a PC.
    bool noUart = false;
    bool accessible = false;  // the user may read and write it
    std::string group;        // when not accessible: the group that may

    // Windows lists its ports itself: where ("SERIALCOMM", or "Ports class" for a device whose
    // driver has not listed it), the name Device Manager shows and the driver's maker. Empty
    // on POSIX, where the fields above describe the port instead. `path` is then the
    // SERIALCOMM value's device name, and `usb` comes from the device's IDs.
    std::string listedBy;
    std::string friendlyName;
    std::string maker;
};

// The listing as text lines or as a JSON array. Strings from the system are bytes: text
// keeps printable UTF-8 and writes other bytes as \xNN; JSON keeps valid UTF-8 and writes
// other bytes as \udcNN (see json_bytes.h).
// `noneFound` is the line for an empty listing.
std::string FormatPorts(const std::vector<PortListing>& ports, bool json,
                        std::string_view noneFound =
                            "no COM ports: the port directory has no "
                            "entries and no serial devices are "
                            "numbered\n");

}  // namespace veltaro::cli
