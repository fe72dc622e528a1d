#include "veltaro/console/setting_value.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "veltaro/console/text_rules.h"

namespace veltaro::console {
namespace {

// Long enough for any real value, short enough for one line of a message.
constexpr std::size_t kQuotedMax = 60;

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string ChoiceList(std::span<const std::string_view> choices) {
    std::string out;
    for (const std::string_view choice : choices) {
        if (!out.empty()) {
            out += '|';  // appended: g++ 12 -O3 warns falsely (-Wrestrict) on "|" + string
        }
        out += choice;
    }
    return out;
}

// The period as <digits><h|m|s>, e.g. 30m.
std::string ParsePeriod(std::string_view value, SetItem& item) {
    static constexpr std::string_view kLetters = "hms";
    const std::string lower = Lowered(value);
    const std::size_t unit = lower.empty() ? std::string::npos : kLetters.find(lower.back());
    const std::string_view number = value.substr(0, value.empty() ? 0 : value.size() - 1);
    const bool digits =
        !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
    if (unit == std::string::npos || !digits) {
        return "period must be a number followed by h, m or s (e.g. period=30m)";
    }
    item.text = std::string(number);
    item.index = static_cast<int>(unit);
    return {};
}

std::string ParseByKind(const KeyRow& row, std::string_view value, SetItem& item) {
    switch (row.kind) {
        case ValueKind::kText:
            item.text = std::string(value);
            return {};
        case ValueKind::kPeriod:
            return ParsePeriod(value, item);
        case ValueKind::kChoice: {
            const auto found = std::find(row.choices.begin(), row.choices.end(), Lowered(value));
            if (found == row.choices.end()) {
                return std::string(row.name) + " must be one of " + ChoiceList(row.choices);
            }
            item.index = static_cast<int>(found - row.choices.begin());
            return {};
        }
    }
    return {};
}

}  // namespace

ValueParse ParseSettingValue(const KeyRow& row, std::string_view value, SetItem& item) {
    if (value.empty()) {
        return {std::string(row.name) + " needs a value", false};
    }
    if (!IsSendableText(value)) {
        return {std::string(row.name) + " value '" + QuotedInMessage(value) +
                    "' refused: the modem takes printable ASCII only (no control bytes, "
                    "nothing from 0x80)",
                true};
    }
    SetItem parsed{row.key, {}, -1};
    std::string error = ParseByKind(row, value, parsed);
    if (error.empty()) {
        item = std::move(parsed);
    }
    return {std::move(error), false};
}

std::string QuotedInMessage(std::string_view bytes) {
    std::string out;
    for (const char c : bytes.substr(0, kQuotedMax)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7f) {
            std::array<char, 5> hex{};
            std::snprintf(hex.data(), hex.size(), "\\x%02x", byte);
            out += hex.data();
        } else {
            out += c;
        }
    }
    if (bytes.size() > kQuotedMax) {
        out += "... (" + std::to_string(bytes.size()) + " bytes)";
    }
    return out;
}

}  // namespace veltaro::console
