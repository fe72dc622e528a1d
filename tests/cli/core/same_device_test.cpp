// Two COM numbers of one --com list that lead to one device.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "same_device.h"

namespace veltaro::cli {
namespace {

TEST(SameDevice, TheFirstTwoNumbersOfOneDeviceAreNamedWithIt) {
    const std::map<std::string, std::string> devices{
        {"3", "usb0"}, {"5", "usb0"}, {"007", "usb1"}, {"8", "usb1"}, {"9", "usb2"}};
    const PortDeviceLookup lookup = [&](const std::string& number) -> std::optional<PortDevice> {
        const auto found = devices.find(number);
        if (found == devices.end()) {
            return std::nullopt;  // no device: the port's own run says so
        }
        return PortDevice{found->second, "/dev/tty" + found->second};
    };
    const struct {
        std::vector<std::string> numbers;
        std::string error;
    } cases[] = {
        {{"3", "9"}, ""},
        {{"3", "4", "6"}, ""},  // 4 and 6 have no device; none is the same as another
        {{"3", "5"}, "--com lists COM3 and COM5, which lead to one device, /dev/ttyusb0"},
        {{"9", "8", "3", "007"},
         "--com lists COM8 and COM007, which lead to one device, /dev/ttyusb1"},
        {{"5", "8", "3", "007"},
         "--com lists COM5 and COM3, which lead to one device, /dev/ttyusb0"},
    };
    for (const auto& c : cases) {
        const std::string error = SameDeviceTwice(c.numbers, lookup);
        EXPECT_EQ(error.substr(0, c.error.size()), c.error);
        EXPECT_EQ(error.empty(), c.error.empty()) << error;
    }
}

}  // namespace
}  // namespace veltaro::cli
