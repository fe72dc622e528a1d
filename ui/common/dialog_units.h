#pragma once

#include <cstdint>

#include <QRect>

// Dialog units to pixels with the base units of "MS Shell Dlg" 8 pt at 96 DPI
// (horizontal 6, vertical 13), rounded as the platform's MulDiv rounds.
namespace veltaro::ui {

inline constexpr int kBaseUnitX = 6;
inline constexpr int kBaseUnitY = 13;

// a * b / c rounded to the nearest integer, halves away from zero. c must not be 0.
constexpr int MulDiv(int a, int b, int c) {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    const std::int64_t twiceRem = remainder < 0 ? -2 * remainder : 2 * remainder;
    if (twiceRem >= (c < 0 ? -static_cast<std::int64_t>(c) : c)) {
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    }
    return static_cast<int>(quotient);
}

constexpr int DluToPixelsX(int x) {
    return MulDiv(x, kBaseUnitX, 4);
}
constexpr int DluToPixelsY(int y) {
    return MulDiv(y, kBaseUnitY, 8);
}

// Left, top, width and height in dialog units; each of the four converts on its own, as
// the platform converts a control of a dialog template when it creates it.
inline QRect DluRectToPixels(int x, int y, int w, int h) {
    return QRect(DluToPixelsX(x), DluToPixelsY(y), DluToPixelsX(w), DluToPixelsY(h));
}

}  // namespace veltaro::ui
