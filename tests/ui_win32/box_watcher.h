#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace veltaro::ui::test {

// Watches from another thread for a modal box of this process with this caption, reads its
// text, and presses its OK button. Seen() after the modal call has returned.
class BoxWatcher {
  public:
    explicit BoxWatcher(std::wstring caption);
    // beforeOk runs on the watcher's thread with the box, before OK is pressed.
    BoxWatcher(std::wstring caption, std::function<void(HWND)> beforeOk);
    ~BoxWatcher();
    // Waits up to 5 s for the watcher to be done with the box.
    bool Seen() const;
    // The box's message; read after Seen().
    const std::wstring& BoxText() const { return m_text; }
    // Whether each text of the box is in a font that has all its glyphs; after Seen().
    bool TextsHaveGlyphs() const { return m_glyphs; }

  private:
    std::wstring m_caption;
    std::function<void(HWND)> m_beforeOk;
    std::wstring m_text;
    bool m_glyphs = true;
    bool m_seen = false;
    HANDLE m_thread = nullptr;
    HANDLE m_stop = nullptr;
    static DWORD WINAPI Run(void* self);
};

}  // namespace veltaro::ui::test
