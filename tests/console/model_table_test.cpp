#include <string>

#include <gtest/gtest.h>

#include "veltaro/console/model_table.h"

namespace veltaro::console {
namespace {

struct ModelCase {
    const char* code;
    RangeClass rangeClass;
    Family family;
    const char* informationKey;
};

constexpr RangeClass W = RangeClass::kWide;
constexpr RangeClass N = RangeClass::kNarrow;

TEST(ModelTable, EveryListedModel) {
    const ModelCase cases[] = {
        {"KD-30", N, Family::kKd, "B"},       {"KD-35", W, Family::kKd, "B"},
        {"GT-20", N, Family::kGtEntry, "6"},  {"GT-25", W, Family::kGtEntry, "6"},
        {"GT-40", N, Family::kGtPeriod, "C"}, {"GT-45", W, Family::kGtPeriod, "C"},
        {"GT-60", N, Family::kGtPeriod, "C"}, {"GT-65", W, Family::kGtPeriod, "C"},
        {"GT-80", N, Family::kGtPeriod, "C"}, {"GT-85", W, Family::kGtPeriod, "C"},
        {"GT-90", N, Family::kGtPeriod, "C"}, {"GT-95", N, Family::kGtPeriod, "C"},
        {"FL-20", N, Family::kFl, "6"},       {"FL-25", W, Family::kFl, "6"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RangeClassOf(c.code), c.rangeClass) << c.code;
        EXPECT_EQ(FamilyOf(c.code), c.family) << c.code;
        EXPECT_EQ(InformationKeyOf(c.code), c.informationKey) << c.code;
    }
}

TEST(ModelTable, UnlistedCodesAreNarrowWithoutFamilyOrKey) {
    const std::string codes[] = {"",       "kd-35", "Kd-35",
                                 "gt-25",  "KD-3",  "KD-355",
                                 " KD-35", "GT-35", std::string("FL-2\0", 5)};
    for (const auto& code : codes) {
        EXPECT_EQ(RangeClassOf(code), N) << code;
        EXPECT_EQ(FamilyOf(code), Family::kNone) << code;
        EXPECT_EQ(InformationKeyOf(code), "") << code;
    }
}

TEST(ModelTable, NamesForReports) {
    EXPECT_EQ(RangeClassName(W), "wide");
    EXPECT_EQ(RangeClassName(N), "narrow");
    EXPECT_EQ(FamilyName(Family::kGtPeriod), "GT period family");
    EXPECT_EQ(FamilyName(Family::kNone), "none");
}

}  // namespace
}  // namespace veltaro::console
