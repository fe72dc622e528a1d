#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>

#include "brenlow/serial_conn.h"
#include "pty_support.h"

namespace brenlow_test {

// A connection with recorders installed, and a pseudo-terminal reachable as port 5 of the
// test's port directory (COM5 on POSIX, a COM number of its own under Wine).
// Members are destroyed in reverse order: the connection (and its watcher) goes first.
class ConnTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty.Valid());
        com = ports.Link(5, pty.SlavePath());
        conn.m_hNotifyWnd = &target;
        conn.m_pMessageBoxHook = &hook;
    }

    [[nodiscard]] int Open(const std::string& name, std::uint32_t baud = 9600,
                           std::uint8_t bits = 8, std::uint8_t stop = 0, std::uint8_t parity = 0) {
        return conn.OpenPort(name, baud, bits, stop, parity);
    }

    // Whether bytes written through the connection reach the modem.
    [[nodiscard]] bool WriteReachesModem(const std::string& bytes) {
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
        const auto length = static_cast<std::uint32_t>(bytes.size());
        return conn.WriteComm(data, length) == length && pty.ReceiveAtModem(length) == bytes;
    }

    PtyPair pty;
    PortDir ports;
    RecordingTarget target;
    RecordingHook hook;
    CSerialConn conn;
    std::string com;
};

// Waits until the process has count threads: a joined thread leaves /proc a moment later, and
// under Wine only once the busy wine server has heard of its end.
[[nodiscard]] inline ::testing::AssertionResult WaitForThreadCount(int count,
                                                                   Clock::duration timeout = 5s) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (ThreadCount() != count && Clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    const int now = ThreadCount();
    if (now == count) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << now << " threads, expected " << count;
}

}  // namespace brenlow_test
