#include "terminal_host.h"

#include <algorithm>

#include "text_util.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::cli {
namespace {

namespace ctl = console::ctl;

// A radio group with its index outside the group has no button checked; a form read then
// gives -1, as the dialog's data exchange does.
int RadioRead(int index, int buttons) {
    return index >= 0 && index < buttons ? index : -1;
}

}  // namespace

TerminalHost::TerminalHost(std::string comNumberText, std::ostream& messages)
    : m_messages(messages) {
    m_controls.comNumber = std::move(comNumberText);
}

console::SettingsForm TerminalHost::ReadForm() {
    console::SettingsForm form = m_controls;
    form.mode = RadioRead(form.mode, 2);
    form.periodUnit = RadioRead(form.periodUnit, 3);
    form.interface = RadioRead(form.interface, 2);
    form.dataBits = RadioRead(form.dataBits, 4);
    form.stopBits = RadioRead(form.stopBits, 3);
    form.parity = RadioRead(form.parity, 5);
    return form;
}

void TerminalHost::WriteForm(const console::SettingsForm& form) {
    m_controls = form;
    ++m_formWrites;
    if (m_formWriteObserver) {
        m_formWriteObserver();
    }
}

void TerminalHost::EnableControl(int id, bool enable) {
    m_enabled[id] = enable;
}

void TerminalHost::SetCaption(const std::string& caption) {
    m_caption = caption;
    if (m_captionObserver) {
        m_captionObserver(caption);
    }
}

void TerminalHost::AppendLog(const std::string& text) {
    m_log += text;
    if (m_logSink) {
        m_logSink(text);
    }
}

void TerminalHost::SetLogText(const std::string& text) {
    m_log = text;
}

std::string TerminalHost::ReadComNumberLine(int maxChars) {
    const std::string& text = m_controls.comNumber;
    const std::string firstLine = text.substr(0, text.find_first_of("\r\n"));
    return firstLine.substr(0, static_cast<std::size_t>(std::max(0, maxChars)));
}

void TerminalHost::SetEditText(int id, const std::string& text) {
    if (std::string* field = EditText(id)) {
        *field = text;
    }
}

// The terminal has no selection or caret to show.
void TerminalHost::SetEditSelection(int, int, int) {}
void TerminalHost::ScrollEditCaret(int) {}

void TerminalHost::ShowMessageBox(const std::string& text, const std::string& caption, unsigned) {
    ++m_messageBoxes;
    m_messages << "veltaro-cli: " << Printable(caption) << ": " << Printable(text) << '\n';
}

void TerminalHost::TypeIntoEdit(int id, const std::string& text) {
    std::string shown = text;
    if (id == ctl::kPowerEdit) {
        for (char& c : shown) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
    }
    SetEditText(id, shown);
}

bool TerminalHost::IsEnabled(int id) const {
    const auto found = m_enabled.find(id);
    return found == m_enabled.end() || found->second;
}

std::string* TerminalHost::EditText(int id) {
    switch (id) {
        case ctl::kComNumber:
            return &m_controls.comNumber;
        case ctl::kChannelEdit:
            return &m_controls.channel;
        case ctl::kPowerEdit:
            return &m_controls.power;
        case ctl::kDestIdEdit:
            return &m_controls.destinationId;
        case ctl::kPeriodEdit:
            return &m_controls.period;
        default:
            return nullptr;
    }
}

}  // namespace veltaro::cli
