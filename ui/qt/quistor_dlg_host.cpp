// The main dialog as the console logic's host: the console reaches the controls only
// through these calls.
#include <algorithm>

#include <QLineEdit>
#include <QMessageBox>

#include "console_text.h"
#include "edit_validator.h"
#include "form_exchange.h"
#include "log_pane.h"
#include "quistor_dlg.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

QMessageBox::Icon IconOf(unsigned style) {
    switch (style & 0xF0u) {
        case 0x10:
            return QMessageBox::Critical;
        case 0x20:
            return QMessageBox::Question;
        case 0x30:
            return QMessageBox::Warning;  // the exclamation mark
        case 0x40:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

console::SettingsForm CQuistorDlg::ReadForm() {
    return ReadSettingsForm(*this, m_controls);
}

void CQuistorDlg::WriteForm(const console::SettingsForm& form) {
    WriteSettingsForm(*this, m_controls, form);
}

void CQuistorDlg::EnableControl(int id, bool enable) {
    if (QWidget* control = Control(id)) {
        control->setEnabled(enable);
    }
}

void CQuistorDlg::SetCaption(const std::string& caption) {
    setWindowTitle(FromLatin1(caption));
}

void CQuistorDlg::AppendLog(const std::string& text) {
    m_log->AppendRaw(text);
}

void CQuistorDlg::SetLogText(const std::string& text) {
    m_log->SetRaw(text);
}

std::string CQuistorDlg::ReadComNumberLine(int maxChars) {
    auto* edit = qobject_cast<QLineEdit*>(Control(console::ctl::kComNumber));
    if (edit == nullptr || maxChars <= 0) {
        return {};
    }
    return ToLatin1(edit->text().left(maxChars));
}

void CQuistorDlg::SetEditText(int id, const std::string& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) {
        SetTextAsProgram(*edit, FromLatin1(text));
    }
}

void CQuistorDlg::SetEditSelection(int id, int start, int end) {
    auto* edit = qobject_cast<QLineEdit*>(Control(id));
    if (edit == nullptr) {
        return;
    }
    // Positions beyond the text mean its end; the caret goes to `end`.
    const int length = static_cast<int>(edit->text().size());
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    if (start == end) {
        edit->setCursorPosition(end);
    } else {
        edit->setSelection(start, end - start);
    }
}

void CQuistorDlg::ScrollEditCaret(int id) {
    // A line edit keeps its caret in view by itself; the log pane needs to be told.
    if (id == console::ctl::kLog) {
        m_log->ensureCursorVisible();
    }
}

void CQuistorDlg::ShowMessageBox(const std::string& text, const std::string& caption,
                                 unsigned style) {
    QMessageBox box(IconOf(style), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("promptMessageBox"));
    box.exec();
}

}  // namespace veltaro::ui
