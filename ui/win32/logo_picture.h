#pragma once

#include <windows.h>

#include "dialog_template.h"

namespace veltaro::ui {

// The logo picture (static 1032) drawn to fill the rectangle that its template gives it.
// The static control sizes itself to its bitmap, so at more than 96 dpi the 223 x 30 logo
// would stay small inside a frame that grew with the dialog; the logo is scaled to the
// control instead, from bitmap 142 or, for larger sizes, its twice-as-fine companion 143.
//
// Owned by the dialog; user-interface thread only. The scaled bitmap lives as long as this
// object, which must outlive the control's window.
class LogoPicture {
  public:
    LogoPicture() = default;
    ~LogoPicture();
    LogoPicture(const LogoPicture&) = delete;
    LogoPicture& operator=(const LogoPicture&) = delete;

    // Gives the picture control of row its template rectangle again and shows the logo
    // scaled to its inside. False when no picture could be made; the control then keeps the
    // logo it was created with.
    bool Fit(HWND dialog, HINSTANCE instance, const ControlRow& row);

    // The scaled logo for a picture of width x height pixels: bitmap 142 at its own size,
    // else the closest fitting source scaled with halftoning. The caller owns it.
    [[nodiscard]] static HBITMAP Scaled(HINSTANCE instance, int width, int height);

  private:
    HBITMAP m_bitmap = nullptr;
};

}  // namespace veltaro::ui
