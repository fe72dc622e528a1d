// The main dialog's controls driving the console logic: detection, field checks through
// real EN_CHANGE notifications, the COM number, the log pane, the prompt box.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>
#include <imm.h>

#include <cstring>
#include <string>
#include <vector>

#include "box_watcher.h"
#include "dialog_fixture.h"
#include "sendable_edit.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

namespace ctl = console::ctl;
using test::Win32DialogTest;

struct DetectionCase {
    const char* model;
    std::vector<int> enabled;
    std::vector<int> disabled;
    const wchar_t* channelRange;
};

TEST_F(Win32DialogTest, DetectionSwitchesTheControlsOfEachFamily) {
    const DetectionCase cases[] = {
        {"KD-35",
         {ctl::kModeSetting, ctl::kDestIdSetting, ctl::kUartModeSetting, ctl::kRs485},
         {ctl::kPeriodSetting},
         L"HEX(01~45)"},
        {"GT-20",
         {ctl::kUartAllSetting, ctl::kData5},
         {ctl::kModeSetting, ctl::kDestIdSetting, ctl::kPeriodSetting},
         L"HEX(01~14)"},
        {"FL-25",
         {ctl::kChannelSetting, ctl::kAllSetting},
         {ctl::kModeSetting, ctl::kUartAllSetting, ctl::kBitSetting, ctl::kParityNone, ctl::kRs232},
         L"HEX(01~45)"},
        {"GT-45",
         {ctl::kDestIdSetting, ctl::kPeriodSetting},
         {ctl::kUartInformation, ctl::kBitSetting, ctl::kStop2, ctl::kRs485},
         L"HEX(01~45)"},
    };
    for (const DetectionCase& c : cases) {
        Click(ctl::kClose);  // back to the unconnected look, awaiting a model
        Receive(std::string("\r\n") + c.model + " CONFIGURATION\r\n");
        EXPECT_EQ(Text(0), std::wstring(c.model, c.model + 5));
        EXPECT_EQ(Text(ctl::kChannelRange), c.channelRange) << c.model;
        for (const int id : c.enabled) {
            EXPECT_TRUE(Enabled(id)) << c.model << " " << id;
        }
        for (const int id : c.disabled) {
            EXPECT_FALSE(Enabled(id)) << c.model << " " << id;
        }
    }
}

TEST_F(Win32DialogTest, TypedTextRunsTheFieldChecksButFormWritesDoNot) {
    struct Case {
        int id;
        const wchar_t* typed;
        const wchar_t* result;
    };
    const Case cases[] = {
        {ctl::kChannelEdit, L"G", L""},      // no hex digit
        {ctl::kPowerEdit, L"0", L""},        // zero power
        {ctl::kPeriodEdit, L"4", L""},       // beyond 3 hours
        {ctl::kDestIdEdit, L"ab1", L"AB1"},  // capitalised
        {ctl::kChannelEdit, L"12", L"12"},   // accepted
        {ctl::kPeriodEdit, L"3", L"3"},      // accepted
        {ctl::kPowerEdit, L"b", L"B"},       // the edit itself turns letters to capitals
    };
    for (const Case& c : cases) {
        SetWindowTextW(Ctl(c.id), L"");
        Type(c.id, c.typed);
        EXPECT_EQ(Text(c.id), c.result) << c.id;
    }
    console::SettingsForm form = dialog->ReadForm();
    form.channel = "0";
    form.period = "99";
    dialog->WriteForm(form);
    EXPECT_EQ(Text(ctl::kChannelEdit), L"0");
    EXPECT_EQ(Text(ctl::kPeriodEdit), L"99");
    dialog->SetEditText(ctl::kPeriodEdit, "77");
    EXPECT_EQ(Text(ctl::kPeriodEdit), L"77");
}

TEST_F(Win32DialogTest, ModemEditsRefuseWhatCannotTravelAsOneByte) {
    struct Case {
        int id;
        const wchar_t* typed;
        const wchar_t* result;
    };
    const Case cases[] = {
        {ctl::kDestIdEdit, L"1\u00E92", L"12"},   // é is Latin-1 but not printable ASCII
        {ctl::kChannelEdit, L"1\uC8152", L"12"},  // Hangul
        {ctl::kPeriodEdit, L"\u00A02", L"2"},     // no-break space
    };
    for (const Case& c : cases) {
        SetWindowTextW(Ctl(c.id), L"");
        Type(c.id, c.typed);
        EXPECT_EQ(Text(c.id), c.result) << c.id;
    }
    // Pasted text with such a character is refused whole.
    SetWindowTextW(Ctl(ctl::kDestIdEdit), L"");
    ASSERT_TRUE(OpenClipboard(hwnd));
    EmptyClipboard();
    const wchar_t pasted[] = L"AB\u00C9";
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, sizeof pasted);
    ASSERT_NE(data, nullptr);
    std::memcpy(GlobalLock(data), pasted, sizeof pasted);
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    SendMessageW(Ctl(ctl::kDestIdEdit), WM_PASTE, 0, 0);
    EXPECT_EQ(Text(ctl::kDestIdEdit), L"");
}

// A window that stands for an edit which inserts what an input method sends (as Windows'
// edit does with WM_IME_CHAR and a finished composition): it records what reaches it past
// the filter, a composition as '#'.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* seen = reinterpret_cast<std::wstring*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_CHAR || message == WM_IME_CHAR) {
        seen->push_back(static_cast<wchar_t>(wParam));
        return 0;
    }
    if (message == WM_IME_COMPOSITION) {
        seen->push_back(L'#');
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(SendableEditTest, TextFromAnInputMethodIsRefusedAsTypedTextIs) {
    WNDCLASSW recording{};
    recording.lpfnWndProc = RecordingProc;
    recording.hInstance = GetModuleHandleW(nullptr);
    recording.lpszClassName = L"VeltaroRecordingEdit";
    RegisterClassW(&recording);
    HWND edit = CreateWindowW(L"VeltaroRecordingEdit", L"", WS_POPUP, 0, 0, 40, 20, nullptr,
                              nullptr, recording.hInstance, nullptr);
    ASSERT_NE(edit, nullptr);
    std::wstring seen;
    SetWindowLongPtrW(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen));
    ASSERT_TRUE(LimitToSendable(edit));
    EXPECT_FALSE(LimitToSendable(edit)) << "filtered twice";
    EXPECT_EQ(ImmGetContext(edit), nullptr) << "an input method could compose into it";
    struct Case {
        UINT message;
        wchar_t ch;
        bool passes;
    };
    const Case cases[] = {
        {WM_IME_CHAR, L'\uC815', false}, {WM_IME_CHAR, L'\u00E9', false},
        {WM_IME_CHAR, L'7', true},       {WM_CHAR, L'\uC815', false},
        {WM_CHAR, L'A', true},           {WM_IME_CHAR, L'\b', true},  // a control key
    };
    for (const Case& c : cases) {
        seen.clear();
        SendMessageW(edit, c.message, c.ch, 1);
        test::Pump();
        EXPECT_EQ(seen == std::wstring(1, c.ch), c.passes) << c.message << " " << int(c.ch);
    }
    // A finished composition reaches the edit only as characters, through the filter; one
    // still being composed is the edit's to show.
    seen.clear();
    SendMessageW(edit, WM_IME_COMPOSITION, 0, GCS_RESULTSTR | GCS_COMPSTR);
    test::Pump();
    EXPECT_EQ(seen, L"");
    SendMessageW(edit, WM_IME_COMPOSITION, 0, GCS_COMPSTR);
    EXPECT_EQ(seen, L"#");
    DestroyWindow(edit);
}

TEST_F(Win32DialogTest, ModemEditsRefuseInputMethodCharacters) {
    for (const int id : {ctl::kChannelEdit, ctl::kPowerEdit, ctl::kDestIdEdit, ctl::kPeriodEdit}) {
        SetWindowTextW(Ctl(id), L"");
        SetFocus(Ctl(id));
        SendMessageW(Ctl(id), WM_IME_CHAR, L'\uC815', 1);
        SendMessageW(Ctl(id), WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
        test::Pump();
        EXPECT_EQ(Text(id), L"") << id;
        EXPECT_EQ(ImmGetContext(Ctl(id)), nullptr) << id;
    }
}

TEST_F(Win32DialogTest, ComNumberIsReadAsThreeCharactersAndStepped) {
    SetWindowTextW(Ctl(ctl::kComNumber), L"1234");
    EXPECT_EQ(dialog->ReadComNumberLine(3), "123");

    const auto step = [&](int delta) {
        NMUPDOWN note{};
        note.hdr = {Ctl(ctl::kComSpin), static_cast<UINT_PTR>(ctl::kComSpin), UDN_DELTAPOS};
        note.iDelta = delta;
        const LRESULT refused =
            SendMessageW(hwnd, WM_NOTIFY, ctl::kComSpin, reinterpret_cast<LPARAM>(&note));
        EXPECT_EQ(refused, 0);
        return Text(ctl::kComNumber);
    };
    SetWindowTextW(Ctl(ctl::kComNumber), L"254");
    EXPECT_EQ(step(-1), L"255");
    EXPECT_EQ(step(-1), L"255");
    SetWindowTextW(Ctl(ctl::kComNumber), L"2");
    EXPECT_EQ(step(+1), L"1");
    EXPECT_EQ(step(+1), L"1");
}

TEST_F(Win32DialogTest, LogPaneAddsAtTheEndAndKeepsTheUsersSelection) {
    HWND log = Ctl(ctl::kLog);
    dialog->AppendLog("first screen\r\n");
    SendMessageW(log, EM_SETSEL, 2, 5);  // the user selects "rst"
    dialog->AppendLog("second\r\nOK\x1b\r\n");
    EXPECT_EQ(Text(ctl::kLog), L"first screen\r\nsecond\r\nOK\u241B\r\n");
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(log, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 5u);

    // Scrolled to the top of a long log, the view stays; at the bottom, it follows.
    std::string many;
    for (int i = 0; i < 200; ++i) {
        many += "line " + std::to_string(i) + "\r\n";
    }
    dialog->AppendLog(many);
    SendMessageW(log, WM_VSCROLL, SB_TOP, 0);
    dialog->AppendLog("more\r\n");
    EXPECT_EQ(SendMessageW(log, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessageW(log, WM_VSCROLL, SB_BOTTOM, 0);
    const LRESULT bottom = SendMessageW(log, EM_GETFIRSTVISIBLELINE, 0, 0);
    dialog->AppendLog("and more\r\n");
    EXPECT_GT(SendMessageW(log, EM_GETFIRSTVISIBLELINE, 0, 0), bottom);

    Click(ctl::kClose);
    EXPECT_EQ(Text(ctl::kLog), L"");
}

TEST_F(Win32DialogTest, CommandWithAnEmptyFieldAsksInAnExclamationBox) {
    test::BoxWatcher watcher(L"Information");
    Click(ctl::kChannelSetting);  // the channel field is empty
    EXPECT_TRUE(watcher.Seen());
    EXPECT_FALSE(watcher.BoxText().empty());
}

TEST_F(Win32DialogTest, EnterEndsTheDialogAfterReadingTheForm) {
    Type(ctl::kChannelEdit, L"12");
    SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(dialog->FormAtOk().channel, "12");
}

}  // namespace
}  // namespace veltaro::ui
