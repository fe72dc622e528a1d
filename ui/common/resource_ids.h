#pragma once

// Numbers of the program's resources and of the About item of the system menu.
namespace veltaro::ui::res {

inline constexpr int kAboutDialog = 100;       // template of the About box
inline constexpr int kAboutMenuText = 101;     // string: the About item's text
inline constexpr int kMainDialog = 102;        // template of the main dialog
inline constexpr int kAppIcon = 128;           // icon: 32, 48 and 96 px
inline constexpr int kLogoBitmap = 142;        // bitmap: 223 x 30, 24-bit
inline constexpr int kLogoBitmapLarge = 143;   // the same logo at 446 x 60 (Windows, high DPI)
inline constexpr int kLogoWidth = 223;         // bitmap 142's width in pixels
inline constexpr unsigned kAboutCommand = 16;  // system command of the About item (IDM_ABOUTBOX)

}  // namespace veltaro::ui::res
