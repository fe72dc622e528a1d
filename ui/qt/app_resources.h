#pragma once

class QIcon;

// The program's pictures and fonts.
namespace veltaro::ui {

// Icon 128 at 32, 48 and 96 pixels.
QIcon AppIcon();

// Sets up the application as the program and its tests run it: the classic, unthemed style
// and the icon.
void SetUpApplicationLook();

}  // namespace veltaro::ui
