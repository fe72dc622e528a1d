#pragma once

#include <string>
#include <string_view>

namespace veltaro::console {

enum class RangeClass { kWide, kNarrow };
enum class Family { kKd, kGtEntry, kFl, kGtPeriod, kNone };

// Exact, case-sensitive lookups of a five-character model code; an unlisted or empty code
// is narrow-range and of no family.
RangeClass RangeClassOf(std::string_view modelCode);
Family FamilyOf(std::string_view modelCode);
// "B", "6", "6", "C", or "" for an unlisted model.
std::string_view InformationKeyOf(std::string_view modelCode);

// Readable names, for tools that report a model ("wide", "GT period family", ...).
std::string_view RangeClassName(RangeClass rangeClass);
std::string_view FamilyName(Family family);

}  // namespace veltaro::console
