// veltaro-cli ended by the signals of a dropped session or of the system: the run stops and
// the port is closed and free. (Ctrl-C on Windows: e2e/e2e_bench_test.cpp, e2e_test.cpp.)
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <string>
#include <thread>

#include "cli_expect.h"
#include "simulated_modem.h"

namespace veltaro::cli::testing {
namespace {

using namespace std::chrono_literals;

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

}  // namespace
}  // namespace veltaro::cli::testing
