#pragma once

#include <optional>
#include <string>
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
};

// The listing as text lines or as a JSON array. Strings from the system are bytes: text
// keeps printable UTF-8 and writes other bytes as \xNN; JSON keeps valid UTF-8 and writes
// other bytes as \udcNN (see json_bytes.h).
std::string FormatPorts(const std::vector<PortListing>& ports, bool json);

}  // namespace veltaro::cli
