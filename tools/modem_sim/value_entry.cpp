#include "value_entry.h"

#include <optional>

#include "value_rules.h"

namespace modem_sim {
namespace {

std::string channel_range(RangeClass r) {
    return "HEX 01~" + hex2(max_channel(r));
}
std::string power_range(RangeClass r) {
    return "HEX 01~" + hex2(max_power(r));
}

// Result lines avoid the words the information screens are read by (see console_menus.cpp).
std::optional<std::string> set_period(PeriodUnit unit, std::string_view text, ModemSettings& s) {
    std::optional<int> value = read_period(text, unit);
    if (!value) {
        return std::nullopt;
    }
    s.period = *value;
    s.unit = unit;
    return "TX period set to " + std::to_string(*value) + " " + std::string(unit_name(unit));
}

std::optional<bool> read_choice(std::string_view text) {
    if (text == "1" || text == "2") {
        return text == "2";
    }
    return std::nullopt;
}

using Question = std::string (*)(RangeClass);
using Apply = std::optional<std::string> (*)(std::string_view, RangeClass, ModemSettings&);

struct ValueField {
    Action action;
    Question question;
    Apply apply;
    Question refusal;
};

const ValueField kFields[] = {
    {Action::channel, [](RangeClass r) { return "Channel number (" + channel_range(r) + ")"; },
     [](std::string_view t, RangeClass r, ModemSettings& s) -> std::optional<std::string> {
         std::optional<int> value = read_channel(t, r);
         if (!value) {
             return std::nullopt;
         }
         s.channel = *value;
         return "Channel number set to " + hex2(*value);
     },
     [](RangeClass r) { return "Invalid channel number, " + channel_range(r) + " expected"; }},
    {Action::power, [](RangeClass r) { return "TX power level (" + power_range(r) + ")"; },
     [](std::string_view t, RangeClass r, ModemSettings& s) -> std::optional<std::string> {
         std::optional<int> value = read_power(t, r);
         if (!value) {
             return std::nullopt;
         }
         s.power = *value;
         return "TX power level set to " + hex2(*value);
     },
     [](RangeClass r) { return "Invalid TX power level, " + power_range(r) + " expected"; }},
    {Action::mode, [](RangeClass) { return std::string("Operating mode, 1 = PC, 2 = Device"); },
     [](std::string_view t, RangeClass, ModemSettings& s) -> std::optional<std::string> {
         std::optional<bool> device = read_choice(trim_trailing_blanks(t));
         if (!device) {
             return std::nullopt;
         }
         s.device_mode = *device;
         return std::string("Operating mode set to ") + (*device ? "Device" : "PC");
     },
     [](RangeClass) { return std::string("Invalid operating mode, 1 or 2 expected"); }},
    {Action::dest_id, [](RangeClass) { return std::string("Destination ID (5 HEX digits)"); },
     [](std::string_view t, RangeClass, ModemSettings& s) -> std::optional<std::string> {
         std::optional<std::string> id = read_dest_id(t);
         if (!id) {
             return std::nullopt;
         }
         s.dest_id = *id;
         return "Destination ID set to " + *id;
     },
     [](RangeClass) { return std::string("Invalid destination ID, 5 HEX digits expected"); }},
    {Action::hours, [](RangeClass) { return std::string("TX period in hours (1~3)"); },
     [](std::string_view t, RangeClass, ModemSettings& s) {
         return set_period(PeriodUnit::hours, t, s);
     },
     [](RangeClass) { return std::string("Invalid TX period, 1~3 hours expected"); }},
    {Action::minutes, [](RangeClass) { return std::string("TX period in minutes (1~59)"); },
     [](std::string_view t, RangeClass, ModemSettings& s) {
         return set_period(PeriodUnit::minutes, t, s);
     },
     [](RangeClass) { return std::string("Invalid TX period, 1~59 minutes expected"); }},
    {Action::seconds, [](RangeClass) { return std::string("TX period in seconds (1~59)"); },
     [](std::string_view t, RangeClass, ModemSettings& s) {
         return set_period(PeriodUnit::seconds, t, s);
     },
     [](RangeClass) { return std::string("Invalid TX period, 1~59 seconds expected"); }},
    {Action::interface, [](RangeClass) { return std::string("Interface, 1 = RS-232, 2 = RS-485"); },
     [](std::string_view t, RangeClass, ModemSettings& s) -> std::optional<std::string> {
         std::optional<bool> rs485 = read_choice(trim_trailing_blanks(t));
         if (!rs485) {
             return std::nullopt;
         }
         s.rs485 = *rs485;
         return std::string("Interface set to ") + (*rs485 ? "RS-485" : "RS-232");
     },
     [](RangeClass) { return std::string("Invalid interface, 1 or 2 expected"); }},
};

const ValueField* find_field(Action action) {
    for (const ValueField& field : kFields) {
        if (field.action == action) {
            return &field;
        }
    }
    return nullptr;
}

}  // namespace

bool takes_value(Action action) {
    return find_field(action) != nullptr;
}

std::string value_question(Action action, RangeClass range) {
    const ValueField* field = find_field(action);
    return field ? field->question(range) : std::string();
}

ValueOutcome enter_value(Action action, std::string_view text, RangeClass range,
                         ModemSettings& settings) {
    const ValueField* field = find_field(action);
    if (!field) {
        return {false, "Invalid value"};
    }
    ModemSettings changed = settings;
    std::optional<std::string> accepted = field->apply(text, range, changed);
    if (!accepted) {
        return {false, field->refusal(range)};
    }
    settings = changed;
    return {true, *accepted};
}

bool frame_digit_fits(std::size_t step, unsigned char digit) {
    return step < kFrameSteps.size() && digit >= kFrameSteps[step].lowest &&
           digit <= kFrameSteps[step].highest;
}

ValueOutcome enter_frame(std::string_view digits, ModemSettings& settings) {
    for (std::size_t step = 0; step < kFrameSteps.size(); ++step) {
        if (step >= digits.size() || !frame_digit_fits(step, digits[step])) {
            return {false, frame_refusal(step)};
        }
    }
    settings.data_bits = digits[0] - '0';
    settings.stop_bits = static_cast<StopBits>(digits[1] - '1');
    settings.parity = static_cast<Parity>(digits[2] - '1');
    // Upper-case parity names keep this line clear of the UART screen's parity words.
    static constexpr std::string_view kParityNames[] = {"EVEN", "ODD", "SPACE", "MARK", "NONE"};
    return {true, "UART frame set: " + std::to_string(settings.data_bits) + " data bits, " +
                      std::string(stop_bits_text(settings.stop_bits)) + " stop bits, parity " +
                      std::string(kParityNames[static_cast<int>(settings.parity)])};
}

std::string frame_refusal(std::size_t step) {
    static constexpr std::string_view kWhat[] = {"data bits", "stop bits", "parity"};
    std::string_view what = step < kFrameSteps.size() ? kWhat[step] : "frame";
    return "Invalid " + std::string(what) + " digit";
}

}  // namespace modem_sim
