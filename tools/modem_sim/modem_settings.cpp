#include "modem_settings.h"

#include <array>

namespace modem_sim {

std::string_view unit_word(PeriodUnit unit) {
    static constexpr std::array<std::string_view, 3> kWords{"HOR", "MIN", "SEC"};
    return kWords.at(static_cast<std::size_t>(unit));
}

std::string_view unit_name(PeriodUnit unit) {
    static constexpr std::array<std::string_view, 3> kNames{"hours", "minutes", "seconds"};
    return kNames.at(static_cast<std::size_t>(unit));
}

std::string_view parity_word(Parity parity) {
    static constexpr std::array<std::string_view, 5> kWords{"Even", "Odd", "Space", "Mark", "None"};
    return kWords.at(static_cast<std::size_t>(parity));
}

std::string_view stop_bits_text(StopBits stop_bits) {
    static constexpr std::array<std::string_view, 3> kTexts{"1", "1.5", "2"};
    return kTexts.at(static_cast<std::size_t>(stop_bits));
}

}  // namespace modem_sim
