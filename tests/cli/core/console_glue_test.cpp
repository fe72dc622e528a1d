// The terminal program's glue around the real console logic: the terminal host, the screen
// watch, the value checks, the button presses. The console runs for real; the recording
// link stands in for the port and keeps pauses as data.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "command_plan.h"
#include "recording_link.h"
#include "screen_watch.h"
#include "session.h"
#include "steps.h"
#include "terminal_host.h"
#include "value_check.h"
#include "veltaro/console/control_ids.h"
#include "veltaro/console/modem_console.h"

namespace veltaro::cli {
namespace {

namespace ctl = console::ctl;
using console::ModemConsole;

std::string InfoScreen(bool device) {
    return std::string(
               "\r\nInformation  ------\r\nChannel Number: 07 \r\n         Power: 0A \r\n") +
           (device ? "Operating Mode: Device Mode\r\n" : "Operating Mode: PC Mode\r\n") +
           "Destination ID: 1A2B3\r\n   TX Peirod  : 30  SEC\r\n-----\r\nOK\r\nSelect> ";
}

const std::string kUartScreen =
    "\r\nUART Information -----\r\n Interface : RS485\r\n Data Bit  : 7 Bit\r\n"
    " Stop Bit  : 2 Bit\r\n Parity    : Odd\r\n-----\r\nOK\r\nSelect> ";

// The console with the terminal host in the dialog's place, watched as the session does.
struct Rig {
    console::testing::EventLog log;
    console::testing::RecordingLink link{log};
    std::ostringstream messages;
    TerminalHost host{"1", messages};
    ModemConsole console{host, link};
    ScreenWatch watch;

    Rig() {
        host.SetFormWriteObserver([this] { watch.FormWritten(console.State().receiveBuffer); });
    }
    void Arrive(std::string_view bytes) {
        link.Receive(bytes);
        watch.BeginMessage();
        console.OnDataArrived();
        watch.EndMessage();
    }
    void Detect(std::string_view code) {
        console.OnOpen();
        Arrive("\r\n---- " + std::string(code) + " CONFIGURATION ----\r\n");
    }
};

TEST(ScreenWatch, CountsTheScreensTheConsoleParsed) {
    Rig rig;
    rig.Detect("KD-35");
    EXPECT_EQ(rig.watch.InfoScreens(), 0);  // the on-detect action's form write
    rig.Arrive("\r\n---- menu ----\r\n [2] Channel\r\nSelect> ");
    rig.Arrive("\r\n----\r\n bad value\r\n!!\r\n");
    EXPECT_EQ(rig.watch.InfoScreens() + rig.watch.UartScreens(), 0);
    rig.Arrive(InfoScreen(true));
    EXPECT_EQ(rig.watch.InfoScreens(), 1);
    rig.Arrive(kUartScreen);
    EXPECT_EQ(rig.watch.UartScreens(), 1);
    EXPECT_EQ(rig.host.Shown().interface, 1);
    // Both blocks before one "OK": both parsers run, the form is shown twice.
    rig.Arrive("\r\nInformation  --\r\nPC Mode\r\nUART Information\r\nRS232\r\nOK");
    EXPECT_EQ(rig.watch.InfoScreens(), 2);
    EXPECT_EQ(rig.watch.UartScreens(), 2);
    // Form writes outside a message (a field check clearing its field) count for nothing.
    rig.host.TypeIntoEdit(ctl::kChannelEdit, "99");
    rig.console.OnChannelChanged();
    EXPECT_EQ(rig.watch.InfoScreens(), 2);
}

TEST(Offered, FollowsTheControlsTheConsoleLeavesEnabled) {
    const struct {
        const char* model;
        bool deviceMode;
        std::string settable;
    } cases[] = {
        {"KD-35", true, "channel power mode destination-id interface data-bits stop-bits parity "},
        {"GT-45", true, "channel power mode destination-id period "},
        {"GT-45", false, "channel power mode "},
        {"FL-20", false, "channel power "},
        {"GT-25", true,
         "channel power destination-id period interface data-bits stop-bits parity "},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.Detect(c.model);
        rig.Arrive(InfoScreen(c.deviceMode));
        std::string settable;
        for (const SetKey key : OfferedKeys(rig.host)) {
            settable += std::string(RowOf(key).name) + " ";
        }
        EXPECT_EQ(settable, c.settable) << c.model;
    }
}

TEST(ValueCheck, RefusesWhatTheFieldCheckClearsAndSendsNothing) {
    const struct {
        const char* model;
        SetKey key;
        const char* value;
        int unit;
        const char* refusal;  // part of the message; null: accepted
        const char* kept;
    } cases[] = {
        {"GT-20", SetKey::kChannel, "F", -1, "1-E or two decimal digits 10-14 on narrow", ""},
        {"GT-25", SetKey::kChannel, "F", -1, nullptr, "F"},
        {"KD-35", SetKey::kChannel, "46", -1, "10-45 on wide-range", ""},
        {"KD-35", SetKey::kChannel, "05", -1, "10-45 on wide-range", ""},
        {"GT-45", SetKey::kPower, "10", -1, "none of them 0", ""},
        {"GT-45", SetKey::kPower, "1f", -1, nullptr, "1F"},
        {"GT-40", SetKey::kPower, "11", -1, "one hex digit 1-F on narrow", ""},
        {"GT-45", SetKey::kPeriod, "4", 0, "1-3 in hours", ""},
        {"GT-45", SetKey::kPeriod, "60", 1, "1-59 in minutes", ""},
        {"GT-45", SetKey::kPeriod, "059", 2, nullptr, "059"},
        {"GT-45", SetKey::kDestinationId, "abcdef", -1, "at most 5", ""},
        {"GT-45", SetKey::kDestinationId, "1a2b3", -1, nullptr, "1A2B3"},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.Detect(c.model);
        const std::string wire = rig.link.Wire();
        SetItem item{c.key, c.value, c.unit};
        const std::string refusal = CheckValue(rig.console, rig.host, item);
        if (c.refusal == nullptr) {
            EXPECT_EQ(refusal, "") << c.model << " " << c.value;
            EXPECT_EQ(item.text, c.kept);
        } else {
            EXPECT_NE(refusal.find(c.refusal), std::string::npos) << refusal;
        }
        EXPECT_EQ(rig.link.Wire(), wire) << "a check sent something";
    }
}

std::vector<ButtonHandler> Handlers(const std::vector<CommandStep>& steps) {
    std::vector<ButtonHandler> handlers;
    for (const CommandStep& step : steps) {
        handlers.push_back(step.handler);
    }
    return handlers;
}

TEST(CommandPlan, OneButtonPerKeyButTheUartBitsTogether) {
    const SetItem mode{SetKey::kMode, "", 1}, channel{SetKey::kChannel, "5"}, interface {
        SetKey::kInterface, "", 1
    }, data{SetKey::kDataBits, "", 0}, parity{SetKey::kParity, "", 1};
    using M = ModemConsole;
    EXPECT_EQ(Handlers(PlanCommands({mode, channel}, true)),
              (std::vector<ButtonHandler>{&M::OnModeSetting, &M::OnChannelSetting}));
    EXPECT_EQ(Handlers(PlanCommands({data, parity}, true)),
              (std::vector<ButtonHandler>{&M::OnBitSetting}));
    EXPECT_EQ(Handlers(PlanCommands({channel, interface, data, parity}, true)),
              (std::vector<ButtonHandler>{&M::OnChannelSetting, &M::OnUartAllSetting}));
    EXPECT_EQ(Handlers(PlanCommands({interface, parity}, false)),
              (std::vector<ButtonHandler>{&M::OnUartModeSetting, &M::OnBitSetting}));
    EXPECT_EQ(PlanCommands({interface, data, parity}, true).front().label,
              "interface, data-bits, parity");
}

TEST(CommandPlan, TheButtonSendsWhatWasPutIntoTheControls) {
    Rig rig;
    rig.Detect("KD-35");
    rig.Arrive(kUartScreen);  // RS485, 7 bits, 2 stop bits, odd
    const std::size_t sentBefore = rig.link.Wire().size();
    const SetItem parity{SetKey::kParity, "", 0};
    for (const CommandStep& step : PlanCommands({parity}, true)) {
        for (const SetItem& item : step.items) {
            ApplyItem(item, rig.host.Controls());
        }
        (rig.console.*step.handler)();
    }
    // Bit Setting: the keys given change, the others go as the modem reported them.
    EXPECT_EQ(rig.link.Wire().substr(sentBefore), "A2731\x1b");
}

TEST(Mismatch, ComparesAsTheModemPrintsValues) {
    console::SettingsForm readBack;
    readBack.channel = "0A ";
    readBack.period = "30 ";
    readBack.periodUnit = 1;
    readBack.parity = 4;
    // Built by a function: GCC 12 at -O3 misreads nested brace-initialised strings here as
    // uninitialised.
    const auto Item = [](SetKey key, std::string text, int index = -1) {
        SetItem item;
        item.key = key;
        item.text = std::move(text);
        item.index = index;
        return item;
    };
    struct Case {
        SetItem item;
        std::string mismatch;
    };
    const std::vector<Case> cases = {
        {Item(SetKey::kChannel, "a"), ""},
        {Item(SetKey::kChannel, "0A"), ""},
        {Item(SetKey::kChannel, "10"), "channel reads back as 0A, not 10"},
        {Item(SetKey::kPeriod, "030", 1), ""},
        {Item(SetKey::kPeriod, "30", 2), "period reads back as 30 minutes, not 30 seconds"},
        {Item(SetKey::kParity, "", 4), ""},
        {Item(SetKey::kParity, "", 1), "parity reads back as none, not odd"},
        {Item(SetKey::kPower, "5"), "power reads back as empty, not 5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Mismatch(c.item, readBack), c.mismatch);
    }
}

TEST(TerminalHost, BehavesLikeTheDialogsControls) {
    std::ostringstream messages;
    TerminalHost host("1234\r\n", messages);
    EXPECT_EQ(host.ReadComNumberLine(3), "123");  // EM_GETLINE with a limit of 3
    host.Controls().parity = 5;                   // no radio of the group checked
    host.Controls().mode = -1;
    EXPECT_EQ(host.ReadForm().parity, -1);
    EXPECT_EQ(host.ReadForm().mode, -1);
    host.TypeIntoEdit(ctl::kPowerEdit, "fa");  // the power edit's upper-case style
    host.TypeIntoEdit(ctl::kChannelEdit, "fa");
    EXPECT_EQ(host.ReadForm().power, "FA");
    EXPECT_EQ(host.ReadForm().channel, "fa");
    EXPECT_TRUE(host.IsEnabled(ctl::kBitSetting));
    host.EnableControl(ctl::kBitSetting, false);
    EXPECT_FALSE(host.IsEnabled(ctl::kBitSetting));
    host.ShowMessageBox("Input Channel Number", "Information", 48);
    EXPECT_EQ(messages.str(), "veltaro-cli: Information: Input Channel Number\n");
}

TEST(OpenErrors, EachReasonHasItsOwnStatus) {
    using E = CSerialConn::OpenError;
    const struct {
        E error;
        ExitStatus status;
    } cases[] = {
        {E::kNotFound, ExitStatus::kPortNotFound},
        {E::kBadName, ExitStatus::kPortNotFound},
        {E::kInUse, ExitStatus::kPortInUse},
        {E::kPermissionDenied, ExitStatus::kPermissionDenied},
        {E::kNotASerialPort, ExitStatus::kPortUnusable},
        {E::kLineSettingsRefused, ExitStatus::kPortUnusable},
        {E::kNone, ExitStatus::kFailure},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StatusOfOpenError(c.error), c.status) << static_cast<int>(c.error);
    }
}

}  // namespace
}  // namespace veltaro::cli
