// The device behind a --com number, as the serial library's port-name resolution finds it.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "posix_port_device.h"

namespace veltaro::cli {
namespace {

namespace fs = std::filesystem;

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
        const std::string error = SameDeviceTwice(c.numbers, PosixPortDevice);
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
