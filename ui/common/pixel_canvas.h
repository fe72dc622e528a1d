#pragma once

#include <cstdint>

#include "color_button_paint.h"

namespace veltaro::ui {

// The primitives drawn pixel by pixel into a 32-bit buffer of 0x??RRGGBB pixels (the
// layout of Qt's RGB32 images and of a top-down Windows DIB), exactly as the platform's
// GDI draws them, so that every front end and the tests see the same pixels. Pixels
// outside the buffer are left out. The caption is the toolkit's: Caption draws nothing
// here unless a subclass does.
class PixelCanvas : public ButtonCanvas {
  public:
    // pixels: height rows of strideWords 32-bit words each; must outlive the canvas.
    PixelCanvas(std::uint32_t* pixels, int width, int height, int strideWords);

    void FillRect(const GdiRect& r, COLORREF color) override;
    void Line(int x0, int y0, int x1, int y1, COLORREF color) override;
    void Caption(const GdiRect& r, COLORREF color) override;
    void FocusRect(const GdiRect& r) override;

  private:
    void SetPixel(int x, int y, COLORREF color);
    void InvertPixel(int x, int y);
    void InvertDotted(int x, int y, int w, int h);

    std::uint32_t* m_pixels;
    int m_width;
    int m_height;
    int m_stride;
};

}  // namespace veltaro::ui
