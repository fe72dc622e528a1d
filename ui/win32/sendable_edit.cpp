#include "sendable_edit.h"

#include <imm.h>

#include <string>

#include "veltaro/console/text_rules.h"

namespace veltaro::ui {
namespace {

// The edit's own procedure, kept on the window. Plain user32 subclassing: the common
// controls' subclass calls are exported by name only from version 6, which the program
// does not load.
constexpr wchar_t kPreviousProc[] = L"Veltaro.SendableEdit.Previous";

std::wstring ClipboardText(HWND owner) {
    std::wstring text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool AllSendable(const std::wstring& text) {
    for (const wchar_t c : text) {
        if (!console::IsSendableCharacter(static_cast<char32_t>(c))) {
            return false;
        }
    }
    return true;
}

// Typed, composed and pasted text go through the same rule; control keys pass.
bool Refused(HWND edit, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_CHAR:
        case WM_IME_CHAR:
            return wParam >= 0x20 && wParam != 0x7F &&
                   !console::IsSendableCharacter(static_cast<char32_t>(wParam));
        case WM_PASTE:
            return !AllSendable(ClipboardText(edit));
        default:
            return false;
    }
}

LRESULT CALLBACK SendableProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(edit, kPreviousProc));
    if (Refused(edit, message, wParam)) {
        MessageBeep(MB_OK);
        return 0;
    }
    // A finished composition is not inserted whole by the edit: the system then sends it
    // as WM_IME_CHAR, one character at a time, through the filter above.
    if (message == WM_IME_COMPOSITION && (lParam & GCS_RESULTSTR) != 0) {
        return DefWindowProcW(edit, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(edit, kPreviousProc);
    }
    return CallWindowProcW(previous, edit, message, wParam, lParam);
}

}  // namespace

bool LimitToSendable(HWND edit) {
    if (edit == nullptr || GetPropW(edit, kPreviousProc) != nullptr) {
        return false;
    }
    // No input method composes into it: keys arrive as the plain characters they carry.
    ImmAssociateContextEx(edit, nullptr, 0);
    const LONG_PTR previous = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    if (previous == 0 || !SetPropW(edit, kPreviousProc, reinterpret_cast<HANDLE>(previous))) {
        return false;
    }
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SendableProc));
    return true;
}

}  // namespace veltaro::ui
