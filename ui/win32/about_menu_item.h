#pragma once

#include <windows.h>

#include <string>

namespace veltaro::ui {

// The About item of the dialog's system menu: a separator and the text of string 101 with
// command 16. Where the menu's face lacks Hangul (see hangul_font.h) the item is drawn by
// the program in a Korean face of the menu's size, with the menu's own colours, and its
// mnemonic is answered through WM_MENUCHAR.
//
// Threads: user-interface thread only.
class AboutMenuItem {
  public:
    AboutMenuItem() = default;
    ~AboutMenuItem();
    AboutMenuItem(const AboutMenuItem&) = delete;
    AboutMenuItem& operator=(const AboutMenuItem&) = delete;

    // Appends the item to the window's system menu; false when there is no system menu or
    // the string is empty.
    bool Add(HWND window, HINSTANCE instance);

    bool OwnerDrawn() const { return m_font != nullptr; }
    // The Korean face the item is drawn in; null when the menu's own face is used.
    HFONT Font() const { return m_font; }
    // WM_MEASUREITEM and WM_DRAWITEM of the item; false for any other item.
    bool Measure(HWND window, MEASUREITEMSTRUCT& item) const;
    bool Draw(const DRAWITEMSTRUCT& item) const;
    // WM_MENUCHAR: runs the item for its mnemonic; -1 when the key is not this item's.
    LRESULT MenuChar(wchar_t key, HMENU menu) const;

  private:
    std::wstring Shown() const;  // the text without its '&'

    std::wstring m_text;
    HFONT m_font = nullptr;
};

}  // namespace veltaro::ui
