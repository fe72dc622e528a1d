#pragma once

// Test support under Wine: the same pseudo-terminal and port directory as on POSIX, played
// by the native host (tests/win32/pty_host.cpp) that runs this program, over a loopback
// connection. Port numbers map to Wine's dosdevices/comN links, in a block the host holds.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>

#include "recorders.h"

namespace brenlow_test {

class PtyPair {
  public:
    PtyPair();
    ~PtyPair() = default;
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    [[nodiscard]] bool Valid() const { return !m_id.empty(); }
    // Names the device for PortDir::Link.
    [[nodiscard]] const std::string& SlavePath() const { return m_id; }

    [[nodiscard]] bool SendFromModem(std::string_view bytes);
    [[nodiscard]] std::string ReceiveAtModem(std::size_t count, Clock::duration timeout = 2s);
    [[nodiscard]] std::string ReceiveAvailable();
    // The line as the device sees it: "9600 8 1 none" (baud, data bits, stop bits, parity).
    [[nodiscard]] std::string DeviceSettings() const;
    void CloseMaster();

  private:
    std::string m_id;
};

class PortDir {
  public:
    // Makes port number (0 to 9) name target, a PtyPair's SlavePath or, for anything
    // else, a device that does not exist; returns the port name to open ("\\.\COM<n>").
    std::string Link(unsigned number, const std::string& target);
};

// Compares what DeviceSettings reports, as the POSIX support compares terminal settings.
inline void ExpectSameSettings(const std::string& actual, const std::string& expected) {
    EXPECT_FALSE(actual.empty());
    EXPECT_EQ(actual, expected);
}

[[nodiscard]] int OpenDescriptorCount();  // the process's kernel handles
[[nodiscard]] int ThreadCount();
// Descriptors (handles) that the platform's runtime may keep from many open and close
// cycles, not leaked by us: Wine keeps one now and then from a close that meets a wait as
// it starts.
constexpr int kRuntimeSpareDescriptors = 2;
// What the detail of the lost-port message says for a vanished device: the system's own message,
// Wine's here for a hung-up device.
constexpr const char* kGoneDetailHas = "system reports";
// The threads an open connection adds while it waits: the watcher, and the thread Wine runs for its
// wait.
constexpr int kThreadsPerWatcher = 2;
[[nodiscard]] std::chrono::nanoseconds ProcessCpuTime();

}  // namespace brenlow_test
