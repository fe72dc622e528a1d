// The checks the end-to-end tests rest on: if these passed wrong sequences or lost screens,
// every test above them would pass for nothing.
#include <gtest/gtest.h>

#include <fstream>

#include "screen_check.h"
#include "temp_dir.h"
#include "wire_steps.h"
#include "wire_trace.h"

namespace veltaro::e2e {
namespace {

std::vector<WireByte> Wire(std::initializer_list<std::pair<double, std::string_view>> parts) {
    std::vector<WireByte> bytes;
    for (const auto& [ms, text] : parts) {
        for (char c : text) {
            bytes.push_back({ms, static_cast<unsigned char>(c)});
        }
    }
    return bytes;
}

TEST(WireTraceTest, ReadsLinesAndStopsAtTheFirstBadOne) {
    TempDir dir;
    const std::string path = dir.File("trace");
    std::ofstream(path) << "10.500 1b\n10.500 32\n1510.125 0a\n12 zz\n13.000 41\n";
    std::string error;
    const std::vector<WireByte> bytes = ReadWireTrace(path, &error);
    ASSERT_EQ(bytes.size(), 3u);
    EXPECT_EQ(BytesOf(bytes),
              "\x1b"
              "2\n");
    EXPECT_DOUBLE_EQ(bytes[2].ms, 1510.125);
    EXPECT_NE(error.find("line 4"), std::string::npos) << error;
    EXPECT_TRUE(ReadWireTrace(dir.File("none"), &error).empty());
}

TEST(WireStepsTest, ComparesBytesAndPausesWithinTheirBounds) {
    const std::vector<WireStep> steps{{"2", 500}, {"07 \n", 0}};
    struct Case {
        std::vector<WireByte> wire;
        bool matches;
    };
    const Case cases[] = {
        {Wire({{0, "2"}, {500, "07 "}, {501, "\n"}}), true},
        {Wire({{0, "2"}, {480, "07 \n"}}), true},                  // 20 ms early at most
        {Wire({{0, "2"}, {600, "07 \n"}}), true},                  // 100 ms late at most
        {Wire({{0, "2"}, {479, "07 \n"}}), false},                 // too early
        {Wire({{0, "2"}, {601, "07 \n"}}), false},                 // too late
        {Wire({{0, "2"}, {500, "07\n"}}), false},                  // the blank is part of the value
        {Wire({{0, "2"}, {500, "07 "}, {800, "\n"}}), false},      // a pause that should not be
        {Wire({{0, "2"}, {500, "07 \n"}, {900, "\x1b"}}), false},  // one burst too many
        {Wire({{0, "2"}}), false},
    };
    for (const Case& c : cases) {
        const std::string result = CompareSteps(SplitBursts(c.wire, kBurstGapMs), steps);
        EXPECT_EQ(result.empty(), c.matches) << Visible(BytesOf(c.wire)) << ": " << result;
    }
}

TEST(WireStepsTest, AGapAfterALateBurstIsNotEarly) {
    const std::vector<WireStep> steps{{"2", 500}, {"4", 500}, {"8", 0}};
    struct Case {
        std::vector<WireByte> wire;
        bool matches;
    };
    const Case cases[] = {
        {Wire({{0, "2"}, {540, "4"}, {1005, "8"}}), true},  // "4" arrived 40 ms late
        {Wire({{0, "2"}, {540, "4"}, {975, "8"}}), false},  // the second pause was cut short
        {Wire({{0, "2"}, {500, "4"}, {970, "8"}}), false},  // no lateness to carry
    };
    for (const Case& c : cases) {
        const std::string result = CompareSteps(SplitBursts(c.wire, kBurstGapMs), steps);
        EXPECT_EQ(result.empty(), c.matches) << Visible(BytesOf(c.wire)) << ": " << result;
    }
}

TEST(ScreenCheckTest, FinishedScreensAreCutAtTheirEndsAndAtTheCuts) {
    const std::vector<WireByte> sent = Wire({{0, "menu CONFIGURATION\r\nSelect> "},
                                             {1000, "\r\n--\r\n value\r\nOK\r\nSelect> "},
                                             {2000, "\r\n-- prompt> "},
                                             {3000, "\r\n-- done\r\n!!"}});
    EXPECT_EQ(FinishedScreens(sent, {}),
              (std::vector<std::string>{"--\n value\nOK", "-- prompt> \n-- done\n!!"}));
    EXPECT_EQ(FinishedScreens(sent, {1000, 3000}),
              (std::vector<std::string>{"--\n value\nOK", "-- done\n!!"}));
    EXPECT_EQ(FinishedScreens(sent, {2500}).back(), "-- done\n!!");  // the prompt was pending
}

TEST(ScreenCheckTest, MissingFromLogSearchesInOrder) {
    const std::vector<std::string> screens{"A\nOK", "B\nOK", "A\nOK"};
    EXPECT_TRUE(MissingFromLog(screens, "banner\n\nA\nOK\n\nB\nOK\nA\nOK").empty());
    EXPECT_EQ(MissingFromLog(screens, "A\nOK B\nOK"), (std::vector<std::string>{"A\nOK"}));
    EXPECT_EQ(MissingFromLog({"A\nOK", "B\nOK"}, "B\nOK A\nOK"),
              (std::vector<std::string>{"B\nOK"}));  // out of order
    // A break the program put in front of an excerpt, inside the screen's first rule.
    EXPECT_TRUE(MissingFromLog({"----\n B\nOK"}, "A\nOK\n-\n---\n B\nOK").empty());
    EXPECT_EQ(MissingFromLog({"----\n B\nOK"}, "A\nOK\n-\n--\n B\nOK").size(), 1u);
}

}  // namespace
}  // namespace veltaro::e2e
