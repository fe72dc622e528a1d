#include "quistor_dlg.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

#include "about_dlg.h"
#include "dialog_routes.h"
#include "dialog_template.h"
#include "log_pane.h"
#include "resource_ids.h"
#include "sendable_edit.h"
#include "template_geometry.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

namespace ctl = console::ctl;

}  // namespace

CQuistorDlg::CQuistorDlg(HINSTANCE instance)
    : m_instance(instance), m_link(m_conn), m_console(*this, m_link) {
    m_hIcon = LoadIconW(instance, MAKEINTRESOURCEW(res::kAppIcon));
}

CQuistorDlg::~CQuistorDlg() {
    // A dialog that never had its window, or lost it: the watcher must be gone before the
    // connection is.
    m_conn.ClosePort();
}

INT_PTR CQuistorDlg::DoModal(HWND owner) {
    return DialogBoxParamW(m_instance, MAKEINTRESOURCEW(res::kMainDialog), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND CQuistorDlg::Create(HWND owner) {
    return CreateDialogParamW(m_instance, MAKEINTRESOURCEW(res::kMainDialog), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

const CColorButton* CQuistorDlg::ColorButton(int id) const {
    for (const CColorButton& button : m_colorButtons) {
        if (button.Handle() != nullptr && button.Id() == id) {
            return &button;
        }
    }
    return nullptr;
}

INT_PTR CALLBACK CQuistorDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CQuistorDlg*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<CQuistorDlg*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return self != nullptr ? self->HandleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CQuistorDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND:
            return OnSysCommand(wParam);
        case WM_PAINT:
            return OnPaint();
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(m_hIcon);
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case kDataArrived:
            (void)m_console.OnDataArrived();
            m_profiles.UpdateEnabled();
            return TRUE;
        case WM_TIMER:
            if (wParam != ProfileCommands::kTimerId) {
                return FALSE;
            }
            m_profiles.OnStep();
            return TRUE;
        case ProfileCommands::kStepMessage:
            m_profiles.OnStep();
            return TRUE;
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
            return OnOwnerDraw(message, lParam) ? Answer(TRUE) : FALSE;
        case WM_MENUCHAR:
            return Answer(m_aboutItem.MenuChar(static_cast<wchar_t>(LOWORD(wParam)),
                                               reinterpret_cast<HMENU>(lParam)));
        case WM_ERASEBKGND:
            OnEraseBackground(reinterpret_cast<HDC>(wParam));
            return Answer(TRUE);
        case WM_CTLCOLORSTATIC:
            return OnControlColorStatic(reinterpret_cast<HDC>(wParam),
                                        reinterpret_cast<HWND>(lParam));
        case Win32MessageBoxHook::kShowBoxMessage:
            Win32MessageBoxHook::TakePosted(m_hWnd, lParam, true);
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        default:
            return FALSE;
    }
}

// A handled message's result, as a dialog procedure gives it; -1 means not handled.
INT_PTR CQuistorDlg::Answer(LRESULT result) {
    if (result == -1) {
        return FALSE;
    }
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// UDN_DELTAPOS of the COM number's up-down control: the step, never refused.
INT_PTR CQuistorDlg::OnNotify(const NMHDR& header) {
    if (header.idFrom != ctl::kComSpin || header.code != UDN_DELTAPOS) {
        return FALSE;
    }
    const auto& step = reinterpret_cast<const NMUPDOWN&>(header);
    return Answer(m_console.OnComStep(step.iDelta));
}

void CQuistorDlg::Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    // Nothing to do when the window is already gone: no one would read the bytes.
    (void)PostMessageW(m_hWnd, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

BOOL CQuistorDlg::OnInitDialog() {
    m_aboutItem.Add(m_hWnd, m_instance);
    m_profiles.AddMenuItems(m_hWnd);
    m_profiles.SetOnFinished(&CQuistorDlg::OnProfilesFinished, this);
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_boxHook.SetOwner(m_hWnd);
    m_conn.m_hNotifyWnd = this;
    m_conn.m_pMessageBoxHook = &m_boxHook;
    log_pane::Prepare(GetDlgItem(m_hWnd, ctl::kLog));
    for (const ControlRow& row : MainDialogTemplate().controls) {
        if ((row.style & kSendable) != 0) {
            LimitToSendable(GetDlgItem(m_hWnd, row.id));
        }
        if (row.id == ctl::kLogo) {
            (void)m_logo.Fit(m_hWnd, m_instance, row);
        }
        if (row.cls == ControlClass::kUpDown) {
            (void)KeepTemplateRectangle(m_hWnd, row);
        }
    }
    BindColorButtons();
    WriteForm(m_console.Form());
    // The focus starts in the COM number edit, the first tab stop; said outright, since a
    // checked radio button may otherwise take it.
    SetFocus(GetDlgItem(m_hWnd, ctl::kComNumber));
    return FALSE;
}

// The colour buttons and the About item of the system menu draw themselves.
bool CQuistorDlg::OnOwnerDraw(UINT message, LPARAM lParam) {
    if (message == WM_MEASUREITEM) {
        return m_aboutItem.Measure(m_hWnd, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    }
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlType == ODT_MENU) {
        return m_aboutItem.Draw(*item);
    }
    const CColorButton* button = ColorButton(static_cast<int>(item->CtlID));
    if (button != nullptr) {
        button->DrawItem(*item);
    }
    return button != nullptr;
}

void CQuistorDlg::BindColorButtons() {
    std::size_t slot = 0;
    for (const ButtonColor& entry : kButtonColors) {
        CColorButton& button = m_colorButtons[slot++];
        if (button.AttachDlgItem(entry.id, m_hWnd)) {
            button.SetColors(kButtonText, entry.fill, kButtonDisabledText);
        }
    }
}

bool CQuistorDlg::OnCommand(int id, int code) {
    if (id == IDOK || id == IDCANCEL) {
        EndWith(id);
        return true;
    }
    if (code == BN_CLICKED) {
        if (const Route* route = FindRoute(kClickRoutes, id)) {
            (m_console.*route->handler)();
            m_profiles.UpdateEnabled();
            return true;
        }
    }
    if (code == EN_CHANGE && m_settingText == 0) {
        if (const Route* route = FindRoute(kEditRoutes, id)) {
            (m_console.*route->handler)();
            return true;
        }
    }
    return false;
}

void CQuistorDlg::EndWith(int result) {
    if (m_profiles.Running()) {
        // Closing during Apply cancels it; the dialog ends once the command in flight has
        // finished its keys and the run has ended.
        m_endAfterApply = result;
        m_profiles.Cancel();
        return;
    }
    if (result == IDOK) {
        m_formAtOk = ReadForm();
    }
    EndDialog(m_hWnd, result);
}

void CQuistorDlg::OnProfilesFinished(void* self) {
    auto* dialog = static_cast<CQuistorDlg*>(self);
    if (const int result = std::exchange(dialog->m_endAfterApply, 0); result != 0) {
        dialog->EndWith(result);
    }
}

bool CQuistorDlg::OnSysCommand(WPARAM command) {
    if (m_profiles.OnSysCommand(command)) {
        return true;
    }
    if ((command & 0xFFF0u) != res::kAboutCommand) {
        return false;
    }
    CAboutDlg::DoModal(m_instance, m_hWnd);
    return true;
}

bool CQuistorDlg::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        return false;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    if (dc == nullptr) {
        return false;
    }
    SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &paint);
    return true;
}

void CQuistorDlg::OnEraseBackground(HDC dc) {
    const COLORREF previous = SetBkColor(dc, kDialogBackground);
    RECT clip{};
    GetClipBox(dc, &clip);
    ExtTextOutW(dc, clip.left, clip.top, ETO_OPAQUE, &clip, L"", 0, nullptr);
    SetBkColor(dc, previous);
}

INT_PTR CQuistorDlg::OnControlColorStatic(HDC dc, HWND control) {
    if (GetDlgCtrlID(control) == ctl::kLog) {
        return FALSE;  // the log pane keeps its default background
    }
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

void CQuistorDlg::OnDestroy() {
    // Joins the watcher while the window still exists; its last post is then dropped.
    m_conn.ClosePort();
    MSG pending;
    while (PeekMessageW(&pending, m_hWnd, Win32MessageBoxHook::kShowBoxMessage,
                        Win32MessageBoxHook::kShowBoxMessage, PM_REMOVE)) {
        Win32MessageBoxHook::TakePosted(m_hWnd, pending.lParam, false);
    }
    m_conn.m_hNotifyWnd = nullptr;
    m_conn.m_pMessageBoxHook = nullptr;
}

}  // namespace veltaro::ui
