#pragma once

#include <windows.h>

namespace veltaro::e2e {

// When %VELTARO_SHOT_DIR% is set, saves what the screen shows of `window` and `behind` (the
// main dialog) as a 24-bit BMP named `name` there; under Wine's null graphics driver there is
// nothing to see, so shots are taken on a display (Xvfb). Any thread.
void SaveScreenShot(HWND window, HWND behind, const wchar_t* name);

}  // namespace veltaro::e2e
