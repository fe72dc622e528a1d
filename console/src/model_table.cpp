#include "veltaro/console/model_table.h"

namespace veltaro::console {
// Placeholder until the model table lands.
RangeClass RangeClassOf(std::string_view) { return RangeClass::kNarrow; }
Family FamilyOf(std::string_view) { return Family::kNone; }
std::string_view InformationKeyOf(std::string_view) { return ""; }
std::string_view RangeClassName(RangeClass) { return "narrow"; }
std::string_view FamilyName(Family) { return "none"; }
}  // namespace veltaro::console
