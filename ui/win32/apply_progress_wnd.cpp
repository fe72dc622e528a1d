#include "apply_progress_wnd.h"

#include <commctrl.h>

#include <utility>

namespace veltaro::ui {
namespace {

constexpr wchar_t kClassName[] = L"VeltaroApplyProgress";
constexpr int kWidth = 420;
constexpr int kHeight = 150;

bool RegisterOnce(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, kClassName, &windowClass)) {
        return true;
    }
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;  // replaced per window at creation
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

ApplyProgressWnd::~ApplyProgressWnd() {
    Close();
}

bool ApplyProgressWnd::Open(HWND owner, std::function<void()> onCancel) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    if (m_hWnd != nullptr || !RegisterOnce(instance)) {
        return false;
    }
    m_owner = owner;
    m_onCancel = std::move(onCancel);
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    const int x = (ownerRect.left + ownerRect.right - kWidth) / 2;
    const int y = (ownerRect.top + ownerRect.bottom - kHeight) / 2;
    m_hWnd = CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, L"Applying settings",
                             WS_POPUP | WS_CAPTION | WS_SYSMENU, x, y, kWidth, kHeight, owner,
                             nullptr, instance, nullptr);
    if (m_hWnd == nullptr) {
        return false;
    }
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WndProc));
    AddControls();
    EnableWindow(owner, FALSE);
    ShowWindow(m_hWnd, SW_SHOW);
    return true;
}

void ApplyProgressWnd::AddControls() {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hWnd, GWLP_HINSTANCE));
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int width = client.right - 24;
    auto add = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int y, int h, int id) {
        HWND control =
            CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 12, y, width, h, m_hWnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, SendMessageW(m_owner, WM_GETFONT, 0, 0), TRUE);
        return control;
    };
    add(L"STATIC", L"", SS_LEFT, 12, 32, kTextId);
    add(PROGRESS_CLASSW, L"", 0, 48, 18, kBarId);
    HWND cancel = add(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 76, 26, IDCANCEL);
    SetWindowPos(cancel, nullptr, client.right - 12 - 90, 76, 90, 26, SWP_NOZORDER);
}

void ApplyProgressWnd::ShowStep(const std::wstring& text, int done, int total) {
    if (m_hWnd == nullptr) {
        return;
    }
    SetDlgItemTextW(m_hWnd, kTextId, text.c_str());
    HWND bar = GetDlgItem(m_hWnd, kBarId);
    SendMessageW(bar, PBM_SETRANGE32, 0, total > 0 ? total : 1);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(done), 0);
}

void ApplyProgressWnd::ShowCancelling() {
    ShowStep(L"Cancelling: the command in flight finishes its keys...", 0, 0);
    EnableWindow(GetDlgItem(m_hWnd, IDCANCEL), FALSE);
}

void ApplyProgressWnd::Close() {
    if (m_hWnd == nullptr) {
        return;
    }
    // The owner first, so that the system gives it the activation back.
    EnableWindow(m_owner, TRUE);
    HWND window = std::exchange(m_hWnd, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

LRESULT CALLBACK ApplyProgressWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ApplyProgressWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const bool cancel =
        message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL);
    if (cancel) {
        if (self != nullptr && self->m_onCancel) {
            self->m_onCancel();
        }
        return 0;  // the window stays until the run has ended
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace veltaro::ui
