// The apply plan: one comparison rule, and the order that works.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "veltaro/console/apply_plan.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::console {
namespace {

// What a modem of each family shows (columns as the console copies them).
SettingsForm Shown() {
    SettingsForm form;
    form.channel = "0A ";
    form.power = "05\r";
    form.destinationId = "0BEEF";
    form.period = "07 ";
    form.periodUnit = 1;
    form.mode = 1;
    form.interface = 0;
    form.dataBits = 3;
    form.stopBits = 0;
    form.parity = 4;
    return form;
}

struct SameCase {
    SetItem requested;
    bool same;
};

class ComparisonRule : public ::testing::TestWithParam<SameCase> {};

TEST_P(ComparisonRule, ComparesAsTheModemShowsValues) {
    EXPECT_EQ(SameAsShown(GetParam().requested, Shown()), GetParam().same)
        << RowOf(GetParam().requested.key).name << "=" << RequestedValue(GetParam().requested);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComparisonRule,
    ::testing::Values(
        // Hex digits in either case, with or without the modem's leading zero.
        SameCase{{SetKey::kChannel, "A", -1}, true}, SameCase{{SetKey::kChannel, "a", -1}, true},
        SameCase{{SetKey::kChannel, "0a", -1}, true}, SameCase{{SetKey::kChannel, "10", -1}, false},
        SameCase{{SetKey::kChannel, "B", -1}, false}, SameCase{{SetKey::kPower, "5", -1}, true},
        SameCase{{SetKey::kPower, "50", -1}, false},
        // A destination ID is five digits: its zeros count, its case does not.
        SameCase{{SetKey::kDestinationId, "0beef", -1}, true},
        SameCase{{SetKey::kDestinationId, "BEEF", -1}, false},
        // The period compares with its unit.
        SameCase{{SetKey::kPeriod, "7", 1}, true}, SameCase{{SetKey::kPeriod, "007", 1}, true},
        SameCase{{SetKey::kPeriod, "7", 2}, false}, SameCase{{SetKey::kPeriod, "7", 0}, false},
        // Choices by radio index.
        SameCase{{SetKey::kMode, "", 1}, true}, SameCase{{SetKey::kMode, "", 0}, false},
        SameCase{{SetKey::kParity, "", 4}, true}, SameCase{{SetKey::kDataBits, "", 2}, false}));

TEST(ComparisonRule, AnEmptyColumnNeverMatches) {
    SettingsForm form = Shown();
    form.channel = "   ";
    EXPECT_FALSE(SameAsShown({SetKey::kChannel, "0", -1}, form));
}

ModemState InDeviceMode(std::vector<SetKey> offered) {
    return {Shown(), true, true, std::move(offered)};
}

std::vector<PlanAction> Actions(const ApplyPlan& plan) {
    std::vector<PlanAction> out;
    for (const PlannedSetting& setting : plan.settings) {
        out.push_back(setting.action);
    }
    return out;
}

TEST(PlanApply, SendsOnlyWhatDiffers) {
    const ApplyPlan plan =
        PlanApply(InDeviceMode({SetKey::kMode, SetKey::kChannel, SetKey::kPower, SetKey::kParity}),
                  {{SetKey::kMode, "", 1},
                   {SetKey::kChannel, "12", -1},
                   {SetKey::kPower, "05", -1},
                   {SetKey::kParity, "", 0}});
    EXPECT_EQ(Actions(plan), (std::vector{PlanAction::kUnchanged, PlanAction::kChange,
                                          PlanAction::kUnchanged, PlanAction::kChange}));
    ASSERT_EQ(plan.phases.size(), 1u);
    EXPECT_EQ(plan.phases[0],
              (std::vector<SetItem>{{SetKey::kChannel, "12", -1}, {SetKey::kParity, "", 0}}));
    EXPECT_EQ(plan.settings[1].before, "0A");
    EXPECT_EQ(plan.settings[3].before, "none");
}

TEST(PlanApply, AllEqualSendsNothing) {
    const ApplyPlan plan = PlanApply(InDeviceMode({SetKey::kChannel, SetKey::kPeriod}),
                                     {{SetKey::kChannel, "a", -1}, {SetKey::kPeriod, "7", 1}});
    EXPECT_FALSE(plan.Changes());
    EXPECT_EQ(plan.settings[1].before, "07m");
}

TEST(PlanApply, TheNewModesSettingsGoAfterTheMode) {
    ModemState pc{Shown(), false, false, {SetKey::kMode, SetKey::kChannel, SetKey::kInterface}};
    pc.shown.mode = 0;
    const ApplyPlan plan = PlanApply(pc, {{SetKey::kMode, "", 1},
                                          {SetKey::kChannel, "0A", -1},
                                          {SetKey::kDestinationId, "12345", -1},
                                          {SetKey::kInterface, "", 0}});
    // The UART screen was not read: the interface is sent, whatever the form holds.
    EXPECT_EQ(Actions(plan), (std::vector{PlanAction::kChange, PlanAction::kUnchanged,
                                          PlanAction::kChange, PlanAction::kChange}));
    ASSERT_EQ(plan.phases.size(), 3u);
    EXPECT_EQ(plan.phases[0], (std::vector<SetItem>{{SetKey::kInterface, "", 0}}));
    EXPECT_EQ(plan.phases[1], (std::vector<SetItem>{{SetKey::kMode, "", 1}}));
    EXPECT_EQ(plan.phases[2], (std::vector<SetItem>{{SetKey::kDestinationId, "12345", -1}}));
    EXPECT_TRUE(plan.settings[2].afterModeChange);
    EXPECT_EQ(plan.settings[2].before, "");  // not shown in PC mode
}

TEST(PlanApply, WithoutAModeChangeWhatIsNotOfferedStaysOut) {
    const ApplyPlan plan =
        PlanApply(InDeviceMode({SetKey::kMode, SetKey::kChannel}),
                  {{SetKey::kMode, "", 1}, {SetKey::kChannel, "12", -1}, {SetKey::kParity, "", 1}});
    EXPECT_EQ(Actions(plan),
              (std::vector{PlanAction::kUnchanged, PlanAction::kChange, PlanAction::kNotOffered}));
    ASSERT_EQ(plan.phases.size(), 1u);
    EXPECT_EQ(plan.phases[0].size(), 1u);
}

TEST(OfferedKeys, EverySettingControlMustBeEnabled) {
    // Bit Setting disabled: data bits, stop bits and parity go together.
    const std::vector<SetKey> offered =
        OfferedKeys([](int id) { return id != ctl::kBitSetting && id != ctl::kDestIdEdit; });
    EXPECT_EQ(offered, (std::vector{SetKey::kChannel, SetKey::kPower, SetKey::kMode,
                                    SetKey::kPeriod, SetKey::kInterface}));
}

}  // namespace
}  // namespace veltaro::console
