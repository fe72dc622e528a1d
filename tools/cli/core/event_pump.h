#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "brenlow/notify.h"

namespace veltaro::cli {

// Carries the watcher's data-arrived messages and the run's stop request to the
// connection's thread, which waits on both. Made by StopSignal::MakePump; each platform
// implements it with its own wait (poll on POSIX). Post is called by the watcher thread;
// everything else by the connection's thread.
class EventPump : public CNotifyTarget {
  public:
    virtual ~EventPump() = default;

    // False when the system refused what the pump needs; the pump then never wakes.
    [[nodiscard]] virtual bool Ready() const = 0;

    // Any thread, never blocks: counts one data-arrived message. Other messages are ignored.
    void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override = 0;

    struct Wake {
        std::uint64_t messages = 0;  // data-arrived messages posted since the last Wait
        bool stopped = false;        // the run's stop request was made
    };
    // Waits up to timeoutMs (0: only looks) for a message or the stop request.
    [[nodiscard]] virtual Wake Wait(int timeoutMs) = 0;
};

// Collects the serial link's message boxes ("Cannot Open port" with its reason, the
// watcher's start-up failure) so that the main thread can report them. Safe from any
// thread.
class MessageCollector final : public CMessageBoxHook {
  public:
    struct Message {
        std::string text;
        std::string detail;
    };

    void ShowMessage(const std::string& text, const std::string& detail) override;
    // The messages shown since the last call, oldest first.
    std::vector<Message> Take();

  private:
    std::mutex m_mutex;
    std::vector<Message> m_messages;
};

}  // namespace veltaro::cli
