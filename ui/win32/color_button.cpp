#include "color_button.h"

#include <string>

#include "gdi_canvas.h"

namespace veltaro::ui {

bool CColorButton::AttachDlgItem(int id, HWND dialog) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        return false;
    }
    m_hWnd = control;
    m_id = id;
    m_look = ColorButtonLook{};
    return true;
}

void CColorButton::SetColors(COLORREF text, COLORREF fill, COLORREF disabledText) {
    m_look.text = text;
    m_look.fill = fill;
    m_look.disabledText = disabledText;
    if (m_hWnd != nullptr) {
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void CColorButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    wchar_t caption[kMaxCaptionChars + 1] = {};
    const int length = GetWindowTextW(item.hwndItem, caption, kMaxCaptionChars + 1);
    GdiCanvas canvas(item.hDC, std::wstring(caption, length > 0 ? length : 0));
    const ButtonState state{(item.itemState & ODS_SELECTED) != 0,
                            (item.itemState & ODS_DISABLED) != 0,
                            (item.itemState & ODS_FOCUS) != 0};
    const RECT& r = item.rcItem;
    PaintColorButton(canvas, GdiRect{r.left, r.top, r.right, r.bottom}, state, m_look);
}

}  // namespace veltaro::ui
