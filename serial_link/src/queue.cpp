#include "brenlow/queue.h"

#include <cstring>

// Producer and consumer each own one index; a byte is published by the release store of
// the advanced write index after it was stored, and a slot is handed back by the release
// store of the advanced read index after the byte was copied out.

namespace {

constexpr std::int32_t Advance(std::int32_t index) {
    return index + 1 == CQueue::kStorageSize ? 0 : index + 1;
}

constexpr int Held(std::int32_t write, std::int32_t read) {
    return (write - read + CQueue::kStorageSize) % CQueue::kStorageSize;
}

}  // namespace

CQueue::CQueue() {
    Clear();
}

CQueue::~CQueue() = default;

void CQueue::Clear() {
    std::memset(m_storage, 0, sizeof m_storage);
    m_write.store(0, std::memory_order_release);
    m_read.store(0, std::memory_order_release);
    m_readSeen = 0;
    m_writeSeen = 0;
}

int CQueue::GetSize() const {
    return Held(m_write.load(std::memory_order_acquire), m_read.load(std::memory_order_acquire));
}

int CQueue::PutByte(unsigned char b) {
    const std::int32_t write = m_write.load(std::memory_order_relaxed);
    const std::int32_t next = Advance(write);
    if (next == m_readSeen) {  // full as far as this side knows: look again
        m_readSeen = m_read.load(std::memory_order_acquire);
        if (next == m_readSeen) {
            return 0;
        }
    }
    m_storage[write] = b;
    m_write.store(next, std::memory_order_release);
    return 1;
}

int CQueue::GetByte(unsigned char* out) {
    const std::int32_t read = m_read.load(std::memory_order_relaxed);
    if (read == m_writeSeen) {  // empty as far as this side knows: look again
        m_writeSeen = m_write.load(std::memory_order_acquire);
        if (read == m_writeSeen) {
            return 0;
        }
    }
    *out = m_storage[read];
    m_read.store(Advance(read), std::memory_order_release);
    return 1;
}
