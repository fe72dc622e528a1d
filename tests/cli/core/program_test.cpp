// The program on a platform that the test plays: what it asks of the system, and in which
// order, for the commands that need no modem.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "program.h"

namespace veltaro::cli {
namespace {

class FakeTerminal final : public ProgressTerminal {
  public:
    bool TakesProgress() const override { return false; }
    TerminalSize Size() const override { return {}; }
};

class FakePlatform final : public Platform, public PortSource {
  public:
    bool PrepareStandardStreams() override {
        calls += "streams ";
        return outputOpen;
    }
    PortSource& Ports() override { return *this; }
    std::vector<PortListing> FindPorts() override {
        calls += "ports ";
        return ports;
    }
    const ProgressTerminal& ErrorTerminal() override { return m_terminal; }
    std::unique_ptr<StopSignal> MakeStopSignal(std::string& reason) override {
        calls += "stop ";
        reason = "no signals here";
        return nullptr;
    }

    bool outputOpen = true;
    std::vector<PortListing> ports;
    std::string calls;

  private:
    FakeTerminal m_terminal;
};

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the program with std::cout and std::cerr captured.
Outcome RunCaptured(FakePlatform& platform, const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    std::streambuf* const oldOut = std::cout.rdbuf(out.rdbuf());
    std::streambuf* const oldErr = std::cerr.rdbuf(err.rdbuf());
    Outcome outcome;
    outcome.status = RunProgram(platform, args);
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

TEST(Program, AsksTheSystemOnlyForWhatTheCommandNeeds) {
    const struct {
        std::vector<std::string> args;
        bool outputOpen;
        std::string calls;  // in order
        int status;
        std::string err;  // a part of standard error; empty: nothing there
    } cases[] = {
        {{"ports"}, true, "streams ports ", 0, ""},
        {{"--help"}, true, "streams ", 0, ""},
        {{"--version"}, true, "streams ", 0, ""},
        // A refused command line is reported even when output is closed, and opens nothing.
        {{"--com", "3"}, false, "streams ", 2, "no command"},
        {{"ports"}, false, "streams ", 14, "standard output is closed"},
        {{"--com", "3", "info"}, false, "streams ", 14, "standard output is closed"},
        // No port is opened when the termination requests cannot be caught.
        {{"--com", "3", "info"},
         true,
         "streams stop ",
         1,
         "cannot set up the signal handling (no signals here)"},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        platform.outputOpen = c.outputOpen;
        const Outcome outcome = RunCaptured(platform, c.args);
        const std::string name = c.args.front() + (c.outputOpen ? "" : " (closed output)");
        EXPECT_EQ(platform.calls, c.calls) << name;
        EXPECT_EQ(outcome.status, c.status) << name;
        if (c.err.empty()) {
            EXPECT_EQ(outcome.err, "") << name;
        } else {
            EXPECT_NE(outcome.err.find(c.err), std::string::npos) << name << ": " << outcome.err;
        }
    }
}

}  // namespace
}  // namespace veltaro::cli
