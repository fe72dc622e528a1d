#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console_rig.h"
#include "veltaro/console/console_texts.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::console::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST(ComStep, KeepsTheNumberBetween1And255) {
    const struct {
        const char* typed;
        int delta;
        const char* shown;
    } cases[] = {
        {"1", -1, "2"},   {"254", -1, "255"},  {"255", -1, "255"},
        {"2", 1, "1"},    {"1", 1, "1"},       {"0", -1, "1"},
        {"0", 1, "1"},    {"300", -1, "255"},  {"300", 1, "299"},  // no upper bound on the way down
        {"abc", -1, "1"}, {"abc", 1, "1"},     {"", 1, "1"},
        {"12", 0, "12"},  {"1234", -1, "124"},  // only three characters are read
        {" 7", -5, "8"},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.host.Type(ctl::kComNumber, c.typed);
        EXPECT_EQ(rig.console.OnComStep(c.delta), 0);
        EXPECT_EQ(rig.host.EditText(ctl::kComNumber), c.shown)
            << '"' << c.typed << "\" delta " << c.delta;
        EXPECT_THAT(rig.log.Described(), ElementsAre(calls::ReadComLine(3), calls::WriteForm()));
    }
}

TEST(ComStep, WritesTheWholeFormOverUnreadTyping) {
    ConsoleRig rig;
    rig.host.Type(ctl::kPeriodEdit, "30");  // typed, but never read into the form
    rig.console.OnComStep(-1);
    EXPECT_EQ(rig.host.EditText(ctl::kPeriodEdit), "");
    EXPECT_EQ(rig.host.EditText(ctl::kComNumber), "2");
}

TEST(Open, FormsThePortNameFromTheFirstThreeCharacters) {
    const struct {
        const char* typed;
        const char* portName;
    } cases[] = {
        {"4", "COM4"},
        {"5", "\\\\.\\COM5"},
        {"12", "\\\\.\\COM12"},
        {"255", "\\\\.\\COM255"},
        {"2555", "\\\\.\\COM255"},
        {"", "COM0"},
        {"x1", "COM0"},
        {"-7", "COM-7"},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.link.SetOpenResult(0);
        rig.host.Type(ctl::kComNumber, c.typed);
        rig.console.OnOpen();
        EXPECT_THAT(rig.log.Described({EventKind::kOpenPort}),
                    ElementsAre(calls::Open(c.portName, 9600, 8, 0, 0)))
            << '"' << c.typed << '"';
    }
}

TEST(Open, SuccessShowsTheBannerSwapsTheButtonsAndWritesEsc) {
    ConsoleRig rig;
    rig.host.Type(ctl::kComNumber, "3");
    rig.console.OnOpen();
    EXPECT_THAT(rig.log.Described(),
                ElementsAre(calls::ReadComLine(3), calls::Open("COM3", 9600, 8, 0, 0),
                            calls::Log(kBannerLine), calls::Disable(ctl::kOpen),
                            calls::Enable(ctl::kClose), calls::Byte(0x1B)));
    EXPECT_EQ(rig.host.LogText(), kBannerLine);
    EXPECT_TRUE(rig.host.LogText().ends_with("\r\n"));
    EXPECT_EQ(rig.link.Wire(), "\x1B");
}

TEST(Open, FailureChangesNothing) {
    ConsoleRig rig;
    rig.link.SetOpenResult(0);
    rig.console.OnOpen();
    EXPECT_THAT(rig.log.Described(),
                ElementsAre(calls::ReadComLine(3), calls::Open("COM1", 9600, 8, 0, 0)));
    EXPECT_EQ(rig.host.LogText(), "");
    EXPECT_TRUE(rig.host.IsEnabled(ctl::kOpen));
}

// The on-detect form write and Close's form write show the open port's number, formatted
// as the step handler formats it, and a second Open opens the same port.
TEST(Open, KeepsTheNumberItOpenedThroughDetectionAndClose) {
    const struct {
        const char* typed;
        const char* shown;
        const char* portName;
    } cases[] = {
        {"5", "5", "\\\\.\\COM5"},
        {"12", "12", "\\\\.\\COM12"},
        {" 3x", "3", "COM3"},
        {"0042", "4", "COM4"},  // only three characters are read
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.host.Type(ctl::kComNumber, c.typed);
        rig.console.OnOpen();
        rig.Detect("FL-25");
        EXPECT_EQ(rig.host.EditText(ctl::kComNumber), c.shown) << '"' << c.typed << '"';
        rig.console.OnClose();
        EXPECT_EQ(rig.host.EditText(ctl::kComNumber), c.shown) << '"' << c.typed << '"';
        rig.log.Clear();
        rig.console.OnOpen();
        EXPECT_THAT(rig.log.Described({EventKind::kOpenPort}),
                    ElementsAre(calls::Open(c.portName, 9600, 8, 0, 0)))
            << '"' << c.typed << '"';
    }
}

// The Close table in its order: only Close is disabled.
std::vector<std::string> CloseSwitches() {
    const int enabled[] = {1012, 1014, 1018, 1029, 1033, 1035, 1034, 1023, 1024, 1025,
                           1026, 1027, 1028, 1031, 1038, 1039, 1040, 1041, 1042, 1043,
                           1044, 1045, 1047, 1048, 1049, 1050, 1051, 1052};
    std::vector<std::string> out = {calls::Enable(1004), calls::Disable(1005)};
    for (const int id : enabled) {
        out.push_back(calls::Enable(id));
    }
    return out;
}

// Close works the same whether or not a port was open and whatever a model had disabled.
TEST(Close, ResetsTheDialogInOrder) {
    for (const bool opened : {true, false}) {
        ConsoleRig rig;
        if (opened) {
            rig.console.OnOpen();
            rig.Detect("FL-25");
        }
        rig.host.Type(ctl::kChannelEdit, "7");  // shown but unread: the form write replaces it
        rig.console.OnClose();

        std::vector<std::string> expected = {calls::Close()};
        const std::vector<std::string> switches = CloseSwitches();
        expected.insert(expected.end(), switches.begin(), switches.end());
        expected.insert(expected.end(), {calls::Caption("Ostrane - Veltaro"), calls::SetLog(""),
                                         calls::WriteForm(), calls::Pause(500)});
        EXPECT_THAT(rig.log.Described(), ElementsAreArray(expected)) << opened;
        EXPECT_EQ(rig.console.State().awaitingModel, 1);
        EXPECT_EQ(rig.host.Caption(), "Ostrane - Veltaro");
        EXPECT_EQ(rig.host.LogText(), "");
        EXPECT_EQ(rig.host.EditText(ctl::kChannelEdit), "");
        EXPECT_FALSE(rig.link.IsOpen());
    }
}

TEST(Close, DetectsTheModelAgainButKeepsTheOldCodeUntilThen) {
    ConsoleRig rig;
    rig.Detect("KD-30");
    rig.console.OnClose();
    EXPECT_EQ(rig.console.State().modelCode, "KD-30");
    rig.log.Clear();
    rig.Receive("\r\nGT-40 CONFIGURATION\r\n");
    EXPECT_EQ(rig.console.State().modelCode, "GT-40");
    EXPECT_EQ(rig.host.Caption(), "GT-40");
    EXPECT_EQ(rig.console.State().awaitingModel, 0);
}

}  // namespace
}  // namespace veltaro::console::testing
