#include "screen_parser.h"

#include <span>

#include "veltaro/console/control_ids.h"
#include "veltaro/console/text_rules.h"

namespace veltaro::console::detail {

namespace {

using namespace ctl;

// A value that starts a fixed number of characters after its label and has a fixed width,
// taken as it stands (blanks and line ends included).
struct Field {
    std::string_view label;
    TextPos offset;
    TextPos width;
    std::string SettingsForm::*value;
};

constexpr Field kChannelField = {"Channel Number", 16, 3, &SettingsForm::channel};
constexpr Field kPowerField = {"Power", 7, 3, &SettingsForm::power};
constexpr Field kDestinationField = {"Destination ID", 16, 5, &SettingsForm::destinationId};
constexpr Field kPeriodField = {"TX Peirod", 13, 3, &SettingsForm::period};

constexpr ControlSwitch kDeviceModeSwitches[] = {
    {kDestIdSetting, true}, {kDestIdEdit, true}, {kPeriodSetting, true}, {kUnitHour, true},
    {kUnitMin, true},       {kUnitSec, true},    {kPeriodEdit, true}};
constexpr ControlSwitch kPcModeSwitches[] = {
    {kDestIdSetting, false}, {kPeriodSetting, false}, {kUnitHour, false},  {kUnitMin, false},
    {kUnitSec, false},       {kDestIdEdit, false},    {kPeriodEdit, false}};

// A word that, when present anywhere in the block, gives a radio index. In each list the
// first word of the list that occurs decides, wherever it stands in the text.
struct Word {
    std::string_view text;
    int index;
};

constexpr Word kUnitWords[] = {{"HOR", 0}, {"MIN", 1}, {"SEC", 2}};
constexpr Word kDataBitWords[] = {{": 5 Bit", 0}, {": 6 Bit", 1}, {": 7 Bit", 2}, {": 8 Bit", 3}};
constexpr Word kStopBitWords[] = {{": 1 Bit", 0}, {": 1.5 Bit", 1}, {": 2 Bit", 2}};
constexpr Word kParityWords[] = {{"Even", 0}, {"Odd", 1}, {"Space", 2}, {"Mark", 3}, {"Non", 4}};

bool TakeField(std::string_view block, const Field& field, SettingsForm& form) {
    const TextPos at = FindFirst(block, field.label);
    if (at == -1) {
        return false;
    }
    form.*field.value = ClampedSubstring(block, at + field.offset, field.width);
    return true;
}

void TakeIndex(std::string_view block, std::span<const Word> words, int& index) {
    for (const Word& word : words) {
        if (Contains(block, word.text)) {
            index = word.index;
            return;
        }
    }
}

void Append(std::vector<ControlSwitch>& out, Switches switches) {
    out.insert(out.end(), switches.begin(), switches.end());
}

}  // namespace

void ParseInformationBlock(std::string_view block, Family family, SettingsForm& form,
                           std::int32_t& deviceMode, std::vector<ControlSwitch>& switches) {
    TakeField(block, kChannelField, form);
    TakeField(block, kPowerField, form);
    const FamilyRules& rules = RulesOf(family);
    if (Contains(block, "Device Mode")) {
        form.mode = 1;
        deviceMode = 1;
        Append(switches, kDeviceModeSwitches);
        Append(switches, rules.deviceScreenSwitches);
        TakeField(block, kDestinationField, form);
        // The unit is read only together with a period value.
        if (TakeField(block, kPeriodField, form)) {
            TakeIndex(block, kUnitWords, form.periodUnit);
        }
    }
    // Checked after "Device Mode", so a block holding both ends in PC mode.
    if (Contains(block, "PC Mode")) {
        form.mode = 0;
        deviceMode = 0;
        Append(switches, kPcModeSwitches);
        Append(switches, rules.pcScreenSwitches);
    }
}

void ParseUartBlock(std::string_view block, SettingsForm& form) {
    form.interface = Contains(block, "RS232") ? 0 : 1;
    TakeIndex(block, kDataBitWords, form.dataBits);
    TakeIndex(block, kStopBitWords, form.stopBits);
    TakeIndex(block, kParityWords, form.parity);
}

}  // namespace veltaro::console::detail
