#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <string_view>

#include "veltaro/console/dialog_host.h"
#include "veltaro/console/settings_form.h"

namespace veltaro::cli {

// Takes the main dialog's place for the console logic on a terminal. It holds the dialog's
// "controls": the settings form as last shown, an enabled flag per control ID (all start
// enabled), the caption and the log text. The terminal program looks at them to learn what
// the console decided; it changes them only as a user would (typing into an edit, choosing
// a radio button).
//
// Threads: main thread only, like the console logic that calls it.
class TerminalHost final : public console::DialogHost {
  public:
    // comNumberText: what the COM number edit holds, read by the console's Open.
    // messages: where message boxes are printed (standard error).
    TerminalHost(std::string comNumberText, std::ostream& messages);

    console::SettingsForm ReadForm() override;
    void WriteForm(const console::SettingsForm& form) override;
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

    // The user's side.
    // Puts text into an edit as a paste would: the power edit turns letters into capitals
    // (its edit style). The field check is not run here; the caller runs it next, as the
    // dialog's change notification would.
    void TypeIntoEdit(int id, const std::string& text);
    // The controls' values, for choosing radio buttons.
    console::SettingsForm& Controls() { return m_controls; }

    // What the console has shown.
    const console::SettingsForm& Shown() const { return m_controls; }
    bool IsEnabled(int id) const;
    const std::string& Caption() const { return m_caption; }
    const std::string& LogText() const { return m_log; }
    int FormWrites() const { return m_formWrites; }
    int MessageBoxes() const { return m_messageBoxes; }

    // Called with each text appended to the log pane (the log command prints it).
    void SetLogSink(std::function<void(std::string_view)> sink) { m_logSink = std::move(sink); }
    // Called with each new caption (the console sets the model code as the caption).
    void SetCaptionObserver(std::function<void(const std::string&)> observer) {
        m_captionObserver = std::move(observer);
    }
    // Called after each form write, while the console is still inside the handler.
    void SetFormWriteObserver(std::function<void()> observer) {
        m_formWriteObserver = std::move(observer);
    }

  private:
    std::string* EditText(int id);

    std::ostream& m_messages;
    console::SettingsForm m_controls;
    std::map<int, bool> m_enabled;
    std::string m_caption = "Ostrane - Veltaro";
    std::string m_log;
    int m_formWrites = 0;
    int m_messageBoxes = 0;
    std::function<void(std::string_view)> m_logSink;
    std::function<void()> m_formWriteObserver;
    std::function<void(const std::string&)> m_captionObserver;
};

}  // namespace veltaro::cli
