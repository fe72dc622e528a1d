// Whole sessions: Close and a new Open detect the model again, a modem that hangs up
// mid-session neither hangs nor crashes the program, and no screen is lost on its way to
// the log pane while commands block the user-interface thread.
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QMessageBox>

#include "e2e_fixture.h"
#include "modal_watcher.h"
#include "screen_check.h"
#include "veltaro/console/control_ids.h"
#include "wire_steps.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

const QString kTitle = QStringLiteral("Ostrane - Veltaro");

using SessionTest = EndToEndTest;

TEST_F(SessionTest, CloseAndOpenAgainDetectTheModelAgain) {
    ModemSimProcess* first = StartSim({"GT-45", 42, {}});
    ASSERT_NE(first, nullptr);
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(OpenAndDetect(42, QStringLiteral("GT-45")));
        ASSERT_TRUE(WaitForLogLines(kOkLine, 1, 6000));
        Ui().Click(ctl::kClose);
        EXPECT_EQ(Ui().Caption(), kTitle);
        EXPECT_EQ(Ui().LogText(), "");
        EXPECT_TRUE(Ui().IsEnabled(ctl::kOpen));
        EXPECT_FALSE(Ui().IsEnabled(ctl::kClose));
    }
    std::vector<WireBurst> bursts = SplitBursts(Received(*first), kBurstGapMs);
    std::vector<std::string> keys;
    for (const WireBurst& burst : bursts) {
        keys.push_back(burst.bytes);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"\x1b", "C", "\x1b", "C"}));

    // Another model behind the same COM number.
    EXPECT_EQ(first->Stop(), 0);
    ASSERT_NE(StartSim({"FL-25", 42, {}}), nullptr);
    ASSERT_TRUE(OpenAndDetect(42, QStringLiteral("FL-25")));
    ASSERT_TRUE(WaitForLogLines(kOkLine, 1, 6000));
    EXPECT_FALSE(Ui().IsEnabled(ctl::kUartAllSetting));
    EXPECT_EQ(Ui().LabelText(ctl::kChannelRange), QStringLiteral("HEX(01~45)"));
}

TEST_F(SessionTest, AModemThatHangsUpMidCommandLeavesTheProgramUsable) {
    // Open, detection and the information screen take about 2.5 s; the hang-up falls into
    // the 4-second All Setting that follows.
    ModemSimProcess* sim = StartSim({"GT-45", 43, {"--hangup-after", "4000"}});
    ASSERT_NE(sim, nullptr);
    ASSERT_TRUE(OpenAndDetect(43, QStringLiteral("GT-45")));
    ASSERT_TRUE(WaitForLogLines(kOkLine, 1, 6000));
    const std::size_t before = Received(*sim).size();
    // The user is told once that the port was lost; the dialog stays connected.
    QString lostText;
    int lostBoxes = 0;
    ui::test::ModalWatcher lostBox(
        [&](QWidget& modal) {
            if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
                lostText = box->text();
                ++lostBoxes;
                box->accept();
            } else {
                modal.close();
            }
        },
        nullptr, 15000);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(ClickCommand(ctl::kAllSetting));
    EXPECT_LT(clock.elapsed(), 4000 + 1000);
    EXPECT_EQ(sim->WaitExit(Millis(3000)), 0) << "the modem did not hang up";
    const std::vector<WireByte> received = Received(*sim);
    const std::size_t reached =
        SplitBursts({received.begin() + static_cast<long>(before), received.end()}, kBurstGapMs)
            .size();
    EXPECT_LT(reached, 9u) << "the line was still up when the command ended";
    RecordProperty("bursts_before_hangup", static_cast<int>(reached));

    // Commands against the dead line end normally.
    clock.restart();
    ASSERT_TRUE(ClickCommand(ctl::kChannelSetting));
    EXPECT_LT(clock.elapsed(), 500 + 1000);
    Ui().Pump(1500);  // the watcher's last cycle, if it had one
    EXPECT_TRUE(Ui().WaitUntil([&] { return lostBox.Seen(); }, 3000));
    EXPECT_EQ(lostBoxes, 1);
    EXPECT_TRUE(lostText.startsWith(u"Lost the port "_qs)) << lostText.toStdString();
    EXPECT_TRUE(lostText.contains(u"COM43"_qs)) << lostText.toStdString();
    EXPECT_FALSE(Ui().IsEnabled(ctl::kOpen)) << "the dialog should still look connected";

    clock.restart();
    Ui().Click(ctl::kClose);
    EXPECT_LT(clock.elapsed(), 500 + 1500);
    EXPECT_EQ(Ui().Caption(), kTitle);
    EXPECT_TRUE(Ui().IsEnabled(ctl::kOpen));

    // The modem is gone with its port entry: Open tells so and changes nothing.
    QString boxText;
    ui::test::ModalWatcher watcher([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            boxText = box->text();
            box->accept();
        } else {
            modal.close();
        }
    });
    Ui().Open(43);
    EXPECT_TRUE(Ui().WaitUntil([&] { return watcher.Seen(); }, 3000));
    EXPECT_EQ(boxText, QStringLiteral("Cannot Open port"));
    EXPECT_TRUE(Ui().IsEnabled(ctl::kOpen));
    EXPECT_EQ(Ui().LogText(), "");

    // A modem on the line again is detected as ever.
    ASSERT_NE(StartSim({"KD-35", 43, {}}), nullptr);
    ASSERT_TRUE(OpenAndDetect(43, QStringLiteral("KD-35")));
    EXPECT_TRUE(WaitForLogLines(kOkLine, 2, 6000));
}

// The answers to two 4-second commands arrive at 9600 baud while the user-interface thread
// sleeps through the commands' pauses; every screen the modem finished must reach the log.
TEST_F(SessionTest, NoScreenIsLostWhileCommandsBlockTheUserInterface) {
    ModemSimProcess* sim = StartSim({"KD-35", 44, {}});
    ASSERT_NE(sim, nullptr);
    ASSERT_TRUE(OpenAndDetect(44, QStringLiteral("KD-35")));
    ASSERT_TRUE(WaitForLogLines(kOkLine, 2, 6000));
    Ui().Pump(500);

    const std::vector<WireBurst> opening = SplitBursts(Received(*sim), kBurstGapMs);
    ASSERT_GE(opening.size(), 2u);
    std::vector<double> cuts{opening[1].firstMs};  // the detection empties the buffer
    Ui().Click(ctl::kRs485);
    cuts.push_back(SteadyMs());
    ASSERT_TRUE(ClickCommand(ctl::kUartAllSetting));
    cuts.push_back(SteadyMs());
    ASSERT_TRUE(ClickCommand(ctl::kAllSetting));
    ASSERT_TRUE(WaitForLogLines(kOkLine, 2 + 2 + 3, 8000));
    Ui().Pump(1500);  // anything the modem still says

    const std::vector<std::string> screens = FinishedScreens(Sent(*sim), cuts);
    EXPECT_EQ(screens.size(), 2u + 2u + 3u);
    const std::string log = Ui().LogText();
    for (const std::string& missing : MissingFromLog(screens, log)) {
        ADD_FAILURE() << "screen not in the log:\n" << missing << "\nlog:\n" << log;
    }
    EXPECT_EQ(Ui().CountLogLines(kRefusedLine), 0) << log;
}

}  // namespace
}  // namespace veltaro::e2e
