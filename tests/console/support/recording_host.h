#pragma once

#include <map>
#include <string>
#include <utility>

#include "event_log.h"
#include "veltaro/console/dialog_host.h"
#include "veltaro/console/settings_form.h"

namespace veltaro::console::testing {

// A dialog host without windows: it keeps what the controls would show and records every
// call into the shared event log.
//
// The shown values behave like the dialog's controls: ReadForm returns what is shown (an edit
// text set with SetEditText or typed with Type included), WriteForm shows the form, and a
// radio index outside its group shows no checked button, so it reads back as -1. Every control
// starts enabled, the caption is the dialog title and the log pane is empty. Typing changes
// the shown text only; the test then calls the field's change handler, as the dialog would.
// The power edit's upper-case style is not imitated: typed text is shown as given.
class RecordingHost : public DialogHost {
  public:
    explicit RecordingHost(EventLog& log);

    SettingsForm ReadForm() override;
    void WriteForm(const SettingsForm& form) override;
    void EnableControl(int id, bool enable) override;
    void SetCaption(const std::string& caption) override;
    void AppendLog(const std::string& text) override;
    void SetLogText(const std::string& text) override;
    std::string ReadComNumberLine(int maxChars) override;
    void SetEditText(int id, const std::string& text) override;
    void SetEditSelection(int id, int start, int end) override;
    void ScrollEditCaret(int id) override;
    void ShowMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override;

    // The user types (or pastes) text into an edit; no call is recorded.
    void Type(int editId, const std::string& text);
    // What the controls show; tests may also set radio indices here, as a click would.
    SettingsForm& Shown() { return m_shown; }
    const SettingsForm& Shown() const { return m_shown; }
    std::string EditText(int editId) const;
    bool IsEnabled(int id) const;
    const std::string& Caption() const { return m_caption; }
    const std::string& LogText() const { return m_logText; }
    // The last selection set on an edit; (-1, -1) when none was set.
    std::pair<int, int> Selection(int editId) const;

  private:
    EventLog& m_log;
    SettingsForm m_shown;
    std::map<int, bool> m_enabled;
    std::map<int, std::string> m_otherEdits;
    std::map<int, std::pair<int, int>> m_selections;
    std::string m_caption;
    std::string m_logText;
};

}  // namespace veltaro::console::testing
