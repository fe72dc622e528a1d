#include "recorders.h"

namespace brenlow_test {

void RecordingTarget::Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    const std::lock_guard lock(m_mutex);
    m_posts.push_back({message, wParam, lParam, Clock::now()});
    m_arrived.notify_all();
}

bool RecordingTarget::WaitForPosts(std::size_t count, Clock::duration timeout) {
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, timeout, [&] { return m_posts.size() >= count; });
}

std::vector<Post> RecordingTarget::Posts() {
    const std::lock_guard lock(m_mutex);
    return m_posts;
}

void RecordingHook::ShowMessage(const std::string& text, const std::string& detail) {
    const std::lock_guard lock(m_mutex);
    m_messages.push_back({text, detail, std::this_thread::get_id()});
}

bool RecordingHook::WaitForMessages(std::size_t count, Clock::duration timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (Messages().size() < count && Clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    return Messages().size() >= count;
}

std::vector<Message> RecordingHook::Messages() {
    const std::lock_guard lock(m_mutex);
    return m_messages;
}

std::string DrainQueue(CQueue& queue) {
    std::string bytes;
    const int count = queue.GetSize();
    for (int i = 0; i < count; ++i) {
        unsigned char byte = 0;
        if (queue.GetByte(&byte) == 0) {
            break;
        }
        bytes.push_back(static_cast<char>(byte));
    }
    return bytes;
}

std::string Pattern(std::size_t length, std::size_t start) {
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<char>((start + i) % 251);
    }
    return bytes;
}

}  // namespace brenlow_test
