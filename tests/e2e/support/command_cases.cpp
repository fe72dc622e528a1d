#include "command_cases.h"

#include <string>

#include "veltaro/console/control_ids.h"
#include "wire_trace.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

const std::string kEsc = "\x1b";

// The simulators start with channel 07, power 0A, Device mode, destination 1A2B3, period 30
// SEC, RS232 8-1-None; the form shows what the information screens print ("07 ").
const std::vector<CommandCase> kCases = {
    {"ChannelSetting", 21, "GT-45", {}, ctl::kChannelSetting, {{"2", 500}, {"07 \n", 0}}, 0, 1},
    {"TxPowerLevelSetting",
     22,
     "GT-45",
     {{ctl::kPowerEdit, "1F"}},
     ctl::kPowerSetting,
     {{"4", 500}, {"1F\n", 0}},
     0,
     1},
    {"Information", 23, "GT-45", {}, ctl::kInformation, {{"C", 0}}, 0, 1},
    {"InformationKD", 24, "KD-35", {}, ctl::kInformation, {{"B", 0}}, 0, 1},
    {"PcDeviceModeSetting",
     25,
     "GT-45",
     {{ctl::kModePc}},
     ctl::kModeSetting,
     {{"6", 500}, {"1\n", 0}},
     0,
     1},
    {"DestinationIdSetting",
     26,
     "GT-45",
     {{ctl::kDestIdEdit, "beef1"}},
     ctl::kDestIdSetting,
     {{"8", 500}, {"BEEF1\n", 0}},
     0,
     1},
    {"PeriodSetting",
     27,
     "GT-45",
     {{ctl::kUnitMin}, {ctl::kPeriodEdit, "15"}},
     ctl::kPeriodSetting,
     {{"A", 500}, {"M", 500}, {"15\n", 0}},
     0,
     1},
    {"UartModeSetting",
     28,
     "KD-35",
     {{ctl::kRs485}},
     ctl::kUartModeSetting,
     {{"A", 1000}, {"1", 500}, {"2\n", 500}, {kEsc, 0}},
     0,
     1},
    {"BitSetting",
     29,
     "KD-35",
     {{ctl::kData7}, {ctl::kStop2}, {ctl::kParityMark}},
     ctl::kBitSetting,
     {{"A", 500}, {"2", 500}, {"7", 500}, {"3", 500}, {"4", 500}, {kEsc, 0}},
     0,
     1},
    {"UartInformation",
     30,
     "KD-35",
     {},
     ctl::kUartInformation,
     {{"A", 500}, {"3", 500}, {kEsc, 0}},
     0,
     1},
    {"AllSettingWithPeriod",
     31,
     "GT-45",
     {},
     ctl::kAllSetting,
     {{"2", 500},
      {"07 \n", 500},
      {"4", 500},
      {"0A \n", 500},
      {"8", 500},
      {"1A2B3\n", 500},
      {"A", 500},
      {"S", 500},
      {"30 \n", 0}},
     0,
     4},
    {"AllSettingWithoutPeriod",
     32,
     "KD-35",
     {},
     ctl::kAllSetting,
     {{"2", 500}, {"07 \n", 500}, {"4", 500}, {"0A \n", 500}, {"8", 500}, {"1A2B3\n", 0}},
     500,
     3},
    {"AllSettingModeChange",
     33,
     "GT-45",
     {{ctl::kModePc}},
     ctl::kAllSetting,
     {{"2", 500}, {"07 \n", 500}, {"4", 500}, {"0A \n", 500}, {"6", 500}, {"1\n", 0}},
     400,
     3},
    {"UartAllSetting",
     34,
     "KD-35",
     {},
     ctl::kUartAllSetting,
     {{"A", 1000},
      {"1", 500},
      {"1\n", 500},
      {"2", 500},
      {"8", 500},
      {"1", 500},
      {"5", 500},
      {kEsc, 0}},
     0,
     2},
};

}  // namespace

void PrintTo(const CommandCase& c, std::ostream* out) {
    *out << c.name << " on " << c.model;
}

std::span<const CommandCase> CommandCases() {
    return kCases;
}

int TotalPauseMs(const CommandCase& c) {
    int total = c.trailingPauseMs;
    for (const WireStep& step : c.steps) {
        total += step.pauseAfterMs;
    }
    return total;
}

std::string CheckCommandOnWire(const CommandCase& c, std::span<const WireByte> received,
                               std::size_t before, long long tookMs) {
    if (received.size() < before) {
        return "the trace lost bytes: " + std::to_string(received.size()) + " < " +
               std::to_string(before);
    }
    const std::string steps =
        CompareSteps(SplitBursts(received.subspan(before), kBurstGapMs), c.steps);
    if (!steps.empty()) {
        return steps;
    }
    // The handler returns after its last pause; a little over it is the click's own cost.
    const int total = TotalPauseMs(c);
    if (tookMs < total - kPauseEarlyMs || tookMs > total + 250) {
        return "the handler took " + std::to_string(tookMs) + " ms for " + std::to_string(total) +
               " ms of pauses";
    }
    return "";
}

int ScreensAfterDetection(const std::string& model) {
    return model == "KD-35" ? 2 : 1;  // the KD family also asks for its UART screen
}

}  // namespace veltaro::e2e
