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

// Every COM number that --com can open, by number: the port directory's entries and the
// automatically numbered devices that no entry hides. Looks at names, links and attributes
// only: no port is opened, locked or touched, since opening one can reset a device through
// its control lines.
std::vector<PortListing> FindPorts(const ListingPlaces& places);

std::string ListPorts(const ListingPlaces& places, bool json);

}  // namespace veltaro::cli
