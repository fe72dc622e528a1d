#include "text_util.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "utf8.h"
#include "veltaro/console/setting_value.h"

namespace veltaro::cli {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Hex2(unsigned char byte) {
    std::array<char, 3> digits{};
    std::snprintf(digits.data(), digits.size(), "%02x", byte);
    return {digits.data(), 2};
}

// Control bytes and bytes from 0x80 as \xNN; backslashes doubled when asked, so that an
// escape can be told from a backslash that was there.
std::string EscapeBytes(std::string_view bytes, bool doubleBackslashes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' && doubleBackslashes) {
            out += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7f) {
            out += "\\x" + Hex2(byte);
        } else {
            out += c;
        }
    }
    return out;
}

// Characters that a terminal does not show as themselves: controls, and the marks that
// reorder, join or hide text (a right-to-left override makes a path read backwards).
bool HiddenCharacter(char32_t c) {
    struct Range {
        char32_t first;
        char32_t last;
    };
    static constexpr std::array<Range, 7> kHidden{{{0x00, 0x1F},
                                                   {0x7F, 0x9F},
                                                   {0x061C, 0x061C},
                                                   {0x200B, 0x200F},
                                                   {0x2028, 0x202E},
                                                   {0x2060, 0x2069},
                                                   {0xFEFF, 0xFEFF}}};
    return std::any_of(kHidden.begin(), kHidden.end(),
                       [c](const Range& range) { return c >= range.first && c <= range.last; });
}

}  // namespace

std::string QuotedInMessage(std::string_view bytes) {
    return console::QuotedInMessage(bytes);  // the profile module's messages cut alike
}

std::string TerminalSafeUtf8(std::string_view bytes) {
    std::string out;
    while (!bytes.empty()) {
        const std::optional<Utf8Char> c = DecodeUtf8(bytes);
        const std::size_t length = c ? c->length : 1;
        const std::string_view unit = bytes.substr(0, length);
        // EscapeBytes writes every byte from 0x80 as \xNN: a hidden character goes whole.
        out += c && !HiddenCharacter(c->code) ? std::string(unit) : EscapeBytes(unit, false);
        bytes.remove_prefix(length);
    }
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Printable(std::string_view bytes) {
    return EscapeBytes(bytes, true);
}

std::string TerminalSafe(std::string_view bytes) {
    return EscapeBytes(bytes, false);
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

}  // namespace veltaro::cli
