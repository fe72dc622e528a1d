#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "brenlow/queue.h"

namespace {

constexpr int kCapacity = CQueue::kCapacity;

// One step of a script: put count bytes, take count bytes, or clear.
struct Step {
    enum Kind { kPut, kGet, kClear } kind;
    int count;
};

struct Script {
    const char* name;
    std::vector<Step> steps;
};

// Runs a script against the queue and against a plain deque standing for what the queue
// must hold, and compares every result, every size and every byte taken out.
void RunAgainstModel(const Script& script) {
    SCOPED_TRACE(script.name);
    CQueue queue;
    std::deque<unsigned char> model;
    unsigned char next = 0;
    for (const Step& step : script.steps) {
        for (int i = 0; i < (step.kind == Step::kClear ? 1 : step.count); ++i) {
            if (step.kind == Step::kClear) {
                queue.Clear();
                model.clear();
            } else if (step.kind == Step::kPut) {
                const int expected = static_cast<int>(model.size()) < kCapacity ? 1 : 0;
                ASSERT_EQ(queue.PutByte(next), expected) << "put at size " << model.size();
                if (expected == 1) {
                    model.push_back(next);
                }
                next = static_cast<unsigned char>(next + 7);
            } else {
                unsigned char out = 0xA5;
                const int expected = model.empty() ? 0 : 1;
                ASSERT_EQ(queue.GetByte(&out), expected) << "get at size " << model.size();
                ASSERT_EQ(out, model.empty() ? 0xA5 : model.front());  // untouched when empty
                if (!model.empty()) {
                    model.pop_front();
                }
            }
            ASSERT_EQ(queue.GetSize(), static_cast<int>(model.size()));
        }
    }
}

std::vector<Script> BoundaryScripts() {
    using S = Step;
    return {
        {"new queue is empty", {{S::kGet, 2}, {S::kPut, 1}, {S::kGet, 2}}},
        {"holds 4191, refuses the next", {{S::kPut, kCapacity + 3}, {S::kGet, kCapacity + 1}}},
        {"one out makes room for one across the wrap",
         {{S::kPut, kCapacity}, {S::kGet, 1}, {S::kPut, 2}, {S::kGet, kCapacity + 1}}},
        {"alternating a full turn ends empty at the start",
         [] {
             std::vector<Step> steps;
             for (int i = 0; i < CQueue::kStorageSize; ++i) {
                 steps.push_back({S::kPut, 1});
                 steps.push_back({S::kGet, 1});
             }
             steps.push_back({S::kPut, kCapacity + 1});
             return steps;
         }()},
        {"order kept across the wrap",
         {{S::kPut, 4000}, {S::kGet, 4000}, {S::kPut, 500}, {S::kGet, 501}}},
        {"clear empties a full queue",
         {{S::kPut, kCapacity},
          {S::kClear, 1},
          {S::kGet, 1},
          {S::kPut, kCapacity + 1},
          {S::kGet, kCapacity}}},
    };
}

TEST(QueueTest, BoundariesAndWrapMatchTheModel) {
    for (const Script& script : BoundaryScripts()) {
        RunAgainstModel(script);
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(QueueTest, RandomRunsMatchTheModel) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> count(0, 3000);
    Script script{"random", {}};
    for (int i = 0; i < 400; ++i) {
        script.steps.push_back({i % 2 == 0 ? Step::kPut : Step::kGet, count(random)});
    }
    RunAgainstModel(script);
}

// One producer and one consumer at full speed. Each side acts on the size it measured:
// the consumer takes exactly GetSize bytes and must never find the queue empty on the way,
// the producer fills exactly the free space and must never find it full.
TEST(QueueTest, OneProducerOneConsumerKeepEveryByteInOrder) {
    constexpr std::uint64_t kBytes = 4'000'000;
    CQueue queue;
    std::uint64_t producerMisses = 0;
    std::thread producer([&] {
        std::uint64_t sent = 0;
        while (sent < kBytes) {
            const int room = kCapacity - queue.GetSize();
            for (int i = 0; i < room && sent < kBytes; ++i, ++sent) {
                if (queue.PutByte(static_cast<unsigned char>(sent % 251)) != 1) {
                    ++producerMisses;
                }
            }
            if (room == 0) {
                std::this_thread::yield();
            }
        }
    });
    std::uint64_t received = 0;
    std::uint64_t consumerMisses = 0;
    std::uint64_t disorder = 0;
    while (received < kBytes) {
        const int held = queue.GetSize();
        for (int i = 0; i < held; ++i, ++received) {
            unsigned char byte = 0;
            if (queue.GetByte(&byte) != 1) {
                ++consumerMisses;
            } else if (byte != received % 251) {
                ++disorder;
            }
        }
        if (held == 0) {
            std::this_thread::yield();
        }
    }
    producer.join();
    EXPECT_EQ(producerMisses, 0u);
    EXPECT_EQ(consumerMisses, 0u);
    EXPECT_EQ(disorder, 0u);
    EXPECT_EQ(queue.GetSize(), 0);
}

}  // namespace
