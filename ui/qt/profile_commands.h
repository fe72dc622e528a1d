#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "file_dialogs.h"
#include "veltaro/console/profile_session.h"

class QAction;
class QWidget;

namespace veltaro::ui {

class CApplyProgressDlg;

// "Save settings to file..." (Ctrl+S) and "Apply settings from file..." (Ctrl+O) of the
// main dialog: the two actions, the file dialogs, the boxes, and the timer on which the
// console's profile session walks the commands, so that the dialog's thread never waits for
// the modem.
//
// Threads: user-interface thread only. The dialog owns this object; the console outlives it.
class ProfileCommands : public QObject, private console::StepTimer, private console::ProfileView {
    Q_OBJECT

  public:
    ProfileCommands(QWidget& dialog, console::ModemConsole& console);
    ~ProfileCommands() override;

    QAction* SaveAction() const { return m_save; }
    QAction* ApplyAction() const { return m_apply; }
    // Enables the actions while a port is open, a model with information screens is detected
    // and nothing runs. The dialog calls it after every console event.
    void UpdateEnabled();
    bool Running() const { return m_goal != Goal::kNone; }
    // Stops a run after the command in flight (Cancel, closing the progress or the dialog).
    void Cancel();
    const console::ProfileSession& Session() const { return m_session; }
    // Tests answer the file dialogs; null restores the platform's. Not owned.
    void SetFileDialogs(ProfileFileDialogs* dialogs);

  public slots:
    void Save();
    void Apply();

  signals:
    // Save or Apply has ended and its last box was dismissed.
    void Finished();

  private:
    enum class Goal { kNone, kSave, kApply };

    void StartStepTimer(int milliseconds) override;
    void StopStepTimer() override;
    void ShowProgress(const std::string& text, int done, int total) override;
    void OnScreensRead(bool ok) override;
    void OnApplied(const console::Report& summary) override;

    void SaveNow();
    void ApplyNow();
    void OpenProgress(const QString& text);
    void CloseProgress();
    void ShowError(const QString& title, const QString& text);
    void End();
    QString Folder() const;

    QWidget& m_dialog;
    QAction* m_save;
    QAction* m_apply;
    QTimer m_timer;
    console::ProfileSession m_session;
    QtFileDialogs m_platformDialogs;
    ProfileFileDialogs* m_dialogs;
    CApplyProgressDlg* m_progress = nullptr;
    Goal m_goal = Goal::kNone;
    QString m_lastFolder;
};

}  // namespace veltaro::ui
