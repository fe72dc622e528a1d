// The colour button's look, probed pixel by pixel.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <QApplication>

#include "color_button.h"
#include "color_button_draw.h"

namespace veltaro::ui {
namespace {

constexpr COLORREF kFill = 0x90EE90;  // light green: RGB 144, 238, 144
constexpr QRgb kFillRgb = qRgb(144, 238, 144);

QRgb Grey(int level) {
    return qRgb(level, level, level);
}

QImage Blank(int w, int h, COLORREF fill = kFill) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(ToQRgb(fill));
    return image;
}

QFont CaptionFont() {
    QFont font = QApplication::font();
    font.setPixelSize(10);
    return font;
}

QImage Button(const QString& caption, ButtonState state, int bevel = 2, int w = 90, int h = 23) {
    QImage image = Blank(w, h);
    DrawColorButton(image, caption, CaptionFont(), state,
                    ColorButtonLook{0x010101, kFill, 0x808080, bevel});
    return image;
}

// Pixels that match; with inset > 0 only those inside the frame and focus rectangle.
int CountPixels(const QImage& image, const std::function<bool(QRgb)>& match, int inset = 0) {
    int count = 0;
    for (int y = inset; y < image.height() - inset; ++y) {
        for (int x = inset; x < image.width() - inset; ++x) {
            count += match(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

int CountPixels(const QImage& image, QRgb colour, int inset = 0) {
    return CountPixels(
        image, [colour](QRgb p) { return p == colour; }, inset);
}

// Caption ink, smoothed or not: the text colour 0x010101 is near black wherever a glyph
// covers a pixel fully; the disabled colour 0x808080 is a neutral grey, which no blend of
// black and the green face gives.
bool IsTextInk(QRgb p) {
    return qGray(p) < 40;
}
bool IsDisabledInk(QRgb p) {
    return std::abs(qRed(p) - qGreen(p)) <= 8 && std::abs(qGreen(p) - qBlue(p)) <= 8 &&
           qGray(p) >= 96 && qGray(p) <= 160;
}
bool IsInk(QRgb p) {
    return p != kFillRgb;
}

TEST(ColorrefTest, LowByteIsRedAndThePaletteFlagIsIgnored) {
    EXPECT_EQ(ToQRgb(0x96E4DE), qRgb(222, 228, 150));
    EXPECT_EQ(ToQRgb(0x90EE90), qRgb(144, 238, 144));
    EXPECT_EQ(ToQRgb(0x02DFDFDF), Grey(223));
    EXPECT_EQ(ToQRgb(0x00E6D8AD), qRgb(173, 216, 230));
}

TEST(GdiLineTest, LeavesOutItsEndPoint) {
    struct Case {
        int x0, y0, x1, y1;
        int painted;
        QPoint firstUnpainted;
    };
    const Case cases[] = {
        {2, 3, 7, 3, 5, {7, 3}},  // horizontal
        {4, 1, 4, 6, 5, {4, 6}},  // vertical
        {0, 0, 4, 4, 4, {4, 4}},  // diagonal
        {7, 3, 2, 3, 5, {2, 3}},  // right to left
        {5, 5, 5, 5, 0, {5, 5}},  // a point: nothing
    };
    for (const Case& c : cases) {
        QImage image = Blank(10, 10, 0);
        DrawGdiLine(image, c.x0, c.y0, c.x1, c.y1, 0xFFFFFF);
        EXPECT_EQ(CountPixels(image, Grey(255)), c.painted) << c.x0 << "," << c.y0;
        EXPECT_EQ(image.pixel(c.firstUnpainted), Grey(0)) << c.x0 << "," << c.y0;
    }
}

struct Ring {
    QRgb topLeft;
    QRgb bottomRight;
};

struct BevelCase {
    int width;
    std::vector<Ring> rings;
};

// Ring by ring: each edge in its colour, the top-right and bottom-left corners in the
// top/left colour (the right and bottom edges start one pixel in), and the face inside.
void ExpectRings(const QImage& image, const BevelCase& c) {
    const int w = image.width();
    const int h = image.height();
    for (int k = 0; k < static_cast<int>(c.rings.size()); ++k) {
        const Ring& ring = c.rings[k];
        SCOPED_TRACE(testing::Message() << "width " << c.width << " ring " << k + 1);
        EXPECT_EQ(image.pixel(w / 2, k), ring.topLeft);
        EXPECT_EQ(image.pixel(k, h / 2), ring.topLeft);
        EXPECT_EQ(image.pixel(w / 2, h - 1 - k), ring.bottomRight);
        EXPECT_EQ(image.pixel(w - 1 - k, h / 2), ring.bottomRight);
        EXPECT_EQ(image.pixel(w - 1 - k, k), ring.topLeft);
        EXPECT_EQ(image.pixel(k, h - 1 - k), ring.topLeft);
        EXPECT_EQ(image.pixel(w - 1 - k, h - 1 - k), ring.bottomRight);
    }
    const int m = static_cast<int>(c.rings.size());
    EXPECT_EQ(image.pixel(m, m), kFillRgb) << "width " << c.width;
    EXPECT_EQ(image.pixel(w - 1 - m, h - 1 - m), kFillRgb) << "width " << c.width;
}

TEST(BevelTest, RingsTakeTheirGreyLevels) {
    const BevelCase cases[] = {
        {0, {}},
        {1, {{Grey(255), Grey(128)}}},
        {-1, {{Grey(128), Grey(255)}}},
        {2, {{Grey(255), Grey(127)}, {Grey(223), Grey(85)}}},
        {-2, {{Grey(127), Grey(255)}, {Grey(85), Grey(1)}}},
        {-3, {{Grey(127), Grey(255)}, {Grey(85), Grey(223)}, {Grey(63), Grey(1)}}},
        {4,
         {{Grey(255), Grey(127)},
          {Grey(223), Grey(85)},
          {Grey(213), Grey(63)},
          {Grey(207), Grey(51)}}},
    };
    for (const BevelCase& c : cases) {
        QImage image = Blank(20, 14);
        DrawBevel(image, GdiRect{0, 0, 20, 14}, c.width);
        ExpectRings(image, c);
    }
}

TEST(ColorButtonLookTest, ReleasedPressedAndBevelWidths) {
    struct Case {
        const char* name;
        ButtonState state;
        int bevel;
        std::vector<Ring> rings;
    };
    const Case cases[] = {
        {"released", {}, 2, {{Grey(255), Grey(127)}, {Grey(223), Grey(85)}}},
        {"released, no frame", {}, 0, {}},
        {"released, one ring", {}, 1, {{Grey(255), Grey(128)}}},
        {"sunken three rings",
         {},
         -3,
         {{Grey(127), Grey(255)}, {Grey(85), Grey(223)}, {Grey(63), Grey(1)}}},
        {"pressed with focus", {true, false, true}, 2, {{Grey(128), Grey(255)}}},
        {"pressed with focus, wide frame", {true, false, true}, -3, {{Grey(128), Grey(255)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRings(Button("Open", c.state, c.bevel), BevelCase{c.bevel, c.rings});
    }
}

// The focus rectangle 4 pixels inside: of its edge pixels those with x + y even inverted,
// the others untouched; nothing just outside it.
void ExpectFocusRect(const QImage& image, bool present) {
    const int right = image.width() - 1 - kFocusInset;
    const int bottom = image.height() - 1 - kFocusInset;
    const QRgb inverted = kFillRgb ^ 0x00FFFFFFu;
    auto expectAt = [&](int x, int y) {
        const bool dot = present && (x + y) % 2 == 0;
        EXPECT_EQ(image.pixel(x, y), dot ? inverted : kFillRgb) << x << "," << y;
    };
    for (int x = kFocusInset; x <= right; x += 7) {
        expectAt(x, kFocusInset);
        expectAt(x, bottom);
    }
    for (int y = kFocusInset; y <= bottom; ++y) {
        expectAt(kFocusInset, y);
        expectAt(right, y);
    }
    expectAt(right, kFocusInset);
    expectAt(right, bottom);
    EXPECT_EQ(image.pixel(kFocusInset - 1, kFocusInset - 1), kFillRgb);
}

TEST(ColorButtonLookTest, FocusRectangleOnlyWithFocus) {
    ExpectFocusRect(Button("Open", {}), false);
    ExpectFocusRect(Button("Open", {false, false, true}), true);
    ExpectFocusRect(Button("Open", {true, false, true}), true);
    ExpectFocusRect(Button("Open", {false, true, true}), true);
}

TEST(ColorButtonLookTest, SelectedWithoutFocusLooksReleased) {
    EXPECT_EQ(Button("Open", {true, false, false}), Button("Open", {}));
}

TEST(ColorButtonLookTest, CaptionColourFollowsTheState) {
    struct Case {
        const char* name;
        ButtonState state;
        bool textColour;
        bool disabledColour;
    };
    const Case cases[] = {
        {"released", {}, true, false},
        {"disabled", {false, true, false}, false, true},
        {"disabled with focus ignores the flag", {false, true, true}, true, false},
        {"pressed", {true, false, true}, true, false},
    };
    for (const Case& c : cases) {
        const QImage image = Button("Channel Setting", c.state);
        const int inside = kFocusInset + 1;
        EXPECT_EQ(CountPixels(image, IsTextInk, inside) > 0, c.textColour) << c.name;
        EXPECT_EQ(CountPixels(image, IsDisabledInk, inside) > 0, c.disabledColour) << c.name;
        EXPECT_EQ(image.pixel(image.width() / 2, 2), kFillRgb) << c.name;  // face unchanged
    }
}

TEST(ColorButtonCaptionTest, EmptyCaptionDrawsNoText) {
    const QImage image = Button("", {});
    EXPECT_EQ(CountPixels(image, IsInk, 2), 0);
    EXPECT_GT(CountPixels(Button("Open", {}), IsInk, 2), 0);
}

TEST(ColorButtonCaptionTest, CaptionIsCentred) {
    const QImage image = Button("I", {}, 0, 41, 21);
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsInk(image.pixel(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    ASSERT_GE(right, left);
    EXPECT_LE(std::abs((left + right) - (image.width() - 1)), 3);
}

TEST(ColorButtonCaptionTest, AmpersandUnderlinesTheNextLetter) {
    const int plain = CountPixels(Button("Open", {}), IsTextInk);
    const int mnemonic = CountPixels(Button("&Open", {}), IsTextInk);
    EXPECT_GT(mnemonic, plain);  // the underline
    EXPECT_NE(Button("&Open", {}), Button("&&Open", {}));
}

TEST(ColorButtonCaptionTest, LineBreaksStayOnOneLine) {
    EXPECT_EQ(Button("Bit\nSetting", {}), Button("Bit Setting", {}));
}

TEST(ColorButtonCaptionTest, LongCaptionIsCutTo511Characters) {
    QString caption;
    for (int i = 0; i < 600; ++i) {
        caption.append(QChar(u'0' + i % 10));
    }
    const QImage cut = Button(caption.left(kMaxCaptionChars), {});
    EXPECT_EQ(Button(caption, {}), cut);
    EXPECT_NE(Button(caption.left(kMaxCaptionChars - 1), {}), cut);
}

TEST(ColorButtonWidgetTest, AttachSetsDefaultsAndSetColorsRepaints) {
    QWidget parent;
    parent.resize(120, 40);
    auto* button = new CColorButton(&parent);
    button->setObjectName(QStringLiteral("ctl_1004"));
    button->setText(QStringLiteral("Open"));
    button->setGeometry(10, 10, 60, 21);
    parent.show();

    EXPECT_EQ(CColorButton::AttachDlgItem(1005, parent), nullptr);
    EXPECT_FALSE(button->IsBound());
    ASSERT_EQ(CColorButton::AttachDlgItem(1004, parent), button);
    EXPECT_EQ(button->Look().text, 0x010101u);
    EXPECT_EQ(button->Look().fill, 0xC0C0C0u);
    EXPECT_EQ(button->Look().disabledText, 0x808080u);
    EXPECT_EQ(button->Look().bevel, 2);
    EXPECT_EQ(button->grab().toImage().pixel(3, 10), Grey(192));

    button->SetColors(0x010101, 0x96E4DE, 0x808080);
    EXPECT_EQ(button->Look().bevel, 2);
    const QImage face = button->grab().toImage();
    EXPECT_EQ(face.pixel(3, 10), qRgb(222, 228, 150));
    EXPECT_EQ(face.pixel(0, 0), Grey(255));
    EXPECT_EQ(face.pixel(30, 20), Grey(127));
}

}  // namespace
}  // namespace veltaro::ui
