// Open against each family's modem: the model is detected from its console and becomes the
// caption, the model's keys go out with their pauses, and the answers fill the form and the
// log pane.
#include "e2e_fixture.h"
#include "screen_check.h"
#include "veltaro/console/control_ids.h"
#include "wire_steps.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

const std::string kEsc = "\x1b";

struct FormView {
    const char* channel;
    const char* power;
    const char* destinationId;
    const char* period;
    std::vector<int> checked;  // radio buttons that must be on
};

struct DetectionCase {
    const char* model;
    int com;  // 5 and above travel as \\.\COMn
    std::vector<std::string> simArgs;
    std::vector<WireStep> onDetect;  // what follows the ESC that Open writes
    const char* channelRange;
    const char* powerRange;
    int screens;  // finished screens the answers bring
    FormView form;
};

const DetectionCase kCases[] = {
    {"KD-35",
     3,
     {"--set", "interface=rs485", "--set", "data-bits=7", "--set", "stop-bits=2", "--set",
      "parity=even"},
     {{"B", 500}, {"A", 500}, {"3", 500}, {kEsc, 0}},
     "HEX(01~45)",
     "HEX(01~FF)",
     2,
     {"07 ",
      "0A ",
      "1A2B3",
      "30 ",
      {ctl::kModeDevice, ctl::kUnitSec, ctl::kRs485, ctl::kData7, ctl::kStop2, ctl::kParityEven}}},
    {"GT-25",
     5,
     {"--set", "channel=2C", "--set", "unit=min", "--set", "period=45"},
     {{"6", 0}},
     "HEX(01~45)",
     "HEX(01~FF)",
     1,
     {"2C ", "0A ", "1A2B3", "45 ", {ctl::kModeDevice, ctl::kUnitMin}}},
    // In PC mode the destination ID and the period are not read.
    {"FL-20",
     12,
     {"--set", "mode=pc", "--set", "power=0F"},
     {{"6", 0}},
     "HEX(01~14)",
     "HEX(01~0F)",
     1,
     {"07 ", "0F ", "", "", {ctl::kModePc, ctl::kUnitHour}}},
    {"GT-45",
     1,
     {"--set", "dest-id=F00D5", "--set", "unit=hor", "--set", "period=2"},
     {{"C", 0}},
     "HEX(01~45)",
     "HEX(01~FF)",
     1,
     {"07 ", "0A ", "F00D5", "2  ", {ctl::kModeDevice, ctl::kUnitHour}}},
    // An unlisted model is named, nothing is asked of it and nothing is read.
    {"ZX-77", 255, {}, {}, "HEX(01~14)", "HEX(01~0F)", 0, {"", "", "", "", {ctl::kModePc}}},
};

void PrintTo(const DetectionCase& c, std::ostream* out) {
    *out << c.model << " on COM" << c.com;
}

class DetectionTest : public EndToEndTest, public testing::WithParamInterface<DetectionCase> {};

TEST_P(DetectionTest, OpenDetectsTheModelAndReadsItsSettings) {
    const DetectionCase& c = GetParam();
    ModemSimProcess* sim = StartSim({c.model, c.com, c.simArgs});
    ASSERT_NE(sim, nullptr);
    ASSERT_TRUE(OpenAndDetect(c.com, QString::fromLatin1(c.model)));
    EXPECT_FALSE(Ui().IsEnabled(ctl::kOpen));
    EXPECT_TRUE(Ui().IsEnabled(ctl::kClose));

    const std::vector<WireBurst> bursts = SplitBursts(Received(*sim), kBurstGapMs);
    ASSERT_FALSE(bursts.empty());
    EXPECT_EQ(bursts.front().bytes, kEsc);
    EXPECT_EQ(CompareSteps({bursts.begin() + 1, bursts.end()}, c.onDetect), "");

    ASSERT_TRUE(WaitForLogLines(kOkLine, c.screens, 6000));
    Ui().Pump(c.screens == 0 ? 1500 : 0);  // whatever might still come, for the unlisted one
    EXPECT_EQ(Ui().CountLogLines(kOkLine), c.screens);
    EXPECT_EQ(Ui().EditText(ctl::kChannelEdit), c.form.channel);
    EXPECT_EQ(Ui().EditText(ctl::kPowerEdit), c.form.power);
    EXPECT_EQ(Ui().EditText(ctl::kDestIdEdit), c.form.destinationId);
    EXPECT_EQ(Ui().EditText(ctl::kPeriodEdit), c.form.period);
    for (int radio : c.form.checked) {
        EXPECT_TRUE(Ui().IsChecked(radio)) << radio;
    }
    EXPECT_EQ(Ui().LabelText(ctl::kChannelRange), c.channelRange);
    EXPECT_EQ(Ui().LabelText(ctl::kPowerRange), c.powerRange);

    // The detection consumed the first answer; every screen after it is in the log.
    std::vector<double> cuts;
    if (bursts.size() > 1) {
        cuts.push_back(bursts[1].firstMs);
    }
    const std::vector<std::string> screens = FinishedScreens(Sent(*sim), cuts);
    EXPECT_EQ(static_cast<int>(screens.size()), c.screens);
    for (const std::string& missing : MissingFromLog(screens, Ui().LogText())) {
        ADD_FAILURE() << "screen not in the log:\n" << missing << "\nlog:\n" << Ui().LogText();
    }
}

INSTANTIATE_TEST_SUITE_P(Families, DetectionTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<DetectionCase>& info) {
                             std::string name = info.param.model;
                             name.erase(name.find('-'), 1);
                             return name;
                         });

}  // namespace
}  // namespace veltaro::e2e
