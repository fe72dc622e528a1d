#pragma once

// Test support on POSIX: a pseudo-terminal whose slave plays the serial device (the test
// holds the master and plays the modem), a temporary port directory that maps COM numbers
// to it, and the process's own counts. win32/pty_support.h is the same for Windows.

#include <termios.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <string>
#include <string_view>

#include "recorders.h"

namespace brenlow_test {

class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    [[nodiscard]] bool Valid() const { return m_master >= 0; }
    [[nodiscard]] const std::string& SlavePath() const { return m_slavePath; }

    // What the modem sends: arrives at the connection's device.
    [[nodiscard]] bool SendFromModem(std::string_view bytes);
    // Reads what the connection wrote until count bytes came or timeout passed.
    [[nodiscard]] std::string ReceiveAtModem(std::size_t count, Clock::duration timeout = 2s);
    // Everything the connection wrote that is waiting now, without waiting for more.
    [[nodiscard]] std::string ReceiveAvailable();
    // The device's terminal settings (a master reads and writes its slave's).
    [[nodiscard]] termios DeviceSettings() const;
    void SetDeviceSettings(const termios& settings);
    // The modem goes away: the device hangs up.
    void CloseMaster();

  private:
    int m_master = -1;
    std::string m_slavePath;
};

// A temporary port directory named by BRENLOW_PORT_DIR while it lives.
class PortDir {
  public:
    PortDir();
    ~PortDir();
    PortDir(const PortDir&) = delete;
    PortDir& operator=(const PortDir&) = delete;

    [[nodiscard]] const std::string& Path() const { return m_path; }
    // Makes com<number> a link to target (replacing an earlier one); returns "COM<number>".
    std::string Link(unsigned number, const std::string& target);

  private:
    std::string m_path;
    std::string m_oldValue;
    bool m_hadOldValue = false;
};

[[nodiscard]] int OpenDescriptorCount();
[[nodiscard]] int ThreadCount();
// Descriptors (handles) that the platform's runtime may keep from many open and close
// cycles, not leaked by us: none.
constexpr int kRuntimeSpareDescriptors = 0;
// What the detail of the lost-port message says for a vanished device: what poll reports of a
// device whose other end closed.
constexpr const char* kGoneDetailHas = "hung up";
// The threads an open connection adds while it waits: the watcher itself.
constexpr int kThreadsPerWatcher = 1;
[[nodiscard]] std::chrono::nanoseconds ProcessCpuTime();

// Whether the device's terminal settings are the same in every field a connection touches.
inline void ExpectSameSettings(const termios& actual, const termios& expected) {
    EXPECT_EQ(actual.c_iflag, expected.c_iflag);
    EXPECT_EQ(actual.c_oflag, expected.c_oflag);
    EXPECT_EQ(actual.c_lflag, expected.c_lflag);
    EXPECT_EQ(actual.c_cflag, expected.c_cflag);
    EXPECT_TRUE(
        std::equal(std::begin(actual.c_cc), std::end(actual.c_cc), std::begin(expected.c_cc)));
    EXPECT_EQ(cfgetospeed(&actual), cfgetospeed(&expected));
}

}  // namespace brenlow_test
