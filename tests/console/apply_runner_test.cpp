#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console_rig.h"
#include "fake_step_timer.h"
#include "veltaro/console/apply_runner.h"

namespace veltaro::console::testing {
namespace {

using ::testing::ElementsAre;
using Wire = std::vector<std::string>;
using Handler = void (ModemConsole::*)();

class RecordingProgress : public ApplyProgress {
  public:
    void OnCommandStarted(std::size_t index, std::size_t count) override {
        started.push_back(std::to_string(index) + "/" + std::to_string(count));
    }
    void OnReadingBack() override { readingBack = true; }
    void OnApplyFinished(const ApplyOutcome& result) override {
        finished = true;
        outcome = result;
    }
    std::vector<std::string> started;
    bool readingBack = false;
    bool finished = false;
    ApplyOutcome outcome;
};

const std::string kOkScreen = "-----\r\n  Saved\r\nOK\r\nSelect> ";
const std::string kInfoScreen =
    "Information  ---------\r\nChannel Number: 12 \r\n         Power: 0A \r\n"
    "Operating Mode: PC Mode\r\n----------\r\nOK\r\n";

struct ApplyRig : ConsoleRig {
    FakeTimer timer{log};
    RecordingProgress progress;
    ApplyRunner runner{console, timer, progress};

    // Fires the timer until the runner waits for something other than time (an answer
    // whose timeout is armed, or the end).
    void RunKeys() {
        while (timer.armed && timer.armedMs != ApplyRunner::kAnswerTimeoutMs) {
            timer.armed = false;
            runner.OnTimer();
        }
    }
    // The modem's answer to the command in flight, and what the runner does next.
    void Answer(const std::string& screen) {
        Receive(screen);
        RunKeys();
    }
};

SettingsForm Values() {
    SettingsForm form;
    form.channel = "12";
    form.power = "A";
    form.destinationId = "1A2B3";
    form.period = "30";
    form.periodUnit = 1;
    form.mode = 1;
    form.interface = 1;
    form.dataBits = 2;
    form.stopBits = 2;
    form.parity = 1;
    return form;
}

struct WalkCase {
    SettingCommand command;
    Handler button;
    const char* model;
};

// Each command walked by timers puts on the wire exactly what its button sends with sleeps,
// and then waits for the answer.
TEST(ApplyRunner, WalksTheButtonsStepsWithTheirPauses) {
    const WalkCase cases[] = {
        {SettingCommand::kChannel, &ModemConsole::OnChannelSetting, "GT-45"},
        {SettingCommand::kPower, &ModemConsole::OnPowerSetting, "GT-45"},
        {SettingCommand::kMode, &ModemConsole::OnModeSetting, "KD-35"},
        {SettingCommand::kDestinationId, &ModemConsole::OnDestinationIdSetting, "GT-45"},
        {SettingCommand::kPeriod, &ModemConsole::OnPeriodSetting, "GT-45"},
        {SettingCommand::kPeriod, &ModemConsole::OnPeriodSetting, "GT-20"},
        {SettingCommand::kUartMode, &ModemConsole::OnUartModeSetting, "KD-35"},
        {SettingCommand::kBit, &ModemConsole::OnBitSetting, "KD-35"},
        {SettingCommand::kUartAll, &ModemConsole::OnUartAllSetting, "KD-30"},
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.model + std::string(" command ") +
                     std::to_string(static_cast<int>(c.command)));
        ConsoleRig button;
        button.Detect(c.model);
        button.host.WriteForm(Values());
        (button.console.*c.button)();
        Wire expected = button.log.Wire();
        expected.push_back(calls::Pause(ApplyRunner::kAnswerTimeoutMs));

        ApplyRig rig;
        rig.Detect(c.model);
        ASSERT_TRUE(rig.runner.Start({{c.command, "x", Values()}}));
        rig.RunKeys();
        EXPECT_EQ(rig.log.Wire(), expected);
    }
}

TEST(ApplyRunner, WaitsForEveryAnswerThenReadsBack) {
    ApplyRig rig;
    rig.Detect("KD-35");
    ASSERT_TRUE(rig.runner.Start({{SettingCommand::kChannel, "channel", Values()},
                                  {SettingCommand::kUartAll, "interface", Values()}}));
    rig.RunKeys();
    rig.Answer(kOkScreen);  // channel
    rig.log.Clear();
    rig.Answer(kOkScreen);  // the interface's screen: the frame's is still to come
    rig.Answer(kOkScreen);  // the frame
    EXPECT_EQ(rig.progress.started, (std::vector<std::string>{"0/2", "1/2"}));
    EXPECT_TRUE(rig.progress.readingBack);
    // Information, then UART_Information with its own pauses, each answered in turn.
    rig.Answer(kInfoScreen);
    rig.Answer(kOkScreen);
    ASSERT_TRUE(rig.progress.finished);
    EXPECT_TRUE(rig.progress.outcome.readBack);
    EXPECT_FALSE(rig.progress.outcome.cancelled);
    EXPECT_EQ(rig.progress.outcome.after.channel, "12 ");
    EXPECT_FALSE(rig.runner.Running());
    const Wire sends = rig.log.Described({EventKind::kSend, EventKind::kWriteByte});
    EXPECT_THAT(sends, ElementsAre(calls::Send("B"), calls::Send("A"), calls::Send("3"),
                                   calls::Byte(0x1B)));
}

TEST(ApplyRunner, ReportsTheModemsRefusalWithItsLineAndGoesOn) {
    ApplyRig rig;
    rig.Detect("GT-45");
    ASSERT_TRUE(rig.runner.Start({{SettingCommand::kDestinationId, "destination_id", Values()},
                                  {SettingCommand::kPower, "power", Values()}}));
    rig.RunKeys();
    rig.Answer("-----\r\n  Invalid destination ID, 5 HEX digits expected\r\n!!\r\nSelect> ");
    rig.Answer(kOkScreen);
    rig.Answer(kInfoScreen);
    ASSERT_TRUE(rig.progress.finished);
    const auto& results = rig.progress.outcome.commands;
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].outcome, CommandOutcome::kRefused);
    EXPECT_EQ(results[0].modemLine, "Invalid destination ID, 5 HEX digits expected");
    EXPECT_EQ(results[1].outcome, CommandOutcome::kAccepted);
}

// Cancel during a pause: the command in flight still sends every key, the next is never
// sent, and the settings are read back.
TEST(ApplyRunner, CancelFinishesTheKeysInFlightAndSendsNothingMore) {
    ApplyRig rig;
    rig.Detect("GT-45");
    ASSERT_TRUE(rig.runner.Start({{SettingCommand::kPeriod, "period", Values()},
                                  {SettingCommand::kChannel, "channel", Values()}}));
    rig.runner.Cancel();  // after the first step, in its pause
    rig.RunKeys();
    rig.Answer(kOkScreen);
    rig.Answer(kInfoScreen);
    ASSERT_TRUE(rig.progress.finished);
    EXPECT_TRUE(rig.progress.outcome.cancelled);
    EXPECT_EQ(rig.progress.outcome.commands[0].outcome, CommandOutcome::kAccepted);
    EXPECT_EQ(rig.progress.outcome.commands[1].outcome, CommandOutcome::kNotSent);
    EXPECT_THAT(rig.log.Described({EventKind::kSend}),
                ElementsAre(calls::Send("A"), calls::Send("M"), calls::Send("30"),
                            calls::Send("\n"), calls::Send("C")));
}

// A modem that stops answering gets no more keys, not even the read-back's.
TEST(ApplyRunner, StopsWhenAnAnswerDoesNotCome) {
    ApplyRig rig;
    rig.Detect("GT-45");
    ASSERT_TRUE(rig.runner.Start({{SettingCommand::kChannel, "channel", Values()},
                                  {SettingCommand::kPower, "power", Values()}}));
    rig.RunKeys();
    rig.log.Clear();
    rig.runner.OnTimer();  // the answer's time is up
    ASSERT_TRUE(rig.progress.finished);
    EXPECT_EQ(rig.progress.outcome.commands[0].outcome, CommandOutcome::kNoAnswer);
    EXPECT_EQ(rig.progress.outcome.commands[1].outcome, CommandOutcome::kNotSent);
    EXPECT_FALSE(rig.progress.outcome.readBack);
    EXPECT_TRUE(rig.log.Described({EventKind::kSend}).empty());
    EXPECT_FALSE(rig.timer.armed);
}

TEST(ApplyRunner, RefusesASecondRunWhileOneIsRunning) {
    ApplyRig rig;
    rig.Detect("GT-45");
    ASSERT_TRUE(rig.runner.Start({{SettingCommand::kChannel, "channel", Values()}}));
    EXPECT_FALSE(rig.runner.Start({{SettingCommand::kPower, "power", Values()}}));
    EXPECT_EQ(rig.log.Described({EventKind::kSend}), Wire{calls::Send("2")});
}

TEST(ApplyRunner, RefusalLineIsTheModemsLastWordsBeforeTheMarker) {
    const struct {
        const char* screen;
        const char* line;
    } cases[] = {
        {"----\r\n  Value out of range \r\n!!\r\n", "Value out of range"},
        {"Channel> 99\r\n\r\n----------\r\n!!", "Channel> 99"},
        {"----------\r\n!!", ""},
        {"no marker at all", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RefusalLineOf(c.screen), c.line) << c.screen;
    }
}

}  // namespace
}  // namespace veltaro::console::testing
