// Profiles: the object that info --json prints, read back by set --from and the programs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "broken_profiles.h"
#include "veltaro/console/profile.h"

namespace veltaro::console {
namespace {

namespace fs = std::filesystem;

// Written by veltaro-cli info --json before the profile module existed (its own writer),
// with the number of items each gives. Every one of them must keep loading.
struct OldProfile {
    const char* name;
    std::string_view text;
    std::size_t items;
};

constexpr std::string_view kKd35Device = R"({
  "veltaro_profile": 1,
  "model": "KD-35",
  "range_class": "wide",
  "family": "KD family",
  "settings": {
    "channel": "07",
    "channel_raw": "07 ",
    "power": "0A",
    "power_raw": "0A ",
    "mode": "device",
    "destination_id": "00B12",
    "destination_id_raw": "00B12",
    "period": "15",
    "period_raw": "15 ",
    "period_unit": "minutes",
    "interface": "rs485",
    "data_bits": "7",
    "stop_bits": "1.5",
    "parity": "odd"
  },
  "settable": ["channel", "power", "mode", "destination-id", "interface", "data-bits", "stop-bits", "parity"]
}
)";

constexpr std::string_view kGt45Pc = R"({
  "veltaro_profile": 1,
  "model": "GT-45",
  "range_class": "wide",
  "family": "GT period family",
  "settings": {
    "channel": "07",
    "channel_raw": "07 ",
    "power": "0A",
    "power_raw": "0A ",
    "mode": "pc"
  },
  "settable": ["channel", "power", "mode"]
}
)";

constexpr std::string_view kFl20Device = R"({
  "veltaro_profile": 1,
  "model": "FL-20",
  "range_class": "narrow",
  "family": "FL family",
  "settings": {
    "channel": "0E",
    "channel_raw": "0E ",
    "power": "0F",
    "power_raw": "0F ",
    "mode": "device",
    "destination_id": "00001",
    "destination_id_raw": "00001",
    "period": "45",
    "period_raw": "45 ",
    "period_unit": "seconds"
  },
  "settable": ["channel", "power", "mode", "destination-id", "period"]
}
)";

// A noisy line left a control byte in a column: written escaped, as info --json writes it.
constexpr std::string_view kNoisyRaw = R"({
  "veltaro_profile": 1,
  "model": "GT-25",
  "range_class": "wide",
  "family": "GT entry family",
  "settings": {
    "channel": "12",
    "channel_raw": "12\u001b\u00e9",
    "power": "05",
    "power_raw": "05 ",
    "mode": "pc"
  },
  "settable": ["channel", "power", "mode"]
}
)";

class OldProfiles : public ::testing::TestWithParam<OldProfile> {};

TEST_P(OldProfiles, StillLoad) {
    const ProfileRead read = ParseProfile(GetParam().text, "old.json");
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.items.size(), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(WrittenBefore, OldProfiles,
                         ::testing::Values(OldProfile{"Kd35Device", kKd35Device, 8},
                                           OldProfile{"Gt45Pc", kGt45Pc, 3},
                                           OldProfile{"Fl20Device", kFl20Device, 5},
                                           OldProfile{"NoisyRawColumn", kNoisyRaw, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Profile, ReadsEverySettingAsSetWouldTakeIt) {
    const ProfileRead read = ParseProfile(kKd35Device, "kd.json");
    ASSERT_TRUE(read.Ok()) << read.error;
    // In sending order; the modem's leading zeros are not typed into the channel and power
    // fields, a destination ID keeps them; the period is not settable on a KD model.
    const std::vector<SetItem> expected{
        {SetKey::kMode, "", 1},      {SetKey::kChannel, "7", -1},
        {SetKey::kPower, "A", -1},   {SetKey::kDestinationId, "00B12", -1},
        {SetKey::kInterface, "", 1}, {SetKey::kDataBits, "", 2},
        {SetKey::kStopBits, "", 1},  {SetKey::kParity, "", 1}};
    EXPECT_EQ(read.items, expected);
}

TEST(Profile, WithoutSettableEverythingReportedApplies) {
    std::string text(kFl20Device);
    text.erase(text.find(",\n  \"settable\""),
               text.find("]\n}") + 1 - text.find(",\n  \"settable\""));
    const ProfileRead read = ParseProfile(text, "fl.json");
    ASSERT_TRUE(read.Ok()) << read.error;
    ASSERT_EQ(read.items.size(), 5u);
    EXPECT_EQ(read.items[4], (SetItem{SetKey::kPeriod, "45", 2}));
}

TEST(Profile, ArgumentsOverrideTheFile) {
    const ProfileRead read = ParseProfile(kGt45Pc, "gt.json");
    const std::vector<SetItem> merged =
        MergeSettings(read.items, {{SetKey::kPower, "1F", -1}, {SetKey::kPeriod, "30", 1}});
    const std::vector<SetItem> expected{{SetKey::kMode, "", 0},
                                        {SetKey::kChannel, "7", -1},
                                        {SetKey::kPower, "1F", -1},
                                        {SetKey::kPeriod, "30", 1}};
    EXPECT_EQ(merged, expected);
}

class Broken : public ::testing::TestWithParam<testing::BrokenProfile> {};

TEST_P(Broken, IsRefusedNamingTheFileAndWhere) {
    const testing::BrokenProfile& broken = GetParam();
    const fs::path dir =
        fs::temp_directory_path() /
        ("veltaro-broken-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         broken.name);
    fs::create_directories(dir);
    const fs::path path = testing::MakeBrokenProfile(broken, dir);
    if (path.empty()) {
        fs::remove_all(dir);
        GTEST_SKIP() << "no such file on this platform";
    }
    const ProfileRead read = LoadProfile(path);
    fs::remove_all(dir);
    EXPECT_FALSE(read.Ok());
    EXPECT_NE(read.error.find(path.string() + broken.message), std::string::npos) << read.error;
    EXPECT_EQ(read.fault, broken.fault);
    EXPECT_TRUE(read.items.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, Broken, ::testing::ValuesIn(testing::BrokenProfiles()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Profile, TheArrayOfSeveralPortsSaysHowToTakeOne) {
    const testing::BrokenProfile& ports = *std::find_if(
        testing::BrokenProfiles().begin(), testing::BrokenProfiles().end(),
        [](const auto& c) { return std::string_view(c.name) == "InfoOfSeveralPorts"; });
    const ProfileRead read = ParseProfile(ports.text, "bench.json");
    EXPECT_NE(read.error.find("jq '.[0].info' bench.json > one.json"), std::string::npos)
        << read.error;
}

TEST(Profile, AMissingFileSaysWhy) {
    const ProfileRead read = LoadProfile("/nonexistent/profile.json");
    EXPECT_NE(read.error.find("cannot read the profile /nonexistent/profile.json: "),
              std::string::npos);
    EXPECT_EQ(read.fault, ProfileFault::kUnusable);
}

ModemReport Kd35Report() {
    ModemReport report;
    report.modelCode = "KD-35";
    report.settingsRead = true;
    report.shown.channel = "23 ";
    report.shown.power = "1F ";
    report.shown.mode = 1;
    report.shown.destinationId = "0beef";
    report.shown.period = "30 ";
    report.shown.periodUnit = 2;
    report.shown.interface = 1;
    report.shown.dataBits = 2;
    report.shown.stopBits = 2;
    report.shown.parity = 1;
    report.deviceMode = true;
    report.uartRead = true;
    report.settable = {SetKey::kMode,          SetKey::kChannel,   SetKey::kPower,
                       SetKey::kDestinationId, SetKey::kInterface, SetKey::kDataBits,
                       SetKey::kStopBits,      SetKey::kParity};
    return report;
}

TEST(ProfileWrite, KeepsTheShapeAndOrderThatInfoJsonHasAlwaysPrinted) {
    ModemReport report = Kd35Report();
    report.modelCode = "Z\"\x01\xe9Q";
    report.settable = {SetKey::kChannel};
    report.uartRead = false;
    EXPECT_EQ(WriteProfile(report), R"({
  "veltaro_profile": 1,
  "model": "Z\"\u0001\u00e9Q",
  "range_class": "narrow",
  "family": "none",
  "settings": {
    "channel": "23",
    "channel_raw": "23 ",
    "power": "1F",
    "power_raw": "1F ",
    "mode": "device",
    "destination_id": "0beef",
    "destination_id_raw": "0beef",
    "period": "30",
    "period_raw": "30 ",
    "period_unit": "seconds"
  },
  "settable": [
    "channel"
  ]
}
)");
    report.settingsRead = false;
    EXPECT_NE(WriteProfile(report).find("\"settings\": null,"), std::string::npos);
}

TEST(ProfileWrite, WhatIsWrittenReadsBackAsTheSameItems) {
    const ModemReport report = Kd35Report();
    const ProfileRead read = ParseProfile(WriteProfile(report), "round.json");
    ASSERT_TRUE(read.Ok()) << read.error;
    const std::vector<SetItem> expected{
        {SetKey::kMode, "", 1},      {SetKey::kChannel, "23", -1},
        {SetKey::kPower, "1F", -1},  {SetKey::kDestinationId, "0beef", -1},
        {SetKey::kInterface, "", 1}, {SetKey::kDataBits, "", 2},
        {SetKey::kStopBits, "", 2},  {SetKey::kParity, "", 1}};
    EXPECT_EQ(read.items, expected);
}

}  // namespace
}  // namespace veltaro::console
