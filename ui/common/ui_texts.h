#pragma once

// Every text the program shows of its own, kept in one place. Sources are UTF-8; the
// Korean texts of the About box need a Hangul font (fonts-nanum on Debian).
namespace veltaro::ui::text {

// Main dialog (template 102); its caption is the console logic's kDialogTitle.
inline constexpr const char* kVersionLabel = "Ostrane Veltaro  Ver 1.2";  // two blanks
inline constexpr const char* kComPortLabel = "COM PORT";
inline constexpr const char* kDestIdHint = "ex) A1B2C";  // an example five-character ID
inline constexpr const char* kDataBitLabel = "Data Bit";
inline constexpr const char* kStopBitLabel = "Stop Bit";
inline constexpr const char* kParityBitLabel = "Parity Bit";

// About box (template 100) and its menu item (string 101).
inline constexpr const char* kAboutCaption = "Quistor 정보";
inline constexpr const char* kAboutVersion = "Quistor 버전 1.0";
inline constexpr const char* kAboutThirdLine = "무선 모뎀 설정 도구 · Ostrane";
inline constexpr const char* kAboutOk = "확인";
inline constexpr const char* kAboutFontFace = "MS 셸 대화 상자";      // template 100's face
inline constexpr const char* kAboutMenuItem = "Quistor 정보(&A)...";  // string 101

// Accessible names of controls that show no text of their own.
inline constexpr const char* kConsoleLogName = "Console log";
inline constexpr const char* kLogoName = "Ostrane logo";
inline constexpr const char* kIconName = "Veltaro icon";
inline constexpr const char* kUpArrowName = "Up";  // the up-down control's arrows
inline constexpr const char* kDownArrowName = "Down";

// Title of the serial link's own message boxes ("Cannot Open port", ...).
inline constexpr const char* kLinkBoxTitle = "Veltaro";

}  // namespace veltaro::ui::text

// Save and Apply, beside the About item (context menu on Linux, system menu on Windows).
namespace veltaro::ui::text {
inline constexpr const char* kSaveMenuItem = "Save settings to file...";
inline constexpr const char* kApplyMenuItem = "Apply settings from file...";
inline constexpr const char* kProfileFilter = "Veltaro profiles (*.json)";
inline constexpr const char* kSaveTitle = "Save settings to file";
inline constexpr const char* kApplyTitle = "Apply settings from file";
inline constexpr const char* kApplyingTitle = "Applying settings";
inline constexpr const char* kReadingScreens = "Reading the modem's information screens...";
inline constexpr const char* kReadingBack = "Reading the settings back...";
inline constexpr const char* kCancelling = "Cancelling: the command in flight finishes its keys...";
}  // namespace veltaro::ui::text
