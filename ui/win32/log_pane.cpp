#include "log_pane.h"

namespace veltaro::ui::log_pane {
namespace {

bool ScrolledToBottom(HWND edit) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(edit, SB_VERT, &info) || info.nPage == 0) {
        return true;  // nothing to scroll yet
    }
    return info.nPos + static_cast<int>(info.nPage) > info.nMax;
}

}  // namespace

void Prepare(HWND edit) {
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
}

void Append(HWND edit, const std::wstring& text) {
    if (text.empty()) {
        return;
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool follow = ScrolledToBottom(edit);
    const LRESULT firstLine = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    const LRESULT length = GetWindowTextLengthW(edit);

    SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(edit, EM_SETSEL, start, static_cast<LPARAM>(end));
    const LRESULT nowFirst = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (follow) {
        const LRESULT lines = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
        SendMessageW(edit, EM_LINESCROLL, 0, static_cast<LPARAM>(lines - nowFirst));
    } else {
        SendMessageW(edit, EM_LINESCROLL, 0, static_cast<LPARAM>(firstLine - nowFirst));
    }
    SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
    // The frame too: the scroll bar, which moved while drawing was off, lies outside the
    // client area.
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

}  // namespace veltaro::ui::log_pane
