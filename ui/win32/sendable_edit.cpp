#include "sendable_edit.h"

#include <commctrl.h>

#include <string>

#include "veltaro/console/text_rules.h"

namespace veltaro::ui {
namespace {

constexpr UINT_PTR kSubclassId = 0x5E4D;

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

LRESULT CALLBACK SendableProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    const bool typedCharacter = message == WM_CHAR && wParam >= 0x20 && wParam != 0x7F;
    if (typedCharacter && !console::IsSendableCharacter(static_cast<char32_t>(wParam))) {
        MessageBeep(MB_OK);
        return 0;
    }
    if (message == WM_PASTE && !AllSendable(ClipboardText(edit))) {
        MessageBeep(MB_OK);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(edit, SendableProc, kSubclassId);
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

bool LimitToSendable(HWND edit) {
    return edit != nullptr && SetWindowSubclass(edit, SendableProc, kSubclassId, 0) != FALSE;
}

}  // namespace veltaro::ui
