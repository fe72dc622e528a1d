#pragma once

#include <windows.h>

#include "dialog_template.h"

namespace veltaro::ui {

// Where row's control belongs in the dialog's client area, in pixels: position and size
// each converted from dialog units on their own, as the dialog manager converts them.
[[nodiscard]] bool TemplateRectangle(HWND dialog, const ControlRow& row, RECT& rectangle);

// Puts row's control back on its template rectangle, for controls that size themselves
// when they are made (the up-down control takes a fixed width on some systems, which at
// 150 % or 200 % leaves small arrows in a frame made for larger ones).
bool KeepTemplateRectangle(HWND dialog, const ControlRow& row);

}  // namespace veltaro::ui
