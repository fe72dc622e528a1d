// The simulator as a process: command line, port entry, signals, trace, pacing and the
// fault flags.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "sim_process.h"

namespace sim_test {
namespace {

namespace fs = std::filesystem;
constexpr std::string_view kEsc = "\x1b";

double steady_ms() {
    using Ms = std::chrono::duration<double, std::milli>;
    return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

TEST(SimCommandLine, HelpVersionAndBadOptions) {
    Finished help = run_to_end({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* key : {"--model", "--com", "--set", "dest-id", "stop-bits", "--trace",
                            "--trace-out", "--hangup-after", "--noise", "--mute", "--fast"}) {
        EXPECT_NE(help.out.find(key), std::string::npos) << key;
    }
    Finished version = run_to_end({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("veltaro-modem-sim ", 0), 0u);

    const std::vector<std::vector<std::string>> bad = {
        {"--model", "GT-4"},
        {"--model", "GT-455"},
        {"--model", "OK-45"},
        {"--com", "0"},
        {"--com", "256"},
        {"--com", "7x"},
        {"--com"},
        {"--set", "channel"},
        {"--set", "colour=red"},
        {"--model", "GT-40", "--set", "channel=15"},
        {"--set", "power=100"},
        {"--set", "dest-id=12345X"},
        {"--set", "unit=day"},
        {"--set", "period=30", "--set", "unit=hor"},
        {"--set", "stop-bits=3"},
        {"--noise", "1.5"},
        {"--noise", "lots"},
        {"--hangup-after", "-5"},
        {"--seed", "x"},
        {"--fast=yes"},
        {"--frobnicate"},
        {"stray"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args.back());
        Finished run = run_to_end(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("veltaro-modem-sim: "), std::string::npos);
    }
}

class SimProcessTest : public ::testing::Test {
  protected:
    std::string entry(int n) const { return dir_.path() + "/com" + std::to_string(n); }
    TempDir dir_;
};

TEST_F(SimProcessTest, ComEntryPointsAtTheSlaveAndEveryEndingSignalRemovesIt) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        SimProcess sim({"--fast", "--com", "7"}, dir_.path());
        ASSERT_FALSE(sim.slave_path().empty());
        EXPECT_EQ(fs::read_symlink(entry(7)).string(), sim.slave_path());
        ASSERT_TRUE(sim.open_port());
        EXPECT_NE(sim.ask(kEsc).find("GT-45 CONFIGURATION"), std::string::npos);
        EXPECT_EQ(sim.stop(signal), 0);
        EXPECT_FALSE(fs::exists(fs::symlink_status(entry(7))));
    }
}

TEST_F(SimProcessTest, ADanglingEntryIsReplacedAndALiveOneIsLeftAlone) {
    fs::create_symlink("/nonexistent/pts/99", entry(3));
    {
        SimProcess sim({"--fast", "--com", "3"}, dir_.path());
        EXPECT_EQ(fs::read_symlink(entry(3)).string(), sim.slave_path());
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(entry(3))));

    std::ofstream(entry(4)) << "user's own mapping";
    SimProcess refused({"--fast", "--com", "4"}, dir_.path());
    EXPECT_TRUE(refused.slave_path().empty());
    EXPECT_EQ(refused.wait_exit(5s), 1);
    EXPECT_TRUE(fs::is_regular_file(entry(4)));
}

// A link that leads somewhere real (here /dev/null, as a killed run's link leads to the very
// terminal the next run is given) is replaced only when its owner is known to be gone: a
// lock file beside it that nobody holds.
struct EarlierEntry {
    const char* name;
    bool lockFile;
    bool lockHeld;
    bool replaced;
};

class StaleEntry : public SimProcessTest, public ::testing::WithParamInterface<EarlierEntry> {};

TEST_P(StaleEntry, ReplacedOnlyWhenItsOwnerIsGone) {
    const EarlierEntry& c = GetParam();
    fs::create_symlink("/dev/null", entry(5));
    const std::string lock_path = entry(5) + ".lock";
    int held = -1;
    if (c.lockFile) {
        held = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(held, 0);
        ASSERT_EQ(::flock(held, (c.lockHeld ? LOCK_EX : LOCK_UN) | LOCK_NB), 0);
    }
    {
        SimProcess sim({"--fast", "--com", "5"}, dir_.path());
        if (c.replaced) {
            ASSERT_FALSE(sim.slave_path().empty());
            EXPECT_EQ(fs::read_symlink(entry(5)).string(), sim.slave_path());
        } else {
            EXPECT_TRUE(sim.slave_path().empty());
            EXPECT_EQ(sim.wait_exit(5s), 1);
            EXPECT_EQ(fs::read_symlink(entry(5)).string(), "/dev/null");
        }
    }
    // A run that made the entry takes it and its lock away when it ends.
    EXPECT_EQ(fs::exists(fs::symlink_status(entry(5))), !c.replaced);
    EXPECT_EQ(fs::exists(lock_path), c.lockFile && !c.replaced);
    if (held >= 0) {
        ::close(held);
    }
}

INSTANTIATE_TEST_SUITE_P(Owners, StaleEntry,
                         ::testing::Values(EarlierEntry{"OwnerGone", true, false, true},
                                           EarlierEntry{"OwnerAlive", true, true, false},
                                           EarlierEntry{"MadeByHand", false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimProcessTest, ASecondSimulatorOnTheSameNumberIsRefused) {
    SimProcess first({"--fast", "--com", "6"}, dir_.path());
    ASSERT_FALSE(first.slave_path().empty());
    SimProcess second({"--fast", "--com", "6"}, dir_.path());
    EXPECT_TRUE(second.slave_path().empty());
    EXPECT_EQ(second.wait_exit(5s), 1);
    EXPECT_EQ(fs::read_symlink(entry(6)).string(), first.slave_path());
}

TEST_F(SimProcessTest, MissingPortDirectoryIsCreated) {
    const std::string nested = dir_.path() + "/a/b/ports";
    SimProcess sim({"--fast", "--com", "12"}, nested);
    ASSERT_FALSE(sim.slave_path().empty());
    EXPECT_EQ(fs::read_symlink(nested + "/com12").string(), sim.slave_path());
}

TEST_F(SimProcessTest, KeepsServingWhenThePortIsClosedAndReopened) {
    SimProcess sim({"--fast", "--model", "FL-20"}, dir_.path());
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(sim.open_port());
        EXPECT_NE(sim.ask(kEsc).find("FL-20 CONFIGURATION"), std::string::npos);
        sim.close_port();
    }
}

struct TraceLine {
    double ms;
    unsigned byte;
};

std::vector<TraceLine> read_trace(const std::string& path) {
    std::vector<TraceLine> lines;
    std::ifstream file(path);
    std::string text;
    while (std::getline(file, text)) {
        TraceLine line{};
        char extra = 0;
        EXPECT_EQ(std::sscanf(text.c_str(), "%lf %2x%c", &line.ms, &line.byte, &extra), 2)
            << "bad trace line: " << text;
        EXPECT_EQ(text.size() - text.find(' '), 3u) << text;
        lines.push_back(line);
    }
    return lines;
}

TEST_F(SimProcessTest, TraceRecordsEveryReceivedByteWithItsSteadyClockTime) {
    const std::string trace = dir_.path() + "/trace.txt";
    for (bool mute : {false, true}) {
        SCOPED_TRACE(mute);
        std::vector<std::string> args{"--fast", "--trace", trace};
        if (mute) {
            args.push_back("--mute");
        }
        SimProcess sim(args, dir_.path());
        ASSERT_TRUE(sim.open_port());
        const std::string sent = std::string(kEsc) + "2\x00\xff\n";
        const double before = steady_ms();
        sim.send(sent.substr(0, 1));
        if (mute) {
            EXPECT_EQ(sim.read_quiet(300ms), "");  // reads, never answers
        } else {
            sim.read_prompts();
        }
        sim.send(sent.substr(1));
        sim.read_quiet(100ms);
        const double after = steady_ms();
        EXPECT_EQ(sim.stop(SIGTERM), 0);
        std::vector<TraceLine> lines = read_trace(trace);
        ASSERT_EQ(lines.size(), sent.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].byte, static_cast<unsigned char>(sent[i]));
            EXPECT_GE(lines[i].ms, before);
            EXPECT_LE(lines[i].ms, after);
            if (i > 0) {
                EXPECT_GE(lines[i].ms, lines[i - 1].ms);
            }
        }
    }
}

// Paced, so that the times show the line's pace as well as the bytes' order.
TEST_F(SimProcessTest, TraceOutRecordsEveryByteSentAsItLeaves) {
    const std::string trace = dir_.path() + "/sent.txt";
    SimProcess sim({"--model", "KD-35", "--trace-out", trace}, dir_.path());
    ASSERT_TRUE(sim.open_port());
    const double before = steady_ms();
    const std::string menu = sim.ask(kEsc);
    const double after = steady_ms();
    EXPECT_EQ(sim.stop(SIGTERM), 0);
    std::vector<TraceLine> lines = read_trace(trace);
    ASSERT_EQ(lines.size(), menu.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].byte, static_cast<unsigned char>(menu[i])) << i;
        EXPECT_GE(lines[i].ms, before);
        // The simulator stamps a byte once its write has returned, which may be just after
        // the test has read it; the trace also rounds to a microsecond.
        EXPECT_LE(lines[i].ms, after + 5.0);
    }
    const double spread = lines.back().ms - lines.front().ms;
    EXPECT_GE(spread, 1.0416 * static_cast<double>(menu.size() - 1) * 0.9);
}

bool hung_up(int fd, Millis within) {
    pollfd waiting{fd, POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::poll(&waiting, 1, 50) > 0 && (waiting.revents & (POLLHUP | POLLERR)) != 0) {
            return true;
        }
        char drain[256];
        if ((waiting.revents & POLLIN) != 0 && ::read(fd, drain, sizeof drain) <= 0) {
            return true;
        }
    }
    return false;
}

TEST_F(SimProcessTest, HangupAfterClosesTheLineThenExitsCleanly) {
    SimProcess sim({"--fast", "--com", "9", "--hangup-after", "300"}, dir_.path());
    ASSERT_TRUE(sim.open_port());
    EXPECT_NE(sim.ask(kEsc).find("CONFIGURATION"), std::string::npos);
    EXPECT_TRUE(hung_up(sim.port_fd(), 3s));
    EXPECT_EQ(sim.wait_exit(3s), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(entry(9))));
}

bool is_subsequence(const std::string& part, const std::string& whole) {
    std::size_t at = 0;
    for (char c : whole) {
        if (at < part.size() && part[at] == c) {
            ++at;
        }
    }
    return at == part.size();
}

TEST_F(SimProcessTest, NoiseMixesSeededRandomBytesIntoTheOutput) {
    auto menu_with = [this](std::vector<std::string> extra) {
        std::vector<std::string> args{"--fast", "--model", "GT-25"};
        args.insert(args.end(), extra.begin(), extra.end());
        SimProcess sim(args, dir_.path());
        EXPECT_TRUE(sim.open_port());
        sim.send(kEsc);
        return sim.read_quiet(200ms);
    };
    const std::string clean = menu_with({});
    const std::string noisy = menu_with({"--noise", "0.2", "--seed", "42"});
    ASSERT_FALSE(clean.empty());
    EXPECT_GT(noisy.size(), clean.size() + clean.size() / 10);
    EXPECT_LT(noisy.size(), clean.size() + clean.size() / 3);
    EXPECT_TRUE(is_subsequence(clean, noisy));
    EXPECT_EQ(menu_with({"--noise", "0.2", "--seed", "42"}), noisy);
    EXPECT_NE(menu_with({"--noise", "0.2", "--seed", "43"}), noisy);
    EXPECT_EQ(menu_with({"--noise", "1"}).size(), 2 * clean.size());
}

// Real clock: the menu cannot arrive faster than a 9600-baud line carries it.
TEST_F(SimProcessTest, OutputIsPacedLikeA9600BaudLine) {
    SimProcess sim({"--model", "GT-45"}, dir_.path());
    ASSERT_TRUE(sim.open_port());
    const auto start = std::chrono::steady_clock::now();
    const std::string menu = sim.ask(kEsc);
    const auto took = std::chrono::steady_clock::now() - start;
    const auto line_time = std::chrono::microseconds(1042) * menu.size();
    EXPECT_GE(took, line_time * 9 / 10);
}

}  // namespace
}  // namespace sim_test
