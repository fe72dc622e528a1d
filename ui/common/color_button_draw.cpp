#include "color_button_draw.h"

#include <cstdlib>

#include <QPainter>

namespace veltaro::ui {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kGrey128 = 0x808080;
constexpr COLORREF kNearBlack = 0x010101;
constexpr COLORREF kPaletteRelative = 0x02000000;

COLORREF PaletteGrey(int level) {
    return kPaletteRelative + static_cast<COLORREF>(level) * 0x010101u;
}

void SetPixel(QImage& image, int x, int y, COLORREF color) {
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) {
        image.setPixel(x, y, ToQRgb(color));
    }
}

void InvertPixel(QImage& image, int x, int y) {
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) {
        image.setPixel(x, y, image.pixel(x, y) ^ 0x00FFFFFFu);
    }
}

struct RingColors {
    COLORREF topLeft;
    COLORREF bottomRight;
};

RingColors RingColorsFor(int ring, int width) {
    const int rings = std::abs(width);
    COLORREF light = kWhite;
    COLORREF dark = kGrey128;
    if (rings > 1) {
        light = PaletteGrey(192 + 63 / ring);
        dark = PaletteGrey(255 / (ring + 1));
    }
    if (width > 0) {
        return {light, dark};
    }
    const bool innermost = ring == rings && rings > 1;
    return {dark, innermost ? kNearBlack : light};
}

// The inverted pixels of a dotted line run: every pixel whose x + y is even, as the
// platform's focus brush is aligned to the device origin.
void InvertDotted(QImage& image, int x, int y, int w, int h) {
    for (int yy = y; yy < y + h; ++yy) {
        for (int xx = x; xx < x + w; ++xx) {
            if (((xx + yy) & 1) == 0) {
                InvertPixel(image, xx, yy);
            }
        }
    }
}

}  // namespace

void FillRect(QImage& image, const GdiRect& r, COLORREF color) {
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            SetPixel(image, x, y, color);
        }
    }
}

void DrawGdiLine(QImage& image, int x0, int y0, int x1, int y1, COLORREF color) {
    // Bresenham from the start point, stopping before the end point.
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0;
    int y = y0;
    while (x != x1 || y != y1) {
        SetPixel(image, x, y, color);
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

void DrawCaption(QImage& image, const GdiRect& r, const QString& caption, const QFont& font,
                 COLORREF color) {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(ToQRgb(color)));
    const QRect box(r.left, r.top, r.right - r.left, r.bottom - r.top);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, caption);
}

void DrawFocusRect(QImage& image, const GdiRect& r) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (w <= 0 || h <= 0) {
        return;
    }
    InvertDotted(image, r.left, r.top, w, 1);
    if (h > 1) {
        InvertDotted(image, r.left, r.bottom - 1, w, 1);
    }
    if (h > 2) {
        InvertDotted(image, r.left, r.top + 1, 1, h - 2);
        if (w > 1) {
            InvertDotted(image, r.right - 1, r.top + 1, 1, h - 2);
        }
    }
}

void DrawBevel(QImage& image, GdiRect r, int width) {
    const int rings = std::abs(width);
    for (int ring = 1; ring <= rings; ++ring) {
        const RingColors colors = RingColorsFor(ring, width);
        DrawGdiLine(image, r.left, r.top, r.right, r.top, colors.topLeft);
        DrawGdiLine(image, r.left, r.top, r.left, r.bottom, colors.topLeft);
        DrawGdiLine(image, r.left + 1, r.bottom - 1, r.right, r.bottom - 1, colors.bottomRight);
        DrawGdiLine(image, r.right - 1, r.top + 1, r.right - 1, r.bottom, colors.bottomRight);
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
}

void DrawColorButton(QImage& image, const QString& caption, const QFont& font,
                     const ButtonState& state, const ColorButtonLook& look) {
    const GdiRect item{0, 0, image.width(), image.height()};
    const GdiRect focus{kFocusInset, kFocusInset, item.right - kFocusInset,
                        item.bottom - kFocusInset};
    const QString text = caption.left(kMaxCaptionChars);

    FillRect(image, item, look.fill);
    DrawBevel(image, item, look.bevel);
    DrawCaption(image, item, text, font, look.text);
    if (state.focused) {
        DrawFocusRect(image, focus);
        if (state.selected) {
            FillRect(image, item, look.fill);
            DrawBevel(image, item, -1);
            DrawCaption(image, item, text, font, look.text);
            DrawFocusRect(image, focus);
        }
        return;
    }
    if (state.disabled) {
        DrawCaption(image, item, text, font, look.disabledText);
    }
}

}  // namespace veltaro::ui
