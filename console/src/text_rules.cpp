#include "veltaro/console/text_rules.h"

#include <algorithm>
#include <limits>

namespace veltaro::console {

TextPos FindFirst(std::string_view text, std::string_view pattern) {
    const std::size_t pos = text.find(pattern);
    return pos == std::string_view::npos ? -1 : static_cast<TextPos>(pos);
}

bool Contains(std::string_view text, std::string_view pattern) {
    return text.find(pattern) != std::string_view::npos;
}

std::string ClampedSubstring(std::string_view text, TextPos start, TextPos count) {
    const auto length = static_cast<TextPos>(text.size());
    if (start < 0) {
        start = 0;
    }
    if (count < 0) {
        count = 0;
    }
    if (count > length - start) {  // start + count > length, without the overflow
        count = length - start;
    }
    if (start > length || count <= 0) {
        return {};
    }
    return std::string(
        text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count)));
}

std::string Rest(std::string_view text, TextPos start) {
    const auto length = static_cast<TextPos>(text.size());
    // length - start would overflow for the most negative start; any negative start takes
    // the whole text anyway.
    const TextPos count = start < 0 ? length : length - start;
    return ClampedSubstring(text, start, count);
}

std::uint8_t HexDigitValue(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= '0' && code <= '9') {
        return static_cast<std::uint8_t>(code - '0');
    }
    if (code >= 'A' && code <= 'F') {
        return static_cast<std::uint8_t>(code - 'A' + 10);
    }
    if (code >= 'a' && code <= 'f') {
        return static_cast<std::uint8_t>(code - 'a' + 10);
    }
    return 0;
}

namespace {

// The C locale's white space, as atoi skips it.
bool IsAtoiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::int32_t AtoiPrefix(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsAtoiSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate as a negative number so that the most negative value fits.
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 - (text[i] - '0');
        if (value < kMin) {
            return negative ? static_cast<std::int32_t>(kMin) : static_cast<std::int32_t>(kMax);
        }
    }
    if (negative) {
        return static_cast<std::int32_t>(value);
    }
    return value < -kMax ? static_cast<std::int32_t>(kMax) : static_cast<std::int32_t>(-value);
}

bool IsSendableText(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return IsSendableCharacter(static_cast<unsigned char>(c)); });
}

std::string FormatPortName(int comNumber) {
    const std::string number = std::to_string(comNumber);
    return comNumber <= 4 ? "COM" + number : "\\\\.\\COM" + number;
}

}  // namespace veltaro::console
