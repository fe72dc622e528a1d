#include "brenlow/queue.h"

#include <cstring>

CQueue::CQueue() { Clear(); }
CQueue::~CQueue() = default;

void CQueue::Clear() {
    std::memset(m_storage, 0, sizeof m_storage);
    m_write.store(0, std::memory_order_relaxed);
    m_read.store(0, std::memory_order_relaxed);
}

int CQueue::GetSize() const {
    return (m_write.load(std::memory_order_acquire) - m_read.load(std::memory_order_acquire) +
            kStorageSize) %
           kStorageSize;
}

int CQueue::PutByte(unsigned char) { return 0; }  // placeholder until the queue lands
int CQueue::GetByte(unsigned char*) { return 0; }  // placeholder until the queue lands
