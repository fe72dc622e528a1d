#include "console_menus.h"

#include <array>
#include <cctype>

namespace modem_sim {
namespace {

// Menu captions never spell the words that the information screens are read by (unit
// words, mode names, interface names, parity names, "OK", "!!"): a reader that looks past
// the end of an information screen must find nothing there to misread.
constexpr MenuItem kChannel{'2', Action::channel, "Channel number"};
constexpr MenuItem kPower{'4', Action::power, "TX power level"};
constexpr MenuItem kMode{'6', Action::mode, "Operating mode (PC/Device)"};
constexpr MenuItem kDestId{'8', Action::dest_id, "Destination ID"};
constexpr MenuItem kUart{'A', Action::uart_menu, "UART setup"};
constexpr MenuItem kHours{'H', Action::hours, "TX period in hours"};
constexpr MenuItem kMinutes{'M', Action::minutes, "TX period in minutes"};
constexpr MenuItem kSeconds{'S', Action::seconds, "TX period in seconds"};

constexpr std::array kKdMain{
    kChannel, kPower,   kMode,
    kDestId,  kUart,    MenuItem{'B', Action::information, "Show settings"},
    kHours,   kMinutes, kSeconds,
};

constexpr std::array kGtEntryMain{
    kChannel, kPower,   MenuItem{'6', Action::information, "Show settings"}, kDestId, kUart, kHours,
    kMinutes, kSeconds,
};

constexpr std::array kFlMain{
    kChannel, kPower,   MenuItem{'6', Action::information, "Show settings"}, kDestId, kHours,
    kMinutes, kSeconds,
};

constexpr std::array kGtPeriodMain{
    kChannel,
    kPower,
    kMode,
    kDestId,
    MenuItem{'A', Action::period_menu, "TX period"},
    MenuItem{'C', Action::information, "Show settings"},
};

constexpr std::array kPeriodMenu{
    MenuItem{'H', Action::hours, "in hours (1~3)"},
    MenuItem{'M', Action::minutes, "in minutes (1~59)"},
    MenuItem{'S', Action::seconds, "in seconds (1~59)"},
};

constexpr std::array kUartMenu{
    MenuItem{'1', Action::interface, "Interface"},
    MenuItem{'2', Action::frame, "Frame (data bits, stop bits, parity)"},
    MenuItem{'3', Action::uart_information, "Show UART settings"},
};

std::span<const MenuItem> main_menu(Family family) {
    switch (family) {
        case Family::kd:
            return kKdMain;
        case Family::gt_entry:
            return kGtEntryMain;
        case Family::fl:
            return kFlMain;
        case Family::gt_period:
        case Family::unlisted:
            break;
    }
    return kGtPeriodMain;
}

}  // namespace

std::span<const MenuItem> menu_items(MenuId menu, Family family) {
    switch (menu) {
        case MenuId::main:
            return main_menu(family);
        case MenuId::period:
            return family == Family::gt_period || family == Family::unlisted
                       ? std::span<const MenuItem>(kPeriodMenu)
                       : std::span<const MenuItem>();
        case MenuId::uart:
            return has_uart_menu(family) ? std::span<const MenuItem>(kUartMenu)
                                         : std::span<const MenuItem>();
    }
    return {};
}

const MenuItem* find_menu_item(std::span<const MenuItem> items, unsigned char key) {
    const int upper = std::toupper(key);
    for (const MenuItem& item : items) {
        if (item.key == upper) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace modem_sim
