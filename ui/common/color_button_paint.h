#pragma once

#include <cstdint>

// The owner-drawn look of a colour button, shared by both front ends: face colour, bevelled
// frame ring by ring, caption, pressed, disabled and focus looks. All drawing goes through
// four primitives that each toolkit provides (ButtonCanvas), with the platform's
// conventions: rectangles exclude their right and bottom edges, lines leave out their end
// point, the focus rectangle inverts every other pixel.
namespace veltaro::ui {

// Red in bits 0-7, green in 8-15, blue in 16-23; a high byte of 0x02 marks a
// palette-relative colour, which is the plain colour on a display without a palette.
using COLORREF = std::uint32_t;

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

// The four drawing primitives. A canvas knows the button's caption (cut to
// kMaxCaptionChars) and font.
class ButtonCanvas {
  public:
    virtual ~ButtonCanvas() = default;
    virtual void FillRect(const GdiRect& r, COLORREF color) = 0;
    virtual void Line(int x0, int y0, int x1, int y1, COLORREF color) = 0;
    // Centred on one line, '&' marks a mnemonic ("&&" is one '&'), line breaks drawn as
    // blanks; the background stays.
    virtual void Caption(const GdiRect& r, COLORREF color) = 0;
    virtual void FocusRect(const GdiRect& r) = 0;
};

// The grey rings of the frame, outermost first.
void DrawBevel(ButtonCanvas& canvas, GdiRect r, int width);

// Paints the whole button inside item.
void PaintColorButton(ButtonCanvas& canvas, const GdiRect& item, const ButtonState& state,
                      const ColorButtonLook& look);

}  // namespace veltaro::ui
