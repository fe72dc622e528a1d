#pragma once

// Test support shared by the POSIX and the Windows connection tests: recorders for the
// connection's notifications and message boxes, and byte patterns.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "brenlow/notify.h"
#include "brenlow/queue.h"

namespace brenlow_test {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

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

// A recognisable stream: byte i is i mod 251, so lost or reordered bytes show.
[[nodiscard]] std::string Pattern(std::size_t length, std::size_t start = 0);

}  // namespace brenlow_test
