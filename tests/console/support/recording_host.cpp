#include "recording_host.h"

#include "veltaro/console/console_texts.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::console::testing {

namespace {

// A radio index outside its group checks no button; such a group reads back as -1.
int ShownIndex(int index, int groupSize) {
    return index >= 0 && index < groupSize ? index : -1;
}

// The form field an edit shows, or nullptr for an edit that is not part of the form.
template <typename Form>
auto* FieldOf(Form& form, int editId) {
    using Text = decltype(&form.channel);
    switch (editId) {
        case ctl::kComNumber:
            return &form.comNumber;
        case ctl::kChannelEdit:
            return &form.channel;
        case ctl::kPowerEdit:
            return &form.power;
        case ctl::kDestIdEdit:
            return &form.destinationId;
        case ctl::kPeriodEdit:
            return &form.period;
        default:
            return Text{nullptr};
    }
}

}  // namespace

RecordingHost::RecordingHost(EventLog& log) : m_log(log), m_caption(kDialogTitle) {}

SettingsForm RecordingHost::ReadForm() {
    m_log.Add(EventKind::kReadForm).form = m_shown;
    return m_shown;
}

void RecordingHost::WriteForm(const SettingsForm& form) {
    m_log.Add(EventKind::kWriteForm).form = form;
    m_shown = form;
    m_shown.mode = ShownIndex(form.mode, 2);
    m_shown.periodUnit = ShownIndex(form.periodUnit, 3);
    m_shown.interface = ShownIndex(form.interface, 2);
    m_shown.dataBits = ShownIndex(form.dataBits, 4);
    m_shown.stopBits = ShownIndex(form.stopBits, 3);
    m_shown.parity = ShownIndex(form.parity, 5);
}

void RecordingHost::EnableControl(int id, bool enable) {
    Event& e = m_log.Add(EventKind::kEnable);
    e.id = id;
    e.first = enable ? 1 : 0;
    m_enabled[id] = enable;
}

void RecordingHost::SetCaption(const std::string& caption) {
    m_log.Add(EventKind::kCaption).text = caption;
    m_caption = caption;
}

void RecordingHost::AppendLog(const std::string& text) {
    m_log.Add(EventKind::kAppendLog).text = text;
    m_logText += text;
}

void RecordingHost::SetLogText(const std::string& text) {
    m_log.Add(EventKind::kSetLogText).text = text;
    m_logText = text;
}

std::string RecordingHost::ReadComNumberLine(int maxChars) {
    m_log.Add(EventKind::kReadComLine).id = maxChars;
    std::string line = m_shown.comNumber.substr(0, m_shown.comNumber.find_first_of("\r\n"));
    if (maxChars >= 0 && line.size() > static_cast<std::size_t>(maxChars)) {
        line.resize(static_cast<std::size_t>(maxChars));
    }
    return line;
}

void RecordingHost::SetEditText(int id, const std::string& text) {
    Event& e = m_log.Add(EventKind::kSetEditText);
    e.id = id;
    e.text = text;
    Type(id, text);
}

void RecordingHost::SetEditSelection(int id, int start, int end) {
    Event& e = m_log.Add(EventKind::kSetEditSelection);
    e.id = id;
    e.first = start;
    e.second = end;
    m_selections[id] = {start, end};
}

void RecordingHost::ScrollEditCaret(int id) {
    m_log.Add(EventKind::kScrollEditCaret).id = id;
}

void RecordingHost::ShowMessageBox(const std::string& text, const std::string& caption,
                                   unsigned style) {
    Event& e = m_log.Add(EventKind::kMessageBox);
    e.fourth = static_cast<int>(style);
    e.text = text;
    e.detail = caption;
}

void RecordingHost::Type(int editId, const std::string& text) {
    if (std::string* field = FieldOf(m_shown, editId)) {
        *field = text;
    } else {
        m_otherEdits[editId] = text;
    }
}

std::string RecordingHost::EditText(int editId) const {
    if (const std::string* field = FieldOf(m_shown, editId)) {
        return *field;
    }
    const auto it = m_otherEdits.find(editId);
    return it == m_otherEdits.end() ? std::string() : it->second;
}

bool RecordingHost::IsEnabled(int id) const {
    const auto it = m_enabled.find(id);
    return it == m_enabled.end() || it->second;
}

std::pair<int, int> RecordingHost::Selection(int editId) const {
    const auto it = m_selections.find(editId);
    return it == m_selections.end() ? std::pair{-1, -1} : it->second;
}

}  // namespace veltaro::console::testing
