#include "wire_steps.h"

#include <algorithm>
#include <cstdio>

namespace veltaro::e2e {
namespace {

// Appended, not added: g++ 12 at -O3 warns falsely (-Wrestrict) about "'" + std::string.
std::string Quoted(std::string_view bytes) {
    std::string text(1, '\'');
    text += Visible(bytes);
    text += '\'';
    return text;
}

std::string Listed(const std::vector<WireBurst>& bursts) {
    std::string text;
    for (std::size_t i = 0; i < bursts.size(); ++i) {
        if (i > 0) {
            char gap[32];
            std::snprintf(gap, sizeof gap, " (%.0f ms) ", bursts[i].firstMs - bursts[i - 1].lastMs);
            text += gap;
        }
        text += Quoted(bursts[i].bytes);
    }
    return text.empty() ? "nothing" : text;
}

}  // namespace

std::string CompareSteps(const std::vector<WireBurst>& bursts, const std::vector<WireStep>& steps) {
    const std::string seen = "; on the wire: " + Listed(bursts);
    if (bursts.size() != steps.size()) {
        return std::to_string(bursts.size()) + " bursts, expected " + std::to_string(steps.size()) +
               seen;
    }
    // A burst that reached us late shortens the gap after it although the sender paused in full,
    // so an early gap is judged with the lateness carried from the bursts before it.
    double lateMs = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (bursts[i].bytes != steps[i].bytes) {
            return "burst " + std::to_string(i + 1) + " is " + Quoted(bursts[i].bytes) +
                   ", expected " + Quoted(steps[i].bytes) + seen;
        }
        if (i + 1 == steps.size()) {
            break;
        }
        const double gap = bursts[i + 1].firstMs - bursts[i].lastMs;
        const int pause = steps[i].pauseAfterMs;
        if (gap + lateMs < pause - kPauseEarlyMs || gap > pause + kPauseLateMs) {
            char text[96];
            std::snprintf(text, sizeof text, "pause after burst %zu is %.1f ms, expected %d ms",
                          i + 1, gap, pause);
            return text + seen;
        }
        lateMs = std::max(0.0, lateMs + gap - pause);
    }
    return {};
}

}  // namespace veltaro::e2e
