#pragma once

#include <windows.h>

#include "color_button_paint.h"

namespace veltaro::ui {

// An owner-drawn push button of a dialog template (BS_OWNERDRAW), painted by the program:
// face colour, bevelled frame, caption, pressed, disabled and focus looks
// (color_button_paint.h). Clicks, enabling and the caption stay the button's own. The
// dialog hands it WM_DRAWITEM for its control.
//
// Threads: user-interface thread only.
class CColorButton {
  public:
    // Binds the dialog's control with this ID and gives it the default look (text
    // 0x010101, fill 0xC0C0C0, disabled text 0x808080, bevel 2). Returns false, changing
    // nothing, when the dialog has no such control.
    bool AttachDlgItem(int id, HWND dialog);

    // Stores the colours (the bevel width stays) and repaints the whole button.
    void SetColors(COLORREF text, COLORREF fill, COLORREF disabledText);

    // The owner-draw operation: repaints the whole button from the record's state flags.
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    HWND Handle() const { return m_hWnd; }
    int Id() const { return m_id; }
    const ColorButtonLook& Look() const { return m_look; }

  private:
    HWND m_hWnd = nullptr;
    int m_id = 0;
    ColorButtonLook m_look;
};

}  // namespace veltaro::ui
