#include "color_button_paint.h"

#include <cstdlib>

namespace veltaro::ui {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kGrey128 = 0x808080;
constexpr COLORREF kNearBlack = 0x010101;
constexpr COLORREF kPaletteRelative = 0x02000000;

COLORREF PaletteGrey(int level) {
    return kPaletteRelative + static_cast<COLORREF>(level) * 0x010101u;
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

}  // namespace

void DrawBevel(ButtonCanvas& canvas, GdiRect r, int width) {
    const int rings = std::abs(width);
    for (int ring = 1; ring <= rings; ++ring) {
        const RingColors colors = RingColorsFor(ring, width);
        canvas.Line(r.left, r.top, r.right, r.top, colors.topLeft);
        canvas.Line(r.left, r.top, r.left, r.bottom, colors.topLeft);
        canvas.Line(r.left + 1, r.bottom - 1, r.right, r.bottom - 1, colors.bottomRight);
        canvas.Line(r.right - 1, r.top + 1, r.right - 1, r.bottom, colors.bottomRight);
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
}

void PaintColorButton(ButtonCanvas& canvas, const GdiRect& item, const ButtonState& state,
                      const ColorButtonLook& look) {
    const GdiRect focus{item.left + kFocusInset, item.top + kFocusInset, item.right - kFocusInset,
                        item.bottom - kFocusInset};
    canvas.FillRect(item, look.fill);
    DrawBevel(canvas, item, look.bevel);
    canvas.Caption(item, look.text);
    if (state.focused) {
        canvas.FocusRect(focus);
        if (state.selected) {
            canvas.FillRect(item, look.fill);
            DrawBevel(canvas, item, -1);
            canvas.Caption(item, look.text);
            canvas.FocusRect(focus);
        }
        return;
    }
    if (state.disabled) {
        canvas.Caption(item, look.disabledText);
    }
}

}  // namespace veltaro::ui
