#include "event_pump.h"

namespace veltaro::cli {

void MessageCollector::ShowMessage(const std::string& text, const std::string& detail) {
    const std::lock_guard lock(m_mutex);
    m_messages.push_back({text, detail});
}

std::vector<MessageCollector::Message> MessageCollector::Take() {
    const std::lock_guard lock(m_mutex);
    std::vector<Message> taken;
    taken.swap(m_messages);
    return taken;
}

}  // namespace veltaro::cli
