#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console_rig.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::console::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A text of the given length, dots apart from the marks placed at their positions.
std::string Layout(std::size_t length,
                   std::initializer_list<std::pair<std::size_t, std::string_view>> marks) {
    std::string text(length, '.');
    for (const auto& [at, mark] : marks) {
        text.replace(at, mark.size(), mark);
    }
    return text;
}

// A text with its 0 bytes, from a literal.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

// What the log pane gets for one finished screen.
std::vector<std::string> Logged(std::string_view excerpt) {
    return {calls::Log("\r\n"), calls::Log(excerpt)};
}

std::vector<std::string> LogCalls(const EventLog& log) {
    return log.Described({EventKind::kAppendLog});
}

TEST(ScreenEnd, LogsFromBeforeTheFirstDashesToJustAfterTheEnd) {
    const struct {
        std::string buffer;
        std::size_t start;
        std::size_t count;
    } cases[] = {
        // Worked examples: "--" at 40 and "OK" at 200; "--" at 10 and "!!" at 60.
        {Layout(250, {{40, "--"}, {200, "OK"}}), 11, 191},
        {Layout(120, {{10, "--"}, {60, "!!"}}), 0, 83},
        // A start clamped to 0 keeps its count: it runs 29 - dash characters further.
        {Layout(100, {{0, "--"}, {50, "OK"}}), 0, 81},
        {Layout(60, {{5, "--"}, {40, "OK"}}), 0, 60},  // 66 characters, cut at the buffer's end
        // Only the first "--" counts.
        {Layout(200, {{50, "--"}, {100, "--"}, {150, "OK"}}), 21, 131},
        // The information marker's own dashes: the excerpt starts 16 before the word.
        {Layout(100, {{40, "Information  --"}, {90, "OK"}}), 24, 68},
        // A first "--" far behind the end gives an empty excerpt.
        {Layout(80, {{10, "OK"}, {41, "--"}}), 12, 0},
        {Layout(80, {{10, "OK"}, {40, "--"}}), 11, 1},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.Receive(c.buffer);
        EXPECT_THAT(LogCalls(rig.log), Logged(c.buffer.substr(c.start, c.count))) << c.buffer;
    }
}

TEST(ScreenEnd, BangWinsOverOkAndNothingIsParsed) {
    ConsoleRig rig;
    const std::string buffer =
        "Information  --\r\nChannel Number: 05 \r\nPC Mode\r\nOK\r\nUART Information RS485!!ab";
    rig.Receive(buffer);
    EXPECT_THAT(LogCalls(rig.log), Logged(buffer));  // up to two characters after "!!"
    EXPECT_EQ(rig.log.Count(EventKind::kWriteForm), 0U);
    EXPECT_EQ(rig.log.Count(EventKind::kEnable), 0U);
    EXPECT_EQ(rig.console.Form().channel, "");
    EXPECT_EQ(rig.console.State().receiveBuffer, "");
}

TEST(ScreenEnd, WaitsForDashesAndAnEnd) {
    for (const char* first : {"menu OK", "menu --", "menu"}) {
        ConsoleRig rig;
        rig.Receive(first);
        rig.Receive(" more");
        EXPECT_THAT(rig.log.Events(), IsEmpty()) << first;
        EXPECT_EQ(rig.console.State().receiveBuffer, std::string(first) + " more");
    }
}

TEST(ScreenEnd, KeepsTheRestAfterOkOnlyWhenItHoldsDashes) {
    const struct {
        const char* buffer;
        const char* left;
    } cases[] = {
        {"-- one OK", ""},           {"-- one OK\r\n", ""},
        {"-- one OK\r\nmenu -", ""}, {"-- one OK\r\n-- two", "\r\n-- two"},
        {"-- one OK-", ""},          {"-- one OK--", "--"},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.Receive(c.buffer);
        EXPECT_EQ(rig.console.State().receiveBuffer, c.left) << c.buffer;
    }
}

TEST(ScreenEnd, HandlesOneScreenPerMessage) {
    ConsoleRig rig;
    rig.Receive("-- one OK\r\n-- two OK");
    // The excerpt runs on past the first "OK", since its "--" stands near the start.
    EXPECT_THAT(LogCalls(rig.log), Logged("-- one OK\r\n-- two OK"));
    rig.log.Clear();
    rig.console.OnDataArrived();  // an empty queue still runs on the buffer as it stands
    EXPECT_THAT(LogCalls(rig.log), Logged("\r\n-- two OK"));
    EXPECT_EQ(rig.console.State().receiveBuffer, "");
}

TEST(ScreenEnd, KeepsEveryByteValue) {
    ConsoleRig rig;
    const std::string buffer = Bytes("\0\xFF-- \x80\0 Channel Number: \xE9\0\x7F OK");
    rig.Receive(std::string("Information  --") + buffer);
    const std::string block = "Information  --" + buffer;
    EXPECT_THAT(LogCalls(rig.log), Logged(block));
    EXPECT_EQ(rig.host.LogText(), "\r\n" + block);
    EXPECT_EQ(rig.console.Form().channel, Bytes("\xE9\0\x7F"));
}

TEST(Detection, NeedsMoreThanTwentyCharacters) {
    ConsoleRig rig;
    rig.Receive("1234567CONFIGURATION");  // 20 characters
    EXPECT_EQ(rig.host.Caption(), "Ostrane - Veltaro");
    EXPECT_EQ(rig.console.State().awaitingModel, 1);
    EXPECT_EQ(rig.console.State().receiveBuffer, "1234567CONFIGURATION");
    rig.Receive("\r");
    EXPECT_EQ(rig.console.State().modelCode, "23456");
    EXPECT_EQ(rig.host.Caption(), "23456");
    EXPECT_EQ(rig.console.State().awaitingModel, 0);
    EXPECT_EQ(rig.console.State().receiveBuffer, "");
}

TEST(Detection, CutsTheFiveCharactersEndingOneBeforeTheWord) {
    const struct {
        std::string buffer;
        std::string code;
    } cases[] = {
        {Layout(60, {{24, "abcde"}, {29, "f"}, {30, "CONFIGURATION"}}), "abcde"},
        {"abcCONFIGURATION........", "abcCO"},  // start clamped, count kept
        {"\nKD-35 CONFIGURATION\n", "KD-35"},
        {Bytes("\0\xFF\x80-3 CONFIGURATION-- OK"), Bytes("\0\xFF\x80-3")},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.Receive(c.buffer);
        EXPECT_EQ(rig.console.State().modelCode, c.code);
        EXPECT_EQ(rig.host.Caption(), c.code);
        // The detection emptied the buffer before the screen end could be seen.
        EXPECT_THAT(LogCalls(rig.log), IsEmpty());
    }
}

TEST(Detection, WordAtTheStartDetectsNothingButTheScreenEndStillRuns) {
    ConsoleRig rig;
    rig.Receive("CONFIGURATION menu -- OK");
    EXPECT_EQ(rig.console.State().awaitingModel, 1);
    EXPECT_EQ(rig.console.State().modelCode, "");
    EXPECT_THAT(LogCalls(rig.log), Logged("CONFIGURATION menu -- OK"));
}

TEST(Detection, RunsOnlyWhileAwaitingAModel) {
    ConsoleRig rig;
    rig.Detect("GT-25");
    rig.Receive("\r\nGT-40 CONFIGURATION\r\n-- OK");
    EXPECT_EQ(rig.console.State().modelCode, "GT-25");
    EXPECT_THAT(rig.log.Described({EventKind::kCaption}), IsEmpty());
    EXPECT_EQ(rig.log.Count(EventKind::kAppendLog), 2U);
}

// An information screen as the modem prints it: each value two characters after its label,
// the period four after.
std::string InformationScreen(std::string_view lines) {
    return "\r\n----- Information  ------\r\n" + std::string(lines) + "\r\nOK";
}

constexpr std::string_view kDeviceLines =
    "Channel Number: 05 \r\nTx Power: 0F\r\nDevice Mode\r\nDestination ID: 0A1B2\r\n"
    "TX Peirod  : 030 MIN\r\n";

TEST(InformationBlock, DeviceModeScreenFillsTheForm) {
    ConsoleRig rig;
    rig.Detect("GT-40");
    rig.Receive(InformationScreen(kDeviceLines));
    const SettingsForm& form = rig.console.Form();
    EXPECT_EQ(form.channel, "05 ");  // fixed widths, nothing trimmed
    EXPECT_EQ(form.power, "0F\r");
    EXPECT_EQ(form.destinationId, "0A1B2");
    EXPECT_EQ(form.period, "030");
    EXPECT_EQ(form.periodUnit, 1);
    EXPECT_EQ(form.mode, 1);
    EXPECT_EQ(rig.console.State().deviceMode, 1);
    EXPECT_THAT(rig.log.Described({EventKind::kEnable, EventKind::kWriteForm}),
                ElementsAre(calls::Enable(1014), calls::Enable(1025), calls::Enable(1018),
                            calls::Enable(1026), calls::Enable(1027), calls::Enable(1028),
                            calls::Enable(1029), calls::WriteForm()));
    EXPECT_EQ(rig.host.Shown(), form);
}

TEST(InformationBlock, ModeControlsPerFamily) {
    const auto disable = [](std::initializer_list<int> ids) {
        std::vector<std::string> out;
        for (const int id : ids) {
            out.push_back(calls::Disable(id));
        }
        return out;
    };
    std::vector<std::string> device;
    for (const int id : {1014, 1025, 1018, 1026, 1027, 1028, 1029}) {
        device.push_back(calls::Enable(id));
    }
    const std::vector<std::string> pc = disable({1014, 1018, 1026, 1027, 1028, 1025, 1029});
    const auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const struct {
        const char* code;
        const char* mode;
        std::vector<std::string> switches;
    } cases[] = {
        {"KD-30", "Device Mode", join(device, disable({1018, 1026, 1027, 1028}))},
        {"KD-35", "Device Mode", join(device, disable({1018, 1026, 1027, 1028}))},
        {"KD-30", "PC Mode", pc},
        {"FL-25", "PC Mode", join(pc, disable({1023, 1024}))},
        {"FL-20", "PC Mode", join(pc, disable({1023, 1024}))},
        {"FL-25", "Device Mode", device},  // PC and Device are not enabled again
        {"GT-20", "PC Mode", pc},
        {"GT-95", "Device Mode", device},
        {"kd-30", "Device Mode", device},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.Detect(c.code);
        rig.Receive(InformationScreen(c.mode));
        EXPECT_EQ(rig.log.Described({EventKind::kEnable}), c.switches) << c.code << c.mode;
    }
}

TEST(InformationBlock, PcModeWinsOverDeviceModeButTheDeviceValuesAreTaken) {
    ConsoleRig rig;
    rig.Receive(InformationScreen(std::string(kDeviceLines) + "PC Mode"));
    EXPECT_EQ(rig.console.Form().mode, 0);
    EXPECT_EQ(rig.console.State().deviceMode, 0);
    EXPECT_EQ(rig.console.Form().destinationId, "0A1B2");
    EXPECT_EQ(rig.console.Form().period, "030");
    EXPECT_FALSE(rig.host.IsEnabled(1025));
}

TEST(InformationBlock, PeriodUnitOnlyWithAPeriodValue) {
    const struct {
        const char* lines;
        const char* period;
        int unit;
    } cases[] = {
        {"Device Mode\r\nTX Peirod  : 2  HOR", "2  ", 0},
        {"Device Mode\r\nTX Peirod  : 15 MIN", "15 ", 1},
        {"Device Mode\r\nTX Peirod  : 45 SEC", "45 ", 2},
        {"Device Mode\r\nTX Peirod  : 45", "45\r", 2},        // no unit word: unit unchanged
        {"Device Mode\r\nHOR", "45\r", 2},                    // no period: neither changes
        {"PC Mode\r\nTX Peirod  : 9 MIN", "45\r", 2},         // only in device mode
        {"Device Mode\r\nTX Peirod  : 7 SEC HOR", "7 S", 0},  // the first word of the order
    };
    ConsoleRig rig;
    rig.Receive(InformationScreen("Device Mode\r\nTX Peirod  : 45 SEC"));
    for (const auto& c : cases) {
        rig.Receive(InformationScreen(c.lines));
        EXPECT_EQ(rig.console.Form().period, c.period) << c.lines;
        EXPECT_EQ(rig.console.Form().periodUnit, c.unit) << c.lines;
    }
}

TEST(InformationBlock, MissingLabelsLeaveValuesButTheFormIsShown) {
    ConsoleRig rig;
    rig.Receive(InformationScreen("Channel Number: 07 \r\nTx Power: 05 "));
    rig.log.Clear();
    rig.Receive(InformationScreen("nothing known here"));
    EXPECT_EQ(rig.console.Form().channel, "07 ");
    EXPECT_EQ(rig.console.Form().power, "05 ");
    EXPECT_THAT(rig.log.Described({EventKind::kWriteForm, EventKind::kEnable}),
                ElementsAre(calls::WriteForm()));
}

// The block is as long as the position of "OK" in the buffer, counted from the marker: it
// reaches past the "OK" by as many characters as the marker stands from the start.
TEST(InformationBlock, BlockLengthIsThePositionOfOk) {
    const struct {
        std::size_t label;
        const char* channel;
    } cases[] = {
        {205, "ab "},  // after "OK", inside the block (30 to 229)
        {211, "ab "},  // the value's last character is character 229
        {212, "ab"},   // cut at the end of the block
        {214, ""},     // the value would start at 230
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        std::string buffer = Layout(250, {{30, "Information  --"}, {200, "OK"}});
        buffer.replace(c.label, 19, "Channel Number: ab ");
        rig.Receive(buffer);
        EXPECT_EQ(rig.console.Form().channel, c.channel) << c.label;
        EXPECT_EQ(rig.console.State().receiveBuffer, "");
    }
}

TEST(UartBlock, FirstWordOfEachOrderDecides) {
    const struct {
        const char* lines;
        int interface, dataBits, stopBits, parity;
    } cases[] = {
        {"RS232\r\nData : 8 Bit\r\nStop : 1 Bit\r\nParity : Non", 0, 3, 0, 4},
        {"RS485\r\nData : 7 Bit\r\nStop : 1.5 Bit\r\nParity : Even", 1, 2, 1, 0},
        {"RS485\r\nData : 5 Bit\r\nStop : 2 Bit\r\nParity : Odd", 1, 0, 2, 1},
        {"RS232\r\nData : 6 Bit\r\nParity : Space", 0, 1, 0, 2},
        {"Parity : Mark (None)", 1, 3, 0, 3},      // "Non" inside a word loses to "Mark"
        {"Nonsense : 8 Bit : 5 Bit", 1, 0, 0, 4},  // ": 5 Bit" is tested first
        {"nothing", 1, 3, 0, 4},                   // only the interface changes
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.Receive("\r\n-- UART Information --\r\n" + std::string(c.lines) + "\r\nOK");
        const SettingsForm& form = rig.console.Form();
        EXPECT_EQ(form.interface, c.interface) << c.lines;
        EXPECT_EQ(form.dataBits, c.dataBits) << c.lines;
        EXPECT_EQ(form.stopBits, c.stopBits) << c.lines;
        EXPECT_EQ(form.parity, c.parity) << c.lines;
        EXPECT_EQ(rig.log.Count(EventKind::kWriteForm), 1U);
    }
}

TEST(UartBlock, CutShortBlockLacksRs232) {
    ConsoleRig rig;
    // The UART block (from 40, 2 characters long as "OK" stands at 2) misses "RS232".
    rig.Receive(Layout(80, {{2, "OK"}, {10, "--"}, {40, "UART Information RS232"}}));
    EXPECT_EQ(rig.console.Form().interface, 1);
}

TEST(BothBlocks, InformationFirstThenUartEachShowingTheForm) {
    ConsoleRig rig;
    rig.Detect("KD-35");
    rig.Receive("\r\n-- UART Information --\r\nRS485\r\n---- Information  --\r\nPC Mode\r\nOK");
    EXPECT_THAT(rig.log.Described({EventKind::kEnable, EventKind::kWriteForm}),
                ElementsAre(calls::Disable(1014), calls::Disable(1018), calls::Disable(1026),
                            calls::Disable(1027), calls::Disable(1028), calls::Disable(1025),
                            calls::Disable(1029), calls::WriteForm(), calls::WriteForm()));
    const auto writes = rig.log.OfKind(EventKind::kWriteForm);
    EXPECT_EQ(writes[0].form.interface, 0);  // the UART block has not run yet
    EXPECT_EQ(writes[1].form.interface, 1);
}

}  // namespace
}  // namespace veltaro::console::testing
