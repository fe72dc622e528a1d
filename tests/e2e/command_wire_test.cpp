// Every setting command, clicked in the real dialog, puts exactly its keys and values on
// the wire with its pauses, and the simulated modem accepts what it is sent.
#include <QElapsedTimer>

#include "command_cases.h"
#include "e2e_fixture.h"
#include "veltaro/console/control_ids.h"
#include "wire_steps.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

class CommandWireTest : public EndToEndTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(CommandWireTest, SendsExactlyItsSequenceWithItsPauses) {
    const CommandCase& c = GetParam();
    ModemSimProcess* sim = StartSim({c.model, c.com, {}});
    ASSERT_NE(sim, nullptr);
    ASSERT_TRUE(OpenAndDetect(c.com, QString::fromLatin1(c.model)));
    const int screensBefore = ScreensAfterDetection(c.model);
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

    EXPECT_EQ(CheckCommandOnWire(c, Received(*sim), before, tookMs), "");

    EXPECT_TRUE(WaitForLogLines(kOkLine, screensBefore + c.answers, 6000));
    EXPECT_EQ(Ui().CountLogLines(kRefusedLine), 0) << Ui().LogText();
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandWireTest,
                         testing::ValuesIn(CommandCases().begin(), CommandCases().end()),
                         [](const testing::TestParamInfo<CommandCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace veltaro::e2e
