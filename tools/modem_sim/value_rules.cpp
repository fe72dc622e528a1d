#include "value_rules.h"

#include <cstdio>

namespace modem_sim {
namespace {

std::optional<int> hex_digit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return std::nullopt;
}

std::optional<int> read_hex_number(std::string_view text, std::size_t max_digits) {
    if (text.empty() || text.size() > max_digits) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        std::optional<int> digit = hex_digit(c);
        if (!digit) {
            return std::nullopt;
        }
        value = value * 16 + *digit;
    }
    return value;
}

std::optional<int> read_in_range(std::optional<int> value, int low, int high) {
    if (value && *value >= low && *value <= high) {
        return value;
    }
    return std::nullopt;
}

}  // namespace

std::string_view trim_trailing_blanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

int max_channel(RangeClass range) {
    return range == RangeClass::wide ? 0x45 : 0x14;
}
int max_power(RangeClass range) {
    return range == RangeClass::wide ? 0xFF : 0x0F;
}
int max_period(PeriodUnit unit) {
    return unit == PeriodUnit::hours ? 3 : 59;
}

std::optional<int> read_channel(std::string_view text, RangeClass range) {
    return read_in_range(read_hex_number(trim_trailing_blanks(text), 2), 1, max_channel(range));
}

std::optional<int> read_power(std::string_view text, RangeClass range) {
    return read_in_range(read_hex_number(trim_trailing_blanks(text), 2), 1, max_power(range));
}

std::optional<int> read_period(std::string_view text, PeriodUnit unit) {
    text = trim_trailing_blanks(text);
    if (text.empty() || text.size() > 3) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return read_in_range(value, 1, max_period(unit));
}

std::optional<std::string> read_dest_id(std::string_view text) {
    text = trim_trailing_blanks(text);
    if (text.size() != 5) {
        return std::nullopt;
    }
    std::string id;
    for (char c : text) {
        if (!hex_digit(c)) {
            return std::nullopt;
        }
        id += (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return id;
}

std::string hex2(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value) & 0xFFu);
    return text;
}

}  // namespace modem_sim
