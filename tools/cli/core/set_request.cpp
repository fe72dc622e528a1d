#include "set_request.h"

#include <algorithm>

#include "text_util.h"
#include "veltaro/console/text_rules.h"

namespace veltaro::cli {
namespace {

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
    const std::string lower = Lower(value);
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

std::string ParseValue(const KeyRow& row, std::string_view value, SetItem& item) {
    switch (row.kind) {
        case ValueKind::kText:
            item.text = std::string(value);
            return {};
        case ValueKind::kPeriod:
            return ParsePeriod(value, item);
        case ValueKind::kChoice: {
            const auto found = std::find(row.choices.begin(), row.choices.end(), Lower(value));
            if (found == row.choices.end()) {
                return std::string(row.name) + " must be one of " + ChoiceList(row.choices);
            }
            item.index = static_cast<int>(found - row.choices.begin());
            return {};
        }
    }
    return {};
}

std::string ParseNamed(std::string_view name, std::string_view value, SetParse& parse) {
    const KeyRow* row = FindKey(name);
    if (row == nullptr) {
        return "unknown setting '" + TerminalSafe(name) + "'";
    }
    if (value.empty()) {
        return std::string(row->name) + " needs a value";
    }
    if (!console::IsSendableText(value)) {
        parse.unsendable = true;
        return std::string(row->name) + " value '" + Printable(value) +
               "' refused: the modem takes printable ASCII only (no control bytes, nothing "
               "from 0x80)";
    }
    const auto same = [row](const SetItem& item) { return item.key == row->key; };
    if (std::any_of(parse.items.begin(), parse.items.end(), same)) {
        return std::string(row->name) + " is given twice";
    }
    SetItem item{row->key, {}, -1};
    std::string error = ParseValue(*row, value, item);
    if (error.empty()) {
        parse.items.push_back(std::move(item));
    }
    return error;
}

std::string ParseOne(std::string_view arg, SetParse& parse) {
    const std::size_t eq = arg.find('=');
    if (eq == std::string_view::npos) {
        return "expected key=value, got '" + TerminalSafe(arg) + "'";
    }
    return ParseNamed(arg.substr(0, eq), arg.substr(eq + 1), parse);
}

}  // namespace

void ParseSetting(std::string_view name, std::string_view value, SetParse& parse) {
    if (parse.error.empty()) {
        parse.error = ParseNamed(name, value, parse);
    }
}

SetParse ParseSetItems(std::span<const std::string> args, bool allowEmpty) {
    SetParse result;
    if (args.empty() && !allowEmpty) {
        result.error = "set needs at least one key=value";
        return result;
    }
    for (const std::string& arg : args) {
        result.error = ParseOne(arg, result);
        if (!result.error.empty()) {
            result.items.clear();
            return result;
        }
    }
    std::stable_sort(result.items.begin(), result.items.end(),
                     [](const SetItem& a, const SetItem& b) { return a.key < b.key; });
    return result;
}

}  // namespace veltaro::cli
