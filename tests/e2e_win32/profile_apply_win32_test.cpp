// Save and Apply of the Win32 dialog under Wine, through its system-menu items, against the
// native simulator: the same modems, profile and wire as the Qt dialog's tests.
#include <filesystem>
#include <fstream>

#include "apply_cases.h"
#include "box_watcher.h"
#include "broken_profiles.h"
#include "e2e_session.h"
#include "screen_shot.h"
#include "veltaro/console/control_ids.h"
#include "wire_trace.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;
using ui::ProfileCommands;

class AnsweringFileDialogs : public ui::ProfileFileDialogs {
  public:
    std::wstring AskSavePath(HWND, const std::wstring& folder, const std::wstring& name) override {
        suggestedName = name;
        saveFolder = folder;
        return savePath;
    }
    std::wstring AskOpenPath(HWND, const std::wstring& folder) override {
        openFolder = folder;
        return openPath;
    }
    std::wstring savePath, openPath, suggestedName, saveFolder, openFolder;
};

class ProfileApplyWin32Test : public Win32EndToEndTest {
  protected:
    void SetUp() override {
        Win32EndToEndTest::SetUp();
        dialog->Profiles().SetFileDialogs(&files);
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = std::filesystem::path(temp) /
                 ("veltaro-profiles-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        Win32EndToEndTest::TearDown();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    bool ItemEnabled(UINT command) {
        const UINT state = GetMenuState(GetSystemMenu(hwnd, FALSE), command, MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && (state & MF_GRAYED) == 0;
    }
    // The system-menu item as the menu sends it; returns when its handler has.
    void Choose(UINT command) { SendMessageW(hwnd, WM_SYSCOMMAND, command, 0); }
    bool WaitWhileRunning(int timeoutMs) {
        for (int waited = 0; waited < timeoutMs && dialog->Profiles().Running(); waited += 20) {
            Pump(20);
        }
        return !dialog->Profiles().Running();
    }
    std::string Path(const char* name) { return (folder / name).string(); }

    AnsweringFileDialogs files;
    std::filesystem::path folder;
};

TEST_F(ProfileApplyWin32Test, AppliedFileReadsBackEqualAndSavesTheSame) {
    ASSERT_TRUE(StartSim("KD-35", 57, SimOptions(TargetModem())));
    EXPECT_FALSE(ItemEnabled(ProfileCommands::kSaveCommand));
    EXPECT_FALSE(ItemEnabled(ProfileCommands::kApplyCommand));
    ASSERT_TRUE(OpenAndDetect(57, "KD-35"));
    ASSERT_TRUE(WaitForLogLines(L"OK", 2, 6000));
    EXPECT_TRUE(ItemEnabled(ProfileCommands::kSaveCommand));
    EXPECT_TRUE(ItemEnabled(ProfileCommands::kApplyCommand));

    std::ofstream(Path("source.json"), std::ios::binary) << SourceProfileText();
    files.openPath = (folder / "source.json").wstring();
    ui::test::BoxWatcher confirm(L"Apply settings from file", [this](HWND box) {
        SaveScreenShot(box, hwnd, L"apply_confirmation_win32.bmp");
    });
    Choose(ProfileCommands::kApplyCommand);
    ASSERT_TRUE(confirm.Seen());
    EXPECT_NE(confirm.BoxText().find(L"channel: 05 \u2192 23"), std::wstring::npos);
    ui::test::BoxWatcher summary(L"Settings applied", [this](HWND box) {
        SaveScreenShot(box, hwnd, L"apply_summary_win32.bmp");
    });
    for (bool shot = false; !shot && dialog->Profiles().Running(); Pump(20)) {
        wchar_t text[256] = {};
        GetDlgItemTextW(dialog->Profiles().ProgressWindow(), ui::ApplyProgressWnd::kTextId, text,
                        256);
        if (std::wstring(text).find(L"(3 of") != std::wstring::npos) {
            Pump(300);
            SaveScreenShot(dialog->Profiles().ProgressWindow(), hwnd, L"apply_progress_win32.bmp");
            shot = true;
        }
    }
    ASSERT_TRUE(WaitWhileRunning(60000));
    ASSERT_TRUE(summary.Seen());
    EXPECT_EQ(summary.BoxText().find(L"Refused"), std::wstring::npos);
    EXPECT_EQ(summary.BoxText().find(L"Different"), std::wstring::npos);
    EXPECT_NE(summary.BoxText().find(L"Changed:"), std::wstring::npos);

    files.savePath = (folder / "target.json").wstring();
    Choose(ProfileCommands::kSaveCommand);
    EXPECT_EQ(files.suggestedName, L"KD-35_0BEEF.json");
    EXPECT_EQ(files.saveFolder, folder.wstring());  // the folder Apply used
    // The KD model also reports a period it has no control for; the file sets none.
    EXPECT_EQ(ProfileSettings(Path("target.json"), Path("source.json")),
              ProfileSettings(Path("source.json")));
}

TEST_F(ProfileApplyWin32Test, CancelLetsTheCommandInFlightFinish) {
    ASSERT_TRUE(StartSim("KD-35", 58, SimOptions(TargetModem())));
    ASSERT_TRUE(OpenAndDetect(58, "KD-35"));
    ASSERT_TRUE(WaitForLogLines(L"OK", 2, 6000));
    const std::size_t before = Received().size();
    std::ofstream(Path("source.json"), std::ios::binary) << SourceProfileText();
    files.openPath = (folder / "source.json").wstring();
    ui::test::BoxWatcher confirm(L"Apply settings from file");
    Choose(ProfileCommands::kApplyCommand);
    ASSERT_TRUE(confirm.Seen());
    // Cancel while the second command (the power) waits in its pause.
    bool cancelled = false;
    for (int waited = 0; waited < 10000 && !cancelled; waited += 10) {
        HWND progress = dialog->Profiles().ProgressWindow();
        wchar_t text[256] = {};
        GetDlgItemTextW(progress, ui::ApplyProgressWnd::kTextId, text, 256);
        if (std::wstring(text).find(L"(2 of") != std::wstring::npos) {
            SendMessageW(progress, WM_CLOSE, 0, 0);  // the close box: the same as Cancel
            cancelled = true;
        }
        Pump(10);
    }
    ASSERT_TRUE(cancelled);
    ui::test::BoxWatcher summary(L"Settings applied");
    ASSERT_TRUE(WaitWhileRunning(30000));
    ASSERT_TRUE(summary.Seen());
    const std::wstring& told = summary.BoxText();
    EXPECT_NE(told.find(L"Cancelled"), std::wstring::npos) << std::string(told.begin(), told.end());
    const std::vector<WireByte> received = Received();
    ASSERT_GE(received.size(), before);
    EXPECT_EQ(Visible(BytesOf(std::span(received).subspan(before))), Visible(kCancelledApplyWire));
}

// Every file of the shared broken-profile table that Windows can make is refused with its
// reason in a box; not a byte goes to the modem.
TEST_F(ProfileApplyWin32Test, RefusedFilesSendNothing) {
    ASSERT_TRUE(StartSim("KD-35", 59, SimOptions(TargetModem())));
    ASSERT_TRUE(OpenAndDetect(59, "KD-35"));
    ASSERT_TRUE(WaitForLogLines(L"OK", 2, 6000));
    const std::size_t before = Received().size();
    int refused = 0;
    for (const console::testing::BrokenProfile& broken : console::testing::BrokenProfiles()) {
        SCOPED_TRACE(broken.name);
        const std::filesystem::path path = MakeBrokenProfile(broken, folder);
        if (path.empty()) {
            continue;  // a FIFO or a device: POSIX only
        }
        files.openPath = path.wstring();
        ui::test::BoxWatcher box(L"Apply settings from file");
        Choose(ProfileCommands::kApplyCommand);
        ASSERT_TRUE(box.Seen());
        const std::string text(box.BoxText().begin(), box.BoxText().end());
        EXPECT_NE(text.find(broken.message), std::string::npos) << text;
        EXPECT_FALSE(dialog->Profiles().Running());
        ++refused;
    }
    EXPECT_GT(refused, 5);
    EXPECT_EQ(Received().size(), before);
}

}  // namespace
}  // namespace veltaro::e2e
