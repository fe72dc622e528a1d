#include <benchmark/benchmark.h>

#include <cstdint>
#include <thread>

#include "brenlow/queue.h"

// Throughput of CQueue between one producer and one consumer thread.

namespace {

constexpr std::int64_t kBytesPerRun = std::int64_t{1} << 24;  // 16 MiB

// A side that finds nothing to do lets the other run: the machines may have two cores.
void Backoff(int& idle) {
    if (++idle > 64) {
        std::this_thread::yield();
        idle = 0;
    }
}

// Byte by byte on both sides, each retrying when the queue is full or empty.
void BM_QueueSpscByteByByte(benchmark::State& state) {
    for (auto _ : state) {
        CQueue queue;
        std::thread producer([&queue] {
            int idle = 0;
            for (std::int64_t sent = 0; sent < kBytesPerRun;) {
                if (queue.PutByte(static_cast<unsigned char>(sent)) == 1) {
                    ++sent;
                } else {
                    Backoff(idle);
                }
            }
        });
        unsigned sum = 0;
        int idle = 0;
        for (std::int64_t received = 0; received < kBytesPerRun;) {
            unsigned char byte = 0;
            if (queue.GetByte(&byte) == 1) {
                sum += byte;
                ++received;
            } else {
                Backoff(idle);
            }
        }
        producer.join();
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * kBytesPerRun);
}
BENCHMARK(BM_QueueSpscByteByByte)->Unit(benchmark::kMillisecond)->UseRealTime();

// As the connection uses it: the watcher fills the free space it measured, the owner
// takes the count it measured.
void BM_QueueSpscByMeasuredSize(benchmark::State& state) {
    for (auto _ : state) {
        CQueue queue;
        std::thread producer([&queue] {
            int idle = 0;
            for (std::int64_t sent = 0; sent < kBytesPerRun;) {
                const int room = CQueue::kCapacity - queue.GetSize();
                for (int i = 0; i < room && sent < kBytesPerRun; ++i, ++sent) {
                    benchmark::DoNotOptimize(queue.PutByte(static_cast<unsigned char>(sent)));
                }
                if (room == 0) {
                    Backoff(idle);
                }
            }
        });
        unsigned sum = 0;
        int idle = 0;
        for (std::int64_t received = 0; received < kBytesPerRun;) {
            const int held = queue.GetSize();
            for (int i = 0; i < held; ++i) {
                unsigned char byte = 0;
                benchmark::DoNotOptimize(queue.GetByte(&byte));
                sum += byte;
            }
            received += held;
            if (held == 0) {
                Backoff(idle);
            }
        }
        producer.join();
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * kBytesPerRun);
}
BENCHMARK(BM_QueueSpscByMeasuredSize)->Unit(benchmark::kMillisecond)->UseRealTime();

// The cost of the operations themselves, without a second thread: fill, then empty.
void BM_QueueFillAndEmptyOneThread(benchmark::State& state) {
    CQueue queue;
    unsigned sum = 0;
    for (auto _ : state) {
        for (int i = 0; i < CQueue::kCapacity; ++i) {
            benchmark::DoNotOptimize(queue.PutByte(static_cast<unsigned char>(i)));
        }
        for (int i = 0; i < CQueue::kCapacity; ++i) {
            unsigned char byte = 0;
            benchmark::DoNotOptimize(queue.GetByte(&byte));
            sum += byte;
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetBytesProcessed(state.iterations() * CQueue::kCapacity);
}
BENCHMARK(BM_QueueFillAndEmptyOneThread);

}  // namespace
