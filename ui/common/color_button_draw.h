#pragma once

#include <cstdint>

#include <QFont>
#include <QImage>
#include <QString>

// The owner-drawn look of a colour button, painted into an image pixel by pixel so that the
// widget and the tests see exactly the same pixels. All drawing goes through four
// primitives (fill, line, caption, focus rectangle) with the platform's conventions:
// rectangles exclude their right and bottom edges, lines leave out their end point, the
// focus rectangle inverts every other pixel.
namespace veltaro::ui {

// Red in bits 0-7, green in 8-15, blue in 16-23; a high byte of 0x02 marks a
// palette-relative colour, which is the plain colour on a display without a palette.
using COLORREF = std::uint32_t;

constexpr QRgb ToQRgb(COLORREF c) {
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

// Left, top inclusive; right, bottom exclusive.
struct GdiRect {
    int left, top, right, bottom;
};

struct ColorButtonLook {
    COLORREF text = 0x010101;
    COLORREF fill = 0xC0C0C0;
    COLORREF disabledText = 0x808080;
    int bevel = 2;  // rings; > 0 raised, < 0 sunken, 0 none
};

// The owner-draw state flags that the look depends on.
struct ButtonState {
    bool selected = false;  // held down
    bool disabled = false;
    bool focused = false;
};

inline constexpr int kMaxCaptionChars = 511;
inline constexpr int kFocusInset = 4;

// Primitives. Pixels outside the image are left out.
void FillRect(QImage& image, const GdiRect& r, COLORREF color);
void DrawGdiLine(QImage& image, int x0, int y0, int x1, int y1, COLORREF color);
// Centred on one line, '&' marks a mnemonic ("&&" is one '&'), line breaks drawn as blanks.
void DrawCaption(QImage& image, const GdiRect& r, const QString& caption, const QFont& font,
                 COLORREF color);
void DrawFocusRect(QImage& image, const GdiRect& r);

// The grey rings of the frame, outermost first.
void DrawBevel(QImage& image, GdiRect r, int width);

// Paints the whole button into image (its size is the button's rectangle). The image must
// be of an RGB32 format.
void DrawColorButton(QImage& image, const QString& caption, const QFont& font,
                     const ButtonState& state, const ColorButtonLook& look);

}  // namespace veltaro::ui
