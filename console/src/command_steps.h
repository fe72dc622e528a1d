#pragma once

#include <span>
#include <string>
#include <string_view>

#include "veltaro/console/console_state.h"
#include "veltaro/console/modem_link.h"
#include "veltaro/console/settings_form.h"

// Every keystroke sequence the console sends (the setting commands and the on-detect keys) is
// a table of steps walked by RunSteps. A step sends one thing, or nothing, and then pauses.
namespace veltaro::console::detail {

enum class Send {
    kNothing,         // only the pause
    kKey,             // a fixed one-character text
    kInformationKey,  // the Information key of the model's family; nothing when it has none
    kPeriodPrefix,    // the family's prefix before the unit letter; nothing when it has none
    kFormText,        // a text field of the form, exactly as it stands
    kIndexNumber,     // "%d" of a radio index plus an offset, formatted into the scratch text
    kUnitLetter,      // the period-unit letter, first set from the period unit index
    kLineEnd,         // "\n"
    kEscByte,         // the ESC byte, written as one raw byte
};

struct Step {
    Send send = Send::kNothing;
    std::string_view key{};
    std::string SettingsForm::*text = nullptr;
    int SettingsForm::*index = nullptr;
    int offset = 0;
    int pauseAfterMs = 0;  // 0: no pause at all
};

constexpr Step Key(std::string_view key, int pauseAfterMs) {
    return {Send::kKey, key, nullptr, nullptr, 0, pauseAfterMs};
}
constexpr Step Text(std::string SettingsForm::*field, int pauseAfterMs) {
    return {Send::kFormText, {}, field, nullptr, 0, pauseAfterMs};
}
constexpr Step Number(int SettingsForm::*field, int offset, int pauseAfterMs) {
    return {Send::kIndexNumber, {}, nullptr, field, offset, pauseAfterMs};
}
constexpr Step Only(Send send, int pauseAfterMs) {
    return {send, {}, nullptr, nullptr, 0, pauseAfterMs};
}
constexpr Step LineEnd(int pauseAfterMs) {
    return Only(Send::kLineEnd, pauseAfterMs);
}
constexpr Step Esc(int pauseAfterMs) {
    return Only(Send::kEscByte, pauseAfterMs);
}

using Steps = std::span<const Step>;

// What the steps read and write while they run.
struct StepTarget {
    ModemLink& link;
    ConsoleState& state;
    const SettingsForm& form;
};

// Sends one step, without its pause.
void SendStep(const Step& step, const StepTarget& target);

// Sends every step in order, each followed by its pause.
void RunSteps(Steps steps, const StepTarget& target);

// Sets the period-unit letter from a period unit index: 0 "H", 1 "M", 2 "S"; any other index
// leaves the letter as it was.
void SetPeriodUnitLetter(ConsoleState& state, int periodUnit);

}  // namespace veltaro::console::detail
