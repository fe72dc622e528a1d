// Brenlow on a real serial driver: the connection tests that mean something only there.
// Run inside the QEMU guest (tests/vm) on the USB adapter and on the UART; the device comes
// from BRENLOW_DEVICE_TEST_PORT. Figures go to standard output as "measure: name value" for
// the host, which also checks what arrived at its end of the line.

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "brenlow/serial_conn.h"
#include "conn_fixture.h"
#include "pty_support.h"
#include "recorders.h"

namespace brenlow_test {
namespace {

using OpenError = CSerialConn::OpenError;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void Measure(const std::string& name, double value) {
    std::printf("measure: %s %.1f\n", name.c_str(), value);
    std::fflush(stdout);
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Tells the host on the guest's console (not the test's own output, which is captured).
void SignalHost(const std::string& line) {
    std::ofstream console(Env("BRENLOW_DEVICE_TEST_SIGNAL"));
    console << line << std::endl;
}

class DeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        port = Env("BRENLOW_DEVICE_TEST_PORT");
        if (port.empty()) {
            GTEST_SKIP() << "BRENLOW_DEVICE_TEST_PORT names no device";
        }
        conn.m_hNotifyWnd = &target;
        conn.m_pMessageBoxHook = &hook;
    }

    [[nodiscard]] int Open(std::uint8_t bits = 8, std::uint8_t stop = 0, std::uint8_t parity = 0) {
        return conn.OpenPort(port, 9600, bits, stop, parity);
    }

    // What the driver holds now, read through a descriptor of our own (root passes TIOCEXCL).
    [[nodiscard]] termios DriverSettings() const {
        termios settings{};
        const int fd = ::open(port.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::tcgetattr(fd, &settings), 0);
        ::close(fd);
        return settings;
    }

    std::string port;
    RecordingTarget target;
    RecordingHook hook;
    CSerialConn conn;
};

constexpr tcflag_t kSize[] = {CS5, CS6, CS7, CS8};
// By OpenPort's codes; 1.5 stop bits have no termios flag and are always refused.
constexpr const char* kStopName[] = {"1", "1.5", "2"};
constexpr tcflag_t kStopFlag[] = {0, 0, CSTOPB};
constexpr const char* kParityName[] = {"none", "odd", "even", "mark", "space"};
constexpr tcflag_t kParityFlags[] = {0, PARENB | PARODD, PARENB, PARENB | CMSPAR | PARODD,
                                     PARENB | CMSPAR};

// Every frame is either on the line exactly as asked, or refused as such with nothing left
// open; the refused ones are listed for the host, which knows what each driver takes.
TEST_F(DeviceTest, EveryLineSettingIsTakenExactlyOrRefusedAsSuch) {
    std::string refused;
    for (std::uint8_t bits = 5; bits <= 8; ++bits) {
        for (std::uint8_t stop = 0; stop < 3; ++stop) {
            for (std::uint8_t parity = 0; parity < 5; ++parity) {
                const std::string name =
                    std::to_string(bits) + " " + kStopName[stop] + " " + kParityName[parity];
                SCOPED_TRACE(name);
                if (Open(bits, stop, parity) == 0) {
                    EXPECT_EQ(conn.LastOpenError(), OpenError::kLineSettingsRefused);
                    refused += (refused.empty() ? "" : ",") + name;
                    ASSERT_EQ(Open(), 1) << "a refused frame must leave the port free";
                } else {
                    const termios held = DriverSettings();
                    EXPECT_EQ(held.c_cflag & CSIZE, kSize[bits - 5]);
                    EXPECT_EQ(held.c_cflag & (CSTOPB | PARENB | PARODD | CMSPAR),
                              kStopFlag[stop] | kParityFlags[parity]);
                    EXPECT_EQ(::cfgetospeed(&held), B9600);
                }
                conn.ClosePort();
            }
        }
    }
    std::printf("refused: %s\n", refused.c_str());
}

// The host counts these carriage returns (which the modem's menus ignore) at its end.
TEST_F(DeviceTest, BytesWrittenJustBeforeCloseReachTheOtherEnd) {
    ASSERT_EQ(Open(), 1);
    const std::string bytes(1000, '\r');
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    ASSERT_EQ(conn.WriteComm(data, 1000), 1000u);
    const Clock::time_point start = Clock::now();
    conn.ClosePort();
    Measure("drain_ms", MillisecondsSince(start));
    EXPECT_TRUE(hook.Messages().empty());
}

TEST_F(DeviceTest, SecondOpenerIsRefusedAndTheFirstKeepsThePort) {
    ASSERT_EQ(Open(), 1);
    CSerialConn second;
    RecordingHook secondHook;
    second.m_hNotifyWnd = &target;
    second.m_pMessageBoxHook = &secondHook;
    EXPECT_EQ(second.OpenPort(port, 9600, 8, 0, 0), 0);
    EXPECT_EQ(second.LastOpenError(), OpenError::kInUse);
    const auto* probe = reinterpret_cast<const unsigned char*>("\n");
    EXPECT_EQ(conn.WriteComm(probe, 1), 1u);
    conn.ClosePort();
    EXPECT_EQ(second.OpenPort(port, 9600, 8, 0, 0), 1) << "free again once closed";
}

TEST_F(DeviceTest, ThousandOpenCloseCyclesLeaveNoDescriptorOrThread) {
    // The last test's watcher, joined, may still be listed for a moment.
    ASSERT_TRUE(WaitForThreadCount(1)) << "only the main thread before the cycles";
    const int descriptors = OpenDescriptorCount();
    const Clock::time_point start = Clock::now();
    for (int cycle = 0; cycle < 1000; ++cycle) {
        ASSERT_EQ(Open(), 1) << "cycle " << cycle;
        conn.ClosePort();
    }
    Measure("open_close_ms", MillisecondsSince(start) / 1000);
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_TRUE(WaitForThreadCount(1)) << "every watcher ended";
    EXPECT_TRUE(hook.Messages().empty());
}

// The host pulls the adapter out once told; the connection must notice, write nothing
// more, close at once, and not find the port again until it is back.
TEST_F(DeviceTest, UnplugWhileOnlyOpenEndsTheConnectionPromptly) {
    if (Env("BRENLOW_DEVICE_TEST_SIGNAL").empty()) {
        GTEST_SKIP() << "BRENLOW_DEVICE_TEST_SIGNAL names no console to ask for the unplug";
    }
    ASSERT_EQ(Open(), 1);
    SignalHost("@@UNPLUG unplug-open");
    const Clock::time_point deadline = Clock::now() + 10s;
    while (!conn.HasHungUp() && Clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    SignalHost("@@HUNGUP unplug-open");
    ASSERT_TRUE(conn.HasHungUp());
    EXPECT_TRUE(hook.WaitForMessages(1, 2s)) << "the lost port is reported";
    const auto* probe = reinterpret_cast<const unsigned char*>("\n");
    EXPECT_EQ(conn.WriteComm(probe, 1), 0u);
    const Clock::time_point closing = Clock::now();
    conn.ClosePort();
    Measure("close_after_unplug_ms", MillisecondsSince(closing));
    EXPECT_LT(MillisecondsSince(closing), 1000.0);
    EXPECT_EQ(Open(), 0);
    EXPECT_EQ(conn.LastOpenError(), OpenError::kNotFound);
}

}  // namespace
}  // namespace brenlow_test
