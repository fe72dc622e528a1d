// What set prints per port and per setting, in text and in JSON.
#include <gtest/gtest.h>

#include <string>

#include "port_runs.h"
#include "set_report.h"

namespace veltaro::cli {
namespace {

SettingOutcome Outcome(SetItem item, SettingResult result, const char* before = nullptr,
                       const char* after = nullptr, std::string error = {}) {
    SettingOutcome outcome{std::move(item), result, {}, {}, std::move(error)};
    if (before != nullptr) {
        outcome.before = before;
    }
    if (after != nullptr) {
        outcome.after = after;
    }
    return outcome;
}

TEST(SetText, OneLinePerSettingSayingWhatBecameOfIt) {
    const struct {
        SettingOutcome outcome;
        bool check;
        const char* line;
    } cases[] = {
        {Outcome({SetKey::kChannel, "12", -1}, SettingResult::kChanged, "07", "12"), false,
         "channel: 12 (was 07)\n"},
        {Outcome({SetKey::kChannel, "12", -1}, SettingResult::kChanged, "07"), true,
         "channel: 07 -> 12 (would change)\n"},
        {Outcome({SetKey::kPeriod, "30", 1}, SettingResult::kChanged, "15m", "15m",
                 "period reads back as 15 minutes"),
         false, "period: 15m (was 15m), requested 30m: differs\n"},
        {Outcome({SetKey::kPower, "A", -1}, SettingResult::kUnchanged, "0A", "0A"), false,
         "power: 0A (unchanged)\n"},
        {Outcome({SetKey::kDestinationId, "XYZ", -1}, SettingResult::kRefused, "12345", nullptr,
                 "Invalid destination ID\x1b"),
         false, "destination-id: refused by the modem: \"Invalid destination ID\\x1b\"\n"},
        {Outcome({SetKey::kMode, "", 1}, SettingResult::kInFlight, "pc"), false,
         "mode: in flight: its keys were typed, the modem's answer was not awaited\n"},
        {Outcome({SetKey::kInterface, "", 1}, SettingResult::kChanged, "rs232"), false,
         "interface: sent rs485 (was rs232), not read back\n"},
    };
    for (const auto& c : cases) {
        SetReport report;
        report.check = c.check;
        report.settings = {c.outcome, Outcome({SetKey::kParity, "", 1}, SettingResult::kNotSent)};
        EXPECT_EQ(FormatSetText(report), std::string(c.line) + "parity: not sent\n");
    }
}

TEST(SetText, SaysSoWhenEverythingWasAlreadyEqual) {
    SetReport report;
    report.settings = {Outcome({SetKey::kPower, "A", -1}, SettingResult::kUnchanged, "0A", "0A"),
                       Outcome({SetKey::kParity, "", 1}, SettingResult::kSkipped)};
    EXPECT_EQ(FormatSetText(report),
              "power: 0A (unchanged)\nparity: skipped, not offered\n"
              "nothing to change: every setting already has the requested value\n");
    EXPECT_FALSE(report.Changed());
}

TEST(SetJson, OnePortInTheAgreedShape) {
    SetReport report;
    report.model = "GT-45";
    report.settings = {Outcome({SetKey::kChannel, "12", -1}, SettingResult::kChanged, "07", "12"),
                       Outcome({SetKey::kPower, "A", -1}, SettingResult::kUnchanged, "0A", "0A"),
                       Outcome({SetKey::kInterface, "", 1}, SettingResult::kSkipped)};
    InfoReport before;
    before.modelCode = "GT-45";
    before.settingsRead = true;
    before.shown.channel = "07 ";
    before.shown.power = "0A ";
    report.before = before;
    PortResult port{"5", ExitStatus::kOk, SetJson(report).dump(), ""};
    EXPECT_EQ(PortJson(port, Command::kSet).dump(),
              R"({"com":5,"exit_status":0,"error":null,"model":"GT-45","check":false,)"
              R"("changed":true,"settings":{)"
              R"("channel":{"result":"changed","before":"07","requested":"12","after":"12"},)"
              R"("power":{"result":"unchanged","before":"0A","requested":"A","after":"0A"},)"
              R"("interface":{"result":"skipped","requested":"rs485"}},)"
              R"("before":{"channel":"07","channel_raw":"07 ","power":"0A","power_raw":"0A ",)"
              R"("mode":"pc"},"after":null})");
}

TEST(SetJson, CheckModeHasNoAfterAndAFailedPortStillHasEveryMember) {
    SetReport report;
    report.check = true;
    report.model = "KD-35";
    report.settings = {Outcome({SetKey::kChannel, "12", -1}, SettingResult::kChanged, "07")};
    const nlohmann::ordered_json json = SetJson(report);
    EXPECT_TRUE(json["changed"].get<bool>());
    EXPECT_FALSE(json["settings"]["channel"].contains("after"));
    EXPECT_TRUE(json["after"].is_null());
    const PortResult missing{"9", ExitStatus::kPortNotFound, "", "veltaro-cli: cannot open COM9\n"};
    EXPECT_EQ(PortJson(missing, Command::kSet).dump(),
              R"({"com":9,"exit_status":3,"error":"cannot open COM9","model":null,)"
              R"("check":false,"changed":false,"settings":{},"before":null,"after":null})");
}

}  // namespace
}  // namespace veltaro::cli
