#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "brenlow/notify.h"

namespace veltaro::cli {

// Carries the watcher's data-arrived messages and the stop request (a StopSignal's stop
// descriptor) to the connection's thread, which waits on both with poll. Post is called by
// the watcher thread; everything else by the connection's thread.
class EventPump final : public CNotifyTarget {
  public:
    // stopFd: readable once the run must stop; not owned.
    explicit EventPump(int stopFd);
    ~EventPump();

    EventPump(const EventPump&) = delete;
    EventPump& operator=(const EventPump&) = delete;

    // False when a descriptor could not be made; the pump then never wakes.
    bool Ready() const { return m_eventFd >= 0 && m_stopFd >= 0; }

    // Any thread, never blocks: counts one data-arrived message. Other messages are ignored.
    void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

    struct Wake {
        std::uint64_t messages = 0;  // data-arrived messages posted since the last Wait
        bool stopped = false;        // the stop descriptor is readable
    };
    // Waits up to timeoutMs (0: only looks) for a message or the stop request.
    Wake Wait(int timeoutMs);

  private:
    int m_eventFd = -1;
    int m_stopFd = -1;
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
