#include "edit_validator.h"

#include <algorithm>

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
    if (m_sendableOnly && !sendable) {
        return Invalid;
    }
    if (m_upperCase) {
        for (QChar& ch : input) {
            ch = ch.toUpper();
        }
    }
    return Acceptable;
}

}  // namespace veltaro::ui
