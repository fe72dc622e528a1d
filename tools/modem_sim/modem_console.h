// The modem's configuration console: a menu-driven state machine that takes the received
// bytes one at a time and returns what the modem prints in answer.
//
// Owns the settings that the console changes. Single-threaded; no I/O of its own.
//
// ESC shows the main menu from anywhere (and abandons a half-typed value). In a menu, CR
// and LF are ignored and a key the menu lacks answers a "!!" screen. A value is typed after
// its prompt (echoed, backspace works) and closed by LF or CR; the UART frame takes three
// digits with no line end. Every accepted value answers an "OK" screen, every refused one a
// "!!" screen that changes nothing; then the console is back in the menu the value belongs
// to (the UART menu for UART values, otherwise the main menu).
#pragma once

#include <string>
#include <string_view>

#include "console_menus.h"
#include "model_catalog.h"
#include "modem_settings.h"

namespace modem_sim {

class ModemConsole {
  public:
    ModemConsole(std::string model_code, ModemSettings start);

    [[nodiscard]] std::string receive(unsigned char byte);
    [[nodiscard]] const ModemSettings& settings() const { return settings_; }

  private:
    enum class Input { menu_key, value, frame_digits };

    [[nodiscard]] std::string on_menu_key(unsigned char key);
    [[nodiscard]] std::string on_value_byte(unsigned char byte);
    [[nodiscard]] std::string on_frame_digit(unsigned char digit);
    [[nodiscard]] std::string start(Action action);
    [[nodiscard]] std::string show_menu(MenuId menu);
    [[nodiscard]] std::string finish(bool accepted, std::string_view line, MenuId back_to);

    std::string code_;
    ModelInfo model_;
    ModemSettings settings_;
    Input input_ = Input::menu_key;
    MenuId menu_ = MenuId::main;
    Action pending_ = Action::channel;
    std::string typed_;
    bool overflow_ = false;
};

}  // namespace modem_sim
