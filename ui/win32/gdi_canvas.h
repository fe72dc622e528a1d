#pragma once

#include <windows.h>

#include <string>

#include "color_button_paint.h"

namespace veltaro::ui {

// The colour button's four primitives on a GDI device context, with the platform's own
// calls: a brush per fill, a pen per line, DrawText for the caption, DrawFocusRect.
class GdiCanvas : public ButtonCanvas {
  public:
    // caption is cut to kMaxCaptionChars; dc must outlive the canvas.
    GdiCanvas(HDC dc, std::wstring caption);

    void FillRect(const GdiRect& r, COLORREF color) override;
    void Line(int x0, int y0, int x1, int y1, COLORREF color) override;
    void Caption(const GdiRect& r, COLORREF color) override;
    void FocusRect(const GdiRect& r) override;

  private:
    HDC m_dc;
    std::wstring m_caption;
};

}  // namespace veltaro::ui
