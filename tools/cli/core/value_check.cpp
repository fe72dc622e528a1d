#include "value_check.h"

#include <array>

#include "text_util.h"

namespace veltaro::cli {
namespace {

using console::RangeClass;

struct Rule {
    SetKey key;
    RangeClass range;  // for channel and power
    int periodUnit;    // for the period: 0 hours, else minutes and seconds
    std::string_view text;
};

constexpr std::array kRules{
    Rule{SetKey::kChannel, RangeClass::kWide, -1,
         "channel must be one hex digit 1-F or two decimal digits 10-45 on wide-range models"},
    Rule{SetKey::kChannel, RangeClass::kNarrow, -1,
         "channel must be one hex digit 1-E or two decimal digits 10-14 on narrow-range models"},
    Rule{SetKey::kPower, RangeClass::kWide, -1,
         "power must be one or two hex digits, none of them 0, on wide-range models"},
    Rule{SetKey::kPower, RangeClass::kNarrow, -1,
         "power must be one hex digit 1-F on narrow-range models"},
    Rule{SetKey::kPeriod, RangeClass::kWide, 0, "period must be 1-3 in hours"},
    Rule{SetKey::kPeriod, RangeClass::kWide, 1, "period must be 1-59 in minutes or seconds"},
    Rule{SetKey::kDestinationId, RangeClass::kWide, -1,
         "destination-id must be at most 5 characters"},
};

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

}  // namespace

std::string RuleText(SetKey key, RangeClass range, int periodUnit) {
    for (const Rule& rule : kRules) {
        const bool rangeMatters = key == SetKey::kChannel || key == SetKey::kPower;
        const bool unitMatters = key == SetKey::kPeriod;
        if (rule.key == key && (!rangeMatters || rule.range == range) &&
            (!unitMatters || (rule.periodUnit == 0) == (periodUnit == 0))) {
            return std::string(rule.text);
        }
    }
    return std::string(RowOf(key).name) + " is refused by the program's field check";
}

std::string CheckValue(console::ModemConsole& console, TerminalHost& host, SetItem& item) {
    const KeyRow& row = RowOf(item.key);
    if (row.check == nullptr) {
        return {};
    }
    if (row.kind == ValueKind::kPeriod) {
        host.Controls().periodUnit = item.index;
    }
    host.TypeIntoEdit(row.editId, item.text);
    (console.*row.check)();
    const std::string kept = host.Shown().*row.text;
    const bool cut = item.key == SetKey::kDestinationId && kept != Upper(item.text);
    if (kept.empty() || cut) {
        const RangeClass range = console::RangeClassOf(console.State().modelCode);
        // Appended: g++ 12 -O3 warns falsely (-Wrestrict) on "'" + string.
        std::string refused(1, '\'');
        refused += QuotedInMessage(item.text);
        return refused + "' refused: " + RuleText(item.key, range, item.index);
    }
    item.text = kept;
    return {};
}

}  // namespace veltaro::cli
