#pragma once

#include <QFont>
#include <QImage>
#include <QString>

#include "color_button_paint.h"

// The colour button's look on Qt: the shared drawing logic (color_button_paint.h) painted
// into an image through the pixel canvas (pixel_canvas.h), with the caption drawn by
// QPainter, so that the widget and the tests see exactly the same pixels.
namespace veltaro::ui {

constexpr QRgb ToQRgb(COLORREF c) {
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

// Primitives on an image of an RGB32 format. Pixels outside the image are left out.
void FillRect(QImage& image, const GdiRect& r, COLORREF color);
void DrawGdiLine(QImage& image, int x0, int y0, int x1, int y1, COLORREF color);
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
