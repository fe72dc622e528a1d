// The main dialog as the console logic's host: the console reaches the controls only
// through these calls.
#include <algorithm>
#include <vector>

#include "dialog_template.h"
#include "form_fields.h"
#include "log_pane.h"
#include "quistor_dlg.h"
#include "wide_text.h"

namespace veltaro::ui {
namespace {

std::wstring ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    const int length = control != nullptr ? GetWindowTextLengthW(control) : 0;
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

int CheckedPosition(HWND dialog, int firstId) {
    const std::vector<int> ids = RadioGroupIds(MainDialogTemplate(), firstId);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (IsDlgButtonChecked(dialog, ids[i]) == BST_CHECKED) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CheckPosition(HWND dialog, int firstId, int index) {
    const std::vector<int> ids = RadioGroupIds(MainDialogTemplate(), firstId);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const bool on = static_cast<int>(i) == index;
        CheckDlgButton(dialog, ids[i], on ? BST_CHECKED : BST_UNCHECKED);
    }
}

}  // namespace

console::SettingsForm CQuistorDlg::ReadForm() {
    console::SettingsForm form;
    for (const TextField& field : kEditFields) {
        form.*field.value = Latin1FromWide(ControlText(m_hWnd, field.id));
    }
    for (const TextField& field : kLabelFields) {
        form.*field.value = Latin1FromWide(ControlText(m_hWnd, field.id));
    }
    for (const RadioField& field : kRadioFields) {
        form.*field.index = CheckedPosition(m_hWnd, field.firstId);
    }
    return form;
}

void CQuistorDlg::WriteForm(const console::SettingsForm& form) {
    for (const TextField& field : kEditFields) {
        SetText(field.id, WideFromLatin1(form.*field.value));
    }
    for (const TextField& field : kLabelFields) {
        SetText(field.id, WideFromLatin1(form.*field.value));
    }
    for (const RadioField& field : kRadioFields) {
        CheckPosition(m_hWnd, field.firstId, form.*field.index);
    }
}

// Sets a control's text without running the field checks. An unchanged text is left
// alone, so that an edit keeps its caret and selection. A transparent label's old text is
// erased by repainting the dialog's background under it.
void CQuistorDlg::SetText(int id, const std::wstring& text) {
    HWND control = GetDlgItem(m_hWnd, id);
    if (control == nullptr || ControlText(m_hWnd, id) == text) {
        return;
    }
    ++m_settingText;
    SetWindowTextW(control, text.c_str());
    --m_settingText;
    RepaintUnder(control);
}

// A control that changed its state is drawn again over the dialog's background, first the
// dialog's area under it, then the control and what else stands there. A transparent
// control (labels, radio buttons, group boxes, a disabled edit) paints no background of its
// own, so without this its old face or text would stay under the new one.
void CQuistorDlg::RepaintUnder(HWND control) {
    RECT area{};
    if (GetWindowRect(control, &area)) {
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
        RedrawWindow(m_hWnd, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void CQuistorDlg::EnableControl(int id, bool enable) {
    HWND control = GetDlgItem(m_hWnd, id);
    if (control == nullptr || (IsWindowEnabled(control) != FALSE) == enable) {
        return;
    }
    EnableWindow(control, enable ? TRUE : FALSE);
    RepaintUnder(control);
}

void CQuistorDlg::SetCaption(const std::string& caption) {
    SetWindowTextW(m_hWnd, WideFromLatin1(caption).c_str());
}

void CQuistorDlg::AppendLog(const std::string& text) {
    log_pane::Append(GetDlgItem(m_hWnd, console::ctl::kLog), LogTextFromConsole(text));
}

void CQuistorDlg::SetLogText(const std::string& text) {
    SetWindowTextW(GetDlgItem(m_hWnd, console::ctl::kLog), LogTextFromConsole(text).c_str());
}

std::string CQuistorDlg::ReadComNumberLine(int maxChars) {
    if (maxChars <= 0) {
        return {};
    }
    // EM_GETLINE: the first word of the buffer says how many characters fit.
    std::vector<wchar_t> buffer(static_cast<std::size_t>(std::max(maxChars, 2)) + 1, L'\0');
    buffer[0] = static_cast<wchar_t>(maxChars);
    const LRESULT copied = SendDlgItemMessageW(m_hWnd, console::ctl::kComNumber, EM_GETLINE, 0,
                                               reinterpret_cast<LPARAM>(buffer.data()));
    const std::size_t count = std::min<std::size_t>(
        static_cast<std::size_t>(std::max<LRESULT>(copied, 0)), static_cast<std::size_t>(maxChars));
    return Latin1FromWide(std::wstring_view(buffer.data(), count));
}

void CQuistorDlg::SetEditText(int id, const std::string& text) {
    HWND control = GetDlgItem(m_hWnd, id);
    if (control == nullptr) {
        return;
    }
    ++m_settingText;
    SetWindowTextW(control, WideFromLatin1(text).c_str());
    --m_settingText;
}

void CQuistorDlg::SetEditSelection(int id, int start, int end) {
    SendDlgItemMessageW(m_hWnd, id, EM_SETSEL, static_cast<WPARAM>(start), end);
}

void CQuistorDlg::ScrollEditCaret(int id) {
    SendDlgItemMessageW(m_hWnd, id, EM_SCROLLCARET, 0, 0);
}

void CQuistorDlg::ShowMessageBox(const std::string& text, const std::string& caption,
                                 unsigned style) {
    MessageBoxW(m_hWnd, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), style);
}

}  // namespace veltaro::ui
