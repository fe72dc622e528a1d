#include "apply_commands.h"

#include <algorithm>
#include <string>

namespace veltaro::console::detail {
namespace {

bool IsFrame(SetKey key) {
    return key == SetKey::kDataBits || key == SetKey::kStopBits || key == SetKey::kParity;
}

SettingCommand CommandOf(SetKey key) {
    switch (key) {
        case SetKey::kMode:
            return SettingCommand::kMode;
        case SetKey::kChannel:
            return SettingCommand::kChannel;
        case SetKey::kPower:
            return SettingCommand::kPower;
        case SetKey::kDestinationId:
            return SettingCommand::kDestinationId;
        case SetKey::kPeriod:
            return SettingCommand::kPeriod;
        case SetKey::kInterface:
            return SettingCommand::kUartMode;
        case SetKey::kDataBits:
        case SetKey::kStopBits:
        case SetKey::kParity:
            break;
    }
    return SettingCommand::kBit;
}

void Put(const SetItem& item, SettingsForm& form) {
    const KeyRow& row = RowOf(item.key);
    if (row.text != nullptr && row.kind != ValueKind::kChoice) {
        form.*row.text = item.text;
    }
    if (row.index != nullptr && row.kind != ValueKind::kText) {
        form.*row.index = item.index;
    }
}

std::string Label(const std::vector<SetKey>& keys) {
    std::string label;
    for (const SetKey key : keys) {
        label += (label.empty() ? "" : ", ") + std::string(RowOf(key).name);
    }
    return label;
}

}  // namespace

std::vector<CarriedCommand> CommandsFor(const std::vector<SetItem>& items,
                                        const SettingsForm& base) {
    SettingsForm values = base;
    for (const SetItem& item : items) {
        Put(item, values);
    }
    const bool interface = std::any_of(items.begin(), items.end(), [](const SetItem& item) {
        return item.key == SetKey::kInterface;
    });
    const bool frame = std::any_of(items.begin(), items.end(),
                                   [](const SetItem& item) { return IsFrame(item.key); });
    std::vector<CarriedCommand> commands;
    std::size_t uart = commands.max_size();  // the UART command once there is one
    for (const SetItem& item : items) {
        const bool uartKey = item.key == SetKey::kInterface || IsFrame(item.key);
        if (uartKey && uart < commands.size()) {
            commands[uart].keys.push_back(item.key);
            continue;
        }
        SettingCommand command = CommandOf(item.key);
        if (uartKey && interface && frame) {
            command = SettingCommand::kUartAll;
        }
        commands.push_back({{command, "", values}, {item.key}});
        if (uartKey) {
            uart = commands.size() - 1;
        }
    }
    for (CarriedCommand& carried : commands) {
        carried.command.label = Label(carried.keys);
    }
    return commands;
}

}  // namespace veltaro::console::detail
