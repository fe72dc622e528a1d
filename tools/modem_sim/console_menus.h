// The menus of each console layout: which key does what, and the caption it shows.
// Constant data; any thread.
#pragma once

#include <span>
#include <string_view>

#include "model_catalog.h"

namespace modem_sim {

enum class Action {
    channel,
    power,
    mode,
    dest_id,
    period_menu,
    hours,
    minutes,
    seconds,
    information,
    uart_menu,
    interface,
    frame,
    uart_information,
};

enum class MenuId { main, period, uart };

struct MenuItem {
    char key;
    Action action;
    std::string_view caption;
};

// The items of a menu as the family's console offers them; empty for a menu the family lacks.
[[nodiscard]] std::span<const MenuItem> menu_items(MenuId menu, Family family);

// The item for a received key (letters in either case), or nullptr when the menu lacks it.
[[nodiscard]] const MenuItem* find_menu_item(std::span<const MenuItem> items, unsigned char key);

}  // namespace modem_sim
