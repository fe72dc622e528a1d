// What the dialog asks the system to draw again when its controls change, read from the
// update regions and the messages the windows get: Wine draws nothing that a test could
// look at, but it keeps the regions and sends the paint messages as Windows does.
#include <windows.h>

#include <string>

#include "dialog_fixture.h"
#include "dialog_template.h"
#include "logo_picture.h"
#include "resource_ids.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

namespace ctl = console::ctl;
using test::Win32DialogTest;

// Whether all of area lies in window's update region.
bool Invalidated(HWND window, const RECT& area) {
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    HRGN wanted = CreateRectRgnIndirect(&area);
    const bool valid = GetUpdateRgn(window, update, FALSE) != ERROR &&
                       CombineRgn(wanted, wanted, update, RGN_DIFF) == NULLREGION;
    DeleteObject(wanted);
    DeleteObject(update);
    return valid;
}

void ValidateAll(HWND window) {
    test::Pump();
    RedrawWindow(window, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
}

TEST_F(Win32DialogTest, ControlWhoseEnabledStateChangesIsRedrawnOverTheDialog) {
    struct Case {
        int id;
        bool enable;
    };
    // An edit (a PC-mode screen disables the destination ID), a radio button, a command
    // button; each disabled, then enabled again.
    const Case cases[] = {{ctl::kDestIdEdit, false},     {ctl::kDestIdEdit, true},
                          {ctl::kStop2, false},          {ctl::kStop2, true},
                          {ctl::kChannelSetting, false}, {ctl::kChannelSetting, true}};
    for (const Case& c : cases) {
        ValidateAll(hwnd);
        dialog->EnableControl(c.id, c.enable);
        EXPECT_EQ(Enabled(c.id), c.enable) << c.id;
        EXPECT_TRUE(Invalidated(hwnd, RectInDialog(c.id))) << "the dialog's area under " << c.id;
        RECT own{};
        EXPECT_TRUE(GetUpdateRect(Ctl(c.id), &own, FALSE)) << "the control itself, " << c.id;
    }
    // Nothing changes, nothing is drawn.
    ValidateAll(hwnd);
    dialog->EnableControl(ctl::kDestIdEdit, true);
    RECT none{};
    EXPECT_FALSE(GetUpdateRect(hwnd, &none, FALSE));
}

// Counts WM_NCPAINT, the frame's painting (borders and scroll bars), of the log pane.
int g_framePaints = 0;
WNDPROC g_logProc = nullptr;
LRESULT CALLBACK CountFramePaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_framePaints += message == WM_NCPAINT ? 1 : 0;
    return CallWindowProcW(g_logProc, window, message, wParam, lParam);
}

TEST_F(Win32DialogTest, LogPaneRedrawsItsScrollBarAfterABurst) {
    std::string screen;
    for (int i = 0; i < 60; ++i) {
        screen += "line " + std::to_string(i) + "\r\n";
    }
    dialog->AppendLog(screen);  // the scroll bar is there from now on
    for (const bool atBottom : {true, false}) {
        SendMessageW(Ctl(ctl::kLog), WM_VSCROLL, atBottom ? SB_BOTTOM : SB_TOP, 0);
        ValidateAll(hwnd);
        g_framePaints = 0;
        g_logProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            Ctl(ctl::kLog), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountFramePaints)));
        dialog->AppendLog(screen);
        UpdateWindow(Ctl(ctl::kLog));
        SetWindowLongPtrW(Ctl(ctl::kLog), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_logProc));
        EXPECT_GE(g_framePaints, 1) << (atBottom ? "following" : "scrolled up");
    }
}

TEST_F(Win32DialogTest, LogoFillsTheFrameOfItsTemplate) {
    const ControlRow* logo = nullptr;
    for (const ControlRow& row : MainDialogTemplate().controls) {
        logo = row.id == ctl::kLogo ? &row : logo;
    }
    ASSERT_NE(logo, nullptr);
    RECT frame{logo->x, logo->y, logo->w, logo->h};
    ASSERT_TRUE(MapDialogRect(hwnd, &frame));
    const RECT shown = RectInDialog(ctl::kLogo);
    EXPECT_EQ(shown.right - shown.left, frame.right);
    EXPECT_EQ(shown.bottom - shown.top, frame.bottom);
    RECT inside{};
    GetClientRect(Ctl(ctl::kLogo), &inside);
    const auto image =
        reinterpret_cast<HBITMAP>(SendMessageW(Ctl(ctl::kLogo), STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    ASSERT_NE(GetObjectW(image, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, inside.right);
    EXPECT_EQ(info.bmHeight, inside.bottom);
}

// The logo at the sizes of 100, 150 and 200 %: the size asked for, from the finer source
// above 223 pixels; at its own size, bitmap 142 unchanged.
TEST(LogoPictureTest, ScalesToEverySizeAndKeepsTheOriginalAtItsOwn) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const SIZE sizes[] = {{223, 30}, {335, 45}, {446, 60}, {112, 15}};
    for (const SIZE size : sizes) {
        HBITMAP scaled = LogoPicture::Scaled(instance, size.cx, size.cy);
        BITMAP info{};
        ASSERT_NE(GetObjectW(scaled, sizeof info, &info), 0) << size.cx;
        EXPECT_EQ(info.bmWidth, size.cx);
        EXPECT_EQ(info.bmHeight, size.cy);
        DeleteObject(scaled);
    }
    EXPECT_EQ(LogoPicture::Scaled(instance, 0, 30), nullptr);

    HBITMAP original = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(res::kLogoBitmap),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HBITMAP same = LogoPicture::Scaled(instance, 223, 30);
    HDC dc = CreateCompatibleDC(nullptr);
    int differing = 0;
    for (int y = 0; y < 30; y += 3) {
        for (int x = 0; x < 223; x += 7) {
            SelectObject(dc, original);
            const COLORREF want = GetPixel(dc, x, y);
            SelectObject(dc, same);
            differing += GetPixel(dc, x, y) != want ? 1 : 0;
        }
    }
    DeleteDC(dc);
    DeleteObject(same);
    DeleteObject(original);
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace veltaro::ui
