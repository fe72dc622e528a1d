#include <windows.h>

#include <functional>
#include <vector>

#include "conn_fixture.h"

// What only the Win32 backend does, or does differently: the line as the driver sets it,
// the system's own reasons for a refused open, and what closing does with written bytes.

namespace brenlow_test {
namespace {

using OpenError = CSerialConn::OpenError;

TEST(HandleCountTest, SeesEveryHandleThisProcessOpens) {
    const int before = OpenDescriptorCount();
    const HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(OpenDescriptorCount(), before + 1) << "the leak tests could not see a leak";
    ::CloseHandle(event);
    EXPECT_EQ(OpenDescriptorCount(), before);
}

// Runs round twice and expects the second to end with the handles and threads it began
// with: the first lets the system start what it starts once (message tables, the
// communications driver, a thread of its own).
void ExpectSecondRoundLeavesNothing(const std::function<void()>& round) {
    round();
    const int handles = OpenDescriptorCount();
    const int threads = ThreadCount();
    round();
    EXPECT_EQ(OpenDescriptorCount(), handles);
    EXPECT_EQ(ThreadCount(), threads);
}

struct LineCase {
    std::uint32_t baud;
    std::uint8_t stopBits;
    const char* seen;
};

TEST_F(ConnTest, DeviceSeesTheLineAsAsked) {
    for (const LineCase& line :
         {LineCase{9600, 0, "9600 8 1 none"}, LineCase{115200, 2, "115200 8 2 none"},
          LineCase{1200, 0, "1200 8 1 none"}}) {
        SCOPED_TRACE(line.baud);
        ASSERT_EQ(Open(com, line.baud, 8, line.stopBits, 0), 1);
        EXPECT_EQ(pty.DeviceSettings(), line.seen);
        EXPECT_TRUE(WriteReachesModem("AT\r"));
        conn.ClosePort();
    }
    EXPECT_TRUE(hook.Messages().empty());
}

struct RefusedCase {
    const char* name;
    std::uint32_t baud;
    std::uint8_t bits;
    std::uint8_t stop;
    std::uint8_t parity;
};

TEST_F(ConnTest, RefusedLineSettingsFailSilentlyAndLeaveNothingOpen) {
    ExpectSecondRoundLeavesNothing([&] {
        for (const RefusedCase& line :
             {RefusedCase{"baud 0", 0, 8, 0, 0}, RefusedCase{"9 data bits", 9600, 9, 0, 0},
              RefusedCase{"parity code 5", 9600, 8, 0, 5}}) {
            SCOPED_TRACE(line.name);
            EXPECT_EQ(Open(com, line.baud, line.bits, line.stop, line.parity), 0);
            EXPECT_EQ(conn.LastOpenError(), OpenError::kLineSettingsRefused);
        }
    });
    EXPECT_TRUE(hook.Messages().empty());
    ASSERT_EQ(Open(com), 1) << "a failed open left the port held";
    EXPECT_TRUE(WriteReachesModem("ok"));
}

struct CannotOpenCase {
    const char* name;
    std::function<std::string(PortDir&)> portName;
    OpenError kind;
    const char* reasonHas;
};

TEST_F(ConnTest, MissingDeviceShowsCannotOpenPortWithTheSystemsReason) {
    ExpectSecondRoundLeavesNothing([&] {
        for (const CannotOpenCase& entry :
             {CannotOpenCase{"link to no device", [](PortDir& dir) { return dir.Link(6, "none"); },
                             OpenError::kNotFound, "Device Manager"},
              CannotOpenCase{"no such port", [](PortDir&) { return std::string("\\\\.\\COM999"); },
                             OpenError::kNotFound, "Device Manager"}}) {
            SCOPED_TRACE(entry.name);
            CSerialConn other;
            RecordingHook otherHook;
            other.m_pMessageBoxHook = &otherHook;
            const std::string name = entry.portName(ports);

            EXPECT_EQ(other.OpenPort(name, 9600, 8, 0, 0), 0);

            EXPECT_EQ(other.LastOpenError(), entry.kind);
            const std::vector<Message> messages = otherHook.Messages();
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].text, "Cannot Open port");
            EXPECT_NE(messages[0].detail.find(name + " ("), std::string::npos)
                << messages[0].detail;
            EXPECT_NE(messages[0].detail.find(entry.reasonHas), std::string::npos);
        }
    });
}

}  // namespace
}  // namespace brenlow_test
