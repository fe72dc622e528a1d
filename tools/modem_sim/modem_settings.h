// The modem's current settings and the words its screens print for them.
// Plain values, owned by whoever holds them; no locking (the simulator is single-threaded).
#pragma once

#include <string>
#include <string_view>

namespace modem_sim {

enum class PeriodUnit { hours, minutes, seconds };
enum class StopBits { one, one_half, two };
enum class Parity { even, odd, space, mark, none };

// Start values are those of a modem fresh from the factory; --set overrides them.
struct ModemSettings {
    int channel = 0x07;  // hexadecimal channel number
    int power = 0x0A;    // hexadecimal power level
    bool device_mode = true;
    std::string dest_id = "1A2B3";  // five hexadecimal digits, capitals
    int period = 30;
    PeriodUnit unit = PeriodUnit::seconds;
    bool rs485 = false;
    int data_bits = 8;
    StopBits stop_bits = StopBits::one;
    Parity parity = Parity::none;
};

// The unit word of the information screen: "HOR", "MIN" or "SEC".
[[nodiscard]] std::string_view unit_word(PeriodUnit unit);
// The unit in running text, for result lines: "hours", "minutes", "seconds".
[[nodiscard]] std::string_view unit_name(PeriodUnit unit);
// The parity word of the UART information screen: "Even", "Odd", "Space", "Mark", "None".
[[nodiscard]] std::string_view parity_word(Parity parity);
// Stop bits as printed: "1", "1.5" or "2".
[[nodiscard]] std::string_view stop_bits_text(StopBits stop_bits);

}  // namespace modem_sim
