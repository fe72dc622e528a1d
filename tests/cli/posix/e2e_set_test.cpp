// An idempotent set against the simulated modem, whose trace of received bytes is the truth
// of what went over the wire: what is already equal is not typed, --check types no setting,
// --json has the agreed shape, and an interrupted or disturbed run says what it did.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_expect.h"
#include "simulated_modem.h"

namespace veltaro::cli::testing {
namespace {

using namespace std::chrono_literals;
using Args = std::vector<std::string>;
using Json = nlohmann::json;

// The bytes that reached the modem during one run.
std::string BytesOf(const SimulatedModem& modem, const Args& args, ChildProcess::Result& r) {
    const std::size_t before = modem.ReceivedBytes().size();
    r = modem.RunCli(args);
    return modem.ReceivedBytes().substr(before);
}

struct IdempotentCase {
    const char* model;
    Args settings;
};

void PrintTo(const IdempotentCase& c, std::ostream* os) {
    *os << c.model;
}

class Idempotent : public ::testing::TestWithParam<IdempotentCase> {};

// The second identical set types exactly what info types: detection and information keys.
TEST_P(Idempotent, TheSecondIdenticalSetSendsNothingButWhatInfoSends) {
    SimulatedModem modem(GetParam().model);
    ASSERT_TRUE(modem.Up());
    Args set{"--com", "1", "set"};
    set.insert(set.end(), GetParam().settings.begin(), GetParam().settings.end());
    ChildProcess::Result r;
    const std::string first = BytesOf(modem, set, r);
    ASSERT_EQ(r.status, kOk) << Describe(r);
    ExpectHas(r.out, {"(was "});
    const std::string second = BytesOf(modem, set, r);
    ASSERT_EQ(r.status, kOk) << Describe(r);
    ExpectHas(r.out, {"(unchanged)", "nothing to change"});
    ExpectLacks(r.out, {"(was "});
    const std::string info = BytesOf(modem, {"--com", "1", "info"}, r);
    ASSERT_EQ(r.status, kOk) << Describe(r);
    EXPECT_EQ(second, info);
    EXPECT_GT(first.size(), second.size());
}

INSTANTIATE_TEST_SUITE_P(
    EveryFamily, Idempotent,
    ::testing::Values(
        IdempotentCase{"GT-45", {"channel=12", "power=5", "dest-id=abcde", "period=30m"}},
        IdempotentCase{"KD-35", {"channel=A", "power=1f", "data-bits=7", "parity=odd"}},
        IdempotentCase{"FL-20", {"channel=E", "power=f"}},
        IdempotentCase{"GT-25", {"dest-id=00001", "period=2h", "stop-bits=2"}}),
    [](const auto& info) {
        std::string name = info.param.model;
        name.erase(2, 1);
        return name;
    });

TEST(Check, ReportsWhatWouldChangeAndTypesNoSettingKey) {
    SimulatedModem modem("GT-45");
    ASSERT_TRUE(modem.Up());
    ChildProcess::Result r;
    const std::string check = BytesOf(
        modem, {"--com", "1", "set", "--check", "--json", "channel=12", "power=A", "mode=pc"}, r);
    ASSERT_EQ(r.status, kOk) << Describe(r);
    const Json port = Json::parse(r.out);
    EXPECT_EQ(port["check"], true);
    EXPECT_EQ(port["changed"], true);
    EXPECT_EQ(port["settings"]["channel"],
              Json({{"result", "changed"}, {"before", "07"}, {"requested", "12"}}));
    EXPECT_EQ(port["settings"]["power"]["result"], "unchanged");
    EXPECT_EQ(port["settings"]["mode"]["result"], "changed");
    EXPECT_TRUE(port["after"].is_null());
    const std::string info = BytesOf(modem, {"--com", "1", "info"}, r);
    EXPECT_EQ(check, info);
    ExpectHas(r.out, {"channel: 07", "mode: device"});  // nothing changed
}

TEST(SetJson, OnePortIsOneObjectSayingWhatChanged) {
    SimulatedModem modem("KD-35");
    ASSERT_TRUE(modem.Up());
    const ChildProcess::Result r =
        modem.RunCli({"--com", "1", "set", "--json", "power=A", "parity=odd"});
    ASSERT_EQ(r.status, kOk) << Describe(r);
    const Json port = Json::parse(r.out);
    EXPECT_EQ(port["com"], 1);
    EXPECT_EQ(port["exit_status"], 0);
    EXPECT_TRUE(port["error"].is_null());
    EXPECT_EQ(port["model"], "KD-35");
    EXPECT_EQ(port["changed"], true);
    EXPECT_EQ(port["settings"]["power"]["result"], "unchanged");
    EXPECT_EQ(
        port["settings"]["parity"],
        Json({{"result", "changed"}, {"before", "none"}, {"requested", "odd"}, {"after", "odd"}}));
    EXPECT_EQ(port["before"]["parity"], "none");
    EXPECT_EQ(port["after"]["parity"], "odd");
}

TEST(Noise, ASettingMissingFromTheScreenIsNotReportedAsRead) {
    // With this seed a stray byte lands inside the label of the channel line.
    SimulatedModem modem("GT-45", {"--noise", "0.03", "--seed", "3"});
    ASSERT_TRUE(modem.Up());
    const ChildProcess::Result r = modem.RunCli({"--com", "1", "info", "--json"});
    EXPECT_EQ(r.status, kNoSettings) << Describe(r);
    ExpectHas(r.err, {"channel was not found on the information screen of GT-45"});
    ExpectHas(r.out, {R"("settings": null)"});  // no profile that silently lacks the channel
}

TEST(Interrupted, SaysPerSettingWhatWasSentAndWhatWasNot) {
    SimulatedModem modem("GT-45");
    ASSERT_TRUE(modem.Up());
    const std::unique_ptr<ChildProcess> cli =
        modem.StartCli({"--com", "1", "set", "channel=12", "power=5", "dest-id=ABCDE"});
    // Ctrl-C once the channel's value has gone out.
    for (int i = 0; i < 300 && modem.ReceivedBytes().find("12\n") == std::string::npos; ++i) {
        std::this_thread::sleep_for(50ms);
    }
    cli->Signal(SIGINT);
    const ChildProcess::Result r = cli->Finish(30s);
    EXPECT_EQ(r.status, kInterrupted) << Describe(r);
    ExpectHas(r.err, {"interrupted"});
    // The channel went out whole (answered or not yet), the destination ID never did.
    const bool channelSent = r.out.find("channel: 12 (was 07)") != std::string::npos ||
                             r.out.find("channel: sent 12") != std::string::npos ||
                             r.out.find("channel: in flight") != std::string::npos;
    EXPECT_TRUE(channelSent) << r.out;
    ExpectHas(r.out, {"destination-id: not sent"});
    ExpectLacks(modem.ReceivedBytes(), {"ABCDE"});
}

}  // namespace
}  // namespace veltaro::cli::testing
