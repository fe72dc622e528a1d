#pragma once

#include <array>
#include <cstdint>
#include <string>

#include <QDialog>
#include <QEvent>

#include "brenlow/serial_conn.h"
#include "dialog_builder.h"
#include "message_box_hook.h"
#include "veltaro/console/dialog_host.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/serial_modem_link.h"

class QAction;

namespace veltaro::ui {

class CColorButton;
class LogPane;
class ProfileCommands;

// The main dialog on template 102 and the console logic's real host. It holds the serial
// connection by value, the link over it and the console logic; every control event goes to
// one console handler, and the connection's watcher reaches the dialog through a posted
// data-arrived event.
//
// Threads: everything runs on the user-interface thread except Post (CNotifyTarget), which
// the watcher calls; it only posts an event. Destroying the dialog first closes a port that
// is still open, which joins the watcher, so nothing posts to a dialog that is going.
class CQuistorDlg : public QDialog, public console::DialogHost, private CNotifyTarget {
    Q_OBJECT

  public:
    // The data-arrived message as a Qt event type.
    static constexpr QEvent::Type kDataArrivedEvent = static_cast<QEvent::Type>(QEvent::User + 1);

    explicit CQuistorDlg(QWidget* parent = nullptr);
    ~CQuistorDlg() override;

    CQuistorDlg(const CQuistorDlg&) = delete;
    CQuistorDlg& operator=(const CQuistorDlg&) = delete;

    // console::DialogHost
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

    CSerialConn& Connection() { return m_conn; }
    const console::ModemConsole& Console() const { return m_console; }
    // The control with this ID, or null.
    QWidget* Control(int id);
    // "Quistor 정보(&A)...": on the context menu and on F1; opens the About box.
    QAction* AboutAction() const { return m_aboutAction; }
    // "Save settings to file..." and "Apply settings from file...", on the context menu
    // after About, on Ctrl+S and Ctrl+O.
    ProfileCommands& Profiles() { return *m_profiles; }
    // The form as Enter (OK) read it before the dialog ended.
    const console::SettingsForm& FormAtOk() const { return m_formAtOk; }

  public slots:
    void ShowAboutBox();
    // OK: reads the form, then ends the dialog.
    void accept() override;
    // Esc and the close box. While Apply runs it cancels the run instead; the dialog then
    // closes once the command in flight has finished its keys and the summary was seen.
    void reject() override;

  protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

    void SetUpLook();
    void SetUpAboutAccess();
    void BindColorButtons();
    void RouteControlEvents();
    bool DeferWhileApplying();

    QtMessageBoxHook m_boxHook;
    CSerialConn m_conn;
    console::SerialModemLink m_link;
    console::ModemConsole m_console;
    BuiltControls m_controls;
    LogPane* m_log = nullptr;
    QAction* m_aboutAction = nullptr;
    ProfileCommands* m_profiles = nullptr;
    bool m_closeAfterApply = false;
    std::array<CColorButton*, 13> m_colorButtons{};
    console::SettingsForm m_formAtOk;
};

}  // namespace veltaro::ui
