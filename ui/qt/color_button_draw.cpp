#include "color_button_draw.h"

#include <QPainter>

#include "pixel_canvas.h"

namespace veltaro::ui {
namespace {

// The pixel canvas over an image, with the caption drawn by QPainter.
class ImageCanvas : public PixelCanvas {
  public:
    ImageCanvas(QImage& image, const QString& caption, const QFont& font)
        : PixelCanvas(reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
                      static_cast<int>(image.bytesPerLine() / 4)),
          m_image(image),
          m_caption(caption.left(kMaxCaptionChars)),
          m_font(font) {}

    void Caption(const GdiRect& r, COLORREF color) override {
        DrawCaption(m_image, r, m_caption, m_font, color);
    }

  private:
    QImage& m_image;
    QString m_caption;
    QFont m_font;
};

}  // namespace

void FillRect(QImage& image, const GdiRect& r, COLORREF color) {
    ImageCanvas(image, {}, {}).FillRect(r, color);
}

void DrawGdiLine(QImage& image, int x0, int y0, int x1, int y1, COLORREF color) {
    ImageCanvas(image, {}, {}).Line(x0, y0, x1, y1, color);
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
    ImageCanvas(image, {}, {}).FocusRect(r);
}

void DrawBevel(QImage& image, GdiRect r, int width) {
    ImageCanvas canvas(image, {}, {});
    veltaro::ui::DrawBevel(canvas, r, width);
}

void DrawColorButton(QImage& image, const QString& caption, const QFont& font,
                     const ButtonState& state, const ColorButtonLook& look) {
    ImageCanvas canvas(image, caption, font);
    PaintColorButton(canvas, GdiRect{0, 0, image.width(), image.height()}, state, look);
}

}  // namespace veltaro::ui
