#include "dialog_template.h"

#include "resource_ids.h"
#include "ui_texts.h"
#include "veltaro/console/console_texts.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

namespace c = veltaro::console::ctl;
using CC = ControlClass;

constexpr unsigned kEditStyle = kCentered;
constexpr unsigned kModemEditStyle = kCentered | kSendable;  // its text goes to the modem
constexpr bool G = true;   // group start
constexpr bool T = true;   // tab stop
constexpr bool N = false;  // no

// clang-format off
constexpr ControlRow kMainControls[] = {
    // id                 class                style               caption            x    y    w    h   group tab
    {c::kData5,           CC::kAutoRadio,      kStyleNone,         "5",              111, 218,  20,  10, G, N},
    {c::kData6,           CC::kAutoRadio,      kStyleNone,         "6",              133, 218,  20,  10, N, N},
    {c::kData7,           CC::kAutoRadio,      kStyleNone,         "7",              155, 218,  20,  10, N, N},
    {c::kData8,           CC::kAutoRadio,      kStyleNone,         "8",              177, 218,  20,  10, N, N},
    {c::kStop1,           CC::kAutoRadio,      kStyleNone,         "1",              111, 236,  20,  10, G, N},
    {c::kStop1_5,         CC::kAutoRadio,      kStyleNone,         "1.5",            142, 236,  27,  10, N, N},
    {c::kStop2,           CC::kAutoRadio,      kStyleNone,         "2",              177, 236,  20,  10, N, N},
    {c::kParityEven,      CC::kAutoRadio,      kStyleNone,         "Even",           111, 255,  28,  10, G, N},
    {c::kParityOdd,       CC::kAutoRadio,      kStyleNone,         "Odd",            141, 256,  25,  10, N, N},
    {c::kParitySpace,     CC::kAutoRadio,      kStyleNone,         "Space",          168, 256,  32,  10, N, N},
    {c::kParityMark,      CC::kAutoRadio,      kStyleNone,         "Mark",           111, 270,  31,  10, N, N},
    {c::kParityNone,      CC::kAutoRadio,      kStyleNone,         "Non",            141, 270,  26,  10, N, N},
    {c::kComNumber,       CC::kEdit,           kEditStyle,         "",                49,   7,  37,  14, N, T},
    {c::kOpen,            CC::kOwnerDrawButton, kStyleNone,        "Open",           107,   7,  41,  14, N, T},
    {c::kClose,           CC::kOwnerDrawButton, kStyleNone,        "Close",          159,   7,  41,  14, N, T},
    {c::kChannelSetting,  CC::kOwnerDrawButton, kStyleNone,        "Channel Setting",  7,  64,  92,  14, N, T},
    {c::kPowerSetting,    CC::kOwnerDrawButton, kStyleNone,        "Tx Power Level Setting", 7, 81, 92, 14, N, T},
    {c::kInformation,     CC::kOwnerDrawButton, kStyleNone,        "Information",      7,  47,  92,  14, N, T},
    {c::kModeSetting,     CC::kOwnerDrawButton, kStyleNone,        "PC/Device Mode Setting", 7, 98, 92, 14, N, T},
    {c::kDestIdSetting,   CC::kOwnerDrawButton, kStyleNone,        "Destination ID Setting", 7, 115, 92, 14, N, T},
    {c::kPeriodSetting,   CC::kOwnerDrawButton, kStyleNone,        "Period Setting",   7, 132,  92,  14, N, T},
    {c::kChannelEdit,     CC::kEdit,           kModemEditStyle,    "",               107,  64,  40,  14, N, T},
    {c::kPowerEdit,       CC::kEdit,           kModemEditStyle | kUpperCase, "",     107,  81,  40,  14, N, T},
    {c::kModePc,          CC::kAutoRadio,      kStyleNone,         "PC",             111, 101,  25,  10, G, N},
    {c::kModeDevice,      CC::kAutoRadio,      kStyleNone,         "Device",         159, 101,  35,  10, N, N},
    {c::kDestIdEdit,      CC::kEdit,           kModemEditStyle,    "",               107, 115,  40,  14, N, T},
    {c::kUnitHour,        CC::kAutoRadio,      kStyleNone,         "HOUR",           109, 135,  31,  10, G, N},
    {c::kUnitMin,         CC::kAutoRadio,      kStyleNone,         "MIN",            143, 135,  27,  10, N, N},
    {c::kUnitSec,         CC::kAutoRadio,      kStyleNone,         "SEC",            171, 135,  29,  10, N, N},
    {c::kPeriodEdit,      CC::kEdit,           kModemEditStyle,    "",               203, 132,  40,  14, N, T},
    {c::kComSpin,         CC::kUpDown,         kStyleNone,         "",                85,   7,  11,  16, N, N},
    {kNoId,               CC::kStaticText,     kStyleNone,         text::kComPortLabel, 9,  10,  36,   8, G, N},
    {c::kLog,             CC::kLogEdit,        kStaticEdge,        "",               254,  46, 175, 236, N, T},
    {kNoId,               CC::kGroupBox,       kStyleNone,         "",               107,  95,  93,  17, N, N},
    {kNoId,               CC::kGroupBox,       kStyleNone,         "",               107, 129,  93,  17, N, N},
    {c::kChannelRange,    CC::kStaticText,     kStyleNone,         "",               155,  66,  45,   8, G, N},
    {c::kPowerRange,      CC::kStaticText,     kStyleNone,         "",               155,  84,  45,   8, G, N},
    {c::kLogo,            CC::kBitmap,         kStaticEdge,        ":/veltaro/logo142.bmp", 265, 17, 150, 20, N, N},
    {kNoId,               CC::kStaticText,     kStyleNone,         text::kDestIdHint, 160, 118,  35,   8, G, N},
    {c::kUartModeSetting, CC::kOwnerDrawButton, kStyleNone,        "UART Mode Setting", 7, 200,  92,  14, N, T},
    {c::kUartInformation, CC::kOwnerDrawButton, kStyleNone,        "UART_Information", 7, 184,  92,  14, N, T},
    {c::kBitSetting,      CC::kOwnerDrawButton, kStyleNone,        "Bit Setting",      7, 216,  92,  14, N, T},
    {c::kRs232,           CC::kAutoRadio,      kStyleNone,         "RS232",          111, 202,  37,  10, G, N},
    {c::kRs485,           CC::kAutoRadio,      kStyleNone,         "RS485",          163, 202,  37,  10, N, N},
    {kNoId,               CC::kGroupBox,       kStyleNone,         "",               107, 196,  93,  17, N, N},
    {kNoId,               CC::kGroupBox,       kStyleNone,         "",               107, 213,  93,  17, N, N},
    {kNoId,               CC::kGroupBox,       kStyleNone,         "",               107, 231,  93,  17, N, N},
    {kNoId,               CC::kGroupBox,       kStyleNone,         "",               107, 249,  93,  33, N, N},
    {kNoId,               CC::kStaticText,     kStyleNone,         text::kDataBitLabel, 208, 218, 26,  8, G, N},
    {kNoId,               CC::kStaticText,     kStyleNone,         text::kStopBitLabel, 208, 237, 26,  8, G, N},
    {kNoId,               CC::kStaticText,     kStyleNone,         text::kParityBitLabel, 208, 256, 30, 8, G, N},
    {c::kAllSetting,      CC::kOwnerDrawButton, kStyleNone,        "All Setting",    107,  47,  93,  14, N, T},
    {c::kUartAllSetting,  CC::kOwnerDrawButton, kStyleNone,        "UART All Setting", 107, 184, 93, 14, N, T},
    {kNoId,               CC::kStaticText,     kCentered | kVCentered | kStaticEdge, text::kVersionLabel, 265, 7, 150, 9, G, N},
};

constexpr ControlRow kAboutControls[] = {
    {kNoId,               CC::kIcon,           kStyleNone,         ":/veltaro/icon128_32.png", 11, 17, 20, 20, N, N},
    {kNoId,               CC::kStaticText,     kNoPrefix,          text::kAboutVersion,  40,  10, 119,   8, G, N},
    {kNoId,               CC::kStaticText,     kStyleNone,         text::kAboutThirdLine, 40, 25, 119,   8, G, N},
    {1,                   CC::kDefPushButton,  kStyleNone,         text::kAboutOk,      178,   7,  50,  16, G, T},
};
// clang-format on

// The original faces were 8 pt (main dialog) and 9 pt (About box) at 96 DPI. The main
// dialog takes 10 px: its boxes were measured for a face of about 5.8 px average width,
// which NanumBarunGothic has at 10 px; at 11 px its texts would be cut off.
//
// Window styles: pop-up, visible, caption, system menu and resizable frame for the main
// dialog, with a task-bar button; pop-up, caption, system menu and modal frame for the
// About box.
constexpr unsigned kMainStyle = 0x90000000u | 0x00C00000u | 0x00080000u | 0x00040000u;
constexpr unsigned kAboutStyle = 0x80000000u | 0x00C00000u | 0x00080000u | 0x00000080u;
constexpr unsigned kAppWindow = 0x00040000u;
constexpr int kLangEnglish = 0x09, kSublangEnglishUs = 0x01;
constexpr int kLangKorean = 0x12, kSublangKorean = 0x01;

constexpr DialogTemplate kMainTemplate{
    console::kDialogTitle.data(),
    436,
    290,
    10,
    kMainControls,
    {res::kMainDialog, kMainStyle, kAppWindow, "MS Shell Dlg", 8, kLangEnglish, kSublangEnglishUs}};
constexpr DialogTemplate kAboutTemplate{
    text::kAboutCaption,
    235,
    55,
    12,
    kAboutControls,
    {res::kAboutDialog, kAboutStyle, 0, text::kAboutFontFace, 9, kLangKorean, kSublangKorean}};

}  // namespace

const DialogTemplate& MainDialogTemplate() {
    return kMainTemplate;
}
const DialogTemplate& AboutDialogTemplate() {
    return kAboutTemplate;
}

}  // namespace veltaro::ui
