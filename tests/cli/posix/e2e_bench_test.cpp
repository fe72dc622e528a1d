// veltaro-cli on a bench of simulated modems: the port listing, profiles copied from one
// modem to others, and many ports configured at once.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "cli_expect.h"
#include "simulated_modem.h"

namespace veltaro::cli::testing {
namespace {

using namespace std::chrono_literals;
using Args = std::vector<std::string>;
namespace fs = std::filesystem;

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The "settings" object of an info --json output.
std::string SettingsOf(const std::string& json) {
    const std::size_t start = json.find("\"settings\"");
    const std::size_t end = json.find('}', start);
    return start == std::string::npos ? "" : json.substr(start, end - start);
}

std::string WriteFile(const ModemBench& bench, const std::string& name, const std::string& text) {
    const std::string path = bench.PortDir() + "/" + name;
    std::ofstream(path) << text;
    return path;
}

TEST(Ports, ListsEntriesWithTheirTargetsAndOpensNone) {
    ModemBench bench;
    ASSERT_TRUE(bench.Add("GT-45", 2));
    fs::create_symlink(bench.PortDir() + "/gone", bench.PortDir() + "/com4");
    fs::create_symlink(WriteFile(bench, "plain.txt", "x"), bench.PortDir() + "/com5");
    const ChildProcess::Result text = bench.RunCli({"ports"});
    EXPECT_EQ(text.status, kOk) << Describe(text);
    ExpectHas(text.out, {"COM2  " + bench.PortDir() + "/com2 -> /dev/pts/",
                         "COM4  " + bench.PortDir() + "/com4 -> " + bench.PortDir() +
                             "/gone  (port directory; dangling link",
                         "/plain.txt  (port directory; not a device"});
    const ChildProcess::Result json = bench.RunCli({"ports", "--json"});
    EXPECT_EQ(json.status, kOk) << Describe(json);
    ExpectHas(json.out, {R"("com": 2,)", R"("source": "port directory")", R"("dangling": true)"});
    EXPECT_EQ(bench.On(2).ReceivedBytes(), "");  // not even opened
}

// Start values other than the simulator's own. The period stays: a KD model shows one but
// offers no control for it, so a profile does not carry it.
const Args kOtherValues{"--set", "channel=23",    "--set", "power=1F",
                        "--set", "dest-id=0BEEF", "--set", "interface=rs485",
                        "--set", "data-bits=7",   "--set", "stop-bits=2",
                        "--set", "parity=odd"};

TEST(Profiles, CopyEverySettingToAModemOfTheSameModel) {
    ModemBench bench;
    ASSERT_TRUE(bench.Add("KD-35", 1, kOtherValues));
    ASSERT_TRUE(bench.Add("KD-35", 2));
    const ChildProcess::Result source = bench.RunCli({"--com", "1", "info", "--json"});
    ASSERT_EQ(source.status, kOk) << Describe(source);
    const std::string profile = WriteFile(bench, "kd35.json", source.out);
    const ChildProcess::Result set = bench.RunCli({"--com", "2", "set", "--from", profile});
    ASSERT_EQ(set.status, kOk) << Describe(set);
    const ChildProcess::Result copy = bench.RunCli({"--com", "2", "info", "--json"});
    ASSERT_EQ(copy.status, kOk) << Describe(copy);
    EXPECT_EQ(SettingsOf(copy.out), SettingsOf(source.out));
    ExpectHas(SettingsOf(copy.out), {R"("destination_id": "0BEEF")", R"("parity": "odd")"});
}

TEST(Profiles, AcrossFamiliesTheSettingsNotOfferedAreRefusedOrSkipped) {
    ModemBench bench;
    ASSERT_TRUE(bench.Add("KD-35", 1, kOtherValues));
    ASSERT_TRUE(bench.Add("GT-45", 2));
    const ChildProcess::Result source = bench.RunCli({"--com", "1", "info", "--json"});
    ASSERT_EQ(source.status, kOk) << Describe(source);
    const std::string profile = WriteFile(bench, "kd35.json", source.out);

    const ChildProcess::Result refused = bench.RunCli({"--com", "2", "set", "--from", profile});
    EXPECT_EQ(refused.status, kKeyNotOffered) << Describe(refused);
    ExpectHas(refused.err,
              {"interface is not offered by GT-45 (GT period family); nothing is sent"});
    ExpectLacks(bench.On(2).ReceivedBytes(), {"2", "4", "\n"});

    const ChildProcess::Result skipped =
        bench.RunCli({"--com", "2", "set", "--from", profile, "--only-offered", "power=3"});
    EXPECT_EQ(skipped.status, kOk) << Describe(skipped);
    ExpectHas(skipped.err, {"skipped, not offered by GT-45 (GT period family): interface "
                            "data-bits stop-bits parity"});
    ExpectHas(skipped.out, {"channel: 23", "power: 03", "destination-id: 0BEEF"});
}

TEST(Profiles, BrokenFilesAreRefusedBeforeAByteIsSent) {
    ModemBench bench;
    ASSERT_TRUE(bench.Add("GT-45", 1));
    const struct {
        const char* text;
        const char* error;
    } files[] = {
        {"not json", ":1: not valid JSON"},
        {"{\"veltaro_profile\": 1,\n \"settings\": {\"channel\": 5}}",
         ":2: \"channel\" must be a string"},
        {"{\"veltaro_profile\": 1,\n\n \"colour\": \"red\"}", ":3: unknown key \"colour\""},
        {"{\"veltaro_profile\": 7}", ":1: \"veltaro_profile\" must be 1"},
        {"{\"veltaro_profile\": 1, \"settings\": {\"destination_id\": \"\\u001b8\"}}",
         ":1: \"destination_id\": destination-id value '\\x1b8' refused: the modem takes "
         "printable ASCII only"},
    };
    for (const auto& file : files) {
        const std::string path = WriteFile(bench, "broken.json", file.text);
        const ChildProcess::Result r = bench.RunCli({"--com", "1", "set", "--from", path});
        EXPECT_NE(r.status, kOk) << Describe(r);
        ExpectHas(r.err, {path + file.error, "nothing is sent"});
    }
    EXPECT_EQ(bench.On(1).ReceivedBytes(), "");
}

// Eight ports of mixed models at once; COM4 hangs up halfway and COM8 has no modem. The
// others are configured and read back, and the summary names the two failures.
TEST(ManyPorts, EachPortIsConfiguredOnItsOwnAndTheFailuresAreNamed) {
    ModemBench bench;
    const std::vector<std::pair<int, const char*>> models{{1, "KD-35"}, {2, "GT-25"}, {3, "FL-20"},
                                                          {5, "GT-65"}, {6, "KD-30"}, {7, "FL-25"}};
    for (const auto& [com, model] : models) {
        ASSERT_TRUE(bench.Add(model, com));
    }
    ASSERT_TRUE(bench.Add("GT-45", 4, {"--hangup-after", "3000"}));
    const auto start = std::chrono::steady_clock::now();
    const ChildProcess::Result r = bench.RunCli({"--com", "1-8", "set", "channel=5", "power=3"});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(r.status, kSomePortsFailed) << Describe(r);
    ExpectHas(r.err, {"2 of 8 ports failed:", "COM4: status 8, the modem hung up",
                      "COM8: status 3, cannot open COM8"});
    EXPECT_EQ(Count(r.out, "channel: 05 (was 07)\npower: 03 (was 0A)\n"), 6u) << r.out;
    EXPECT_LT(took, 40s);  // at once, not one after the other

    const ChildProcess::Result check = bench.RunCli({"--com", "1-3,5-7", "info", "--json"});
    EXPECT_EQ(check.status, kOk) << Describe(check);
    EXPECT_EQ(Count(check.out, R"("channel": "05")"), 6u) << check.out;
    ExpectHas(check.out, {"{\n    \"com\": 1,\n    \"exit_status\": 0,\n    \"error\": null,",
                          R"("model": "FL-25")"});
}

TEST(ManyPorts, GroupedOutputThatCannotBeWrittenIsAFailure) {
    ModemBench bench;
    ASSERT_TRUE(bench.Add("GT-45", 1));
    ASSERT_TRUE(bench.Add("FL-25", 2));
    const ChildProcess::Result r =
        bench.StartCli({"--com", "1,2", "info"}, ChildProcess::Stdout::kDevFull)->Finish(60s);
    EXPECT_EQ(r.status, kOutputFailed) << Describe(r);
    ExpectHas(r.err, {"cannot write to standard output: No space left on device"});
}

TEST(ManyPorts, CtrlCStopsEveryPortAndFreesThem) {
    ModemBench bench;
    for (int com = 1; com <= 4; ++com) {
        ASSERT_TRUE(bench.Add("GT-45", com, {"--mute"}));
    }
    const std::unique_ptr<ChildProcess> cli =
        bench.StartCli({"--com", "1-4", "--timeout", "30", "info"});
    std::this_thread::sleep_for(1s);
    cli->Signal(SIGINT);
    const ChildProcess::Result r = cli->Finish(10s);
    EXPECT_EQ(r.status, kInterrupted) << Describe(r);
    EXPECT_EQ(Count(r.err, "veltaro-cli: interrupted\n"), 4u) << r.err;
    const ChildProcess::Result next = bench.RunCli({"--com", "1-4", "--timeout", "0.5", "info"});
    EXPECT_EQ(Count(next.err, ": status 7, no model detected"), 4u) << Describe(next);
}

}  // namespace
}  // namespace veltaro::cli::testing
