// Every setting command, clicked in the Win32 dialog under Wine, puts exactly the keys,
// values and pauses of the shared table (command_cases.h) on the wire of a COM port.
#include "command_cases.h"
#include "e2e_session.h"
#include "wire_steps.h"

namespace veltaro::e2e {
namespace {

class Win32CommandWireTest : public Win32EndToEndTest,
                             public testing::WithParamInterface<CommandCase> {};

TEST_P(Win32CommandWireTest, SendsExactlyItsSequenceWithItsPauses) {
    const CommandCase& c = GetParam();
    ASSERT_TRUE(StartSim(c.model, c.com));
    ASSERT_TRUE(OpenAndDetect(c.com, c.model));
    const int screensBefore = ScreensAfterDetection(c.model);
    ASSERT_TRUE(WaitForLogLines(L"OK", screensBefore, 6000));
    Pump(300);  // the KD console's main menu after its information screens

    for (const UserAction& action : c.before) {
        if (action.typed != nullptr) {
            Type(action.id, action.typed);
        } else {
            Click(action.id);
        }
    }
    const std::size_t before = Received().size();
    const ULONGLONG start = GetTickCount64();
    SendMessageW(GetDlgItem(hwnd, c.button), BM_CLICK, 0, 0);  // returns with the handler
    const auto tookMs = static_cast<long long>(GetTickCount64() - start);

    EXPECT_EQ(CheckCommandOnWire(c, Received(), before, tookMs), "");

    EXPECT_TRUE(WaitForLogLines(L"OK", screensBefore + c.answers, 6000));
    EXPECT_EQ(CountLogLines(L"!!"), 0);
}

INSTANTIATE_TEST_SUITE_P(Commands, Win32CommandWireTest,
                         testing::ValuesIn(CommandCases().begin(), CommandCases().end()),
                         [](const testing::TestParamInfo<CommandCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace veltaro::e2e
