#pragma once

// Control identifiers of the main dialog (template 102). They name controls everywhere:
// the console logic enables and disables controls by these numbers.
namespace veltaro::console::ctl {

inline constexpr int kComNumber = 1000;       // edit: COM number
inline constexpr int kComSpin = 1001;         // up-down control beside the COM number
inline constexpr int kOpen = 1004;            // "Open"
inline constexpr int kClose = 1005;           // "Close"
inline constexpr int kLog = 1006;             // log pane
inline constexpr int kChannelSetting = 1008;  // "Channel Setting"
inline constexpr int kPowerSetting = 1010;    // "Tx Power Level Setting"
inline constexpr int kModeSetting = 1012;     // "PC/Device Mode Setting"
inline constexpr int kDestIdSetting = 1014;   // "Destination ID Setting"
inline constexpr int kInformation = 1016;     // "Information"
inline constexpr int kPeriodSetting = 1018;   // "Period Setting"
inline constexpr int kChannelEdit = 1020;
inline constexpr int kPowerEdit = 1021;
inline constexpr int kModePc = 1023;      // "PC"
inline constexpr int kModeDevice = 1024;  // "Device"
inline constexpr int kDestIdEdit = 1025;
inline constexpr int kUnitHour = 1026;  // "HOUR"
inline constexpr int kUnitMin = 1027;   // "MIN"
inline constexpr int kUnitSec = 1028;   // "SEC"
inline constexpr int kPeriodEdit = 1029;
inline constexpr int kRs232 = 1031;
inline constexpr int kLogo = 1032;
inline constexpr int kUartModeSetting = 1033;  // "UART Mode Setting"
inline constexpr int kUartInformation = 1034;  // "UART_Information"
inline constexpr int kBitSetting = 1035;       // "Bit Setting"
inline constexpr int kRs485 = 1038;
inline constexpr int kData5 = 1039;
inline constexpr int kData6 = 1040;
inline constexpr int kData7 = 1041;
inline constexpr int kData8 = 1042;
inline constexpr int kStop1 = 1043;
inline constexpr int kStop1_5 = 1044;
inline constexpr int kStop2 = 1045;
inline constexpr int kAllSetting = 1046;  // "All Setting"
inline constexpr int kParityEven = 1047;
inline constexpr int kParityOdd = 1048;
inline constexpr int kParitySpace = 1049;
inline constexpr int kParityMark = 1050;
inline constexpr int kParityNone = 1051;      // "Non"
inline constexpr int kUartAllSetting = 1052;  // "UART All Setting"
inline constexpr int kChannelRange = 1054;    // static: channel range label
inline constexpr int kPowerRange = 1055;      // static: power range label

}  // namespace veltaro::console::ctl
