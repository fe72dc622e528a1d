#pragma once

#include <QValidator>

namespace veltaro::ui {

// The validator of an edit whose text goes to the modem: a change that would bring in a
// character the modem cannot take as typed (console::IsSendableCharacter) is refused, as
// typed or pasted, and the edit keeps its text. With upperCase, letters become capitals as
// they enter, keeping the text's length and the cursor, as an upper-case edit does.
// Texts set by the program (form writes) are shown as they are.
class EditValidator : public QValidator {
    Q_OBJECT

  public:
    EditValidator(bool sendableOnly, bool upperCase, QObject* parent);

    State validate(QString& input, int& pos) const override;

  private:
    bool m_sendableOnly;
    bool m_upperCase;
};

}  // namespace veltaro::ui
