// The main dialog as Wine lays out template 102: positions, start state, system menu.
#include <string>

#include "box_watcher.h"
#include "dialog_fixture.h"
#include "dialog_template.h"
#include "hangul_font.h"
#include "resource_ids.h"
#include "veltaro/console/control_ids.h"
#include "wide_text.h"

namespace veltaro::ui {
namespace {

namespace ctl = console::ctl;
using test::Win32DialogTest;

TEST_F(Win32DialogTest, EveryControlStandsWhereItsTemplateRectangleMaps) {
    int index = 0;
    HWND child = GetWindow(hwnd, GW_CHILD);
    for (const ControlRow& row : MainDialogTemplate().controls) {
        ++index;
        ASSERT_NE(child, nullptr) << "row " << index;
        EXPECT_EQ(GetDlgCtrlID(child) & 0xFFFF, row.id & 0xFFFF) << "row " << index;
        // The platform converts position and size each on its own.
        RECT mapped{row.x, row.y, row.w, row.h};
        ASSERT_TRUE(MapDialogRect(hwnd, &mapped));
        const RECT expected{mapped.left, mapped.top, mapped.left + mapped.right,
                            mapped.top + mapped.bottom};
        const RECT actual = RectInDialog(child);
        // Also the controls that size themselves (the logo picture to its bitmap, Wine's
        // up-down control to a fixed width): the dialog gives them their rectangles back.
        EXPECT_EQ(actual.left, expected.left) << "row " << index;
        EXPECT_EQ(actual.top, expected.top) << "row " << index;
        EXPECT_EQ(actual.right, expected.right) << "row " << index;
        EXPECT_EQ(actual.bottom, expected.bottom) << "row " << index;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than template rows";

    // The window is as large as the template, unless the screen is smaller (the test
    // screen is 1024 x 768, too small for the dialog at 150 % and 200 %).
    RECT client{};
    GetClientRect(hwnd, &client);
    RECT size{0, 0, MainDialogTemplate().w, MainDialogTemplate().h};
    MapDialogRect(hwnd, &size);
    RECT window{};
    GetWindowRect(hwnd, &window);
    const int frameX = window.right - window.left - client.right;
    const int frameY = window.bottom - window.top - client.bottom;
    if (size.right + frameX <= GetSystemMetrics(SM_CXMAXTRACK)) {
        EXPECT_EQ(client.right, size.right);
    }
    if (size.bottom + frameY <= GetSystemMetrics(SM_CYMAXTRACK)) {
        EXPECT_EQ(client.bottom, size.bottom);
    }
}

// The program's manifest keeps the classic common controls (no version 6: unthemed, as
// the dialog was drawn for) but declares DPI awareness and UTF-8 as the active code page.
TEST(ManifestTest, ClassicControlsWithDpiAndCodePageSettings) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    const std::string manifest(bytes, SizeofResource(nullptr, found));
    struct Setting {
        const char* text;
        bool present;
    };
    for (const Setting& s :
         {Setting{"Microsoft.Windows.Common-Controls", false}, Setting{"<dependency>", false},
          Setting{"<dpiAware", true}, Setting{">system</dpiAwareness>", true},
          Setting{">UTF-8</activeCodePage>", true}}) {
        EXPECT_EQ(manifest.find(s.text) != std::string::npos, s.present) << s.text;
    }
}

TEST_F(Win32DialogTest, StartsAsTheUserFirstSeesIt) {
    EXPECT_EQ(Text(0), L"Ostrane - Veltaro");
    EXPECT_EQ(Text(ctl::kComNumber), L"1");
    for (const int id : {ctl::kChannelEdit, ctl::kPowerEdit, ctl::kDestIdEdit, ctl::kPeriodEdit,
                         ctl::kChannelRange, ctl::kPowerRange, ctl::kLog}) {
        EXPECT_EQ(Text(id), L"") << id;
    }
    const int checked[] = {ctl::kModePc, ctl::kUnitHour, ctl::kRs232,
                           ctl::kData8,  ctl::kStop1,    ctl::kParityNone};
    for (const int id : checked) {
        EXPECT_EQ(IsDlgButtonChecked(hwnd, id), BST_CHECKED) << id;
    }
    for (const ControlRow& row : MainDialogTemplate().controls) {
        if (row.id != kNoId) {
            EXPECT_TRUE(Enabled(row.id)) << row.id;
            EXPECT_TRUE(IsWindowVisible(Ctl(row.id))) << row.id;
        }
    }
    EXPECT_EQ(GetFocus(), Ctl(ctl::kComNumber));
    EXPECT_EQ(dialog->ReadForm(), console::SettingsForm{});
}

TEST_F(Win32DialogTest, SystemMenuHasTheKoreanAboutItemInAFaceWithHangulThenSaveAndApply) {
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 4);
    // Save and Apply follow About, greyed while no port is open.
    EXPECT_EQ(GetMenuItemID(menu, count - 2), ProfileCommands::kSaveCommand);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), ProfileCommands::kApplyCommand);
    for (const int position : {count - 2, count - 1}) {
        EXPECT_NE(GetMenuState(menu, position, MF_BYPOSITION) & MF_GRAYED, 0u);
    }
    const int about = count - 3;
    EXPECT_EQ(GetMenuItemID(menu, about), res::kAboutCommand);
    EXPECT_EQ(GetMenuState(menu, about - 1, MF_BYPOSITION) & MF_SEPARATOR,
              static_cast<UINT>(MF_SEPARATOR));
    const std::wstring korean = WideFromUtf8("정보");
    if (dialog->AboutItem().OwnerDrawn()) {
        EXPECT_TRUE(FontHasGlyphs(dialog->AboutItem().Font(), korean));
        MEASUREITEMSTRUCT measure{ODT_MENU, 0, res::kAboutCommand, 0, 0, 0};
        EXPECT_TRUE(dialog->AboutItem().Measure(hwnd, measure));
        EXPECT_GT(measure.itemWidth, 0u);
        EXPECT_EQ(dialog->AboutItem().MenuChar(L'a', menu), MAKELRESULT(about, MNC_EXECUTE));
    } else {
        wchar_t item[64] = {};
        GetMenuStringW(menu, about, item, 64, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(item), WideFromUtf8("Quistor 정보(&A)..."));
    }
}

TEST_F(Win32DialogTest, AboutItemOpensTheKoreanAboutBoxWhichOkCloses) {
    test::BoxWatcher watcher(WideFromUtf8("Quistor 정보"));
    SendMessageW(hwnd, WM_SYSCOMMAND, res::kAboutCommand, 0);
    EXPECT_TRUE(watcher.Seen());
    EXPECT_NE(watcher.BoxText().find(WideFromUtf8("Quistor 버전 1.0")), std::wstring::npos);
    EXPECT_TRUE(watcher.TextsHaveGlyphs()) << "a Korean text in a face without Hangul";
}

}  // namespace
}  // namespace veltaro::ui
