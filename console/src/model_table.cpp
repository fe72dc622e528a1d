#include "veltaro/console/model_table.h"

#include <algorithm>
#include <array>

#include "model_rules.h"

namespace veltaro::console {

namespace {

struct ModelRow {
    std::string_view code;
    RangeClass rangeClass;
    Family family;
};

constexpr RangeClass kWide = RangeClass::kWide;
constexpr RangeClass kNarrow = RangeClass::kNarrow;

// The one table of model codes. Mind "GT-95": narrow, although every other code ending in 5
// is wide.
constexpr std::array<ModelRow, 14> kModels = {{
    {"KD-30", kNarrow, Family::kKd},
    {"KD-35", kWide, Family::kKd},
    {"GT-20", kNarrow, Family::kGtEntry},
    {"GT-25", kWide, Family::kGtEntry},
    {"GT-40", kNarrow, Family::kGtPeriod},
    {"GT-45", kWide, Family::kGtPeriod},
    {"GT-60", kNarrow, Family::kGtPeriod},
    {"GT-65", kWide, Family::kGtPeriod},
    {"GT-80", kNarrow, Family::kGtPeriod},
    {"GT-85", kWide, Family::kGtPeriod},
    {"GT-90", kNarrow, Family::kGtPeriod},
    {"GT-95", kNarrow, Family::kGtPeriod},
    {"FL-20", kNarrow, Family::kFl},
    {"FL-25", kWide, Family::kFl},
}};

// Exact, case-sensitive match of the whole code; nullptr for an unlisted model.
const ModelRow* Find(std::string_view code) {
    const auto* row = std::find_if(kModels.begin(), kModels.end(),
                                   [code](const ModelRow& r) { return r.code == code; });
    return row == kModels.end() ? nullptr : row;
}

}  // namespace

RangeClass RangeClassOf(std::string_view modelCode) {
    const ModelRow* row = Find(modelCode);
    return row != nullptr ? row->rangeClass : kNarrow;
}

Family FamilyOf(std::string_view modelCode) {
    const ModelRow* row = Find(modelCode);
    return row != nullptr ? row->family : Family::kNone;
}

std::string_view InformationKeyOf(std::string_view modelCode) {
    return detail::RulesOf(FamilyOf(modelCode)).informationKey;
}

std::string_view RangeClassName(RangeClass rangeClass) {
    return rangeClass == kWide ? "wide" : "narrow";
}

std::string_view FamilyName(Family family) {
    switch (family) {
        case Family::kKd:
            return "KD family";
        case Family::kGtEntry:
            return "GT entry family";
        case Family::kFl:
            return "FL family";
        case Family::kGtPeriod:
            return "GT period family";
        case Family::kNone:
            break;
    }
    return "none";
}

}  // namespace veltaro::console
