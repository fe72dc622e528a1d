#include <algorithm>
#include <array>
#include <chrono>

#include "brenlow/serial_conn.h"
#include "serial_device.h"

// The watcher: one thread per open connection, the only producer of m_QueueRead.

namespace {

constexpr std::uint32_t kChunkSize = 2048;         // at most this much per read
constexpr std::chrono::milliseconds kPause{1000};  // gathers a burst into one message
constexpr const char* kWatcherFailed = "Error while creating ThreadWatchComm";
constexpr const char* kPortLostPrefix = "Lost the port ";
constexpr const char* kPortLostSuffix = ": the device went away (was the adapter unplugged?)";

}  // namespace

void CSerialConn::ThreadWatchComm() {
    using brenlow::detail::WaitResult;
    if (!m_watch) {
        // Shown from this thread, so a front end that queues the watcher's boxes shows it
        // after OpenPort has returned 1, as it shows the others.
        ShowMessage(kWatcherFailed + m_portName, m_watchFailure);
        return;
    }
    std::array<unsigned char, kChunkSize> chunk{};  // the watcher's own; it allocates nothing
    while (m_connected.load(std::memory_order_acquire) == 1) {
        const WaitResult result = m_watch->WaitForCharacters();
        m_watch->Pause(kPause);
        if (m_connected.load(std::memory_order_acquire) == 0 || result == WaitResult::kWoken) {
            continue;
        }
        const bool stored = DrainIntoQueue(chunk.data(), kChunkSize);
        if (result == WaitResult::kCharacters || stored) {
            NotifyDataArrived();
        }
        if (result == WaitResult::kGone) {
            // A device that went away reports itself readable forever; waiting on it again
            // would spin. The connection stays open until its owner closes it, and the user
            // learns why the modem went silent (before HasHungUp, so an owner that reacts
            // to it has the message already).
            ShowMessage(kPortLostPrefix + m_portName + kPortLostSuffix, m_watch->GoneReason());
            m_hungUp.store(true, std::memory_order_release);
            return;
        }
    }
}

// Moves what the driver holds into the queue, never more than fits: what does not fit
// yet stays in the driver for a later cycle. Returns whether any byte was stored.
bool CSerialConn::DrainIntoQueue(unsigned char* chunk, std::uint32_t chunkSize) {
    bool stored = false;
    for (;;) {
        // The free space seen here can only grow until this thread stores again.
        const auto freeSpace =
            static_cast<std::uint32_t>(CQueue::kCapacity - m_QueueRead.GetSize());
        if (freeSpace == 0) {
            break;
        }
        const std::uint32_t count = ReadComm(chunk, std::min(chunkSize, freeSpace));
        if (count == 0) {
            break;
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            static_cast<void>(m_QueueRead.PutByte(chunk[i]));  // fits: measured above
        }
        stored = true;
    }
    return stored;
}

void CSerialConn::NotifyDataArrived() const {
    if (m_hNotifyWnd != nullptr) {
        m_hNotifyWnd->Post(CNotifyTarget::kDataArrived, 0, 0);
    }
}
