#include "veltaro/console/setting_keys.h"

#include <array>

#include "veltaro/console/control_ids.h"

namespace veltaro::console {
namespace {

constexpr std::array<std::string_view, 2> kModes{"pc", "device"};
constexpr std::array<std::string_view, 2> kInterfaces{"rs232", "rs485"};
constexpr std::array<std::string_view, 4> kDataBits{"5", "6", "7", "8"};
constexpr std::array<std::string_view, 3> kStopBits{"1", "1.5", "2"};
constexpr std::array<std::string_view, 5> kParities{"even", "odd", "space", "mark", "none"};
constexpr std::array<std::string_view, 3> kUnits{"hours", "minutes", "seconds"};

constexpr std::array kChannelControls{ctl::kChannelSetting, ctl::kChannelEdit};
constexpr std::array kPowerControls{ctl::kPowerSetting, ctl::kPowerEdit};
constexpr std::array kModeControls{ctl::kModeSetting, ctl::kModePc, ctl::kModeDevice};
constexpr std::array kDestControls{ctl::kDestIdSetting, ctl::kDestIdEdit};
constexpr std::array kPeriodControls{ctl::kPeriodSetting, ctl::kPeriodEdit, ctl::kUnitHour,
                                     ctl::kUnitMin, ctl::kUnitSec};
constexpr std::array kInterfaceControls{ctl::kUartModeSetting, ctl::kRs232, ctl::kRs485};
constexpr std::array kDataControls{ctl::kBitSetting, ctl::kData5, ctl::kData6, ctl::kData7,
                                   ctl::kData8};
constexpr std::array kStopControls{ctl::kBitSetting, ctl::kStop1, ctl::kStop1_5, ctl::kStop2};
constexpr std::array kParityControls{ctl::kBitSetting,  ctl::kParityEven, ctl::kParityOdd,
                                     ctl::kParitySpace, ctl::kParityMark, ctl::kParityNone};

const std::array kKeys{
    KeyRow{SetKey::kChannel,
           "channel",
           "",
           "channel",
           ValueKind::kText,
           {},
           kChannelControls,
           &SettingsForm::channel,
           nullptr,
           ctl::kChannelEdit,
           &ModemConsole::OnChannelChanged},
    KeyRow{SetKey::kPower,
           "power",
           "",
           "power",
           ValueKind::kText,
           {},
           kPowerControls,
           &SettingsForm::power,
           nullptr,
           ctl::kPowerEdit,
           &ModemConsole::OnPowerChanged},
    KeyRow{SetKey::kMode, "mode", "", "mode", ValueKind::kChoice, kModes, kModeControls, nullptr,
           &SettingsForm::mode, 0, nullptr},
    KeyRow{SetKey::kDestinationId,
           "destination-id",
           "dest-id",
           "destination_id",
           ValueKind::kText,
           {},
           kDestControls,
           &SettingsForm::destinationId,
           nullptr,
           ctl::kDestIdEdit,
           &ModemConsole::OnDestinationIdChanged},
    KeyRow{SetKey::kPeriod,
           "period",
           "",
           "period",
           ValueKind::kPeriod,
           {},
           kPeriodControls,
           &SettingsForm::period,
           &SettingsForm::periodUnit,
           ctl::kPeriodEdit,
           &ModemConsole::OnPeriodChanged},
    KeyRow{SetKey::kInterface, "interface", "", "interface", ValueKind::kChoice, kInterfaces,
           kInterfaceControls, nullptr, &SettingsForm::interface, 0, nullptr},
    KeyRow{SetKey::kDataBits, "data-bits", "", "data_bits", ValueKind::kChoice, kDataBits,
           kDataControls, nullptr, &SettingsForm::dataBits, 0, nullptr},
    KeyRow{SetKey::kStopBits, "stop-bits", "", "stop_bits", ValueKind::kChoice, kStopBits,
           kStopControls, nullptr, &SettingsForm::stopBits, 0, nullptr},
    KeyRow{SetKey::kParity, "parity", "", "parity", ValueKind::kChoice, kParities, kParityControls,
           nullptr, &SettingsForm::parity, 0, nullptr},
};

}  // namespace

std::span<const KeyRow> KeyTable() {
    return kKeys;
}

const KeyRow& RowOf(SetKey key) {
    for (const KeyRow& row : kKeys) {
        if (row.key == key) {
            return row;
        }
    }
    return kKeys.front();  // unreachable: every key has a row
}

const KeyRow* FindKey(std::string_view name) {
    for (const KeyRow& row : kKeys) {
        if (name == row.name || (!row.alias.empty() && name == row.alias)) {
            return &row;
        }
    }
    return nullptr;
}

const KeyRow* FindJsonKey(std::string_view jsonName) {
    for (const KeyRow& row : kKeys) {
        if (jsonName == row.jsonName) {
            return &row;
        }
    }
    return nullptr;
}

std::span<const std::string_view> PeriodUnitNames() {
    return kUnits;
}

std::string_view ChoiceName(std::span<const std::string_view> choices, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= choices.size()) {
        return {};
    }
    return choices[static_cast<std::size_t>(index)];
}

}  // namespace veltaro::console
