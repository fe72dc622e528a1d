#pragma once

#include <windows.h>

#include <string>

#include "apply_progress_wnd.h"
#include "file_dialogs.h"
#include "veltaro/console/profile_session.h"

namespace veltaro::ui {

// "Save settings to file..." and "Apply settings from file..." of the system menu, after
// the About item: the items, the file dialogs, the boxes, the progress window, and the
// timer on which the console's profile session walks the commands, so that the dialog's
// thread keeps answering while the modem is configured.
//
// Threads: user-interface thread only. The dialog owns this object and routes its system
// commands, timer and step messages here.
class ProfileCommands : private console::StepTimer, private console::ProfileView {
  public:
    static constexpr UINT kSaveCommand = 32;  // system commands: low four bits clear
    static constexpr UINT kApplyCommand = 48;
    static constexpr UINT_PTR kTimerId = 0x5645;
    static constexpr UINT kStepMessage = WM_APP + 3;  // a step timer of 0 ms

    explicit ProfileCommands(console::ModemConsole& console);
    ~ProfileCommands() override;
    ProfileCommands(const ProfileCommands&) = delete;
    ProfileCommands& operator=(const ProfileCommands&) = delete;

    // Appends the two items to the window's system menu (after the About item).
    bool AddMenuItems(HWND dialog);
    // Enables the items while a port is open, a model with information screens is detected
    // and nothing runs. The dialog calls it after every console event.
    void UpdateEnabled();
    // WM_SYSCOMMAND; false for a command that is not one of the two.
    bool OnSysCommand(WPARAM command);
    // WM_TIMER with kTimerId, and kStepMessage.
    void OnStep();
    bool Running() const { return m_goal != Goal::kNone; }
    // Stops a run after the command in flight (Cancel, closing the progress or the dialog).
    void Cancel();
    // Runs once Save or Apply has ended and its last box was dismissed.
    void SetOnFinished(void (*callback)(void*), void* context);
    const console::ProfileSession& Session() const { return m_session; }
    // Tests answer the file dialogs; null restores the platform's. Not owned.
    void SetFileDialogs(ProfileFileDialogs* dialogs);
    HWND ProgressWindow() const { return m_progress.Handle(); }

    void Save();
    void Apply();

  private:
    enum class Goal { kNone, kSave, kApply };

    void StartStepTimer(int milliseconds) override;
    void StopStepTimer() override;
    void ShowProgress(const std::string& text, int done, int total) override;
    void OnScreensRead(bool ok) override;
    void OnApplied(const console::Report& summary) override;

    void SaveNow();
    void ApplyNow();
    void OpenProgress(const std::wstring& text);
    void ShowError(const char* title, const std::string& text);
    void End();

    HWND m_hWnd = nullptr;
    console::ProfileSession m_session;
    Win32FileDialogs m_platformDialogs;
    ProfileFileDialogs* m_dialogs;
    ApplyProgressWnd m_progress;
    Goal m_goal = Goal::kNone;
    std::wstring m_lastFolder;
    bool m_finePeriod = false;  // timeBeginPeriod(1) is in force
    double m_dueAt = 0;         // when the pending step is due, on the performance counter (ms)
    void (*m_onFinished)(void*) = nullptr;
    void* m_finishedContext = nullptr;
};

// A report of the console as the text of a message box: intro, then each section's heading
// over its rows.
std::wstring ReportText(const console::Report& report);

}  // namespace veltaro::ui
