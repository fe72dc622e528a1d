#include "profile_commands.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#include "apply_progress_dlg.h"
#include "control_lookup.h"
#include "report_dlg.h"
#include "ui_texts.h"

namespace veltaro::ui {
namespace {

QAction* MakeAction(QWidget& dialog, const char* text, const char* name, QKeySequence keys) {
    auto* action = new QAction(QString::fromUtf8(text), &dialog);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(false);
    dialog.addAction(action);
    return action;
}

std::filesystem::path Native(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

ProfileCommands::ProfileCommands(QWidget& dialog, console::ModemConsole& console)
    : QObject(&dialog),
      m_dialog(dialog),
      m_save(MakeAction(dialog, text::kSaveMenuItem, "saveSettingsAction", QKeySequence::Save)),
      m_apply(MakeAction(dialog, text::kApplyMenuItem, "applySettingsAction", QKeySequence::Open)),
      m_session(console, *this, *this,
                [&dialog](int id) {
                    const QWidget* control = FindControl(dialog, id);
                    return control != nullptr && !control->testAttribute(Qt::WA_Disabled);
                }),
      m_dialogs(&m_platformDialogs) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);  // the pauses are the modem's, to the millisecond
    connect(&m_timer, &QTimer::timeout, this, [this] { m_session.OnTimer(); });
    connect(m_save, &QAction::triggered, this, &ProfileCommands::Save);
    connect(m_apply, &QAction::triggered, this, &ProfileCommands::Apply);
}

ProfileCommands::~ProfileCommands() = default;

void ProfileCommands::SetFileDialogs(ProfileFileDialogs* dialogs) {
    m_dialogs = dialogs != nullptr ? dialogs : &m_platformDialogs;
}

void ProfileCommands::UpdateEnabled() {
    const bool on = m_goal == Goal::kNone && m_session.Available();
    m_save->setEnabled(on);
    m_apply->setEnabled(on);
}

void ProfileCommands::Cancel() {
    if (m_session.Running()) {
        m_session.Cancel();
        if (m_progress != nullptr) {
            m_progress->ShowCancelling();
        }
    }
}

void ProfileCommands::StartStepTimer(int milliseconds) {
    m_timer.start(milliseconds);
}

void ProfileCommands::StopStepTimer() {
    m_timer.stop();
}

QString ProfileCommands::Folder() const {
    return m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder;
}

void ProfileCommands::Save() {
    UpdateEnabled();
    if (!m_save->isEnabled()) {
        return;  // a shortcut pressed while the command is not available
    }
    m_goal = Goal::kSave;
    UpdateEnabled();
    if (m_session.ReadMissingScreens()) {
        OpenProgress(QString::fromUtf8(text::kReadingScreens));
        return;  // OnScreensRead goes on
    }
    SaveNow();
}

void ProfileCommands::SaveNow() {
    const QString suggested =
        QDir(Folder()).filePath(QString::fromStdString(m_session.SuggestedFileName()));
    const QString path = m_dialogs->AskSavePath(&m_dialog, suggested);
    if (!path.isEmpty()) {
        m_lastFolder = QFileInfo(path).absolutePath();
        const std::string error = m_session.Save(Native(path));
        if (!error.empty()) {
            ShowError(QString::fromUtf8(text::kSaveTitle), QString::fromStdString(error));
        }
    }
    End();
}

void ProfileCommands::Apply() {
    UpdateEnabled();
    if (!m_apply->isEnabled()) {
        return;
    }
    m_goal = Goal::kApply;
    UpdateEnabled();
    const QString path = m_dialogs->AskOpenPath(&m_dialog, Folder());
    if (path.isEmpty()) {
        End();
        return;
    }
    m_lastFolder = QFileInfo(path).absolutePath();
    // The file is read and checked before anything goes to the modem.
    const std::string error = m_session.Load(Native(path));
    if (!error.empty()) {
        ShowError(QString::fromUtf8(text::kApplyTitle), QString::fromStdString(error));
        End();
        return;
    }
    if (m_session.ReadMissingScreens()) {
        OpenProgress(QString::fromUtf8(text::kReadingScreens));
        return;
    }
    ApplyNow();
}

void ProfileCommands::ApplyNow() {
    const console::Report confirmation = m_session.Confirmation();
    CReportDlg confirm(confirmation, m_session.HasChanges(), QStringLiteral("applyConfirmation"),
                       &m_dialog);
    if (confirm.exec() != QDialog::Accepted || !m_session.HasChanges()) {
        End();
        return;
    }
    OpenProgress(QString());
    m_session.StartApply();
}

void ProfileCommands::OnScreensRead(bool ok) {
    CloseProgress();
    if (!ok) {
        ShowError(
            QString::fromUtf8(m_goal == Goal::kSave ? text::kSaveTitle : text::kApplyTitle),
            QStringLiteral("The modem did not show its information screens; nothing was %1.")
                .arg(m_goal == Goal::kSave ? QStringLiteral("saved") : QStringLiteral("applied")));
        End();
    } else if (m_goal == Goal::kSave) {
        SaveNow();
    } else {
        ApplyNow();
    }
}

void ProfileCommands::OnApplied(const console::Report& summary) {
    CloseProgress();
    CReportDlg(summary, false, QStringLiteral("applySummary"), &m_dialog).exec();
    End();
}

void ProfileCommands::ShowProgress(const std::string& text, int done, int total) {
    if (m_progress != nullptr) {
        m_progress->ShowStep(QString::fromStdString(text), done, total);
    }
}

void ProfileCommands::OpenProgress(const QString& text) {
    m_progress = new CApplyProgressDlg(&m_dialog);
    m_progress->ShowStep(text, 0, 0);
    connect(m_progress, &CApplyProgressDlg::CancelRequested, this, &ProfileCommands::Cancel);
    m_progress->open();
}

void ProfileCommands::CloseProgress() {
    if (m_progress != nullptr) {
        m_progress->Finish();
        m_progress->deleteLater();
        m_progress = nullptr;
    }
}

void ProfileCommands::End() {
    m_goal = Goal::kNone;
    UpdateEnabled();
    emit Finished();
}

void ProfileCommands::ShowError(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, &m_dialog);
    box.setObjectName(QStringLiteral("profileMessageBox"));
    box.setTextFormat(Qt::PlainText);  // a file's name or text is never markup
    box.exec();
}

}  // namespace veltaro::ui
