#include "edit_validator.h"

#include <algorithm>

#include <QLineEdit>

#include "veltaro/console/text_rules.h"

namespace veltaro::ui {

EditValidator::EditValidator(bool sendableOnly, bool upperCase, QObject* parent)
    : QValidator(parent), m_sendableOnly(sendableOnly), m_upperCase(upperCase) {}

QValidator::State EditValidator::validate(QString& input, int&) const {
    // UTF-16 units: a character outside the Basic Multilingual Plane is two surrogates,
    // neither of them sendable.
    const bool sendable = std::all_of(input.cbegin(), input.cend(), [](QChar ch) {
        return console::IsSendableCharacter(ch.unicode());
    });
    if (m_sendableOnly && !sendable && !m_settingByProgram) {
        return Invalid;
    }
    if (m_upperCase) {
        for (QChar& ch : input) {
            ch = ch.toUpper();
        }
    }
    return Acceptable;
}

void SetTextAsProgram(QLineEdit& edit, const QString& text) {
    // The edit's own validator is its child (MakeEdit makes it so).
    auto* validator = edit.findChild<EditValidator*>(QString(), Qt::FindDirectChildrenOnly);
    if (validator == nullptr || edit.validator() != validator) {
        edit.setText(text);
        return;
    }
    validator->m_settingByProgram = true;
    edit.setText(text);
    validator->m_settingByProgram = false;
}

}  // namespace veltaro::ui
