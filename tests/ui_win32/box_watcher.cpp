#include "box_watcher.h"

#include "hangul_font.h"

namespace veltaro::ui::test {

namespace {

struct Collected {
    std::wstring text;
    bool glyphs = true;
};

// The box's message is its static text (its ID differs between platforms); every text
// must be in a font that has its glyphs.
BOOL CALLBACK CollectStaticText(HWND child, LPARAM out) {
    auto* collected = reinterpret_cast<Collected*>(out);
    wchar_t cls[16] = {};
    wchar_t text[512] = {};
    GetClassNameW(child, cls, 16);
    if (!IsTextControl(child) || GetWindowTextW(child, text, 512) <= 0) {
        return TRUE;
    }
    if (lstrcmpiW(cls, L"Static") == 0) {
        collected->text += text;
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    collected->glyphs = collected->glyphs && FontHasGlyphs(font, text);
    return TRUE;
}

}  // namespace

bool BoxWatcher::Seen() const {
    WaitForSingleObject(m_thread, 5000);  // the watcher has finished with the box
    return m_seen;
}

BoxWatcher::BoxWatcher(std::wstring caption) : BoxWatcher(std::move(caption), nullptr) {}

BoxWatcher::BoxWatcher(std::wstring caption, std::function<void(HWND)> beforeOk)
    : m_caption(std::move(caption)), m_beforeOk(std::move(beforeOk)) {
    m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

BoxWatcher::~BoxWatcher() {
    SetEvent(m_stop);
    if (m_thread != nullptr) {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
    }
    CloseHandle(m_stop);
}

DWORD WINAPI BoxWatcher::Run(void* param) {
    auto* self = static_cast<BoxWatcher*>(param);
    while (WaitForSingleObject(self->m_stop, 20) == WAIT_TIMEOUT) {
        HWND box = FindWindowW(L"#32770", self->m_caption.c_str());
        if (box == nullptr || !IsWindowVisible(box)) {
            continue;
        }
        Collected collected;
        EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&collected));
        self->m_text = collected.text;
        self->m_glyphs = collected.glyphs;
        if (self->m_beforeOk) {
            self->m_beforeOk(box);
        }
        self->m_seen = true;
        // A box that is still setting itself up may miss the first press: press until it
        // has gone (or the watcher is stopped).
        do {
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        } while (WaitForSingleObject(self->m_stop, 200) == WAIT_TIMEOUT && IsWindow(box) &&
                 IsWindowVisible(box));
        return 0;
    }
    return 0;
}

}  // namespace veltaro::ui::test
