#include "about_dlg.h"

#include <string>

#include "hangul_font.h"
#include "resource_ids.h"

namespace veltaro::ui {
namespace {

// Every text of the box, in one string, to pick a face that draws them all.
std::wstring AllTexts(HWND dialog) {
    std::wstring all;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[256] = {};
        if (IsTextControl(child) && GetWindowTextW(child, text, 256) > 0) {
            all += text;
        }
    }
    return all;
}

// Gives the box a Korean face where its own lacks Hangul; the font lives as long as the box.
void UseKoreanFaceIfNeeded(HWND dialog) {
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    HFONT korean = CreateFontFor(dialogFont, AllTexts(dialog));
    if (korean == nullptr) {
        return;
    }
    SetPropW(dialog, L"VeltaroFont", korean);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(korean), TRUE);
    }
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            UseKoreanFaceIfNeeded(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            if (HANDLE font = RemovePropW(dialog, L"VeltaroFont")) {
                DeleteObject(font);
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR CAboutDlg::DoModal(HINSTANCE instance, HWND owner) {
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(res::kAboutDialog), owner, AboutProc, 0);
}

}  // namespace veltaro::ui
