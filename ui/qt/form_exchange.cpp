#include "form_exchange.h"

#include <string>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>

#include "console_text.h"
#include "control_lookup.h"
#include "edit_validator.h"
#include "form_fields.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

namespace ctl = console::ctl;
using console::SettingsForm;

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
            SetTextAsProgram(*edit, value);
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
