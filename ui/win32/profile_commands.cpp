#include "profile_commands.h"

#include <timeapi.h>

#include <algorithm>
#include <filesystem>

#include "ui_texts.h"
#include "veltaro/console/modem_console.h"
#include "wide_text.h"

namespace veltaro::ui {
namespace {

// A window timer may fire a tick late; it is armed this much early and the rest of the
// pause is waited out here, so that a pause is never shorter than asked and rarely longer.
constexpr int kTimerLeadMs = 20;

double NowMs() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

std::wstring ReportText(const console::Report& report) {
    std::string text = report.intro;
    for (const console::ReportSection& section : report.sections) {
        text += "\n\n" + section.heading + ":";
        for (const std::string& row : section.rows) {
            text += "\n    " + row;
        }
    }
    return WideFromUtf8(text);
}

ProfileCommands::ProfileCommands(console::ModemConsole& console)
    : m_session(console, *this, *this,
                [this](int id) {
                    HWND control = GetDlgItem(m_hWnd, id);
                    return control != nullptr && IsWindowEnabled(control) != FALSE;
                }),
      m_dialogs(&m_platformDialogs) {}

ProfileCommands::~ProfileCommands() {
    StopStepTimer();
}

bool ProfileCommands::AddMenuItems(HWND dialog) {
    m_hWnd = dialog;
    HMENU menu = GetSystemMenu(dialog, FALSE);
    if (menu == nullptr) {
        return false;
    }
    AppendMenuW(menu, MF_STRING | MF_GRAYED, kSaveCommand,
                WideFromUtf8(text::kSaveMenuItem).c_str());
    AppendMenuW(menu, MF_STRING | MF_GRAYED, kApplyCommand,
                WideFromUtf8(text::kApplyMenuItem).c_str());
    return true;
}

void ProfileCommands::UpdateEnabled() {
    HMENU menu = m_hWnd != nullptr ? GetSystemMenu(m_hWnd, FALSE) : nullptr;
    if (menu == nullptr) {
        return;
    }
    const UINT state = m_goal == Goal::kNone && m_session.Available() ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, kSaveCommand, MF_BYCOMMAND | state);
    EnableMenuItem(menu, kApplyCommand, MF_BYCOMMAND | state);
}

bool ProfileCommands::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0u) {
        case kSaveCommand:
            Save();
            return true;
        case kApplyCommand:
            Apply();
            return true;
        default:
            return false;
    }
}

void ProfileCommands::SetOnFinished(void (*callback)(void*), void* context) {
    m_onFinished = callback;
    m_finishedContext = context;
}

void ProfileCommands::SetFileDialogs(ProfileFileDialogs* dialogs) {
    m_dialogs = dialogs != nullptr ? dialogs : &m_platformDialogs;
}

void ProfileCommands::StartStepTimer(int milliseconds) {
    KillTimer(m_hWnd, kTimerId);
    if (milliseconds <= 0) {
        m_dueAt = 0;
        PostMessageW(m_hWnd, kStepMessage, 0, 0);
        return;
    }
    if (!m_finePeriod) {
        // The pauses are the modem's: without it a timer may fire a whole tick late.
        m_finePeriod = timeBeginPeriod(1) == TIMERR_NOERROR;
    }
    m_dueAt = NowMs() + milliseconds;
    SetTimer(m_hWnd, kTimerId, static_cast<UINT>(std::max(milliseconds - kTimerLeadMs, 1)),
             nullptr);
}

void ProfileCommands::StopStepTimer() {
    if (m_hWnd != nullptr) {
        KillTimer(m_hWnd, kTimerId);
    }
    if (m_finePeriod) {
        timeEndPeriod(1);
        m_finePeriod = false;
    }
}

void ProfileCommands::OnStep() {
    KillTimer(m_hWnd, kTimerId);  // one-shot
    while (NowMs() < m_dueAt) {
        Sleep(1);  // at most kTimerLeadMs: the thread stays answering
    }
    m_dueAt = 0;
    m_session.OnTimer();
}

void ProfileCommands::Cancel() {
    if (m_session.Running()) {
        m_session.Cancel();
        m_progress.ShowCancelling();
    }
}

void ProfileCommands::Save() {
    if (m_goal != Goal::kNone || !m_session.Available()) {
        return;
    }
    m_goal = Goal::kSave;
    UpdateEnabled();
    if (m_session.ReadMissingScreens()) {
        OpenProgress(WideFromUtf8(text::kReadingScreens));
        return;  // OnScreensRead goes on
    }
    SaveNow();
}

void ProfileCommands::SaveNow() {
    const std::wstring name = WideFromUtf8(m_session.SuggestedFileName());
    const std::wstring path = m_dialogs->AskSavePath(m_hWnd, m_lastFolder, name);
    if (!path.empty()) {
        m_lastFolder = FolderOf(path);
        const std::string error = m_session.Save(std::filesystem::path(path));
        if (!error.empty()) {
            ShowError(text::kSaveTitle, error);
        }
    }
    End();
}

void ProfileCommands::Apply() {
    if (m_goal != Goal::kNone || !m_session.Available()) {
        return;
    }
    m_goal = Goal::kApply;
    UpdateEnabled();
    const std::wstring path = m_dialogs->AskOpenPath(m_hWnd, m_lastFolder);
    if (path.empty()) {
        End();
        return;
    }
    m_lastFolder = FolderOf(path);
    // The file is read and checked before anything goes to the modem.
    const std::string error = m_session.Load(std::filesystem::path(path));
    if (!error.empty()) {
        ShowError(text::kApplyTitle, error);
        End();
        return;
    }
    if (m_session.ReadMissingScreens()) {
        OpenProgress(WideFromUtf8(text::kReadingScreens));
        return;
    }
    ApplyNow();
}

void ProfileCommands::ApplyNow() {
    const console::Report confirmation = m_session.Confirmation();
    const UINT style =
        m_session.HasChanges() ? MB_OKCANCEL | MB_ICONQUESTION : MB_OK | MB_ICONINFORMATION;
    const int answer = MessageBoxW(m_hWnd, ReportText(confirmation).c_str(),
                                   WideFromUtf8(confirmation.title).c_str(), style);
    if (answer != IDOK || !m_session.HasChanges()) {
        End();
        return;
    }
    OpenProgress(L"");
    m_session.StartApply();
}

void ProfileCommands::OnScreensRead(bool ok) {
    m_progress.Close();
    if (!ok) {
        ShowError(m_goal == Goal::kSave ? text::kSaveTitle : text::kApplyTitle,
                  m_goal == Goal::kSave
                      ? "The modem did not show its information screens; nothing was saved."
                      : "The modem did not show its information screens; nothing was applied.");
        End();
    } else if (m_goal == Goal::kSave) {
        SaveNow();
    } else {
        ApplyNow();
    }
}

void ProfileCommands::OnApplied(const console::Report& summary) {
    m_progress.Close();
    StopStepTimer();
    MessageBoxW(m_hWnd, ReportText(summary).c_str(), WideFromUtf8(summary.title).c_str(),
                MB_OK | MB_ICONINFORMATION);
    End();
}

void ProfileCommands::ShowProgress(const std::string& text, int done, int total) {
    m_progress.ShowStep(WideFromUtf8(text), done, total);
}

void ProfileCommands::OpenProgress(const std::wstring& text) {
    m_progress.Open(m_hWnd, [this] { Cancel(); });
    m_progress.ShowStep(text, 0, 0);
}

void ProfileCommands::ShowError(const char* title, const std::string& text) {
    MessageBoxW(m_hWnd, WideFromUtf8(text).c_str(), WideFromUtf8(title).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

void ProfileCommands::End() {
    StopStepTimer();
    m_goal = Goal::kNone;
    UpdateEnabled();
    if (m_onFinished != nullptr) {
        m_onFinished(m_finishedContext);
    }
}

}  // namespace veltaro::ui
