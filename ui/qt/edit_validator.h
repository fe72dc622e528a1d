#pragma once

#include <QValidator>

class QLineEdit;

namespace veltaro::ui {

// The validator of an edit whose text goes to the modem: a change that would bring in a
// character the modem cannot take as typed (console::IsSendableCharacter) is refused, as
// typed or pasted, and the edit keeps its text. With upperCase, letters become capitals as
// they enter, keeping the text's length and the cursor, as an upper-case edit does.
// Texts set by the program (form writes) are shown as they are, through SetTextAsProgram.
class EditValidator : public QValidator {
    Q_OBJECT

  public:
    EditValidator(bool sendableOnly, bool upperCase, QObject* parent);

    State validate(QString& input, int& pos) const override;

  private:
    friend void SetTextAsProgram(QLineEdit& edit, const QString& text);

    bool m_sendableOnly;
    bool m_upperCase;
    bool m_settingByProgram = false;
};

// Sets an edit's text as the program does (a form write, a check's correction): shown as it
// is, apart from an upper-case edit's capitals, even where it holds a character the user
// could not type, such as a modem's byte of 0x80 and above. A plain setText would leave
// such a text marked invalid, and a line edit stops refusing typed input after that.
void SetTextAsProgram(QLineEdit& edit, const QString& text);

}  // namespace veltaro::ui
