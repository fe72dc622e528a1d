// veltaro-cli end to end: the real program, the real serial link and the simulated modem on
// a pseudo-terminal. Each case starts its own simulator on COM1 of a private port directory.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "cli_expect.h"
#include "simulated_modem.h"

namespace veltaro::cli::testing {
namespace {

using namespace std::chrono_literals;
using Args = std::vector<std::string>;

// Start values that differ from the simulator's own, so that the output proves they were
// read from the modem.
const Args kStartValues{"--set", "channel=12",  "--set", "power=05",    "--set", "dest-id=ABCDE",
                        "--set", "unit=min",    "--set", "period=15",   "--set", "interface=rs485",
                        "--set", "data-bits=7", "--set", "stop-bits=2", "--set", "parity=odd"};

struct InfoCase {
    const char* model;
    const char* rangeClass;
    const char* family;
    bool uart;
};

// Names the case in test listings instead of its bytes.
void PrintTo(const InfoCase& c, std::ostream* os) {
    *os << c.model;
}

class Info : public ::testing::TestWithParam<InfoCase> {};

TEST_P(Info, PrintsTheModelAndTheSettingsItReports) {
    const InfoCase& c = GetParam();
    SimulatedModem modem(c.model, kStartValues);
    ASSERT_TRUE(modem.Up());
    const ChildProcess::Result r = modem.RunCli({"--com", "1", "info", "--json"});
    ASSERT_EQ(r.status, kOk) << Describe(r);
    ExpectHas(r.out, {std::string(R"("model": ")") + c.model + "\"",
                      std::string(R"("range_class": ")") + c.rangeClass + "\"",
                      std::string(R"("family": ")") + c.family + "\"", R"("channel": "12",)",
                      R"("channel_raw": "12 ",)", R"("power": "05",)", R"("mode": "device",)",
                      R"("destination_id": "ABCDE",)", R"("period": "15",)",
                      R"("period_unit": "minutes")"});
    const std::vector<std::string> uart{R"("interface": "rs485")", R"("data_bits": "7")",
                                        R"("stop_bits": "2")", R"("parity": "odd")"};
    if (c.uart) {
        ExpectHas(r.out, uart);
    } else {
        ExpectLacks(r.out, {R"("interface")"});
    }
}

INSTANTIATE_TEST_SUITE_P(OneModelPerFamily, Info,
                         ::testing::Values(InfoCase{"KD-35", "wide", "KD family", true},
                                           InfoCase{"GT-25", "wide", "GT entry family", true},
                                           InfoCase{"FL-20", "narrow", "FL family", false},
                                           InfoCase{"GT-45", "wide", "GT period family", false}),
                         [](const auto& info) {
                             std::string name = info.param.model;
                             name.erase(2, 1);
                             return name;
                         });

TEST(InfoText, OneKeyValueALine) {
    SimulatedModem modem("GT-45", {"--set", "mode=pc"});
    ASSERT_TRUE(modem.Up());
    const ChildProcess::Result r = modem.RunCli({"info", "--com=1"});
    ASSERT_EQ(r.status, kOk) << Describe(r);
    EXPECT_EQ(r.out,
              "model: GT-45\nrange-class: wide\nfamily: GT period family\nchannel: 07\n"
              "power: 0A\nmode: pc\nsettable: channel power mode\n");
    EXPECT_EQ(r.err, "");  // not a terminal: no progress line
}

TEST(InfoUnlisted, PrintsTheModelButNoSettings) {
    SimulatedModem modem("ZX-99");
    ASSERT_TRUE(modem.Up());
    const ChildProcess::Result r = modem.RunCli({"--com", "1", "info", "--json"});
    EXPECT_EQ(r.status, kNoSettings) << Describe(r);
    ExpectHas(r.out, {R"("model": "ZX-99")", R"("family": "none")", R"("settings": null)"});
    ExpectHas(r.err, {"unlisted"});
}

struct SetCase {
    const char* name;
    const char* model;
    Args start;     // simulator start values
    Args settings;  // after `set`
    Args readBack;  // in `info --json` afterwards
};

void PrintTo(const SetCase& c, std::ostream* os) {
    *os << c.name;
}

class Set : public ::testing::TestWithParam<SetCase> {};

TEST_P(Set, SendsEachValueAndReadsItBack) {
    const SetCase& c = GetParam();
    SimulatedModem modem(c.model, c.start);
    ASSERT_TRUE(modem.Up());
    Args args{"--com", "1", "set"};
    args.insert(args.end(), c.settings.begin(), c.settings.end());
    const ChildProcess::Result set = modem.RunCli(args);
    ASSERT_EQ(set.status, kOk) << Describe(set);
    // A second, independent session sees the new values.
    const ChildProcess::Result info = modem.RunCli({"--com", "1", "info", "--json"});
    ASSERT_EQ(info.status, kOk) << Describe(info);
    ExpectHas(info.out, c.readBack);
}

INSTANTIATE_TEST_SUITE_P(
    OneModelPerFamily, Set,
    ::testing::Values(
        // From PC mode: the destination ID is offered only once the mode is device.
        SetCase{"KD35",
                "KD-35",
                {"--set", "mode=pc"},
                {"mode=device", "dest-id=0beef", "channel=23", "power=1f", "interface=rs485",
                 "data-bits=6", "stop-bits=1.5", "parity=even"},
                {R"("mode": "device")", R"("destination_id": "0BEEF")", R"("channel": "23")",
                 R"("power": "1F")", R"("interface": "rs485")", R"("data_bits": "6")",
                 R"("stop_bits": "1.5")", R"("parity": "even")"}},
        SetCase{"GT25",
                "GT-25",
                {},
                {"channel=A", "power=FF", "dest-id=12345", "period=2h", "parity=mark"},
                {R"("channel": "0A")", R"("power": "FF")", R"("destination_id": "12345")",
                 R"("period": "2")", R"("period_unit": "hours")", R"("parity": "mark")"}},
        SetCase{"FL20",
                "FL-20",
                {},
                {"channel=E", "power=f", "dest-id=00001", "period=45s"},
                {R"("channel": "0E")", R"("power": "0F")", R"("destination_id": "00001")",
                 R"("period": "45")", R"("period_unit": "seconds")"}},
        SetCase{"GT45",
                "GT-45",
                {},
                {"channel=45", "power=8f", "dest-id=FFFFF", "period=3h", "mode=pc"},
                {R"("channel": "45")", R"("power": "8F")", R"("mode": "pc")"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetRefused, AValueTheFieldCheckClearsIsNotSent) {
    SimulatedModem modem("GT-20");  // narrow-range: channel 1-E or 10-14
    ASSERT_TRUE(modem.Up());
    const ChildProcess::Result r = modem.RunCli({"--com", "1", "set", "power=3", "channel=F"});
    EXPECT_EQ(r.status, kValueRefused) << Describe(r);
    ExpectHas(r.err, {"1-E or two decimal digits 10-14 on narrow-range models"});
    // Only the opening ESC and the reading of the settings reached the modem.
    ExpectLacks(modem.ReceivedBytes(), {"2", "4", "F", "\n"});
}

TEST(SetNotOffered, AKeyTheFamilyLacksIsRefused) {
    SimulatedModem modem("FL-20");
    ASSERT_TRUE(modem.Up());
    const ChildProcess::Result r = modem.RunCli({"--com", "1", "set", "channel=5", "parity=odd"});
    EXPECT_EQ(r.status, kKeyNotOffered) << Describe(r);
    ExpectHas(r.err, {"parity is not offered by FL-20 (FL family)"});
    ExpectLacks(modem.ReceivedBytes(), {"2", "A", "\n"});
}

TEST(SetNotOffered, TheDestinationIdInPcMode) {
    SimulatedModem modem("GT-45", {"--set", "mode=pc"});
    ASSERT_TRUE(modem.Up());
    const ChildProcess::Result r = modem.RunCli({"--com", "1", "set", "dest-id=12345"});
    EXPECT_EQ(r.status, kKeyNotOffered) << Describe(r);
    ExpectHas(r.err, {"destination-id is not offered by GT-45 (GT period family) in PC mode"});
    ExpectLacks(modem.ReceivedBytes(), {"8", "\n"});
}

TEST(Failures, AModemThatNeverAnswers) {
    SimulatedModem modem("GT-45", {"--mute"});
    ASSERT_TRUE(modem.Up());
    const auto start = std::chrono::steady_clock::now();
    const ChildProcess::Result r = modem.RunCli({"--com", "1", "--timeout", "2", "info"});
    EXPECT_EQ(r.status, kNoModel) << Describe(r);
    ExpectHas(r.err, {"no model detected on COM1 within 2 s"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
    EXPECT_EQ(modem.ReceivedBytes(), "\x1b");  // Open's ESC byte, and nothing else
}

TEST(Failures, AModemThatHangsUp) {
    SimulatedModem modem("KD-35", {"--hangup-after", "1500"});
    ASSERT_TRUE(modem.Up());
    const ChildProcess::Result r = modem.RunCli({"--com", "1", "info"});
    EXPECT_EQ(r.status, kHungUp) << Describe(r);
    ExpectHas(r.err, {"hung up"});
}

TEST(Failures, NoDeviceBehindThePortName) {
    SimulatedModem modem("GT-45");
    const ChildProcess::Result r = modem.RunCli({"--com", "999", "info"});
    EXPECT_EQ(r.status, kPortNotFound) << Describe(r);
    ExpectHas(r.err, {"cannot open COM999 (\\\\.\\COM999): Cannot Open port"});
}

TEST(Log, PrintsTheScreensUntilInterruptedAndHoldsThePort) {
    SimulatedModem modem("GT-45");
    ASSERT_TRUE(modem.Up());
    const std::unique_ptr<ChildProcess> log = modem.StartCli({"--com", "1", "log"});
    ASSERT_TRUE(log->WaitForOutput("TX Peirod", 20s));
    const ChildProcess::Result second = modem.RunCli({"--com", "1", "info"});
    EXPECT_EQ(second.status, kPortInUse) << Describe(second);
    ExpectHas(second.err, {"cannot open COM1"});
    log->Signal(SIGINT);
    const ChildProcess::Result r = log->Finish(10s);
    EXPECT_EQ(r.status, kOk) << Describe(r);
    // The screen as the log pane shows it, with the terminal's line ends.
    ExpectHas(r.out, {"\nInformation  ---", "Channel Number: 07 \n", "OK"});
    ExpectLacks(r.out, {"\r\n"});
}

}  // namespace
}  // namespace veltaro::cli::testing
