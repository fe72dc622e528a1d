// The port listing against a scratch port directory, /dev and sysfs that the test builds.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>

#include <nlohmann/json.hpp>

#include "port_list.h"

namespace veltaro::cli {
namespace {

namespace fs = std::filesystem;

class PortList : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "veltaro-ports-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        m_places = {m_root + "/ports", m_root + "/dev", m_root + "/sys"};
        for (const std::string& dir : {m_places.portDir, m_places.devRoot}) {
            fs::create_directories(dir);
        }
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(m_master, 0);
        ASSERT_EQ(grantpt(m_master), 0);
        ASSERT_EQ(unlockpt(m_master), 0);
        m_slave = ptsname(m_master);
    }
    void TearDown() override {
        if (m_master >= 0) {
            close(m_master);
        }
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    // An adapter's attributes as the kernel lays them out: the tty's device link leads into
    // the interface, whose parent is the USB device.
    void AddUsbAdapter(const std::string& tty) {
        const fs::path usb = fs::path(m_places.sysRoot) / "devices/pci0/usb1/1-2";
        fs::create_directories(usb / "1-2:1.0" / tty);
        const std::array<std::pair<const char*, const char*>, 5> attributes{
            {{"idVendor", "0403"},
             {"idProduct", "6001"},
             {"manufacturer", "FTDI"},
             {"product", "FT232R USB UART"},
             {"serial", "A12345"}}};
        for (const auto& [name, value] : attributes) {
            std::ofstream(usb / name) << value << '\n';
        }
        const fs::path cls = fs::path(m_places.sysRoot) / "class/tty" / tty;
        fs::create_directories(cls);
        fs::create_directory_symlink("../../../devices/pci0/usb1/1-2/1-2:1.0/" + tty,
                                     cls / "device");
    }

    std::string m_root;
    ListingPlaces m_places;
    int m_master = -1;
    std::string m_slave;
};

TEST_F(PortList, ListsEntriesAndNumberedDevicesWithoutOpeningAny) {
    std::ofstream(m_places.devRoot + "/ttyUSB0") << "";
    std::ofstream(m_places.devRoot + "/ttyUSB1") << "";
    fs::create_directories(m_places.sysRoot + "/class/tty/ttyUSB1");
    std::ofstream(m_places.sysRoot + "/class/tty/ttyUSB1/type") << "0\n";
    std::ofstream(m_root + "/plain.txt") << "not a terminal";
    AddUsbAdapter("ttyUSB0");
    fs::create_symlink(m_slave, m_places.portDir + "/com3");
    fs::create_symlink(m_root + "/gone", m_places.portDir + "/com4");
    fs::create_symlink(m_root + "/plain.txt", m_places.portDir + "/com5");
    std::ofstream(m_places.portDir + "/com5.lock") << "";  // a simulator's lock, not a port

    // Every open of the devices would show here.
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    for (const std::string& path :
         {m_slave, m_places.devRoot + "/ttyUSB0", m_root + "/plain.txt"}) {
        ASSERT_GE(inotify_add_watch(watch, path.c_str(), IN_OPEN), 0) << path;
    }
    const std::vector<veltaro::cli::PortListing> ports = FindPorts(m_places);
    std::array<char, 4096> events{};
    EXPECT_LT(read(watch, events.data(), events.size()), 0) << "a device was opened";
    close(watch);

    ASSERT_EQ(ports.size(), 5u);
    const struct {
        unsigned number;
        bool fromPortDir;
        bool dangling;
        bool characterDevice;
        bool usb;
    } expected[] = {{1, false, false, false, true},
                    {2, false, false, false, false},
                    {3, true, false, true, false},
                    {4, true, true, false, false},
                    {5, true, false, false, false}};
    for (std::size_t i = 0; i < ports.size(); ++i) {
        SCOPED_TRACE(ports[i].path);
        EXPECT_EQ(ports[i].number, expected[i].number);
        EXPECT_EQ(ports[i].fromPortDir, expected[i].fromPortDir);
        EXPECT_EQ(ports[i].dangling, expected[i].dangling);
        EXPECT_EQ(ports[i].characterDevice, expected[i].characterDevice);
        EXPECT_EQ(ports[i].usb.has_value(), expected[i].usb);
    }
    EXPECT_EQ(ports[2].target, m_slave);
    ASSERT_TRUE(ports[0].usb);
    EXPECT_EQ(ports[0].usb->vendorId, "0403");
    EXPECT_EQ(ports[0].usb->serial, "A12345");
    EXPECT_FALSE(ports[0].noUart);
    EXPECT_TRUE(ports[1].noUart);

    const std::string text = FormatPorts(ports, false);
    for (const std::string& part :
         {"COM1  " + m_places.devRoot +
              "/ttyUSB0  (automatic numbering; not a device, USB 0403:6001 "
              "FTDI FT232R USB UART, serial A12345",
          "COM3  " + m_places.portDir + "/com3 -> " + m_slave +
              "  (port directory; character device",
          std::string("(port directory; dangling link: the target does not exist)")}) {
        EXPECT_NE(text.find(part), std::string::npos) << part << "\nin:\n" << text;
    }
    const nlohmann::ordered_json json = nlohmann::ordered_json::parse(FormatPorts(ports, true));
    ASSERT_EQ(json.size(), 5u);
    EXPECT_EQ(json[0]["source"], "automatic");
    EXPECT_EQ(json[0]["usb"].dump(), R"({"vendor_id":"0403","product_id":"6001","maker":"FTDI",)"
                                     R"("product":"FT232R USB UART","serial":"A12345"})");
    EXPECT_EQ(json[3]["com"], 4);
    EXPECT_EQ(json[3]["source"], "port directory");
    EXPECT_EQ(json[3]["dangling"], true);
    EXPECT_TRUE(json[3]["usb"].is_null());
    std::vector<std::string> keys;
    for (const auto& item : json[3].items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"com", "source", "path", "target", "dangling",
                                              "character_device", "usb", "no_uart", "accessible",
                                              "group"}));
}

// Only the names that the port-name resolution looks up are ports, with the numbers that
// --com takes: "com03" would be listed as COM3 although --com 3 never finds it.
TEST_F(PortList, ListsOnlyTheNamesThatAreLookedUp) {
    const struct {
        const char* entry;
        int listedAs;  // 0: not a port
    } entries[] = {{"com3", 3},    {"com03", 0}, {"com012", 0}, {"com999", 999},
                   {"com1000", 0}, {"com0", 0},  {"COM5", 0},   {"com5.lock", 0},
                   {"com7x", 0},   {"com+8", 0}, {"com 9", 0},  {"com12", 12}};
    std::ofstream(m_root + "/other") << "";
    for (const auto& e : entries) {
        // Each entry leads somewhere of its own, so that a wrong pick shows in the target.
        fs::create_symlink(e.listedAs != 0 ? m_slave : m_root + "/other",
                           m_places.portDir + "/" + e.entry);
    }
    std::vector<unsigned> listed;
    for (const PortListing& port : FindPorts(m_places)) {
        listed.push_back(port.number);
        EXPECT_EQ(port.target, m_slave) << port.path;
    }
    EXPECT_EQ(listed, (std::vector<unsigned>{3, 12, 999}));
}

// Runs `check` in a child process without root's right to read everything, so that
// permissions hold as for a user; returns what the check returned (0 for success).
int AsUser(const std::function<int()>& check) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(100);
        }
        _exit(check());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

// A port directory that cannot be read is reported with its path and the reason, and the
// automatic numbering is still listed; entries still found by their names are listed too.
TEST_F(PortList, PortDirectoryThatCannotBeReadIsReported) {
    std::ofstream(m_places.devRoot + "/ttyS0") << "";
    fs::create_symlink(m_slave, m_places.portDir + "/com5");
    const std::string file = m_root + "/file";
    std::ofstream(file) << "";
    fs::permissions(m_root, fs::perms::all);  // the child, as another user, must get in
    const struct {
        const char* name;
        std::string portDir;
        fs::perms mode;
        const char* reason;  // empty: no problem
        std::vector<unsigned> listed;
    } cases[] = {
        {"readable", m_places.portDir, fs::perms::all, "", {1, 5}},
        {"missing", m_root + "/none", fs::perms::all, "", {1}},
        {"a file", file, fs::perms::all, "Not a directory", {1}},
        {"searchable only",
         m_places.portDir,
         static_cast<fs::perms>(0311),
         "Permission denied",
         {1, 5}},
        // Not searchable: no entry can be looked up, and the numbering does not stand in.
        {"readable only", m_places.portDir, static_cast<fs::perms>(0644), "Permission denied", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::permissions(m_places.portDir, c.mode);
        ListingPlaces places = m_places;
        places.portDir = c.portDir;
        const int result = AsUser([&] {
            const std::string problem = PortDirProblem(places.portDir);
            std::vector<unsigned> listed;
            for (const PortListing& port : FindPorts(places)) {
                listed.push_back(port.number);
            }
            const bool reported = std::string(c.reason).empty()
                                      ? problem.empty()
                                      : problem == "cannot read the port directory " +
                                                       places.portDir + ": " + c.reason;
            return (reported ? 0 : 1) + (listed == c.listed ? 0 : 2);
        });
        EXPECT_EQ(result, 0) << "1: wrong report, 2: wrong listing";
        fs::permissions(m_places.portDir, fs::perms::all);
    }
}

TEST_F(PortList, NothingToListIsSaid) {
    EXPECT_EQ(FormatPorts(FindPorts(m_places), true), "[]\n");
    EXPECT_NE(FormatPorts({}, false).find("no COM ports"), std::string::npos);
}

}  // namespace
}  // namespace veltaro::cli
