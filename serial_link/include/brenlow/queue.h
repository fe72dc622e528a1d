#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "brenlow/export.h"
#include "brenlow/object.h"

// CQueue: a fixed ring of 4192 bytes holding at most 4191 of them (one slot always stays
// free, so equal indices mean empty).
//
// Thread safety: lock-free for exactly one producer thread (PutByte) and one consumer
// thread (GetByte) at the same time. GetSize may be called from either side; the count a
// consumer sees can only grow before it acts on it, the free space a producer sees only
// grows. Clear is for a queue that no other thread is using.
//
// Every operation takes constant time, allocates nothing and makes no system call.
class BRENLOW_API CQueue : public CObject {
  public:
    static constexpr int kStorageSize = 4192;
    static constexpr int kCapacity = kStorageSize - 1;

    CQueue();
    ~CQueue() override;

    CQueue(const CQueue&) = delete;
    CQueue& operator=(const CQueue&) = delete;

    // Both indices 0, all storage bytes 0.
    void Clear();
    // Number of bytes held, 0 to 4191.
    int GetSize() const;
    // 1 when the byte was added; 0 when the queue was full (nothing changes).
    int PutByte(unsigned char b);
    // 1 when the oldest byte was written to *out; 0 when empty (*out untouched).
    int GetByte(unsigned char* out);

  private:
    static constexpr std::size_t kLine = 64;  // cache line size of the machines we build for

    unsigned char m_storage[kStorageSize];
    // Each index sits on a cache line of its own, so that the producer's and the consumer's
    // stores do not contend. Each side also keeps its last view of the other side's index
    // and reloads it only when that view says full (producer) or empty (consumer).
    alignas(kLine) std::atomic<std::int32_t> m_write;  // written by the producer only
    std::int32_t m_readSeen = 0;                       // producer only
    alignas(kLine) std::atomic<std::int32_t> m_read;   // written by the consumer only
    std::int32_t m_writeSeen = 0;                      // consumer only
};
