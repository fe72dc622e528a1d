#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

#include "conn_fixture.h"

namespace brenlow_test {
namespace {

using OpenError = CSerialConn::OpenError;

TEST_F(ConnTest, EveryFormOfTheNameReachesTheMappedDevice) {
    for (const std::string name :
         {"COM5", "com5", "cOm5", "\\\\.\\COM5", "\\\\.\\com5", pty.SlavePath().c_str()}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(Open(name), 1);
        EXPECT_EQ(conn.LastOpenError(), OpenError::kNone);
        EXPECT_TRUE(WriteReachesModem("AT\r"));
        conn.ClosePort();
    }
    EXPECT_TRUE(hook.Messages().empty());
}

struct CannotOpenCase {
    const char* name;
    std::function<std::string(PortDir&)> portName;
    OpenError kind;
    const char* reasonHas;
};

void PrintTo(const CannotOpenCase& entry, std::ostream* out) {
    *out << entry.name;
}

class CannotOpenTest : public ConnTest, public ::testing::WithParamInterface<CannotOpenCase> {};

TEST_P(CannotOpenTest, ShowsCannotOpenPortWithTheReasonAndLeavesNothingOpen) {
    const std::string name = GetParam().portName(ports);
    const int descriptors = OpenDescriptorCount();
    const int threads = ThreadCount();

    EXPECT_EQ(Open(name), 0);

    EXPECT_EQ(conn.LastOpenError(), GetParam().kind);
    const std::vector<Message> messages = hook.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Cannot Open port");
    EXPECT_NE(messages[0].detail.find(GetParam().reasonHas), std::string::npos)
        << messages[0].detail;
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_EQ(ThreadCount(), threads);
    EXPECT_EQ(conn.WriteComm(reinterpret_cast<const unsigned char*>("x"), 1), 0u);
}

std::string Fixed(const char* name) {
    return name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, CannotOpenTest,
    ::testing::Values(
        CannotOpenCase{"OtherDevice", [](PortDir&) { return Fixed("LPT1"); }, OpenError::kBadName,
                       "not a port name"},
        CannotOpenCase{"NumberWithoutDevice", [](PortDir&) { return Fixed("COM99999"); },
                       OpenError::kNotFound, "COM99999 has no device"},
        CannotOpenCase{"LinkToNothing",
                       [](PortDir& ports) { return ports.Link(6, "/nonexistent/ttyUSB9"); },
                       OpenError::kNotFound, "No device answers"},
        CannotOpenCase{"NotATerminal", [](PortDir&) { return Fixed("/dev/null"); },
                       OpenError::kNotASerialPort, "not a serial port"},
        CannotOpenCase{"Folder", [](PortDir& ports) { return ports.Path(); },
                       OpenError::kNotASerialPort, "not a serial port"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnTest, SecondConnectionToTheSamePortIsRefusedAsInUse) {
    ASSERT_EQ(Open(com), 1);
    RecordingHook otherHook;
    CSerialConn other;
    other.m_pMessageBoxHook = &otherHook;

    EXPECT_EQ(other.OpenPort(com, 9600, 8, 0, 0), 0);

    EXPECT_EQ(other.LastOpenError(), OpenError::kInUse);
    const std::vector<Message> messages = otherHook.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Cannot Open port");
    EXPECT_NE(messages[0].detail.find("in use"), std::string::npos) << messages[0].detail;
    EXPECT_TRUE(WriteReachesModem("first still works"));
    conn.ClosePort();
    EXPECT_EQ(other.OpenPort(com, 9600, 8, 0, 0), 1);  // free again once closed
}

std::string GroupHintFor(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    const group* owner = ::getgrgid(info.st_gid);
    const std::string name = owner != nullptr ? owner->gr_name : "";
    return (name.empty() || name == "root") ? "`dialout`" : "`" + name + "`";
}

// Returns what went wrong, or nothing when the refusal was as it should be.
std::string CheckPermissionRefusal(CSerialConn& conn, RecordingHook& hook, const std::string& path,
                                   const std::string& groupHint) {
    if (conn.OpenPort(path, 9600, 8, 0, 0) != 0) {
        return "opened";
    }
    const std::vector<Message> messages = hook.Messages();
    if (conn.LastOpenError() != OpenError::kPermissionDenied || messages.size() != 1 ||
        messages[0].text != "Cannot Open port" ||
        messages[0].detail.find(groupHint) == std::string::npos) {
        return messages.empty() ? "no message" : messages[0].detail;
    }
    return {};
}

TEST_F(ConnTest, PermissionDeniedNamesTheGroupThatOwnsTheDevice) {
    const std::string path = pty.SlavePath();
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(path.c_str(), 0), 0);
        const std::string hint = GroupHintFor(path);
        EXPECT_EQ(CheckPermissionRefusal(conn, hook, path, hint), "");
        ::chmod(path.c_str(), 0620);
        return;
    }
    // Root may open anything; a child that gave up root may not. The device gets a group
    // of its own, so that the hint must name it rather than fall back to `dialout`.
    const group* tty = ::getgrnam("tty");
    if (tty == nullptr) {
        GTEST_SKIP() << "no group tty to give the device";
    }
    ASSERT_EQ(::chown(path.c_str(), static_cast<uid_t>(-1), tty->gr_gid), 0);
    ASSERT_EQ(GroupHintFor(path), "`tty`");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const std::string hint = GroupHintFor(path);
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
                std::exit(2);
            }
            const std::string problem = CheckPermissionRefusal(conn, hook, path, hint);
            std::fprintf(stderr, "%s\n", problem.c_str());
            std::exit(problem.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

termios CookedSettings(termios settings) {
    settings.c_iflag |= ICRNL | IXON | IXOFF;
    settings.c_oflag |= OPOST;
    settings.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    settings.c_cflag |= CRTSCTS;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 5;
    cfsetispeed(&settings, B1200);
    cfsetospeed(&settings, B1200);
    return settings;
}

struct LineCase {
    std::uint32_t baud;
    speed_t speed;
    std::uint8_t stopBits;
};

TEST_F(ConnTest, DeviceSeesRawLineSettingsAndGetsItsOwnBackOnClose) {
    const termios before = CookedSettings(pty.DeviceSettings());
    for (const LineCase& line : {LineCase{9600, B9600, 0}, LineCase{115200, B115200, 2},
                                 LineCase{50, B50, 0}, LineCase{4000000, B4000000, 2}}) {
        SCOPED_TRACE(line.baud);
        pty.SetDeviceSettings(before);
        ASSERT_EQ(Open(com, line.baud, 8, line.stopBits, 0), 1);
        const termios seen = pty.DeviceSettings();
        EXPECT_EQ(cfgetispeed(&seen), line.speed);
        EXPECT_EQ(cfgetospeed(&seen), line.speed);
        EXPECT_EQ(seen.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ((seen.c_cflag & CSTOPB) != 0, line.stopBits == 2);
        EXPECT_EQ(seen.c_cflag & (PARENB | PARODD | CMSPAR), 0u);
        EXPECT_EQ(seen.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
        EXPECT_NE(seen.c_cflag & CRTSCTS, 0u) << "hardware flow control stays as it was";
        EXPECT_EQ(seen.c_iflag & (ICRNL | INLCR | IGNCR | IXON | IXOFF | ISTRIP), 0u);
        EXPECT_EQ(seen.c_oflag & OPOST, 0u);
        EXPECT_EQ(seen.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
        EXPECT_EQ(seen.c_cc[VMIN], 0);
        EXPECT_EQ(seen.c_cc[VTIME], 0);
        conn.ClosePort();
        ExpectSameSettings(pty.DeviceSettings(), before);
    }
}

struct RefusedCase {
    const char* name;
    std::uint32_t baud;
    std::uint8_t bits;
    std::uint8_t stop;
    std::uint8_t parity;
};

TEST_F(ConnTest, RefusedLineSettingsFailSilentlyAndLeaveTheDeviceAsItWas) {
    const termios before = pty.DeviceSettings();
    for (const RefusedCase& line : {
             RefusedCase{"baud 0", 0, 8, 0, 0},
             RefusedCase{"baud this platform cannot set", 12345, 8, 0, 0},
             RefusedCase{"one and a half stop bits", 9600, 8, 1, 0},
             RefusedCase{"stop bits code 3", 9600, 8, 3, 0},
             RefusedCase{"4 data bits", 9600, 4, 0, 0},
             RefusedCase{"9 data bits", 9600, 9, 0, 0},
             RefusedCase{"parity code 5", 9600, 8, 0, 5},
             // A pseudo-terminal carries no parity bit and always 8 data bits.
             RefusedCase{"even parity the driver drops", 9600, 8, 0, 2},
             RefusedCase{"7 data bits the driver drops", 9600, 7, 0, 0},
         }) {
        SCOPED_TRACE(line.name);
        EXPECT_EQ(Open(com, line.baud, line.bits, line.stop, line.parity), 0);
        EXPECT_EQ(conn.LastOpenError(), OpenError::kLineSettingsRefused);
        ExpectSameSettings(pty.DeviceSettings(), before);
    }
    EXPECT_TRUE(hook.Messages().empty());
    ASSERT_EQ(Open(com), 1) << "the failed opens left the device held";
    EXPECT_TRUE(WriteReachesModem("ok"));
}

TEST_F(ConnTest, OpenOnAnOpenConnectionLeavesItOpenAndUntouched) {
    ASSERT_EQ(Open(com), 1);
    const termios opened = pty.DeviceSettings();
    const std::string other = ports.Link(7, "/dev/null");

    EXPECT_EQ(Open(other, 115200), 0);

    EXPECT_EQ(conn.LastOpenError(), OpenError::kAlreadyOpen);
    EXPECT_TRUE(hook.Messages().empty());
    ExpectSameSettings(pty.DeviceSettings(), opened);
    EXPECT_TRUE(WriteReachesModem("same port"));
}

TEST(ConnWithoutHookTest, MessagesGoToStandardError) {
    CSerialConn conn;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(conn.OpenPort("LPT1", 9600, 8, 0, 0), 0);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("Cannot Open port"), std::string::npos);
    EXPECT_NE(printed.find("LPT1"), std::string::npos);
}

int HighestOpenDescriptor() {
    int highest = 2;
    DIR* dir = ::opendir("/proc/self/fd");
    const int own = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (entry->d_name[0] != '.' && fd != own) {
            highest = std::max(highest, fd);
        }
    }
    ::closedir(dir);
    return highest;
}

// While it lives, the process may open exactly one more descriptor.
class OneFreeDescriptor {
  public:
    OneFreeDescriptor() {
        ::getrlimit(RLIMIT_NOFILE, &m_old);
        const int highest = HighestOpenDescriptor();
        for (;;) {  // fill the gaps below the highest descriptor
            const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (fd < 0 || fd > highest) {
                ::close(fd);
                break;
            }
            m_fillers.push_back(fd);
        }
        rlimit tight = m_old;
        tight.rlim_cur = static_cast<rlim_t>(highest) + 2;
        m_active = ::setrlimit(RLIMIT_NOFILE, &tight) == 0;
    }
    ~OneFreeDescriptor() {
        ::setrlimit(RLIMIT_NOFILE, &m_old);
        for (int fd : m_fillers) {
            ::close(fd);
        }
    }
    OneFreeDescriptor(const OneFreeDescriptor&) = delete;
    OneFreeDescriptor& operator=(const OneFreeDescriptor&) = delete;

    [[nodiscard]] bool Active() const { return m_active; }

  private:
    rlimit m_old{};
    std::vector<int> m_fillers;
    bool m_active = false;
};

TEST_F(ConnTest, WatcherThatCannotStartReportsItAndThePortStaysOpen) {
    // A failed and a good open first, so that run-time checkers have met every type
    // involved and need no descriptor of their own during the starved open.
    ASSERT_EQ(Open("LPT1"), 0);
    ASSERT_EQ(Open(com), 1);
    conn.ClosePort();
    int result = 0;
    {
        const OneFreeDescriptor limit;  // the device takes it; the wake descriptor cannot
        ASSERT_TRUE(limit.Active());
        result = Open(com);
    }
    ASSERT_EQ(result, 1);
    ASSERT_TRUE(hook.WaitForMessages(2, 5s));
    const std::vector<Message> messages = hook.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, "Error while creating ThreadWatchComm" + com);
    EXPECT_FALSE(messages[1].detail.empty());
    // From the watcher's thread, as its other messages: a front end that queues those shows
    // this one after OpenPort has returned too.
    EXPECT_NE(messages[1].thread, std::this_thread::get_id());
    EXPECT_TRUE(WriteReachesModem("still open"));

    conn.ClosePort();
    ASSERT_EQ(Open(com), 1);  // a new open gets a working watcher
    ASSERT_TRUE(pty.SendFromModem("x"));
    EXPECT_TRUE(target.WaitForPosts(1, 5s));
}

}  // namespace
}  // namespace brenlow_test
