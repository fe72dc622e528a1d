#pragma once

// How bytes travel in the pty host's line protocol, for both of its ends (the native host
// and the Windows test harness): as lower-case hex digits, "-" for none.

#include <cstddef>
#include <string>
#include <string_view>

namespace brenlow_test {

inline std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out.empty() ? "-" : out;
}

inline std::string Unhex(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
    }
    return out;
}

}  // namespace brenlow_test
