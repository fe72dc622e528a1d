// veltaro-cli under hostile input, as scripts and terminals give it: values the modem cannot
// take, output that cannot be written, the signals of a dropped session, bytes that would
// steer the terminal, and the modem's own refusal.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli_expect.h"
#include "simulated_modem.h"

namespace veltaro::cli::testing {
namespace {

using namespace std::chrono_literals;
using Args = std::vector<std::string>;

TEST(Hostile, ValuesTheModemCannotTakeAsTextAreRefusedAndNothingIsSent) {
    SimulatedModem modem("KD-35");
    ASSERT_TRUE(modem.Up());
    const Args values{
        "dest-id=\x1b"
        "25\n",
        "channel=1\r",
        "power=\x7f",
        "period=3\x08m",
        "mode=pc\x03",
        "parity=odd\xc3\xa9",
        "\x1b[2J=5"};
    for (const std::string& value : values) {
        const ChildProcess::Result r = modem.RunCli({"--com", "1", "set", value});
        EXPECT_EQ(r.status, value.starts_with("\x1b") ? kUsage : kValueRefused) << Describe(r);
        // The message shows the bytes, it does not send them to the terminal.
        ExpectLacks(r.err, {"\x1b", "\r", "\x7f", "\x08", "\x03", "\xc3"});
    }
    EXPECT_EQ(modem.ReceivedBytes(), "");  // the port was not even opened
}

// Hostile lengths: whatever the message repeats of them is cut, before the port is opened
// and after (the field check's refusal).
TEST(Hostile, MessagesCutLongValuesAndKeys) {
    SimulatedModem modem("KD-35");
    ASSERT_TRUE(modem.Up());
    const std::string huge(100000, 'A');
    const struct {
        Args args;
        int status;
        std::string said;
    } cases[] = {
        {{"--com", "1", "set", "dest-id=" + huge},
         kValueRefused,
         "'" + huge.substr(0, 60) + "... (100000 bytes)' refused"},
        {{"--com", "1", "set", huge + "=1"},
         kUsage,
         "unknown setting '" + huge.substr(0, 60) + "... (100000 bytes)'"},
        {{"--com", "1", "set", "channel=\x01" + huge},
         kValueRefused,
         "channel value '\\x01" + huge.substr(0, 59) + "... (100001 bytes)'"},
        {{"--com", "1", "info", huge}, kUsage, "... (100000 bytes)"},
        {{"--com", huge, "info"}, kUsage, "... (100000 bytes)"},
    };
    for (const auto& c : cases) {
        const ChildProcess::Result r = modem.RunCli(c.args);
        EXPECT_EQ(r.status, c.status) << Describe(r);
        ExpectHas(r.err, {c.said});
        EXPECT_LT(r.err.size(), 400u) << r.err.substr(0, 400);
    }
}

// Two entries linked to one device: refused before anything is opened.
TEST(Hostile, OneDeviceTwiceInAComListIsRefusedBeforeOpening) {
    SimulatedModem modem("GT-45");
    ASSERT_TRUE(modem.Up());
    std::error_code ec;
    const std::string device =
        std::filesystem::read_symlink(modem.PortDir() + "/com1", ec).string();
    ASSERT_FALSE(ec);
    std::filesystem::create_symlink(device, modem.PortDir() + "/com2");
    std::filesystem::create_symlink(modem.PortDir() + "/com1", modem.PortDir() + "/com9");
    for (const Args& args :
         {Args{"--com", "1,2", "info"}, Args{"--com", "9,1", "set", "power=5"}}) {
        const ChildProcess::Result r = modem.RunCli(args);
        EXPECT_EQ(r.status, kUsage) << Describe(r);
        ExpectHas(r.err, {"which lead to one device, " + device});
    }
    ExpectHas(modem.RunCli({"--com", "1,2", "info"}).err, {"COM1 and COM2"});
    EXPECT_EQ(modem.ReceivedBytes(), "");
}

struct OutputCase {
    const char* name;
    Args args;
    ChildProcess::Stdout stdoutTo;
    int closeAfter;  // bytes read before the pipe is closed; -1: kept open
    const char* reason;
};

void PrintTo(const OutputCase& c, std::ostream* os) {
    *os << c.name;
}

class OutputLost : public ::testing::TestWithParam<OutputCase> {};

// A closed pipe, a full disk or a closed standard output end the run with its own status
// and a message, and leave the port free for the next run.
TEST_P(OutputLost, EndsCleanlyWithItsOwnStatus) {
    const OutputCase& c = GetParam();
    SimulatedModem modem("GT-45");
    ASSERT_TRUE(modem.Up());
    const std::unique_ptr<ChildProcess> cli = modem.StartCli(c.args, c.stdoutTo);
    if (c.closeAfter >= 0) {
        cli->CloseStdoutAfter(static_cast<std::size_t>(c.closeAfter));
    }
    const ChildProcess::Result r = cli->Finish(60s);
    EXPECT_EQ(r.status, kOutputFailed) << Describe(r);
    ExpectHas(r.err, {c.reason});
    if (c.args.size() > 2 && c.args[2] == "set") {
        // The setting was made and read back although nobody could see it.
        const ChildProcess::Result info = modem.RunCli({"--com", "1", "info"});
        EXPECT_EQ(info.status, kOk) << Describe(info);
        ExpectHas(info.out, {"channel: 12"});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, OutputLost,
    ::testing::Values(OutputCase{"InfoIntoAClosedPipe",
                                 {"--com", "1", "info"},
                                 ChildProcess::Stdout::kPipe,
                                 0,
                                 "cannot write to standard output: Broken pipe"},
                      OutputCase{"SetIntoAClosedPipe",
                                 {"--com", "1", "set", "channel=12"},
                                 ChildProcess::Stdout::kPipe,
                                 0,
                                 "Broken pipe"},
                      OutputCase{"LogIntoAPipeClosedAfterOneByte",
                                 {"--com", "1", "log"},
                                 ChildProcess::Stdout::kPipe,
                                 1,
                                 "Broken pipe"},
                      OutputCase{"InfoIntoAFullDisk",
                                 {"--com", "1", "info", "--json"},
                                 ChildProcess::Stdout::kDevFull,
                                 -1,
                                 "No space left on device"},
                      OutputCase{"InfoWithStdoutClosed",
                                 {"--com", "1", "info"},
                                 ChildProcess::Stdout::kClosed,
                                 -1,
                                 "standard output is closed"},
                      OutputCase{"HelpIntoAFullDisk",
                                 {"--help"},
                                 ChildProcess::Stdout::kDevFull,
                                 -1,
                                 "No space left on device"},
                      OutputCase{"VersionIntoAFullDisk",
                                 {"--version"},
                                 ChildProcess::Stdout::kDevFull,
                                 -1,
                                 "No space left on device"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SignalCase {
    const char* name;
    int signal;
    const char* command;
    int status;
};

void PrintTo(const SignalCase& c, std::ostream* os) {
    *os << c.name;
}

class Signals : public ::testing::TestWithParam<SignalCase> {};

// A dropped SSH session (SIGHUP) ends a run as Ctrl-C does: the port closed and free.
TEST_P(Signals, EndTheRunAndFreeThePort) {
    const SignalCase& c = GetParam();
    SimulatedModem modem("GT-45", {"--mute"});
    ASSERT_TRUE(modem.Up());
    const std::unique_ptr<ChildProcess> cli =
        modem.StartCli({"--com", "1", "--timeout", "30", c.command});
    std::this_thread::sleep_for(1s);  // the port is open and the wait runs
    cli->Signal(c.signal);
    const ChildProcess::Result r = cli->Finish(10s);
    EXPECT_EQ(r.status, c.status) << Describe(r);
    const ChildProcess::Result next = modem.RunCli({"--com", "1", "--timeout", "0.5", "info"});
    EXPECT_EQ(next.status, kNoModel) << Describe(next);
}

INSTANTIATE_TEST_SUITE_P(Endings, Signals,
                         ::testing::Values(SignalCase{"InfoSigint", SIGINT, "info", kInterrupted},
                                           SignalCase{"InfoSigterm", SIGTERM, "info", kInterrupted},
                                           SignalCase{"InfoSighup", SIGHUP, "info", kInterrupted},
                                           SignalCase{"LogSighup", SIGHUP, "log", kOk}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Hostile, LogShowsTheModemsControlAndHighBytesEscaped) {
    SimulatedModem modem("GT-45", {"--noise", "0.05", "--seed", "7"});
    ASSERT_TRUE(modem.Up());
    const std::unique_ptr<ChildProcess> log = modem.StartCli({"--com", "1", "log"});
    ASSERT_TRUE(log->WaitForOutput("\\x", 20s));
    log->Signal(SIGINT);
    const ChildProcess::Result r = log->Finish(10s);
    EXPECT_EQ(r.status, kOk) << Describe(r);
    for (const char c : r.out) {
        const auto byte = static_cast<unsigned char>(c);
        ASSERT_TRUE(c == '\n' || (byte >= 0x20 && byte < 0x7f)) << "raw byte " << int{byte};
    }
}

TEST(Hostile, TheModemsRefusalIsReportedWithItsOwnLine) {
    SimulatedModem modem("GT-45");  // the program takes any 5 characters, the modem hex only
    ASSERT_TRUE(modem.Up());
    const ChildProcess::Result r = modem.RunCli({"--com", "1", "set", "dest-id=ZZZZZ"});
    EXPECT_EQ(r.status, kModemRefused) << Describe(r);
    ExpectHas(r.err, {"the modem refused destination-id: \"Invalid destination ID, 5 HEX digits "
                      "expected\""});
}

}  // namespace
}  // namespace veltaro::cli::testing
