#include "message_box_hook.h"

#include <memory>

#include "ui_texts.h"
#include "wide_text.h"

namespace veltaro::ui {
namespace {

struct PostedBox {
    std::wstring text;
};

std::wstring BoxText(const std::string& text, const std::string& detail) {
    std::wstring shown = WideFromUtf8(text);
    if (!detail.empty()) {
        shown += L"\n\n" + WideFromUtf8(detail);
    }
    return shown;
}

void Show(HWND owner, const std::wstring& text) {
    MessageBoxW(owner, text.c_str(), WideFromUtf8(text::kLinkBoxTitle).c_str(), MB_OK);
}

}  // namespace

void Win32MessageBoxHook::SetOwner(HWND owner) {
    m_owner = owner;
    m_ownerThread = GetWindowThreadProcessId(owner, nullptr);
}

void Win32MessageBoxHook::ShowMessage(const std::string& text, const std::string& detail) {
    if (m_owner == nullptr || GetCurrentThreadId() == m_ownerThread) {
        Show(m_owner, BoxText(text, detail));
        return;
    }
    auto box = std::make_unique<PostedBox>(PostedBox{BoxText(text, detail)});
    if (PostMessageW(m_owner, kShowBoxMessage, 0, reinterpret_cast<LPARAM>(box.get()))) {
        (void)box.release();  // the user-interface thread frees it
    }
}

void Win32MessageBoxHook::TakePosted(HWND owner, LPARAM lParam, bool show) {
    std::unique_ptr<PostedBox> box(reinterpret_cast<PostedBox*>(lParam));
    if (box && show) {
        Show(owner, box->text);
    }
}

}  // namespace veltaro::ui
