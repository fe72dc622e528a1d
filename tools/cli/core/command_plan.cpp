#include "command_plan.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "text_util.h"
#include "veltaro/console/apply_plan.h"

namespace veltaro::cli {
namespace {

using console::ModemConsole;
using console::SettingsForm;

struct KeyButton {
    SetKey key;
    ButtonHandler handler;
};

constexpr std::array kButtons{
    KeyButton{SetKey::kMode, &ModemConsole::OnModeSetting},
    KeyButton{SetKey::kChannel, &ModemConsole::OnChannelSetting},
    KeyButton{SetKey::kPower, &ModemConsole::OnPowerSetting},
    KeyButton{SetKey::kDestinationId, &ModemConsole::OnDestinationIdSetting},
    KeyButton{SetKey::kPeriod, &ModemConsole::OnPeriodSetting},
    KeyButton{SetKey::kInterface, &ModemConsole::OnUartModeSetting},
    KeyButton{SetKey::kDataBits, &ModemConsole::OnBitSetting},
    KeyButton{SetKey::kStopBits, &ModemConsole::OnBitSetting},
    KeyButton{SetKey::kParity, &ModemConsole::OnBitSetting},
};

ButtonHandler ButtonOf(SetKey key) {
    for (const KeyButton& button : kButtons) {
        if (button.key == key) {
            return button.handler;
        }
    }
    return nullptr;  // unreachable: every key has a button
}

void Join(CommandStep& into, CommandStep&& from) {
    into.label += ", " + from.label;
    std::move(from.items.begin(), from.items.end(), std::back_inserter(into.items));
}

// The interface and the bits as one UART All Setting, in place of the two presses.
void MergeUart(std::vector<CommandStep>& steps) {
    const auto find = [&steps](ButtonHandler handler) {
        return std::find_if(steps.begin(), steps.end(),
                            [handler](const CommandStep& step) { return step.handler == handler; });
    };
    const auto mode = find(&ModemConsole::OnUartModeSetting);
    const auto bits = find(&ModemConsole::OnBitSetting);
    if (mode == steps.end() || bits == steps.end()) {
        return;
    }
    mode->handler = &ModemConsole::OnUartAllSetting;
    Join(*mode, std::move(*bits));
    steps.erase(bits);
}

std::string Shown(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    return trimmed.empty() ? "empty" : Printable(trimmed);
}

std::string ChoiceShown(const KeyRow& row, int index) {
    const std::string_view name = ChoiceName(row.choices, index);
    return name.empty() ? "unknown" : std::string(name);
}

std::string PeriodShown(std::string_view text, int unit) {
    const std::string_view name = ChoiceName(PeriodUnitNames(), unit);
    return Shown(text) + " " + (name.empty() ? std::string("(unit unknown)") : std::string(name));
}

}  // namespace

std::vector<CommandStep> PlanCommands(const std::vector<SetItem>& items, bool uartAllOffered) {
    std::vector<CommandStep> steps;
    for (const SetItem& item : items) {
        CommandStep step{std::string(RowOf(item.key).name), ButtonOf(item.key), {item}};
        if (!steps.empty() && steps.back().handler == step.handler) {
            Join(steps.back(), std::move(step));
        } else {
            steps.push_back(std::move(step));
        }
    }
    if (uartAllOffered) {
        MergeUart(steps);
    }
    return steps;
}

void ApplyItem(const SetItem& item, SettingsForm& controls) {
    const KeyRow& row = RowOf(item.key);
    if (row.text != nullptr) {
        controls.*row.text = item.text;
    }
    if (row.index != nullptr) {
        controls.*row.index = item.index;
    }
}

std::string Mismatch(const SetItem& item, const SettingsForm& readBack) {
    if (console::SameAsShown(item, readBack)) {
        return {};
    }
    const KeyRow& row = RowOf(item.key);
    std::string got;
    std::string wanted;
    if (row.kind == ValueKind::kChoice) {
        got = ChoiceShown(row, readBack.*row.index);
        wanted = ChoiceShown(row, item.index);
    } else {
        got = row.index == nullptr ? Shown(readBack.*row.text)
                                   : PeriodShown(readBack.*row.text, readBack.*row.index);
        wanted = row.index == nullptr ? Shown(item.text) : PeriodShown(item.text, item.index);
    }
    return std::string(row.name) + " reads back as " + got + ", not " + wanted;
}

}  // namespace veltaro::cli
