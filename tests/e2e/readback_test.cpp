// Settings written through the dialog reach the modem: they read back through its
// information screens into the form.
#include "e2e_fixture.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

using ReadbackTest = EndToEndTest;

TEST_F(ReadbackTest, AllSettingReadsBackThroughInformation) {
    ASSERT_NE(StartSim({"GT-45", 40, {}}), nullptr);
    ASSERT_TRUE(OpenAndDetect(40, QStringLiteral("GT-45")));
    ASSERT_TRUE(WaitForLogLines(kOkLine, 1, 6000));

    Ui().Type(ctl::kChannelEdit, QStringLiteral("12"));
    Ui().Type(ctl::kPowerEdit, QStringLiteral("1f"));
    Ui().Type(ctl::kDestIdEdit, QStringLiteral("c0ffe"));
    Ui().Click(ctl::kUnitMin);
    Ui().Type(ctl::kPeriodEdit, QStringLiteral("15"));
    ASSERT_EQ(Ui().EditText(ctl::kDestIdEdit), QStringLiteral("C0FFE"));
    ASSERT_TRUE(ClickCommand(ctl::kAllSetting));
    ASSERT_TRUE(WaitForLogLines(kOkLine, 1 + 4, 6000));

    // What the form shows from here on can only come from the modem.
    for (int edit : {ctl::kChannelEdit, ctl::kPowerEdit, ctl::kDestIdEdit, ctl::kPeriodEdit}) {
        Ui().Type(edit, QString());
    }
    Ui().Click(ctl::kUnitSec);
    ASSERT_TRUE(ClickCommand(ctl::kInformation));
    ASSERT_TRUE(WaitForLogLines(kOkLine, 1 + 4 + 1, 6000));

    EXPECT_EQ(Ui().EditText(ctl::kChannelEdit), QStringLiteral("12 "));
    EXPECT_EQ(Ui().EditText(ctl::kPowerEdit), QStringLiteral("1F "));
    EXPECT_EQ(Ui().EditText(ctl::kDestIdEdit), QStringLiteral("C0FFE"));
    EXPECT_EQ(Ui().EditText(ctl::kPeriodEdit), QStringLiteral("15 "));
    EXPECT_TRUE(Ui().IsChecked(ctl::kUnitMin));
    EXPECT_TRUE(Ui().IsChecked(ctl::kModeDevice));
    EXPECT_EQ(Ui().CountLogLines(kRefusedLine), 0) << Ui().LogText();
}

TEST_F(ReadbackTest, UartAllSettingReadsBackThroughUartInformation) {
    ASSERT_NE(StartSim({"KD-35", 41, {}}), nullptr);
    ASSERT_TRUE(OpenAndDetect(41, QStringLiteral("KD-35")));
    ASSERT_TRUE(WaitForLogLines(kOkLine, 2, 6000));

    for (int radio : {ctl::kRs485, ctl::kData6, ctl::kStop1_5, ctl::kParitySpace}) {
        Ui().Click(radio);
    }
    ASSERT_TRUE(ClickCommand(ctl::kUartAllSetting));
    ASSERT_TRUE(WaitForLogLines(kOkLine, 2 + 2, 6000));

    for (int radio : {ctl::kRs232, ctl::kData8, ctl::kStop1, ctl::kParityNone}) {
        Ui().Click(radio);
    }
    ASSERT_TRUE(ClickCommand(ctl::kUartInformation));
    ASSERT_TRUE(WaitForLogLines(kOkLine, 2 + 2 + 1, 6000));

    for (int radio : {ctl::kRs485, ctl::kData6, ctl::kStop1_5, ctl::kParitySpace}) {
        EXPECT_TRUE(Ui().IsChecked(radio)) << radio;
    }
    EXPECT_EQ(Ui().CountLogLines(kRefusedLine), 0) << Ui().LogText();
}

}  // namespace
}  // namespace veltaro::e2e
