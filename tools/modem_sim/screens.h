// The texts the console prints. Pure functions; any thread.
//
// Every screen starts on a new line with a "--" rule. Result screens end with "OK" (done)
// or "!!" (refused) on a line of their own, followed by the "Select> " prompt of the menu
// the console is back in; menus and value prompts end with "> " and never hold "OK" or "!!".
// Lines end with CR LF.
//
// The information screen puts each value in a fixed column, padded with blanks:
//   "Channel Number: 07 "   value 16 characters after the label, 3 wide
//   "         Power: 0A "   value 7 characters after the label, 3 wide
//   "Operating Mode: Device Mode"   or "PC Mode"
//   "Destination ID: 1A2B3"         value 16 characters after the label, 5 wide
//   "   TX Peirod  : 30  SEC"       value 13 characters after the label, 3 wide, then the unit
// Its title line starts with "Information" and two blanks before the rule. The UART
// information screen says "UART Information", the interface (RS232 or RS485), "<n> Bit" after
// ": " for data and stop bits, and the parity word.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "console_menus.h"
#include "model_catalog.h"
#include "modem_settings.h"

namespace modem_sim {

inline constexpr std::string_view kEol = "\r\n";
inline constexpr std::string_view kSelectPrompt = "Select> ";

[[nodiscard]] std::string menu_screen(std::string_view title, std::span<const MenuItem> items,
                                      RangeClass range);
[[nodiscard]] std::string information_screen(const ModemSettings& settings);
[[nodiscard]] std::string uart_information_screen(const ModemSettings& settings);
// A rule, then the question, waiting for input after "> ".
[[nodiscard]] std::string question_screen(std::string_view question);
// A rule, the line, then "OK" (accepted) or "!!" (refused), then the select prompt.
[[nodiscard]] std::string result_screen(bool accepted, std::string_view line);

}  // namespace modem_sim
