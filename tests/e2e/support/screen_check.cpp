#include "screen_check.h"

#include <algorithm>

namespace veltaro::e2e {

namespace {

// The program puts a line break in front of every excerpt it logs; when the previous excerpt
// ran on into the next screen, that break falls inside the screen's text (for example
// within its first rule). Screens are therefore compared without line breaks.
std::string WithoutLineBreaks(std::string_view text) {
    std::string flat;
    flat.reserve(text.size());
    for (const char c : text) {
        if (c != '\n' && c != '\r') {
            flat += c;
        }
    }
    return flat;
}

}  // namespace

std::vector<std::string> FinishedScreens(std::span<const WireByte> sent,
                                         std::vector<double> cutsMs) {
    std::sort(cutsMs.begin(), cutsMs.end());
    std::vector<std::string> screens;
    std::string piece;
    auto nextCut = cutsMs.begin();
    for (const WireByte& entry : sent) {
        if (nextCut != cutsMs.end() && entry.ms >= *nextCut) {
            piece.clear();  // what was pending when the buffer was emptied
            while (nextCut != cutsMs.end() && entry.ms >= *nextCut) {
                ++nextCut;
            }
        }
        if (entry.byte == '\r') {
            continue;
        }
        piece += static_cast<char>(entry.byte);
        if (piece.ends_with("OK") || piece.ends_with("!!")) {
            const std::size_t rule = piece.find("--");
            screens.push_back(rule == std::string::npos ? piece : piece.substr(rule));
            piece.clear();
        }
    }
    return screens;
}

std::vector<std::string> MissingFromLog(const std::vector<std::string>& screens,
                                        std::string_view log) {
    const std::string flatLog = WithoutLineBreaks(log);
    std::vector<std::string> missing;
    std::size_t from = 0;
    for (const std::string& screen : screens) {
        const std::string flatScreen = WithoutLineBreaks(screen);
        const std::size_t at = flatLog.find(flatScreen, from);
        if (at == std::string::npos) {
            missing.push_back(screen);
        } else {
            from = at + flatScreen.size();
        }
    }
    return missing;
}

}  // namespace veltaro::e2e
