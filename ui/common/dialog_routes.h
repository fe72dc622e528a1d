#pragma once

// What the main dialog's controls do and how its colour buttons look: which console
// handler each button click and each field edit runs, and each colour button's fill.
// Both front ends walk these tables, so they cannot drift apart.

#include <cstddef>
#include <iterator>

#include "color_button_paint.h"
#include "veltaro/console/control_ids.h"
#include "veltaro/console/modem_console.h"

namespace veltaro::ui {

using ConsoleHandler = void (console::ModemConsole::*)();

struct Route {
    int id;
    ConsoleHandler handler;
};

// A click on each command button.
inline constexpr Route kClickRoutes[] = {
    {console::ctl::kOpen, &console::ModemConsole::OnOpen},
    {console::ctl::kClose, &console::ModemConsole::OnClose},
    {console::ctl::kChannelSetting, &console::ModemConsole::OnChannelSetting},
    {console::ctl::kPowerSetting, &console::ModemConsole::OnPowerSetting},
    {console::ctl::kInformation, &console::ModemConsole::OnInformation},
    {console::ctl::kModeSetting, &console::ModemConsole::OnModeSetting},
    {console::ctl::kDestIdSetting, &console::ModemConsole::OnDestinationIdSetting},
    {console::ctl::kPeriodSetting, &console::ModemConsole::OnPeriodSetting},
    {console::ctl::kUartModeSetting, &console::ModemConsole::OnUartModeSetting},
    {console::ctl::kBitSetting, &console::ModemConsole::OnBitSetting},
    {console::ctl::kUartInformation, &console::ModemConsole::OnUartInformation},
    {console::ctl::kUartAllSetting, &console::ModemConsole::OnUartAllSetting},
    {console::ctl::kAllSetting, &console::ModemConsole::OnAllSetting},
};

// A change of the four field edits' text, to their checks.
inline constexpr Route kEditRoutes[] = {
    {console::ctl::kChannelEdit, &console::ModemConsole::OnChannelChanged},
    {console::ctl::kPowerEdit, &console::ModemConsole::OnPowerChanged},
    {console::ctl::kPeriodEdit, &console::ModemConsole::OnPeriodChanged},
    {console::ctl::kDestIdEdit, &console::ModemConsole::OnDestinationIdChanged},
};

template <std::size_t N>
constexpr const Route* FindRoute(const Route (&routes)[N], int id) {
    for (const Route& route : routes) {
        if (route.id == id) {
            return &route;
        }
    }
    return nullptr;
}

// Colours as the platform's 0x00BBGGRR values.
inline constexpr COLORREF kLightGreen = 0x90EE90;
inline constexpr COLORREF kPaleYellow = 0x96E4DE;
inline constexpr COLORREF kButtonText = 0x010101;
inline constexpr COLORREF kButtonDisabledText = 0x808080;
inline constexpr COLORREF kDialogBackground = 0xE6D8AD;  // light blue, RGB 173, 216, 230

struct ButtonColor {
    int id;
    COLORREF fill;
};

// In binding order.
inline constexpr ButtonColor kButtonColors[] = {
    {console::ctl::kOpen, kLightGreen},
    {console::ctl::kClose, kLightGreen},
    {console::ctl::kInformation, kPaleYellow},
    {console::ctl::kChannelSetting, kLightGreen},
    {console::ctl::kPowerSetting, kLightGreen},
    {console::ctl::kModeSetting, kLightGreen},
    {console::ctl::kDestIdSetting, kLightGreen},
    {console::ctl::kPeriodSetting, kLightGreen},
    {console::ctl::kAllSetting, kLightGreen},
    {console::ctl::kUartAllSetting, kLightGreen},
    {console::ctl::kUartModeSetting, kLightGreen},
    {console::ctl::kBitSetting, kLightGreen},
    {console::ctl::kUartInformation, kPaleYellow},
};
static_assert(std::size(kButtonColors) == 13);

}  // namespace veltaro::ui
