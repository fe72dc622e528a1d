// Profiles: the object that info --json prints, read back by set --from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile.h"
#include "text_util.h"

namespace veltaro::cli {
namespace {

// As info --json prints it for a KD-35 in device mode, without the "settable" list.
constexpr std::string_view kKd35 = R"({
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
  }
}
)";

TEST(Profile, ReadsEverySettingAsSetWouldTakeIt) {
    const ProfileLoad load = ParseProfile(kKd35, "kd.json");
    ASSERT_EQ(load.error, "");
    const std::vector<std::pair<SetKey, std::string>> texts{
        {SetKey::kChannel, "7"},  // the modem's leading zero is not typed into the field
        {SetKey::kPower, "A"},
        {SetKey::kDestinationId, "00B12"},  // an ID keeps its zeros
        {SetKey::kPeriod, "15"}};
    ASSERT_EQ(load.items.size(), 9u);  // settable left out: everything applies
    for (const auto& [key, text] : texts) {
        const auto item = std::find_if(load.items.begin(), load.items.end(),
                                       [key](const SetItem& i) { return i.key == key; });
        ASSERT_NE(item, load.items.end());
        EXPECT_EQ(item->text, text);
    }
    EXPECT_EQ(load.items.front().key, SetKey::kMode);  // sent first
    EXPECT_EQ(load.items[4].index, 1);                 // period in minutes
    EXPECT_EQ(load.items.back().index, 1);             // parity odd
}

TEST(Profile, OnlyWhatTheSourceCouldSetIsApplied) {
    std::string text(kKd35);
    text.insert(text.rfind("  }\n}") + 3, ",\n  \"settable\": [\"channel\", \"period\"]");
    const ProfileLoad load = ParseProfile(text, "kd.json");
    ASSERT_EQ(load.error, "");
    ASSERT_EQ(load.items.size(), 2u);
    EXPECT_EQ(load.items[0].key, SetKey::kChannel);
    EXPECT_EQ(load.items[1].key, SetKey::kPeriod);
}

TEST(Profile, ArgumentsOverrideTheFile) {
    const ProfileLoad load = ParseProfile(kKd35, "kd.json");
    const SetParse args = ParseSetItems(std::vector<std::string>{"channel=23", "parity=even"});
    const std::vector<SetItem> merged = MergeSettings(load.items, args.items);
    ASSERT_EQ(merged.size(), 9u);
    EXPECT_EQ(merged[1].key, SetKey::kChannel);
    EXPECT_EQ(merged[1].text, "23");
    EXPECT_EQ(merged.back().index, 0);
}

struct BrokenCase {
    const char* name;
    std::string text;
    std::string error;  // a part of the message, line included
    ExitStatus status = ExitStatus::kUsage;
};

void PrintTo(const BrokenCase& c, std::ostream* os) {
    *os << c.name;
}

std::string WithSettings(const std::string& settings) {
    return "{\n  \"veltaro_profile\": 1,\n  \"settings\": {\n" + settings + "\n  }\n}\n";
}

class BrokenProfile : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenProfile, IsRefusedWithTheLineAndTheKey) {
    const ProfileLoad load = ParseProfile(GetParam().text, "p.json");
    EXPECT_NE(load.error.find(GetParam().error), std::string::npos) << load.error;
    EXPECT_EQ(load.status, GetParam().status);
    EXPECT_TRUE(load.items.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenProfile,
    ::testing::Values(
        BrokenCase{"Empty", "", "p.json:1: not valid JSON"},
        BrokenCase{"NotJson", "channel=5\n", "p.json:1: not valid JSON"},
        BrokenCase{"Truncated", WithSettings("    \"channel\": \"07\",").substr(0, 60),
                   "not valid JSON"},
        BrokenCase{"TrailingComma", WithSettings("    \"channel\": \"07\",\n"),
                   "p.json:6: not valid JSON: expected a quoted key"},
        BrokenCase{"TextAfter", WithSettings("    \"channel\": \"07\"") + "{}",
                   "p.json:7: not valid JSON: unexpected text"},
        BrokenCase{"AnArray", "[1]", "p.json:1: a profile is one JSON object"},
        BrokenCase{"NoVersion", "{\"settings\": {}}",
                   "p.json:1: \"veltaro_profile\": 1 is missing"},
        BrokenCase{"OtherVersion", "{\n\"veltaro_profile\": 2, \"settings\": {}}",
                   "p.json:2: \"veltaro_profile\" must be 1"},
        BrokenCase{"UnknownTopKey", "{\"veltaro_profile\": 1,\n\n \"chanel\": \"5\"}",
                   "p.json:3: unknown key \"chanel\""},
        BrokenCase{"UnknownSetting",
                   WithSettings("    \"channel\": \"07\",\n    \"volume\": \"3\""),
                   "p.json:5: unknown key \"volume\" in \"settings\""},
        BrokenCase{"NumberForText", WithSettings("    \"power\": 10"),
                   "p.json:4: \"power\" must be a string or null, not a number"},
        BrokenCase{"ObjectForChoice", WithSettings("    \"mode\": {}"),
                   "p.json:4: \"mode\" must be a string or null, not an object"},
        BrokenCase{"SettingsNull", "{\"veltaro_profile\": 1, \"settings\": null}",
                   "\"settings\" must be an object"},
        BrokenCase{"BadChoice", WithSettings("    \"parity\": \"weird\""),
                   "p.json:4: \"parity\": parity must be one of"},
        BrokenCase{"PeriodWithoutUnit", WithSettings("    \"period\": \"15\""),
                   "p.json:4: \"period_unit\" must be"},
        BrokenCase{"ControlByteInValue", WithSettings("    \"destination_id\": \"\\u001b25\""),
                   "p.json:4: \"destination_id\": destination-id value '\\x1b25' refused",
                   ExitStatus::kValueRefused},
        BrokenCase{"HighByteInValue", WithSettings("    \"channel\": \"\\u00e9\""),
                   "printable ASCII only", ExitStatus::kValueRefused},
        BrokenCase{"SettableNotAList", "{\"veltaro_profile\": 1,\n\"settable\": \"channel\"}",
                   "p.json:2: \"settable\" must be an array"},
        BrokenCase{"SettableUnknownKey", "{\"veltaro_profile\": 1, \"settable\": [\n\"volume\"]}",
                   "p.json:2: \"settable\" lists the keys of set"},
        BrokenCase{"BeyondOneByte", WithSettings("    \"channel\": \"\\u4e00\""),
                   "p.json:4: not valid JSON: a character beyond"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Profile, ValuesNotReportedAreLeftOut) {
    const ProfileLoad load = ParseProfile(
        WithSettings("    \"channel\": null,\n    \"power\": \"\",\n    \"mode\": \"pc\""), "p");
    ASSERT_EQ(load.error, "");
    ASSERT_EQ(load.items.size(), 1u);
    EXPECT_EQ(load.items[0].key, SetKey::kMode);
}

TEST(Profile, AMissingFileSaysWhy) {
    const ProfileLoad load = LoadProfile("/nonexistent/profile.json");
    EXPECT_NE(load.error.find("cannot read the profile /nonexistent/profile.json"),
              std::string::npos);
    EXPECT_EQ(load.status, ExitStatus::kUsage);
}

}  // namespace
}  // namespace veltaro::cli
