// The models the simulator can play: which console layout (family) and which value ranges
// (range class) belong to a five-character model code. Constant data; any thread.
#pragma once

#include <string_view>

namespace modem_sim {

enum class Family { kd, gt_entry, fl, gt_period, unlisted };
enum class RangeClass { narrow, wide };

struct ModelInfo {
    Family family;
    RangeClass range;
};

// Exact, case-sensitive lookup. A code that is not in the catalogue is an unlisted model: a
// narrow-range modem whose console is laid out like the GT period family's.
[[nodiscard]] ModelInfo lookup_model(std::string_view code);

// Whether the family's console has the UART setup menu.
[[nodiscard]] bool has_uart_menu(Family family);

}  // namespace modem_sim
