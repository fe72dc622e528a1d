#pragma once

#include <string>
#include <vector>

#include "port_listing.h"

namespace veltaro::cli {

// Where the listing looks; tests point all three at a scratch tree.
struct ListingPlaces {
    std::string portDir;  // the comN entries
    std::string devRoot;  // the automatically numbered devices, normally /dev
    std::string sysRoot;  // the kernel's device tree, normally /sys
};

// The places of this process: the port directory as the serial library finds it, /dev, /sys.
ListingPlaces DefaultListingPlaces();

// Every COM number that --com can open (1 to 999), by number: the port directory's entries
// under the names that the port-name resolution looks up, and the automatically numbered
// devices that no entry hides. Looks at names, links and attributes only: no port is
// opened, locked or touched, since opening one can reset a device through its control lines.
std::vector<PortListing> FindPorts(const ListingPlaces& places);

// Why the port directory cannot be read, with its path and the system's reason (not a
// directory, no permission to read or search it); empty when it can be, or when there is
// none, which only leaves the automatic numbering.
std::string PortDirProblem(const std::string& portDir);

}  // namespace veltaro::cli
