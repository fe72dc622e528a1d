#include <chrono>

#include <gtest/gtest.h>

#include "brenlow/serial_conn.h"
#include "veltaro/console/serial_modem_link.h"

namespace veltaro::console {
namespace {

using Clock = std::chrono::steady_clock;

// The one place where a pause really sleeps; bounds only, never exact times.
TEST(SerialModemLink, PauseSleepsAtLeastTheGivenTime) {
    CSerialConn connection;
    SerialModemLink link(connection);
    const auto start = Clock::now();
    link.Pause(30);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(30));

    const auto again = Clock::now();
    link.Pause(0);
    link.Pause(-5);
    EXPECT_LT(Clock::now() - again, std::chrono::milliseconds(25));
}

TEST(SerialModemLink, ClosedConnectionSendsNothingAndHasNothingQueued) {
    CSerialConn connection;
    SerialModemLink link(connection);
    link.ClosePort();  // nothing open: does nothing
    link.SendText("2");
    link.WriteByte(0x1B);
    EXPECT_EQ(link.QueueSize(), 0);
    unsigned char byte = 0x55;
    EXPECT_EQ(link.QueueGetByte(&byte), 0);
    EXPECT_EQ(byte, 0x55);
}

}  // namespace
}  // namespace veltaro::console
