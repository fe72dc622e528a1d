#pragma once

#include <span>
#include <string>
#include <string_view>

#include "veltaro/console/modem_console.h"
#include "veltaro/console/settings_form.h"

namespace veltaro::console {

// The settings that `set` and a profile change and `info` shows. The enumerators are in the order
// in which `set` sends them: the mode first, because the mode decides whether the model offers the
// destination ID and the period.
enum class SetKey {
    kMode,
    kChannel,
    kPower,
    kDestinationId,
    kPeriod,
    kInterface,
    kDataBits,
    kStopBits,
    kParity,
};

enum class ValueKind {
    kText,    // an edit field, checked by the console's own field check
    kChoice,  // a radio group
    kPeriod,  // the period edit plus the unit radio group, typed as <number><h|m|s>
};

// Everything the front ends (the CLI, the programs' Save and Apply) know about one setting: its
// names, where its value lives in the settings form, which dialog controls carry it, and which
// field check runs.
struct KeyRow {
    SetKey key;
    std::string_view name;      // as typed after `set` and printed by `info`
    std::string_view alias;     // a second accepted name, or empty
    std::string_view jsonName;  // as printed by `info --json`
    ValueKind kind;
    std::span<const std::string_view> choices;  // kChoice: the names, by radio index
    // The setting button first, then the controls that hold the value. The model offers the
    // setting while the console leaves all of them enabled.
    std::span<const int> controls;
    std::string SettingsForm::*text;  // kText, kPeriod: the edit's value
    int SettingsForm::*index;         // kChoice: the radio group; kPeriod: the unit
    int editId;                       // kText, kPeriod: the edit that is checked
    void (ModemConsole::*check)();    // kText, kPeriod: the console's field check
};

// All settings, in the order `info` prints them.
std::span<const KeyRow> KeyTable();
const KeyRow& RowOf(SetKey key);
// The row whose name or alias is exactly `name`, or null.
const KeyRow* FindKey(std::string_view name);
// The row whose JSON name is exactly `jsonName` ("destination_id"), or null.
const KeyRow* FindJsonKey(std::string_view jsonName);
// "hours", "minutes", "seconds", by period unit index.
std::span<const std::string_view> PeriodUnitNames();
// The name of a radio index, or empty when the index is outside the group.
std::string_view ChoiceName(std::span<const std::string_view> choices, int index);

}  // namespace veltaro::console

namespace veltaro::console {

// One requested setting, as typed after `set` or read from a profile; nothing here knows the
// model's rules.
struct SetItem {
    SetKey key;
    std::string text;  // kText: the value as typed; kPeriod: its number
    int index = -1;    // kChoice: the radio index; kPeriod: the unit index

    bool operator==(const SetItem&) const = default;
};

}  // namespace veltaro::console
