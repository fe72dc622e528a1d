// The colour button's look drawn by GDI, pixel for pixel the same as through the pixel
// canvas that the Qt build paints with, for every state. Two things are the toolkits' own:
// the caption's glyphs (compared outside the caption's box only) and the phase of the
// focus rectangle's dots (Windows aligns them to the device origin, Wine starts them at
// the rectangle's corner), so on the focus ring each pixel must be the face or its
// inverse, and half of them inverted.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "color_button_paint.h"
#include "gdi_canvas.h"
#include "pixel_canvas.h"

namespace veltaro::ui {
namespace {

constexpr int kWidth = 138;  // a command button of template 102 at Wine's base units
constexpr int kHeight = 23;
constexpr std::uint32_t kRgb = 0x00FFFFFFu;

// A top-down 32-bit DIB section with a memory device context selected into it.
class DibSurface {
  public:
    DibSurface() {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dc != nullptr && bitmap != nullptr) {
            previous = SelectObject(dc, bitmap);
            SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        }
    }
    ~DibSurface() {
        if (previous != nullptr) {
            SelectObject(dc, previous);
        }
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    bool Ok() const { return dc != nullptr && bitmap != nullptr && bits != nullptr; }
    std::uint32_t Pixel(int x, int y) const {
        GdiFlush();
        return static_cast<const std::uint32_t*>(bits)[y * kWidth + x] & kRgb;
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    void* bits = nullptr;
};

struct StateCase {
    const char* name;
    ButtonState state;
    int bevel;
};

const StateCase kStates[] = {
    {"normal", {false, false, false}, 2},
    {"pressed", {true, false, true}, 2},
    {"focused", {false, false, true}, 2},
    {"disabled", {false, true, false}, 2},
    {"selected without focus", {true, false, false}, 2},
    {"sunken three rings", {false, false, false}, -3},
    {"one ring, focused", {false, false, true}, 1},
};

std::vector<std::uint32_t> DrawWithPixelCanvas(const ButtonState& state,
                                               const ColorButtonLook& look) {
    std::vector<std::uint32_t> pixels(kWidth * kHeight, 0);
    PixelCanvas canvas(pixels.data(), kWidth, kHeight, kWidth);
    PaintColorButton(canvas, GdiRect{0, 0, kWidth, kHeight}, state, look);
    return pixels;
}

void DrawWithGdi(DibSurface& surface, const std::wstring& caption, const ButtonState& state,
                 const ColorButtonLook& look) {
    GdiCanvas canvas(surface.dc, caption);
    PaintColorButton(canvas, GdiRect{0, 0, kWidth, kHeight}, state, look);
}

// The box that DrawText fills with the caption, centred as the caption primitive centres it.
RECT CaptionBox(HDC dc, const std::wstring& caption) {
    RECT box{0, 0, kWidth, kHeight};
    DrawTextW(dc, caption.c_str(), -1, &box, DT_CALCRECT | DT_SINGLELINE);
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    const int left = (kWidth - w) / 2;
    const int top = (kHeight - h) / 2;
    return RECT{left - 1, top - 1, left + w + 1, top + h + 1};
}

bool OnRing(const RECT& r, int x, int y) {
    const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    return inside && (x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1);
}

TEST(ColorButtonPixelsTest, GdiDrawsEveryStateAsThePixelCanvasDoes) {
    const std::wstring caption = L"&Channel Setting";
    for (const StateCase& c : kStates) {
        ColorButtonLook look;
        look.fill = 0x90EE90;
        look.bevel = c.bevel;
        const std::vector<std::uint32_t> expected = DrawWithPixelCanvas(c.state, look);

        DibSurface bare;
        ASSERT_TRUE(bare.Ok());
        DrawWithGdi(bare, L"", c.state, look);
        DibSurface captioned;
        ASSERT_TRUE(captioned.Ok());
        DrawWithGdi(captioned, caption, c.state, look);
        const RECT text = CaptionBox(captioned.dc, caption);

        const RECT focus = c.state.focused ? RECT{kFocusInset, kFocusInset, kWidth - kFocusInset,
                                                  kHeight - kFocusInset}
                                           : RECT{};
        int mismatches = 0;
        int captionPixels = 0;
        int ringPixels = 0;
        int ringDots = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                std::uint32_t want = expected[y * kWidth + x] & kRgb;
                if (OnRing(focus, x, y)) {
                    const std::uint32_t face = ((x + y) & 1) == 0 ? want ^ kRgb : want;
                    const std::uint32_t got = bare.Pixel(x, y);
                    EXPECT_TRUE(got == face || got == (face ^ kRgb))
                        << c.name << " at " << x << "," << y;
                    ++ringPixels;
                    ringDots += got != face;
                    want = got;
                }
                EXPECT_EQ(bare.Pixel(x, y), want) << c.name << " at " << x << "," << y;
                const POINT p{x, y};
                if (PtInRect(&text, p)) {
                    captionPixels += captioned.Pixel(x, y) != want;
                } else {
                    mismatches += captioned.Pixel(x, y) != want;
                }
                if (::testing::Test::HasFailure()) {
                    return;  // one report per fault, not thousands
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << c.name;
        EXPECT_NEAR(ringDots, ringPixels / 2, 2) << c.name << ": every other ring pixel inverted";
        EXPECT_GT(captionPixels, 0) << c.name << ": the caption was drawn";
    }
}

}  // namespace
}  // namespace veltaro::ui
