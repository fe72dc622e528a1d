#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console_rig.h"

namespace veltaro::console::testing {
namespace {

using ::testing::ElementsAreArray;

std::vector<std::string> Switch(const char* how, const std::vector<int>& ids) {
    std::vector<std::string> out;
    for (const int id : ids) {
        out.push_back(std::string(how) == "on" ? calls::Enable(id) : calls::Disable(id));
    }
    return out;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

// The fourteen UART radio buttons, in the order both families switch them.
const std::vector<int> kUartRadios = {1031, 1038, 1039, 1040, 1041, 1042, 1043,
                                      1044, 1045, 1047, 1048, 1049, 1050, 1051};

struct OnDetectCase {
    const char* code;
    bool wide;
    std::vector<std::string> afterLabels;  // switches, keys and pauses, in order
};

std::vector<OnDetectCase> Cases() {
    const auto kd = Join({Switch("on", {1012, 1014}),
                          Switch("off", {1018}),
                          {calls::Send("B"), calls::Pause(500), calls::Send("A"), calls::Pause(500),
                           calls::Send("3"), calls::Pause(500), calls::Byte(0x1B)}});
    const auto gtEntry = Join({Switch("off", {1012, 1014, 1018}), {calls::Send("6")}});
    const auto fl = Join({Switch("off", {1012, 1014, 1018, 1052, 1034, 1033, 1035}),
                          Switch("off", kUartRadios),
                          {calls::Send("6")}});
    const auto gtPeriod = Join({Switch("on", {1014, 1018}),
                                Switch("off", {1034, 1052, 1033, 1035}),
                                Switch("off", kUartRadios),
                                {calls::Send("C")}});
    return {
        {"KD-30", false, kd},       {"KD-35", true, kd},        {"GT-20", false, gtEntry},
        {"GT-25", true, gtEntry},   {"FL-20", false, fl},       {"FL-25", true, fl},
        {"GT-40", false, gtPeriod}, {"GT-45", true, gtPeriod},  {"GT-60", false, gtPeriod},
        {"GT-65", true, gtPeriod},  {"GT-80", false, gtPeriod}, {"GT-85", true, gtPeriod},
        {"GT-90", false, gtPeriod}, {"GT-95", false, gtPeriod}, {"kd-35", false, {}},
        {"Gt-40", false, {}},       {"AB-12", false, {}},       {"GT-35", false, {}},
    };
}

TEST(OnDetect, LabelsFirstThenTheFamilysSwitchesAndKeys) {
    for (const OnDetectCase& c : Cases()) {
        ConsoleRig rig;
        rig.Receive("\r\n" + std::string(c.code) + " CONFIGURATION\r\n");
        const auto expected = Join({{calls::Caption(c.code), calls::WriteForm()}, c.afterLabels});
        EXPECT_THAT(rig.log.Described(), ElementsAreArray(expected)) << c.code;

        // The labels are in the form written before anything is switched or sent.
        const Event& write = rig.log.Events().at(1);
        EXPECT_EQ(write.form.channelRangeLabel, c.wide ? "HEX(01~45)" : "HEX(01~14)") << c.code;
        EXPECT_EQ(write.form.powerRangeLabel, c.wide ? "HEX(01~FF)" : "HEX(01~0F)") << c.code;
        EXPECT_EQ(rig.console.State().awaitingModel, 0) << c.code;
    }
}

TEST(OnDetect, KdKeysAreThreeSendsAndTakeAtLeastOneAndAHalfSeconds) {
    ConsoleRig rig;
    rig.Receive("\r\nKD-35 CONFIGURATION\r\n");
    EXPECT_EQ(rig.log.Count(EventKind::kSend), 3U);
    EXPECT_EQ(rig.log.TotalPauseMs(), 1500);
    EXPECT_EQ(rig.link.Wire(), "BA3\x1B");
}

TEST(OnDetect, LabelsStayAcrossCloseUntilTheNextDetection) {
    ConsoleRig rig;
    rig.Detect("GT-25");
    rig.console.OnClose();
    EXPECT_EQ(rig.host.Shown().channelRangeLabel, "HEX(01~45)");
    rig.Detect("GT-95");
    EXPECT_EQ(rig.host.Shown().channelRangeLabel, "HEX(01~14)");
    EXPECT_EQ(rig.host.Shown().powerRangeLabel, "HEX(01~0F)");
}

TEST(OnDetect, SwitchesStartFromWhatCloseLeft) {
    ConsoleRig rig;
    rig.Detect("FL-25");
    EXPECT_FALSE(rig.host.IsEnabled(1031));
    rig.console.OnClose();
    rig.Detect("GT-20");  // leaves the UART controls as they are: enabled by Close
    EXPECT_TRUE(rig.host.IsEnabled(1031));
    EXPECT_TRUE(rig.host.IsEnabled(1052));
    EXPECT_FALSE(rig.host.IsEnabled(1012));
}

}  // namespace
}  // namespace veltaro::console::testing
