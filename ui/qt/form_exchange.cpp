#include "form_exchange.h"

#include <string>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>

#include "console_text.h"
#include "control_lookup.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

namespace ctl = console::ctl;
using console::SettingsForm;

struct TextField {
    int id;
    std::string SettingsForm::*value;
};

struct RadioField {
    int firstId;
    int SettingsForm::*index;
};

constexpr TextField kEditFields[] = {
    {ctl::kComNumber, &SettingsForm::comNumber}, {ctl::kChannelEdit, &SettingsForm::channel},
    {ctl::kPowerEdit, &SettingsForm::power},     {ctl::kDestIdEdit, &SettingsForm::destinationId},
    {ctl::kPeriodEdit, &SettingsForm::period},
};

constexpr TextField kLabelFields[] = {
    {ctl::kChannelRange, &SettingsForm::channelRangeLabel},
    {ctl::kPowerRange, &SettingsForm::powerRangeLabel},
};

constexpr RadioField kRadioFields[] = {
    {ctl::kModePc, &SettingsForm::mode},     {ctl::kUnitHour, &SettingsForm::periodUnit},
    {ctl::kRs232, &SettingsForm::interface}, {ctl::kData5, &SettingsForm::dataBits},
    {ctl::kStop1, &SettingsForm::stopBits},  {ctl::kParityEven, &SettingsForm::parity},
};

void CheckPosition(QButtonGroup& group, int index) {
    if (QAbstractButton* button = group.button(index)) {
        button->setChecked(true);  // the exclusive group clears the others
        return;
    }
    // An exclusive group cannot uncheck its last checked button.
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons()) {
        button->setChecked(false);
    }
    group.setExclusive(true);
}

}  // namespace

SettingsForm ReadSettingsForm(QWidget& dialog, const BuiltControls& controls) {
    SettingsForm form;
    for (const TextField& field : kEditFields) {
        if (auto* edit = qobject_cast<QLineEdit*>(FindControl(dialog, field.id))) {
            form.*field.value = ToLatin1(edit->text());
        }
    }
    for (const TextField& field : kLabelFields) {
        if (auto* label = qobject_cast<QLabel*>(FindControl(dialog, field.id))) {
            form.*field.value = ToLatin1(label->text());
        }
    }
    for (const RadioField& field : kRadioFields) {
        QButtonGroup* group = controls.GroupOf(field.firstId);
        form.*field.index = group != nullptr ? group->checkedId() : -1;
    }
    return form;
}

void WriteSettingsForm(QWidget& dialog, const BuiltControls& controls, const SettingsForm& form) {
    for (const TextField& field : kEditFields) {
        auto* edit = qobject_cast<QLineEdit*>(FindControl(dialog, field.id));
        const QString value = FromLatin1(form.*field.value);
        if (edit != nullptr && edit->text() != value) {
            edit->setText(value);
        }
    }
    for (const TextField& field : kLabelFields) {
        if (auto* label = qobject_cast<QLabel*>(FindControl(dialog, field.id))) {
            label->setText(FromLatin1(form.*field.value));
        }
    }
    for (const RadioField& field : kRadioFields) {
        if (QButtonGroup* group = controls.GroupOf(field.firstId)) {
            CheckPosition(*group, form.*field.index);
        }
    }
}

}  // namespace veltaro::ui
