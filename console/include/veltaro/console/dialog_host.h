#pragma once

#include <string>

#include "veltaro/console/settings_form.h"

namespace veltaro::console {

// What the modem configuration needs of the main dialog. The desktop dialog is the real host;
// tests use a recording host. All calls come from the user-interface thread.
class DialogHost {
  public:
    static constexpr unsigned kIconExclamation = 48;  // MB_ICONEXCLAMATION, OK button only

    virtual ~DialogHost() = default;

    // Form read: every value of the form from its control, as the controls show it at this
    // moment (an edit text just set with SetEditText included).
    virtual SettingsForm ReadForm() = 0;
    // Form write: shows every value in its control. Must not run the field checks.
    virtual void WriteForm(const SettingsForm& form) = 0;
    // Enables (true) or disables (false) the control with this ID.
    virtual void EnableControl(int id, bool enable) = 0;
    // Sets the dialog's caption. The model code shown here is cut from received text, so it
    // may hold any byte.
    virtual void SetCaption(const std::string& caption) = 0;
    // Appends bytes to the end of the log pane. The text is raw console bytes: it may hold
    // 0 bytes and bytes of 0x80 and above.
    virtual void AppendLog(const std::string& text) = 0;
    // Replaces the whole text of the log pane.
    virtual void SetLogText(const std::string& text) = 0;
    // The first line of the COM number edit, at most maxChars characters.
    virtual std::string ReadComNumberLine(int maxChars) = 0;
    // Sets an edit's text directly. Must not run the field checks: the console logic
    // itself produces the effect of the nested check that this raises on the platform.
    virtual void SetEditText(int id, const std::string& text) = 0;
    // Selects characters start to end of an edit (EM_SETSEL).
    virtual void SetEditSelection(int id, int start, int end) = 0;
    // Scrolls an edit's caret into view (EM_SCROLLCARET).
    virtual void ScrollEditCaret(int id) = 0;
    // Shows a modal message box and returns when the user has dismissed it.
    virtual void ShowMessageBox(const std::string& text, const std::string& caption,
                                unsigned style) = 0;
};

}  // namespace veltaro::console
