#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QString>

#include "quistor_dlg.h"

class QWidget;

namespace veltaro::e2e {

// The real main dialog, shown and driven as a user drives it: keys typed into its edits,
// mouse clicks on its buttons and radio buttons. Controls are found by their IDs.
//
// Threads: the user-interface thread, with a QApplication. A click on a command button
// returns when the command's handler has (up to about 4 s). Waits process events and are
// bounded.
class DialogDriver {
  public:
    DialogDriver();
    ~DialogDriver();

    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // True when the dialog was exposed and activated in time.
    bool Shown() const { return m_shown; }
    ui::CQuistorDlg& Dialog() { return *m_dialog; }

    // The control with this ID; null when there is none.
    QWidget* Control(int id);
    bool IsEnabled(int id);
    bool IsChecked(int radioId);

    // Replaces an edit's text as a user would: select all (Ctrl+A), then type the keys (or
    // Backspace for an empty text). The field checks run on every key.
    void Type(int editId, const QString& text);
    // A left click in the middle of the control.
    void Click(int id);
    // Types the COM number and presses Open.
    void Open(int com);

    QString EditText(int id);
    QString LabelText(int id);
    QString Caption();
    // The log pane's text as bytes (Latin-1), line breaks as LF.
    std::string LogText();
    // How many lines of the log pane are exactly `line`.
    int CountLogLines(const QString& line);

    // Processes events until done() holds or timeoutMs pass; returns done().
    bool WaitUntil(const std::function<bool()>& done, int timeoutMs);
    // Processes events for ms milliseconds.
    void Pump(int ms);

  private:
    std::unique_ptr<ui::CQuistorDlg> m_dialog;
    bool m_shown = false;
};

}  // namespace veltaro::e2e
