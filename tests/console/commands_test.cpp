#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console_rig.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::console::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Handler = void (ModemConsole::*)();
using Wire = std::vector<std::string>;

std::string S(const char* text) {
    return calls::Send(text);
}
std::string P(int ms) {
    return calls::Pause(ms);
}
const std::string kLf = calls::Send("\n");
const std::string kEsc = calls::Byte(0x1B);

// Shows the same text in the four value fields.
void ShowTexts(RecordingHost& host, const char* text) {
    for (const int id : {ctl::kChannelEdit, ctl::kPowerEdit, ctl::kDestIdEdit, ctl::kPeriodEdit}) {
        host.Type(id, text);
    }
}

struct CommandCase {
    const char* what;
    Handler handler;
    const char* model;  // detected first; "" leaves the console without a model
    std::function<void(SettingsForm&)> click;  // what the dialog shows at the click
    Wire wire;
};

std::vector<CommandCase> Cases() {
    return {
        {"channel",
         &ModemConsole::OnChannelSetting,
         "GT-40",
         [](auto& f) { f.channel = "05"; },
         {S("2"), P(500), S("05"), kLf}},
        {"channel as typed",
         &ModemConsole::OnChannelSetting,
         "",
         [](auto& f) { f.channel = " a"; },
         {S("2"), P(500), S(" a"), kLf}},
        {"power",
         &ModemConsole::OnPowerSetting,
         "GT-40",
         [](auto& f) { f.power = "1F"; },
         {S("4"), P(500), S("1F"), kLf}},
        {"information KD", &ModemConsole::OnInformation, "KD-30", nullptr, {S("B")}},
        {"information GT entry", &ModemConsole::OnInformation, "GT-25", nullptr, {S("6")}},
        {"information FL", &ModemConsole::OnInformation, "FL-20", nullptr, {S("6")}},
        {"information GT period", &ModemConsole::OnInformation, "GT-95", nullptr, {S("C")}},
        {"information no model", &ModemConsole::OnInformation, "", nullptr, {}},
        {"information wrong case", &ModemConsole::OnInformation, "gt-95", nullptr, {}},
        {"mode PC",
         &ModemConsole::OnModeSetting,
         "KD-30",
         [](auto& f) { f.mode = 0; },
         {S("6"), P(500), S("1"), kLf}},
        {"mode device",
         &ModemConsole::OnModeSetting,
         "KD-30",
         [](auto& f) { f.mode = 1; },
         {S("6"), P(500), S("2"), kLf}},
        {"destination",
         &ModemConsole::OnDestinationIdSetting,
         "GT-40",
         [](auto& f) { f.destinationId = "0A1B2"; },
         {S("8"), P(500), S("0A1B2"), kLf}},
        {"period GT period",
         &ModemConsole::OnPeriodSetting,
         "GT-40",
         [](auto& f) { f.periodUnit = 1, f.period = "30"; },
         {S("A"), P(500), S("M"), P(500), S("30"), kLf}},
        {"period GT entry",
         &ModemConsole::OnPeriodSetting,
         "GT-20",
         [](auto& f) { f.periodUnit = 1, f.period = "30"; },
         {P(500), S("M"), P(500), S("30"), kLf}},
        {"period hours",
         &ModemConsole::OnPeriodSetting,
         "KD-30",
         [](auto& f) { f.periodUnit = 0, f.period = "2"; },
         {P(500), S("H"), P(500), S("2"), kLf}},
        {"period seconds",
         &ModemConsole::OnPeriodSetting,
         "",
         [](auto& f) { f.periodUnit = 2, f.period = "45"; },
         {P(500), S("S"), P(500), S("45"), kLf}},
        {"UART mode",
         &ModemConsole::OnUartModeSetting,
         "KD-30",
         [](auto& f) { f.interface = 1; },
         {S("A"), P(1000), S("1"), P(500), S("2"), kLf, P(500), kEsc}},
        {"bits 8 1 Non",
         &ModemConsole::OnBitSetting,
         "KD-30",
         [](auto& f) { f.dataBits = 3, f.stopBits = 0, f.parity = 4; },
         {S("A"), P(500), S("2"), P(500), S("8"), P(500), S("1"), P(500), S("5"), P(500), kEsc}},
        {"bits 5 1.5 Even",
         &ModemConsole::OnBitSetting,
         "KD-30",
         [](auto& f) { f.dataBits = 0, f.stopBits = 1, f.parity = 0; },
         {S("A"), P(500), S("2"), P(500), S("5"), P(500), S("2"), P(500), S("1"), P(500), kEsc}},
        {"UART information",
         &ModemConsole::OnUartInformation,
         "KD-30",
         nullptr,
         {S("A"), P(500), S("3"), P(500), kEsc}},
        {"UART all",
         &ModemConsole::OnUartAllSetting,
         "KD-30",
         [](auto& f) { f.interface = 0, f.dataBits = 2, f.stopBits = 2, f.parity = 1; },
         {S("A"), P(1000), S("1"), P(500), S("1"), kLf, P(500), S("2"), P(500), S("7"), P(500),
          S("3"), P(500), S("2"), P(500), kEsc}},
    };
}

TEST(Commands, SendTheirSequencesWithTheirPauses) {
    for (const CommandCase& c : Cases()) {
        ConsoleRig rig;
        if (*c.model != '\0') {
            rig.Detect(c.model);
        }
        if (c.click) {
            c.click(rig.host.Shown());
        }
        (rig.console.*c.handler)();
        EXPECT_THAT(rig.log.Wire(), ElementsAreArray(c.wire)) << c.what;
    }
}

TEST(Commands, TotalPausesPerCommand) {
    const struct {
        Handler handler;
        long long ms;
    } cases[] = {
        {&ModemConsole::OnChannelSetting, 500},
        {&ModemConsole::OnPowerSetting, 500},
        {&ModemConsole::OnInformation, 0},
        {&ModemConsole::OnModeSetting, 500},
        {&ModemConsole::OnDestinationIdSetting, 500},
        {&ModemConsole::OnPeriodSetting, 1000},
        {&ModemConsole::OnUartModeSetting, 2000},
        {&ModemConsole::OnBitSetting, 2500},
        {&ModemConsole::OnUartInformation, 1000},
        {&ModemConsole::OnUartAllSetting, 4000},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.Detect("GT-40");
        ShowTexts(rig.host, "1");
        (rig.console.*c.handler)();
        EXPECT_EQ(rig.log.TotalPauseMs(), c.ms);
    }
}

// Every command empties the receive buffer; only Information and UART_Information skip the
// form read.
TEST(Commands, ReadTheFormAndEmptyTheReceiveBufferFirst) {
    const struct {
        Handler handler;
        bool readsForm;
    } cases[] = {
        {&ModemConsole::OnChannelSetting, true},       {&ModemConsole::OnPowerSetting, true},
        {&ModemConsole::OnInformation, false},         {&ModemConsole::OnModeSetting, true},
        {&ModemConsole::OnDestinationIdSetting, true}, {&ModemConsole::OnPeriodSetting, true},
        {&ModemConsole::OnUartModeSetting, true},      {&ModemConsole::OnBitSetting, true},
        {&ModemConsole::OnUartInformation, false},     {&ModemConsole::OnAllSetting, true},
        {&ModemConsole::OnUartAllSetting, true},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.Detect("KD-35");
        rig.Receive("half a screen --");
        rig.host.Type(ctl::kChannelEdit, "07");  // typed since the last form read
        (rig.console.*c.handler)();
        EXPECT_EQ(rig.console.State().receiveBuffer, "");
        EXPECT_EQ(rig.log.Count(EventKind::kReadForm), c.readsForm ? 1U : 0U);
        if (c.readsForm) {
            EXPECT_EQ(rig.log.Events().front().kind, EventKind::kReadForm);
            EXPECT_EQ(rig.console.Form().channel, "07");
        }
    }
}

TEST(Commands, EmptyRequiredFieldPromptsAndSendsNothing) {
    const struct {
        Handler handler;
        const char* prompt;
        std::size_t sendsWhenFilled;
    } cases[] = {
        {&ModemConsole::OnChannelSetting, "Input Channel Number", 3},
        {&ModemConsole::OnPowerSetting, "Input Tx Power Level Number", 3},
        {&ModemConsole::OnDestinationIdSetting, "Input Destination ID", 3},
        {&ModemConsole::OnPeriodSetting, "Input H/M/S Time", 4},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.Detect("GT-40");
        rig.Receive("half a screen --");
        (rig.console.*c.handler)();
        EXPECT_THAT(rig.log.Described(),
                    ElementsAre(calls::ReadForm(), calls::Box(c.prompt, "Information", 48)));
        EXPECT_EQ(rig.console.State().receiveBuffer, "");

        rig.log.Clear();
        ShowTexts(rig.host, " ");
        (rig.console.*c.handler)();  // blanks are not empty
        EXPECT_EQ(rig.log.Count(EventKind::kMessageBox), 0U);
        EXPECT_EQ(rig.log.Count(EventKind::kSend), c.sendsWhenFilled);
    }
}

TEST(Commands, UnitLetterIsKeptWhenNoUnitIsChecked) {
    ConsoleRig rig;
    rig.host.Shown().period = "5";
    rig.host.Shown().periodUnit = 2;
    rig.console.OnPeriodSetting();
    rig.log.Clear();
    rig.host.Shown().periodUnit = -1;
    rig.console.OnPeriodSetting();
    EXPECT_THAT(rig.log.Wire(), ElementsAre(P(500), S("S"), P(500), S("5"), kLf));
    EXPECT_EQ(rig.console.State().periodUnitLetter, "S");
}

TEST(Commands, NumbersAreFormattedIntoTheScratchText) {
    ConsoleRig rig;
    rig.host.Shown().parity = 1;
    rig.console.OnBitSetting();
    EXPECT_EQ(rig.console.State().scratch, "2");
    rig.log.Clear();
    rig.host.Shown().dataBits = -1;  // no data bits radio checked: index -1 plus 5
    rig.console.OnBitSetting();
    EXPECT_EQ(rig.log.Wire().at(4), S("4"));
}

struct AllCase {
    const char* what;
    const char* model;
    int deviceFlag;  // as the last information screen reported it
    int modeRadio;
    const char* channel;
    const char* power;
    const char* destination;
    const char* period;
    const char* prompt;  // nullptr: no prompt
    Wire ending;         // after the common part
    long long totalMs;
};

std::vector<AllCase> AllCases() {
    const Wire modeToPc = {S("6"), P(500), S("1"), kLf, P(400)};
    const Wire modeToDevice = {S("6"), P(500), S("2"), kLf, P(400)};
    const Wire destination = {S("8"), P(500), S("00012"), kLf, P(500)};
    Wire withPeriod = destination;
    withPeriod.insert(withPeriod.end(), {S("A"), P(500), S("S"), P(500), S("5"), kLf});
    return {
        {"PC unchanged", "GT-40", 0, 0, "05", "0F", "", "", nullptr, {}, 2000},
        {"switched to device", "GT-40", 0, 1, "05", "0F", "", "", nullptr, modeToDevice, 2900},
        {"switched to PC", "GT-40", 1, 0, "05", "0F", "00012", "5", nullptr, modeToPc, 2900},
        {"switched to PC, FL", "FL-25", 1, 0, "05", "0F", "00012", "5", nullptr, modeToPc, 2900},
        {"device, period family", "GT-40", 1, 1, "05", "0F", "00012", "5", nullptr, withPeriod,
         4000},
        {"device, KD needs no period", "KD-30", 1, 1, "05", "0F", "00012", "", nullptr, destination,
         3000},
        {"device, GT entry sends no period", "GT-20", 1, 1, "05", "0F", "00012", "5", nullptr,
         destination, 3000},
        {"device, GT entry asks for it",
         "GT-20",
         1,
         1,
         "05",
         "0F",
         "00012",
         "",
         "Input H/M/S Time",
         {},
         0},
        {"device, unlisted asks for it",
         "",
         1,
         1,
         "05",
         "0F",
         "00012",
         "",
         "Input H/M/S Time",
         {},
         0},
        {"flag decides, not the radio",
         "GT-40",
         1,
         0,
         "05",
         "0F",
         "",
         "5",
         "Input Destination ID",
         {},
         0},
        {"no destination needed in PC", "KD-30", 0, 0, "05", "0F", "", "", nullptr, {}, 2000},
        {"channel first", "GT-40", 1, 1, "", "", "", "", "Input Channel Number", {}, 0},
        {"then power", "GT-40", 1, 1, "05", "", "", "", "Input Tx Power Level Number", {}, 0},
    };
}

TEST(AllSetting, PromptsAndEndings) {
    for (const AllCase& c : AllCases()) {
        ConsoleRig rig;
        if (*c.model != '\0') {
            rig.Detect(c.model);
        }
        rig.ReportMode(c.deviceFlag == 1);
        SettingsForm& shown = rig.host.Shown();
        shown.mode = c.modeRadio;
        shown.channel = c.channel;
        shown.power = c.power;
        shown.destinationId = c.destination;
        shown.period = c.period;
        shown.periodUnit = 2;
        rig.console.OnAllSetting();
        if (c.prompt != nullptr) {
            EXPECT_THAT(rig.log.Described(),
                        ElementsAre(calls::ReadForm(), calls::Box(c.prompt, "Information", 48)))
                << c.what;
            continue;
        }
        Wire expected = {S("2"), P(500), S(c.channel), kLf, P(500),
                         S("4"), P(500), S(c.power),   kLf, P(500)};
        expected.insert(expected.end(), c.ending.begin(), c.ending.end());
        EXPECT_THAT(rig.log.Wire(), ElementsAreArray(expected)) << c.what;
        EXPECT_EQ(rig.log.TotalPauseMs(), c.totalMs) << c.what;
    }
}

TEST(AllSetting, PromptStillEmptiesTheBufferAndSendsNothing) {
    ConsoleRig rig;
    rig.Receive("half a screen --");
    rig.console.OnAllSetting();
    EXPECT_THAT(rig.log.Wire(), IsEmpty());
    EXPECT_EQ(rig.console.State().receiveBuffer, "");
}

}  // namespace
}  // namespace veltaro::console::testing
