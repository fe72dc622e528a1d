#pragma once

#include <string>
#include <vector>

#include "dialog_template.h"
#include "veltaro/console/control_ids.h"
#include "veltaro/console/settings_form.h"

// Which control shows which value of the settings form, for every front end's form read
// and write.
namespace veltaro::ui {

struct TextField {
    int id;
    std::string console::SettingsForm::*value;
};

struct RadioField {
    int firstId;  // the group's first button
    int console::SettingsForm::*index;
};

namespace form_ctl = console::ctl;

// Edits, read and written.
inline constexpr TextField kEditFields[] = {
    {form_ctl::kComNumber, &console::SettingsForm::comNumber},
    {form_ctl::kChannelEdit, &console::SettingsForm::channel},
    {form_ctl::kPowerEdit, &console::SettingsForm::power},
    {form_ctl::kDestIdEdit, &console::SettingsForm::destinationId},
    {form_ctl::kPeriodEdit, &console::SettingsForm::period},
};

// Range labels.
inline constexpr TextField kLabelFields[] = {
    {form_ctl::kChannelRange, &console::SettingsForm::channelRangeLabel},
    {form_ctl::kPowerRange, &console::SettingsForm::powerRangeLabel},
};

inline constexpr RadioField kRadioFields[] = {
    {form_ctl::kModePc, &console::SettingsForm::mode},
    {form_ctl::kUnitHour, &console::SettingsForm::periodUnit},
    {form_ctl::kRs232, &console::SettingsForm::interface},
    {form_ctl::kData5, &console::SettingsForm::dataBits},
    {form_ctl::kStop1, &console::SettingsForm::stopBits},
    {form_ctl::kParityEven, &console::SettingsForm::parity},
};

// The radio buttons of the group that starts at firstId, in template order: the first
// button and the radio buttons after it up to the next control that starts a group.
inline std::vector<int> RadioGroupIds(const DialogTemplate& dialog, int firstId) {
    std::vector<int> ids;
    bool inGroup = false;
    for (const ControlRow& row : dialog.controls) {
        if (row.id == firstId) {
            inGroup = true;
        } else if (inGroup && row.groupStart) {
            break;
        }
        if (inGroup && row.cls == ControlClass::kAutoRadio) {
            ids.push_back(row.id);
        }
    }
    return ids;
}

}  // namespace veltaro::ui
