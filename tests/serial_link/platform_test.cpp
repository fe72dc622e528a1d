#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "line_settings.h"
#include "open_failure.h"
#include "port_name.h"

namespace brenlow::detail {
namespace {

using OpenError = CSerialConn::OpenError;

TEST(ComNumberTest, ReadsComNamesOnlyInTheirWindowsForms) {
    const std::vector<std::pair<std::string, std::optional<unsigned>>> cases = {
        {"COM1", 1u},
        {"com12", 12u},
        {"CoM7", 7u},
        {"\\\\.\\COM12", 12u},
        {"\\\\.\\com3", 3u},
        {"COM007", 7u},
        {"COM999999", 999999u},
        {"", std::nullopt},
        {"COM", std::nullopt},
        {"COM0", std::nullopt},
        {"COM-1", std::nullopt},
        {"COM1x", std::nullopt},
        {"COM 1", std::nullopt},
        {" COM1", std::nullopt},
        {"LPT1", std::nullopt},
        {"\\\\.\\", std::nullopt},
        {"\\\\?\\COM1", std::nullopt},
        {"\\\\.\\\\\\.\\COM1", std::nullopt},
        {"COM1234567", std::nullopt},
        {"/dev/ttyS0", std::nullopt},
    };
    for (const auto& [name, number] : cases) {
        EXPECT_EQ(ParseComNumber(name), number) << name;
    }
}

// A fake machine: /dev with ttyS0, ttyS1, ttyS3 (after a gap), ttyUSB0, ttyACM0, ttyACM1,
// and a port directory that pins COM2 and COM4.
class ResolveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = std::filesystem::temp_directory_path() / "brenlow-names-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        m_places = {m_root + "/ports", m_root + "/dev"};
        std::filesystem::create_directories(m_places.portDir);
        std::filesystem::create_directories(m_places.devRoot);
        for (const char* device : {"ttyS0", "ttyS1", "ttyS3", "ttyUSB0", "ttyACM0", "ttyACM1"}) {
            std::ofstream(m_places.devRoot + "/" + device).put('\0');
        }
        std::filesystem::create_symlink("/nowhere/ttyUSB7", m_places.portDir + "/com2");
        std::filesystem::create_symlink(m_places.devRoot + "/ttyS3", m_places.portDir + "/com4");
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    std::string m_root;
    PortNamePlaces m_places;
};

TEST_F(ResolveTest, PortDirectoryFirstThenWineNumbering) {
    const std::string dev = m_places.devRoot + "/";
    const std::string ports = m_places.portDir + "/";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"COM1", dev + "ttyS0"},
        {"\\\\.\\COM2", ports + "com2"},  // pinned, even to a device that is missing
        {"com3", dev + "ttyUSB0"},        // ttyS stops at its gap: ttyS3 is not numbered
        {"COM4", ports + "com4"},
        {"COM5", dev + "ttyACM1"},
        {"/any/absolute/path", "/any/absolute/path"},
    };
    for (const auto& [name, path] : cases) {
        OpenFailure failure;
        EXPECT_EQ(ResolvePortName(name, m_places, failure), path) << name;
        EXPECT_EQ(failure.kind, OpenError::kNone) << name;
    }
}

TEST_F(ResolveTest, NamesWithoutADeviceSayWhy) {
    const std::vector<std::tuple<std::string, OpenError, std::string>> cases = {
        {"COM6", OpenError::kNotFound, m_places.portDir + "/com6 does not exist"},
        {"COM6", OpenError::kNotFound, "has only 5 serial devices"},
        {"LPT1", OpenError::kBadName, "\"LPT1\" is not a port name"},
        {"ttyS0", OpenError::kBadName, "absolute path"},
    };
    for (const auto& [name, kind, reasonHas] : cases) {
        OpenFailure failure;
        EXPECT_EQ(ResolvePortName(name, m_places, failure), std::nullopt) << name;
        EXPECT_EQ(failure.kind, kind) << name;
        EXPECT_NE(failure.reason.find(reasonHas), std::string::npos) << failure.reason;
    }
}

// A port directory that cannot be searched may hold the entry: the automatic numbering must
// not open another device in its place.
TEST_F(ResolveTest, AnEntryThatCannotBeLookedUpIsNotReplacedByTheNumbering) {
    const std::string loop = m_root + "/loop";
    std::filesystem::create_symlink(loop, loop);  // searched by nobody, root included
    const PortNamePlaces places{loop, m_places.devRoot};
    OpenFailure failure;
    EXPECT_EQ(ResolvePortName("COM1", places, failure), std::nullopt);
    EXPECT_EQ(failure.kind, OpenError::kSystem);
    EXPECT_NE(failure.reason.find("cannot look for " + loop + "/com1: "), std::string::npos)
        << failure.reason;
    EXPECT_EQ(LookUpPortEntry(1, places.portDir), EntryLookup::kUnknown);
    EXPECT_EQ(LookUpPortEntry(1, m_root + "/none"), EntryLookup::kAbsent);
    EXPECT_EQ(LookUpPortEntry(4, m_places.portDir), EntryLookup::kFound);
}

std::string PasswdHome() {
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr ? user->pw_dir : "";
}

TEST(PortDirTest, EnvironmentDecidesInItsOrder) {
    using Env = std::map<std::string, std::string>;
    const std::vector<std::pair<Env, std::string>> cases = {
        {{{"BRENLOW_PORT_DIR", "/a"}, {"XDG_CONFIG_HOME", "/x"}, {"HOME", "/h"}}, "/a"},
        {{{"BRENLOW_PORT_DIR", ""}, {"XDG_CONFIG_HOME", "/x"}, {"HOME", "/h"}}, "/x/brenlow/ports"},
        {{{"XDG_CONFIG_HOME", "relative"}, {"HOME", "/h"}}, "/h/.config/brenlow/ports"},
        {{{"HOME", "/h"}}, "/h/.config/brenlow/ports"},
        // Without a usable HOME every program asks the password database, never "/".
        {{{"HOME", ""}}, PasswdHome() + "/.config/brenlow/ports"},
        {{}, PasswdHome() + "/.config/brenlow/ports"},
    };
    for (const auto& [env, expected] : cases) {
        const auto lookup = [&env = env](const char* name) -> const char* {
            const auto found = env.find(name);
            return found == env.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(PortDirFromEnvironment(lookup), expected);
    }
}

termios Cooked(bool hardwareFlow) {
    termios settings{};
    settings.c_iflag = ICRNL | IXON | IXOFF | BRKINT;
    settings.c_oflag = OPOST | ONLCR;
    settings.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    settings.c_cflag = CS7 | PARENB | CSTOPB | HUPCL | (hardwareFlow ? CRTSCTS : 0);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 3;
    cfsetispeed(&settings, B300);
    cfsetospeed(&settings, B300);
    return settings;
}

struct LineCase {
    LineSettings settings;
    std::optional<tcflag_t> frame;  // CSIZE, CSTOPB and parity bits; nothing when refused
    speed_t speed;
};

TEST(LineTermiosTest, CodesBecomeTheFrameBitsOrAreRefused) {
    constexpr tcflag_t kFrame = CSIZE | CSTOPB | PARENB | PARODD | CMSPAR;
    const std::vector<LineCase> cases = {
        {{9600, 8, 0, 0}, CS8, B9600},
        {{115200, 7, 0, 2}, CS7 | PARENB, B115200},
        {{19200, 8, 2, 1}, CS8 | CSTOPB | PARENB | PARODD, B19200},
        {{4000000, 5, 0, 3}, CS5 | PARENB | PARODD | CMSPAR, B4000000},  // mark
        {{50, 6, 2, 4}, CS6 | CSTOPB | PARENB | CMSPAR, B50},            // space
        {{0, 8, 0, 0}, std::nullopt, B0},
        {{14400, 8, 0, 0}, std::nullopt, B0},
        {{9600, 8, 1, 0}, std::nullopt, B0},  // one and a half stop bits
        {{9600, 5, 2, 0}, std::nullopt, B0},  // a UART sends 1.5 stop bits for this
        {{9600, 8, 3, 0}, std::nullopt, B0},
        {{9600, 4, 0, 0}, std::nullopt, B0},
        {{9600, 9, 0, 0}, std::nullopt, B0},
        {{9600, 8, 0, 5}, std::nullopt, B0},
    };
    for (const LineCase& line : cases) {
        SCOPED_TRACE(testing::Message()
                     << line.settings.baudRate << " " << int{line.settings.byteSize} << " stop "
                     << int{line.settings.stopBits} << " parity " << int{line.settings.parity});
        for (const bool hardwareFlow : {false, true}) {
            const std::optional<termios> made =
                MakeLineTermios(Cooked(hardwareFlow), line.settings);
            ASSERT_EQ(made.has_value(), line.frame.has_value());
            if (!made) {
                continue;
            }
            EXPECT_EQ(made->c_cflag & kFrame, *line.frame);
            EXPECT_EQ((made->c_cflag & CRTSCTS) != 0, hardwareFlow);
            EXPECT_EQ(made->c_cflag & (CLOCAL | CREAD | HUPCL), CLOCAL | CREAD | HUPCL);
            EXPECT_EQ(made->c_iflag & (ICRNL | IXON | IXOFF | BRKINT), 0u);
            EXPECT_EQ(made->c_oflag & OPOST, 0u);
            EXPECT_EQ(made->c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
            EXPECT_EQ(made->c_cc[VMIN], 0);
            EXPECT_EQ(made->c_cc[VTIME], 0);
            EXPECT_EQ(cfgetospeed(&*made), line.speed);
            EXPECT_EQ(cfgetispeed(&*made), line.speed);
        }
    }
}

TEST(LineTermiosTest, ReadBackCatchesWhatADriverSilentlyKept) {
    const std::optional<termios> wanted = MakeLineTermios(Cooked(false), {9600, 7, 0, 2});
    ASSERT_TRUE(wanted);
    EXPECT_TRUE(TookLineTermios(*wanted, *wanted));

    termios noParity = *wanted;  // what a pseudo-terminal keeps of 7E1
    noParity.c_cflag = (noParity.c_cflag & ~(CSIZE | PARENB)) | CS8;
    EXPECT_FALSE(TookLineTermios(*wanted, noParity));

    termios oldSpeed = *wanted;
    cfsetospeed(&oldSpeed, B300);
    EXPECT_FALSE(TookLineTermios(*wanted, oldSpeed));

    termios stillCanonical = *wanted;
    stillCanonical.c_lflag |= ICANON;
    EXPECT_FALSE(TookLineTermios(*wanted, stillCanonical));

    termios otherFlow = *wanted;  // not ours to set, so not ours to compare
    otherFlow.c_cflag |= CRTSCTS;
    EXPECT_TRUE(TookLineTermios(*wanted, otherFlow));
}

TEST(OpenFailureTest, EveryStepAndErrorGivesAKindAndNamesTheDeviceAndTheCause) {
    const std::string path = "/dev/ttyUSB4";
    for (const OpenStep step : {OpenStep::kOpen, OpenStep::kLock, OpenStep::kExclusive,
                                OpenStep::kReadSettings, OpenStep::kLineSettings}) {
        for (const int err : {ENOENT, EACCES, EBUSY, EWOULDBLOCK, ENOTTY, EIO, EMFILE, EINVAL}) {
            const OpenFailure failure = DescribeOpenFailure(step, err, path);
            SCOPED_TRACE(failure.reason);
            EXPECT_NE(failure.kind, OpenError::kNone);
            EXPECT_NE(failure.reason.find(path), std::string::npos);
            EXPECT_NE(failure.reason.find('('), std::string::npos) << "the cause is missing";
        }
    }
}

}  // namespace
}  // namespace brenlow::detail
