// What the console asks for each value it takes, and what it makes of the answer.
// Pure functions over the settings they are given; any thread.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "console_menus.h"
#include "model_catalog.h"
#include "modem_settings.h"

namespace modem_sim {

struct ValueOutcome {
    bool accepted;
    std::string line;  // the line of the result screen
};

// Whether the action asks for a value closed by a line end.
[[nodiscard]] bool takes_value(Action action);
[[nodiscard]] std::string value_question(Action action, RangeClass range);
// Checks the typed text and, when it is acceptable, stores it; refused text changes nothing.
[[nodiscard]] ValueOutcome enter_value(Action action, std::string_view text, RangeClass range,
                                       ModemSettings& settings);

// The UART frame is three digits typed without a line end: data bits, stop bits, parity.
struct FrameStep {
    std::string_view question;
    char lowest;
    char highest;
};
inline constexpr std::array kFrameSteps{
    FrameStep{"Data bits (5~8)", '5', '8'},
    FrameStep{"Stop bits (1 = 1, 2 = 1.5, 3 = 2)", '1', '3'},
    FrameStep{"Parity (1 = EVEN, 2 = ODD, 3 = SPACE, 4 = MARK, 5 = NONE)", '1', '5'},
};

[[nodiscard]] bool frame_digit_fits(std::size_t step, unsigned char digit);
// Stores a frame of three digits when each fits its step; otherwise changes nothing.
[[nodiscard]] ValueOutcome enter_frame(std::string_view digits, ModemSettings& settings);
// The result line for a digit outside its step's range.
[[nodiscard]] std::string frame_refusal(std::size_t step);

}  // namespace modem_sim
