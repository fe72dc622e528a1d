// Every setting command, clicked in the real dialog, puts exactly its keys and values on
// the wire with its pauses, and the simulated modem accepts what it is sent.
#include <QElapsedTimer>

#include "e2e_fixture.h"
#include "veltaro/console/control_ids.h"
#include "wire_steps.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

const std::string kEsc = "\x1b";

// A user's action before the click: typing into an edit, or (typed == nullptr) a click.
struct UserAction {
    int id;
    const char* typed = nullptr;
};

struct CommandCase {
    const char* name;
    int com;
    const char* model;  // GT-45 keeps the UART controls off, KD-35 keeps Period Setting off
    std::vector<UserAction> before;
    int button;
    std::vector<WireStep> steps;
    int trailingPauseMs;  // a pause after the last send, seen only in the handler's time
    int answers;          // screens the modem ends with "OK"
};

// The simulators start with channel 07, power 0A, Device mode, destination 1A2B3, period 30
// SEC, RS232 8-1-None; the form shows what the information screens print ("07 ").
const CommandCase kCases[] = {
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

int TotalPauseMs(const CommandCase& c) {
    int total = c.trailingPauseMs;
    for (const WireStep& step : c.steps) {
        total += step.pauseAfterMs;
    }
    return total;
}

void PrintTo(const CommandCase& c, std::ostream* out) {
    *out << c.name << " on " << c.model;
}

class CommandWireTest : public EndToEndTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(CommandWireTest, SendsExactlyItsSequenceWithItsPauses) {
    const CommandCase& c = GetParam();
    ModemSimProcess* sim = StartSim({c.model, c.com, {}});
    ASSERT_NE(sim, nullptr);
    ASSERT_TRUE(OpenAndDetect(c.com, QString::fromLatin1(c.model)));
    const int screensBefore = std::string(c.model) == "KD-35" ? 2 : 1;
    ASSERT_TRUE(WaitForLogLines(kOkLine, screensBefore, 6000));
    Ui().Pump(300);  // the KD console's main menu after its information screens

    for (const UserAction& action : c.before) {
        if (action.typed != nullptr) {
            Ui().Type(action.id, QString::fromLatin1(action.typed));
        } else {
            Ui().Click(action.id);
        }
    }
    const std::size_t before = Received(*sim).size();
    QElapsedTimer handler;
    handler.start();
    ASSERT_TRUE(ClickCommand(c.button));
    const qint64 tookMs = handler.elapsed();

    const std::vector<WireByte> received = Received(*sim);
    ASSERT_GE(received.size(), before);
    const std::span<const WireByte> command(received.begin() + static_cast<long>(before),
                                            received.end());
    EXPECT_EQ(CompareSteps(SplitBursts(command, kBurstGapMs), c.steps), "");
    const int total = TotalPauseMs(c);
    EXPECT_GE(tookMs, total - kPauseEarlyMs);
    EXPECT_LE(tookMs, total + 250);

    EXPECT_TRUE(WaitForLogLines(kOkLine, screensBefore + c.answers, 6000));
    EXPECT_EQ(Ui().CountLogLines(kRefusedLine), 0) << Ui().LogText();
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandWireTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<CommandCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace veltaro::e2e
