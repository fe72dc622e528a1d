#include "dialog_fixture.h"

#include <commctrl.h>

namespace veltaro::ui::test {

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Win32DialogTest::SetUp() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    ASSERT_TRUE(registered);
    dialog = std::make_unique<CQuistorDlg>(GetModuleHandleW(nullptr));
    hwnd = dialog->Create();
    ASSERT_NE(hwnd, nullptr) << GetLastError();
    Pump();
}

void Win32DialogTest::TearDown() {
    if (hwnd != nullptr) {
        DestroyWindow(hwnd);
        Pump();
    }
    dialog.reset();
}

std::wstring Win32DialogTest::Text(int id) const {
    wchar_t buffer[4096] = {};
    const int length = GetWindowTextW(id == 0 ? hwnd : Ctl(id), buffer, 4096);
    return std::wstring(buffer, length > 0 ? length : 0);
}

RECT Win32DialogTest::RectInDialog(HWND control) const {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Win32DialogTest::Type(int id, const std::wstring& text) {
    SetFocus(Ctl(id));
    for (const wchar_t ch : text) {
        SendMessageW(Ctl(id), WM_CHAR, ch, 1);
    }
    Pump();
}

void Win32DialogTest::Click(int id) {
    SendMessageW(Ctl(id), BM_CLICK, 0, 0);
    Pump();
}

void Win32DialogTest::Receive(const std::string& bytes) {
    for (const char c : bytes) {
        dialog->Connection().m_QueueRead.PutByte(static_cast<unsigned char>(c));
    }
    SendMessageW(hwnd, CQuistorDlg::kDataArrived, 0, 0);
    Pump();
}

}  // namespace veltaro::ui::test
