#include "screen_check.h"

#include <algorithm>

namespace veltaro::e2e {

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
    std::vector<std::string> missing;
    std::size_t from = 0;
    for (const std::string& screen : screens) {
        const std::size_t at = log.find(screen, from);
        if (at == std::string_view::npos) {
            missing.push_back(screen);
        } else {
            from = at + screen.size();
        }
    }
    return missing;
}

}  // namespace veltaro::e2e
