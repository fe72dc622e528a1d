#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "about_menu_item.h"
#include "brenlow/serial_conn.h"
#include "color_button.h"
#include "logo_picture.h"
#include "message_box_hook.h"
#include "profile_commands.h"
#include "veltaro/console/dialog_host.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/serial_modem_link.h"

namespace veltaro::ui {

// The main dialog on template 102 and the console logic's real host. A dialog procedure
// routes each message through the tables in quistor_dlg.cpp to one console handler; the
// connection's watcher reaches the dialog with the posted data-arrived message 0x401.
//
// Threads: everything runs on the user-interface thread except Post (CNotifyTarget), which
// the watcher calls; it only posts the message. When the window goes (WM_DESTROY) the port
// is closed, which joins the watcher, so nothing posts to a window that is gone.
class CQuistorDlg : public console::DialogHost, private CNotifyTarget {
  public:
    static constexpr UINT kDataArrived = WM_USER + 1;

    explicit CQuistorDlg(HINSTANCE instance);
    ~CQuistorDlg() override;

    CQuistorDlg(const CQuistorDlg&) = delete;
    CQuistorDlg& operator=(const CQuistorDlg&) = delete;

    // Runs the dialog modally; returns IDOK (Enter) or IDCANCEL (Esc, close box).
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the dialog modeless, for tests that drive it message by message.
    HWND Create(HWND owner = nullptr);

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

    HWND Handle() const { return m_hWnd; }
    CSerialConn& Connection() { return m_conn; }
    const console::ModemConsole& Console() const { return m_console; }
    const CColorButton* ColorButton(int id) const;
    const AboutMenuItem& AboutItem() const { return m_aboutItem; }
    // "Save settings to file..." and "Apply settings from file..." of the system menu.
    ProfileCommands& Profiles() { return m_profiles; }
    // The form as Enter (OK) read it before the dialog ended.
    const console::SettingsForm& FormAtOk() const { return m_formAtOk; }

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Answer(LRESULT result);
    INT_PTR OnNotify(const NMHDR& header);

    void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

    BOOL OnInitDialog();
    bool OnOwnerDraw(UINT message, LPARAM lParam);
    void BindColorButtons();
    bool OnCommand(int id, int code);
    bool OnSysCommand(WPARAM command);
    bool OnPaint();
    void OnEraseBackground(HDC dc);
    INT_PTR OnControlColorStatic(HDC dc, HWND control);
    void OnDestroy();
    void EndWith(int result);
    static void OnProfilesFinished(void* self);
    void SetText(int id, const std::wstring& text);
    void RepaintUnder(HWND control);

    HINSTANCE m_instance;
    HWND m_hWnd = nullptr;
    Win32MessageBoxHook m_boxHook;
    CSerialConn m_conn;
    console::SerialModemLink m_link;
    console::ModemConsole m_console;
    std::array<CColorButton, 13> m_colorButtons{};
    HICON m_hIcon = nullptr;
    AboutMenuItem m_aboutItem;
    LogoPicture m_logo;
    ProfileCommands m_profiles{m_console};
    int m_endAfterApply = 0;  // IDOK or IDCANCEL asked for while Apply ran
    int m_settingText = 0;    // > 0 while the program itself sets edit texts
    console::SettingsForm m_formAtOk;
};

}  // namespace veltaro::ui
