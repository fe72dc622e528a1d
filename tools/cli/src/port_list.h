#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltaro::cli {

// Where the listing looks; tests point all three at a scratch tree.
struct ListingPlaces {
    std::string portDir;  // the comN entries
    std::string devRoot;  // the automatically numbered devices, normally /dev
    std::string sysRoot;  // the kernel's device tree, normally /sys
};

// The places of this process: the port directory as the serial library finds it, /dev, /sys.
ListingPlaces DefaultListingPlaces();

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

// Every COM number that --com can open (1 to 999), by number: the port directory's entries
// under the names that the port-name resolution looks up, and the automatically numbered
// devices that no entry hides. Looks at names, links and attributes
// only: no port is opened, locked or touched, since opening one can reset a device through
// its control lines.
std::vector<PortListing> FindPorts(const ListingPlaces& places);

// Why the port directory cannot be read, with its path and the system's reason (not a
// directory, no permission to read or search it); empty when it can be, or when there is
// none, which only leaves the automatic numbering.
std::string PortDirProblem(const std::string& portDir);

// The listing as text lines or as a JSON array. Strings from the system are bytes: text
// keeps printable UTF-8 and writes other bytes as \xNN; JSON keeps valid UTF-8 and writes
// other bytes as \udcNN (see json_bytes.h).
std::string FormatPorts(const std::vector<PortListing>& ports, bool json);

// What `ports` prints, and the problem with the port directory that it reports beside it.
struct PortsReport {
    std::string text;
    std::string problem;  // empty when the port directory could be read (or there is none)
};
PortsReport ListPorts(const ListingPlaces& places, bool json);

}  // namespace veltaro::cli
