#include "modem_console.h"

#include <cstdio>
#include <utility>

#include "screens.h"
#include "value_entry.h"

namespace modem_sim {
namespace {

constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kLf = 0x0A;
constexpr unsigned char kCr = 0x0D;
constexpr unsigned char kBackspace = 0x08;
constexpr unsigned char kDelete = 0x7F;
// Longer input than any value needs is refused whole rather than cut.
constexpr std::size_t kMaxTyped = 16;

bool is_line_end(unsigned char byte) {
    return byte == kLf || byte == kCr;
}
bool is_printable(unsigned char byte) {
    return byte >= 0x20 && byte < 0x7F;
}

std::string echo(unsigned char byte) {
    return is_printable(byte) ? std::string(1, static_cast<char>(byte)) : std::string();
}

// Names the key by its code, so a stray byte never prints a marker into the screen.
std::string unknown_key_line(unsigned char key) {
    char text[32];
    std::snprintf(text, sizeof text, "Unknown key 0x%02X", static_cast<unsigned>(key));
    return text;
}

MenuId menu_of(Action action) {
    return action == Action::interface || action == Action::frame ? MenuId::uart : MenuId::main;
}

}  // namespace

ModemConsole::ModemConsole(std::string model_code, ModemSettings start)
    : code_(std::move(model_code)), model_(lookup_model(code_)), settings_(std::move(start)) {}

std::string ModemConsole::receive(unsigned char byte) {
    if (byte == kEsc) {
        return show_menu(MenuId::main);
    }
    switch (input_) {
        case Input::value:
            return on_value_byte(byte);
        case Input::frame_digits:
            return on_frame_digit(byte);
        case Input::menu_key:
            break;
    }
    return on_menu_key(byte);
}

std::string ModemConsole::on_menu_key(unsigned char key) {
    if (is_line_end(key)) {
        return {};
    }
    const MenuItem* item = find_menu_item(menu_items(menu_, model_.family), key);
    if (item == nullptr) {
        return result_screen(false, unknown_key_line(key));
    }
    return start(item->action);
}

std::string ModemConsole::start(Action action) {
    switch (action) {
        case Action::information:
            return information_screen(settings_);
        case Action::uart_information:
            return uart_information_screen(settings_);
        case Action::period_menu:
            return show_menu(MenuId::period);
        case Action::uart_menu:
            return show_menu(MenuId::uart);
        case Action::frame:
            input_ = Input::frame_digits;
            typed_.clear();
            return question_screen(kFrameSteps[0].question);
        default:
            break;
    }
    input_ = Input::value;
    pending_ = action;
    typed_.clear();
    overflow_ = false;
    return question_screen(value_question(action, model_.range));
}

std::string ModemConsole::on_value_byte(unsigned char byte) {
    if (is_line_end(byte)) {
        ValueOutcome outcome =
            enter_value(pending_, overflow_ ? std::string_view() : typed_, model_.range, settings_);
        return finish(outcome.accepted, outcome.line, menu_of(pending_));
    }
    if (byte == kBackspace || byte == kDelete) {
        if (typed_.empty()) {
            return {};
        }
        typed_.pop_back();
        return "\b \b";
    }
    if (typed_.size() >= kMaxTyped) {
        overflow_ = true;
        return {};
    }
    typed_ += static_cast<char>(byte);
    return echo(byte);
}

std::string ModemConsole::on_frame_digit(unsigned char digit) {
    if (is_line_end(digit)) {
        return {};
    }
    const std::size_t step = typed_.size();
    if (!frame_digit_fits(step, digit)) {
        return echo(digit) + finish(false, frame_refusal(step), MenuId::uart);
    }
    typed_ += static_cast<char>(digit);
    if (typed_.size() < kFrameSteps.size()) {
        return echo(digit) + std::string(kEol) + " " +
               std::string(kFrameSteps[typed_.size()].question) + "> ";
    }
    ValueOutcome outcome = enter_frame(typed_, settings_);
    return echo(digit) + finish(outcome.accepted, outcome.line, MenuId::uart);
}

std::string ModemConsole::show_menu(MenuId menu) {
    input_ = Input::menu_key;
    menu_ = menu;
    typed_.clear();
    std::string title = menu == MenuId::main     ? code_ + " CONFIGURATION"
                        : menu == MenuId::period ? std::string("TX period")
                                                 : std::string("UART setup");
    return menu_screen(title, menu_items(menu, model_.family), model_.range);
}

std::string ModemConsole::finish(bool accepted, std::string_view line, MenuId back_to) {
    input_ = Input::menu_key;
    menu_ = back_to;
    typed_.clear();
    return result_screen(accepted, line);
}

}  // namespace modem_sim
