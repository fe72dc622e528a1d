#pragma once

#include <string>
#include <vector>

#include "wire_trace.h"

namespace veltaro::e2e {

// One burst a command should put on the wire and the pause after it (0 for the last).
// Sends that follow each other without a pause form one burst.
struct WireStep {
    std::string bytes;
    int pauseAfterMs = 0;
};

// A pause counts as kept when the gap between two bursts lies within
// [pause - kPauseEarlyMs, pause + kPauseLateMs]; a gap shortened because the burst before it
// arrived late (the earlier gaps ran over their pauses) is not early.
inline constexpr int kPauseEarlyMs = 20;
inline constexpr int kPauseLateMs = 100;

// Bytes closer together than this belong to one burst; the shortest pause is 400 ms.
inline constexpr double kBurstGapMs = 150;

// Empty when the bursts are exactly the steps, bytes and pauses; otherwise what differs.
std::string CompareSteps(const std::vector<WireBurst>& bursts, const std::vector<WireStep>& steps);

}  // namespace veltaro::e2e
