// How the modem reads and checks a typed value. Pure functions; any thread.
//
// A value is the text typed before the line end, taken without its trailing blanks (values
// copied from a screen keep the blanks that pad their column). Channel and power are
// hexadecimal numbers of one or two digits, either case ("5", "A", "05", "1f"); a single
// digit is read as hexadecimal too. The period is a decimal number of one to three digits;
// the destination ID is exactly five hexadecimal digits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model_catalog.h"
#include "modem_settings.h"

namespace modem_sim {

[[nodiscard]] std::string_view trim_trailing_blanks(std::string_view text);

// Highest channel and power of a range class (the lowest is 1 for both).
[[nodiscard]] int max_channel(RangeClass range);
[[nodiscard]] int max_power(RangeClass range);
[[nodiscard]] int max_period(PeriodUnit unit);

// Each returns the value when the text is acceptable, nothing otherwise.
[[nodiscard]] std::optional<int> read_channel(std::string_view text, RangeClass range);
[[nodiscard]] std::optional<int> read_power(std::string_view text, RangeClass range);
[[nodiscard]] std::optional<int> read_period(std::string_view text, PeriodUnit unit);
[[nodiscard]] std::optional<std::string> read_dest_id(std::string_view text);

// Two hexadecimal digits in capitals, as the screens print channel and power.
[[nodiscard]] std::string hex2(int value);

}  // namespace modem_sim
