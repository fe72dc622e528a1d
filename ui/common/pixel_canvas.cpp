#include "pixel_canvas.h"

#include <cstdlib>

namespace veltaro::ui {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// COLORREF is 0x00BBGGRR; the buffer holds 0xAARRGGBB.
std::uint32_t ToPixel(COLORREF c) {
    return kOpaque | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

}  // namespace

PixelCanvas::PixelCanvas(std::uint32_t* pixels, int width, int height, int strideWords)
    : m_pixels(pixels), m_width(width), m_height(height), m_stride(strideWords) {}

void PixelCanvas::SetPixel(int x, int y, COLORREF color) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height) {
        m_pixels[y * m_stride + x] = ToPixel(color);
    }
}

void PixelCanvas::InvertPixel(int x, int y) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height) {
        m_pixels[y * m_stride + x] ^= 0x00FFFFFFu;
    }
}

void PixelCanvas::FillRect(const GdiRect& r, COLORREF color) {
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            SetPixel(x, y, color);
        }
    }
}

void PixelCanvas::Line(int x0, int y0, int x1, int y1, COLORREF color) {
    // Bresenham from the start point, stopping before the end point.
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0;
    int y = y0;
    while (x != x1 || y != y1) {
        SetPixel(x, y, color);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void PixelCanvas::Caption(const GdiRect&, COLORREF) {}

// The inverted pixels of a dotted line run: every pixel whose x + y is even, as the
// platform's focus brush is aligned to the device origin.
void PixelCanvas::InvertDotted(int x, int y, int w, int h) {
    for (int yy = y; yy < y + h; ++yy) {
        for (int xx = x; xx < x + w; ++xx) {
            if (((xx + yy) & 1) == 0) {
                InvertPixel(xx, yy);
            }
        }
    }
}

void PixelCanvas::FocusRect(const GdiRect& r) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (w <= 0 || h <= 0) {
        return;
    }
    InvertDotted(r.left, r.top, w, 1);
    if (h > 1) {
        InvertDotted(r.left, r.bottom - 1, w, 1);
    }
    if (h > 2) {
        InvertDotted(r.left, r.top + 1, 1, h - 2);
        if (w > 1) {
            InvertDotted(r.right - 1, r.top + 1, 1, h - 2);
        }
    }
}

}  // namespace veltaro::ui
