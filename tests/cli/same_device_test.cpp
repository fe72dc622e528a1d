// Two COM numbers of one --com list that lead to one device.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "same_device.h"

namespace veltaro::cli {
namespace {

namespace fs = std::filesystem;

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

// The system's lookup follows the port-name resolution: entries linked to one pseudo-
// terminal, directly or through another entry, are one device; another terminal is not.
TEST(SameDevice, SystemLookupSeesThroughLinks) {
    std::string pattern = (fs::temp_directory_path() / "veltaro-same-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::string dir = pattern;
    std::vector<int> masters;
    std::vector<std::string> slaves;
    for (int i = 0; i < 2; ++i) {
        masters.push_back(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
        ASSERT_GE(masters.back(), 0);
        ASSERT_EQ(grantpt(masters.back()), 0);
        ASSERT_EQ(unlockpt(masters.back()), 0);
        slaves.emplace_back(ptsname(masters.back()));
    }
    fs::create_symlink(slaves[0], dir + "/com3");
    fs::create_symlink(slaves[0], dir + "/com5");
    fs::create_symlink(dir + "/com3", dir + "/com6");
    fs::create_symlink(slaves[1], dir + "/com7");
    const char* saved = getenv("BRENLOW_PORT_DIR");
    const std::string savedDir = saved != nullptr ? saved : "";
    setenv("BRENLOW_PORT_DIR", dir.c_str(), 1);
    const struct {
        std::vector<std::string> numbers;
        bool twice;
    } cases[] = {
        {{"3", "7"}, false}, {{"3", "5"}, true}, {{"7", "6", "3"}, true}, {{"3", "400"}, false}};
    for (const auto& c : cases) {
        const std::string error = SameDeviceTwice(c.numbers, SystemPortDevice);
        EXPECT_EQ(!error.empty(), c.twice) << error;
        if (c.twice) {
            EXPECT_NE(error.find(slaves[0]), std::string::npos) << error;
        }
    }
    saved != nullptr ? setenv("BRENLOW_PORT_DIR", savedDir.c_str(), 1)
                     : unsetenv("BRENLOW_PORT_DIR");
    for (const int master : masters) {
        close(master);
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace veltaro::cli
