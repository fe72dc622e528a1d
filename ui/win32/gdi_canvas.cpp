#include "gdi_canvas.h"

#include <utility>

namespace veltaro::ui {
namespace {

RECT ToRect(const GdiRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace

GdiCanvas::GdiCanvas(HDC dc, std::wstring caption) : m_dc(dc), m_caption(std::move(caption)) {
    if (m_caption.size() > static_cast<std::size_t>(kMaxCaptionChars)) {
        m_caption.resize(kMaxCaptionChars);
    }
}

// Drawing results are not checked: a failed stroke leaves a pixel unpainted, nothing worse.
void GdiCanvas::FillRect(const GdiRect& r, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    if (brush == nullptr) {
        return;
    }
    const RECT rect = ToRect(r);
    ::FillRect(m_dc, &rect, brush);
    DeleteObject(brush);
}

void GdiCanvas::Line(int x0, int y0, int x1, int y1, COLORREF color) {
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    if (pen == nullptr) {
        return;
    }
    HGDIOBJ previous = SelectObject(m_dc, pen);
    MoveToEx(m_dc, x0, y0, nullptr);
    LineTo(m_dc, x1, y1);
    SelectObject(m_dc, previous);
    DeleteObject(pen);
}

void GdiCanvas::Caption(const GdiRect& r, COLORREF color) {
    const COLORREF previous = SetTextColor(m_dc, color);
    SetBkMode(m_dc, TRANSPARENT);
    RECT rect = ToRect(r);
    DrawTextW(m_dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &rect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(m_dc, previous);
}

void GdiCanvas::FocusRect(const GdiRect& r) {
    const RECT rect = ToRect(r);
    ::DrawFocusRect(m_dc, &rect);
}

}  // namespace veltaro::ui
