// set --from against the table of broken profiles that every front end refuses: status 2 (10
// for a value the modem cannot take as text), the file named, and not one byte sent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "broken_profiles.h"
#include "cli_expect.h"
#include "simulated_modem.h"

namespace veltaro::cli::testing {
namespace {

namespace fs = std::filesystem;
using console::ProfileFault;

TEST(BrokenProfiles, AreRefusedBeforeAnyByteIsSent) {
    SimulatedModem modem("GT-45");
    ASSERT_TRUE(modem.Up());
    const fs::path dir = fs::path(modem.PortDir()) / "profiles";
    fs::create_directories(dir);
    for (const console::testing::BrokenProfile& broken : console::testing::BrokenProfiles()) {
        const fs::path path = console::testing::MakeBrokenProfile(broken, dir);
        ASSERT_FALSE(path.empty()) << broken.name;
        const ChildProcess::Result r =
            modem.RunCli({"--com", "1", "set", "--from", path.string(), "channel=5"});
        EXPECT_EQ(r.status, broken.fault == ProfileFault::kUnsendable ? kValueRefused : kUsage)
            << broken.name << ": " << Describe(r);
        ExpectHas(r.err, {path.string() + broken.message, "; nothing is sent"});
    }
    EXPECT_EQ(modem.ReceivedBytes(), "");  // the port was not even opened
}

TEST(Profiles, WhatInfoWritesAppliesToAnotherModem) {
    SimulatedModem source("KD-35", {"--set", "channel=23", "--set", "parity=odd"});
    SimulatedModem target("KD-35");
    ASSERT_TRUE(source.Up() && target.Up());
    const ChildProcess::Result saved = source.RunCli({"--com", "1", "info", "--json"});
    ASSERT_EQ(saved.status, kOk) << Describe(saved);
    const fs::path file = fs::path(target.PortDir()) / "radio.json";
    std::ofstream(file) << saved.out;
    const ChildProcess::Result set = target.RunCli({"--com", "1", "set", "--from", file.string()});
    ASSERT_EQ(set.status, kOk) << Describe(set);
    ExpectHas(set.out, {"channel: 23 (was 07)", "parity: odd (was none)", "power: 0A (unchanged)"});
}

}  // namespace
}  // namespace veltaro::cli::testing
