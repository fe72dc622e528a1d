#include "text_util.h"

#include <algorithm>

#include <array>
#include <cstdio>

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

// The JSON escape of one byte, or empty when the byte stands for itself.
std::string JsonEscape(unsigned char byte) {
    switch (byte) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        case '\b':
            return "\\b";
        case '\f':
            return "\\f";
        default:
            break;
    }
    if (byte < 0x20 || byte >= 0x7f) {
        return "\\u00" + Hex2(byte);
    }
    return {};
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

}  // namespace

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string JsonString(std::string_view bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const std::string escaped = JsonEscape(static_cast<unsigned char>(c));
        if (escaped.empty()) {
            out += c;
        } else {
            out += escaped;
        }
    }
    out += '"';
    return out;
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
