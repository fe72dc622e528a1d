#include "screens.h"

#include "value_rules.h"

namespace modem_sim {
namespace {

constexpr std::string_view kRule = "----------------------------------------";

std::string line(std::string_view text) {
    return std::string(text) + std::string(kEol);
}

// A value left-aligned in a column of the given width, padded with blanks.
std::string column(std::string value, std::size_t width) {
    if (value.size() < width) {
        value.resize(width, ' ');
    }
    return value;
}

std::string item_caption(const MenuItem& item, RangeClass range) {
    std::string caption(item.caption);
    if (item.action == Action::channel) {
        caption += " (HEX 01~" + hex2(max_channel(range)) + ")";
    } else if (item.action == Action::power) {
        caption += " (HEX 01~" + hex2(max_power(range)) + ")";
    }
    return caption;
}

// Built by appending: g++ 12 at -O3 warns falsely (-Wrestrict) about " " + std::string.
std::string indented(std::string_view text) {
    std::string result(1, ' ');
    result += text;
    return result;
}

std::string screen_end(std::string_view marker) {
    return line(kRule) + line(marker) + std::string(kSelectPrompt);
}

}  // namespace

std::string menu_screen(std::string_view title, std::span<const MenuItem> items, RangeClass range) {
    std::string text = line("") + line(kRule) + line(indented(title)) + line(kRule);
    for (const MenuItem& item : items) {
        text += line(" [" + std::string(1, item.key) + "] " + item_caption(item, range));
    }
    text += line(" [ESC] Main menu") + line(kRule);
    return text + std::string(kSelectPrompt);
}

std::string information_screen(const ModemSettings& s) {
    // The title's two blanks before the rule are part of what readers look for.
    std::string text = line("") + line("Information  " + std::string(kRule.substr(13)));
    text += line("Channel Number: " + column(hex2(s.channel), 3));
    text += line("         Power: " + column(hex2(s.power), 3));
    text += line(std::string("Operating Mode: ") + (s.device_mode ? "Device Mode" : "PC Mode"));
    text += line("Destination ID: " + column(s.dest_id, 5));
    text += line("   TX Peirod  : " + column(std::to_string(s.period), 3) + " " +
                 std::string(unit_word(s.unit)));
    return text + screen_end("OK");
}

std::string uart_information_screen(const ModemSettings& s) {
    // One blank before the rule, so that this title never reads as the other screen's.
    std::string text = line("") + line("UART Information " + std::string(kRule.substr(17)));
    text += line(std::string(" Interface : ") + (s.rs485 ? "RS485" : "RS232"));
    text += line(" Data Bit  : " + std::to_string(s.data_bits) + " Bit");
    text += line(" Stop Bit  : " + std::string(stop_bits_text(s.stop_bits)) + " Bit");
    text += line(" Parity    : " + std::string(parity_word(s.parity)));
    return text + screen_end("OK");
}

std::string question_screen(std::string_view question) {
    return line("") + line(kRule) + " " + std::string(question) + "> ";
}

std::string result_screen(bool accepted, std::string_view text) {
    return line("") + line(kRule) + line(indented(text)) + screen_end(accepted ? "OK" : "!!");
}

}  // namespace modem_sim
