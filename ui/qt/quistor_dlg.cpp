#include "quistor_dlg.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "about_dlg.h"
#include "app_resources.h"
#include "color_button.h"
#include "control_lookup.h"
#include "dialog_routes.h"
#include "log_pane.h"
#include "profile_commands.h"
#include "ui_texts.h"
#include "updown_ctrl.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

namespace ctl = console::ctl;

// The light-blue dialog background in Qt's terms.
const QColor kDialogFill(kDialogBackground & 0xFF, (kDialogBackground >> 8) & 0xFF,
                         (kDialogBackground >> 16) & 0xFF);

}  // namespace

CQuistorDlg::CQuistorDlg(QWidget* parent)
    : QDialog(parent), m_boxHook(*this), m_link(m_conn), m_console(*this, m_link) {
    setObjectName(QStringLiteral("mainDialog"));
    // A normal application window, not a dialog type: window managers give a parentless
    // dialog no task-bar button, and this window is the whole program.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    m_controls = BuildControls(*this, MainDialogTemplate());
    m_log = findChild<LogPane*>(ControlName(ctl::kLog));
    SetUpLook();
    SetUpAboutAccess();

    m_conn.m_hNotifyWnd = this;
    m_conn.m_pMessageBoxHook = &m_boxHook;
    BindColorButtons();
    RouteControlEvents();
    WriteForm(m_console.Form());
    if (QWidget* comEdit = Control(ctl::kComNumber)) {
        comEdit->setFocus();
    }
}

CQuistorDlg::~CQuistorDlg() {
    // The watcher posts to this object: it must have ended before the object goes.
    m_conn.ClosePort();
    m_conn.m_hNotifyWnd = nullptr;
    m_conn.m_pMessageBoxHook = nullptr;
}

QWidget* CQuistorDlg::Control(int id) {
    return FindControl(*this, id);
}

void CQuistorDlg::SetUpLook() {
    setWindowIcon(AppIcon());
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, kDialogFill);
    setPalette(background);
    // A disabled edit stands on the dialog's background, as a static text does.
    for (QLineEdit* edit : findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
        QPalette editPalette = edit->palette();
        editPalette.setColor(QPalette::Disabled, QPalette::Base, kDialogFill);
        edit->setPalette(editPalette);
    }
}

void CQuistorDlg::SetUpAboutAccess() {
    m_aboutAction = new QAction(QString::fromUtf8(text::kAboutMenuItem), this);
    m_aboutAction->setObjectName(QStringLiteral("aboutAction"));
    m_aboutAction->setShortcut(QKeySequence(Qt::Key_F1));
    m_aboutAction->setShortcutContext(Qt::WindowShortcut);
    connect(m_aboutAction, &QAction::triggered, this, &CQuistorDlg::ShowAboutBox);
    addAction(m_aboutAction);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addAction(separator);
    m_profiles = new ProfileCommands(*this, m_console);
    connect(m_profiles, &ProfileCommands::Finished, this, [this] {
        if (m_closeAfterApply) {
            m_closeAfterApply = false;
            QDialog::reject();
        }
    });
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CQuistorDlg::BindColorButtons() {
    std::size_t slot = 0;
    for (const ButtonColor& entry : kButtonColors) {
        CColorButton* button = CColorButton::AttachDlgItem(entry.id, *this);
        if (button != nullptr) {
            button->SetColors(kButtonText, entry.fill, kButtonDisabledText);
        }
        m_colorButtons[slot++] = button;
    }
}

void CQuistorDlg::RouteControlEvents() {
    for (const Route& route : kClickRoutes) {
        if (auto* button = qobject_cast<QAbstractButton*>(Control(route.id))) {
            const ConsoleHandler handler = route.handler;
            connect(button, &QAbstractButton::clicked, this, [this, handler] {
                (m_console.*handler)();
                m_profiles->UpdateEnabled();
            });
        }
    }
    // textEdited comes from typing, deleting, pasting and undo only, never from setText:
    // form writes and direct text settings do not run the checks.
    for (const Route& route : kEditRoutes) {
        if (auto* edit = qobject_cast<QLineEdit*>(Control(route.id))) {
            const ConsoleHandler handler = route.handler;
            connect(edit, &QLineEdit::textEdited, this,
                    [this, handler] { (m_console.*handler)(); });
        }
    }
    if (auto* spin = qobject_cast<CUpDownCtrl*>(Control(ctl::kComSpin))) {
        connect(spin, &CUpDownCtrl::Stepped, this,
                [this](int delta) { (void)m_console.OnComStep(delta); });
    }
}

void CQuistorDlg::ShowAboutBox() {
    CAboutDlg about(this);
    about.exec();
}

void CQuistorDlg::Post(std::uint32_t message, std::uintptr_t, std::intptr_t) {
    if (message == CNotifyTarget::kDataArrived) {
        QCoreApplication::postEvent(this, new QEvent(kDataArrivedEvent));
    }
}

bool CQuistorDlg::event(QEvent* e) {
    if (e->type() == kDataArrivedEvent) {
        (void)m_console.OnDataArrived();
        m_profiles->UpdateEnabled();
        return true;
    }
    return QDialog::event(e);
}

void CQuistorDlg::keyPressEvent(QKeyEvent* e) {
    // Enter is OK wherever the focus is: no button of this dialog is a default button.
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void CQuistorDlg::accept() {
    if (DeferWhileApplying()) {
        return;
    }
    m_formAtOk = ReadForm();
    QDialog::accept();
}

void CQuistorDlg::reject() {
    if (!DeferWhileApplying()) {
        QDialog::reject();
    }
}

bool CQuistorDlg::DeferWhileApplying() {
    if (!m_profiles->Running()) {
        return false;
    }
    m_closeAfterApply = true;
    m_profiles->Cancel();
    return true;
}

}  // namespace veltaro::ui
