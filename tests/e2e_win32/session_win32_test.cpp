// A session with the Win32 dialog under Wine: the COM number that Open used stays, and a
// modem that goes away is told once.
#include "box_watcher.h"
#include "e2e_session.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

TEST_F(Win32EndToEndTest, OpenKeepsItsComNumberAndAPulledModemIsToldOnce) {
    ASSERT_TRUE(StartSim("GT-45", 42, "--hangup-after 4000"));
    ui::test::BoxWatcher lost(L"Veltaro");
    ASSERT_TRUE(OpenAndDetect(42, "GT-45"));
    wchar_t com[8] = {};
    GetDlgItemTextW(hwnd, ctl::kComNumber, com, 8);
    EXPECT_STREQ(com, L"42");

    Pump(7000);  // the modem hangs up; the box shows and the watcher answers it
    EXPECT_TRUE(lost.Seen());
    EXPECT_NE(lost.BoxText().find(L"COM42"), std::wstring::npos)
        << std::string(lost.BoxText().begin(), lost.BoxText().end());

    ui::test::BoxWatcher again(L"Veltaro");
    Pump(3000);
    EXPECT_FALSE(again.Seen()) << "told twice";
}

}  // namespace
}  // namespace veltaro::e2e
