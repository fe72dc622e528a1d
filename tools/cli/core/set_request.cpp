#include "set_request.h"

#include <algorithm>

#include "text_util.h"
#include "veltaro/console/setting_value.h"

namespace veltaro::cli {
namespace {

std::string ParseNamed(std::string_view name, std::string_view value, SetParse& parse) {
    const KeyRow* row = FindKey(name);
    if (row == nullptr) {
        return "unknown setting '" + QuotedInMessage(name) + "'";
    }
    const auto same = [row](const SetItem& item) { return item.key == row->key; };
    if (std::any_of(parse.items.begin(), parse.items.end(), same)) {
        return std::string(row->name) + " is given twice";
    }
    SetItem item{row->key, {}, -1};
    console::ValueParse parsed = console::ParseSettingValue(*row, value, item);
    parse.unsendable = parsed.unsendable;
    if (parsed.error.empty()) {
        parse.items.push_back(std::move(item));
    }
    return std::move(parsed.error);
}

std::string ParseOne(std::string_view arg, SetParse& parse) {
    const std::size_t eq = arg.find('=');
    if (eq == std::string_view::npos) {
        return "expected key=value, got '" + QuotedInMessage(arg) + "'";
    }
    return ParseNamed(arg.substr(0, eq), arg.substr(eq + 1), parse);
}

}  // namespace

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
