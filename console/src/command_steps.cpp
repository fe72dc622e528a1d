#include "command_steps.h"

#include <array>
#include <cstdint>

#include "model_rules.h"
#include "veltaro/console/model_table.h"

namespace veltaro::console::detail {

namespace {

constexpr std::array<std::string_view, 3> kUnitLetters = {"H", "M", "S"};

// A non-empty key is sent; an empty one (a family without that key) sends nothing.
void SendKeyIfAny(ModemLink& link, std::string_view key) {
    if (!key.empty()) {
        link.SendText(std::string(key));
    }
}

}  // namespace

void SendStep(const Step& step, const StepTarget& target) {
    ConsoleState& state = target.state;
    switch (step.send) {
        case Send::kNothing:
            break;
        case Send::kKey:
            target.link.SendText(std::string(step.key));
            break;
        case Send::kInformationKey:
            SendKeyIfAny(target.link, InformationKeyOf(state.modelCode));
            break;
        case Send::kPeriodPrefix:
            SendKeyIfAny(target.link, RulesOf(FamilyOf(state.modelCode)).periodPrefix);
            break;
        case Send::kFormText:
            target.link.SendText(target.form.*step.text);
            break;
        case Send::kIndexNumber:
            // 64-bit so that no index a host may report can overflow.
            state.scratch = std::to_string(std::int64_t{target.form.*step.index} + step.offset);
            target.link.SendText(state.scratch);
            break;
        case Send::kUnitLetter:
            SetPeriodUnitLetter(state, target.form.periodUnit);
            target.link.SendText(state.periodUnitLetter);
            break;
        case Send::kLineEnd:
            target.link.SendText("\n");
            break;
        case Send::kEscByte:
            target.link.WriteByte(state.escByte);
            break;
    }
}

void RunSteps(Steps steps, const StepTarget& target) {
    for (const Step& step : steps) {
        SendStep(step, target);
        if (step.pauseAfterMs > 0) {
            target.link.Pause(step.pauseAfterMs);
        }
    }
}

void SetPeriodUnitLetter(ConsoleState& state, int periodUnit) {
    if (periodUnit >= 0 && periodUnit < static_cast<int>(kUnitLetters.size())) {
        state.periodUnitLetter = kUnitLetters[static_cast<std::size_t>(periodUnit)];
    }
}

}  // namespace veltaro::console::detail
