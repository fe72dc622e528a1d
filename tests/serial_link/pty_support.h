#pragma once

// Test support: a pseudo-terminal whose slave plays the serial device (the test holds the
// master and plays the modem), a temporary port directory that maps COM numbers to it, and
// recorders for the connection's notifications and message boxes.

#include <termios.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "brenlow/notify.h"
#include "brenlow/queue.h"

namespace brenlow_test {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

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

struct Post {
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    Clock::time_point when;
};

class RecordingTarget : public CNotifyTarget {
  public:
    void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    // Waits until at least count posts arrived; false on timeout.
    [[nodiscard]] bool WaitForPosts(std::size_t count, Clock::duration timeout);
    [[nodiscard]] std::vector<brenlow_test::Post> Posts();

  private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<brenlow_test::Post> m_posts;
};

struct Message {
    std::string text;
    std::string detail;
    std::thread::id thread;  // the thread that showed it
};

class RecordingHook : public CMessageBoxHook {
  public:
    void ShowMessage(const std::string& text, const std::string& detail) override;
    [[nodiscard]] std::vector<Message> Messages();
    // Waits until at least count messages were shown; false on timeout.
    [[nodiscard]] bool WaitForMessages(std::size_t count, Clock::duration timeout);

  private:
    std::mutex m_mutex;
    std::vector<Message> m_messages;
};

// Takes every byte the queue holds, as the owner does after a data-arrived message.
[[nodiscard]] std::string DrainQueue(CQueue& queue);

[[nodiscard]] int OpenDescriptorCount();
[[nodiscard]] int ThreadCount();
[[nodiscard]] std::chrono::nanoseconds ProcessCpuTime();

// A recognisable stream: byte i is i mod 251, so lost or reordered bytes show.
[[nodiscard]] std::string Pattern(std::size_t length, std::size_t start = 0);

}  // namespace brenlow_test
