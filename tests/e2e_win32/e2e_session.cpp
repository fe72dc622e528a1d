#include "e2e_session.h"

#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "veltaro/console/control_ids.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

bool FileHasText(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    return static_cast<bool>(std::getline(file, line)) && !line.empty();
}

}  // namespace

void Win32EndToEndTest::SetUp() {
    const char* session = std::getenv("VELTARO_E2E_DIR");
    ASSERT_NE(session, nullptr) << "run under e2e-wine-run.sh";
    m_session = session;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&controls));
    dialog = std::make_unique<ui::CQuistorDlg>(GetModuleHandleW(nullptr));
    hwnd = dialog->Create();
    ASSERT_NE(hwnd, nullptr);
    Pump(0);
}

void Win32EndToEndTest::TearDown() {
    if (hwnd != nullptr) {
        DestroyWindow(hwnd);  // closes the port and joins the watcher
        Pump(0);
    }
    dialog.reset();
}

testing::AssertionResult Win32EndToEndTest::StartSim(const std::string& model, int com,
                                                     const std::string& options) {
    {
        std::ofstream request(m_session + "/request.part", std::ios::binary);
        request << model << ' ' << com << ' ' << options << '\n';
    }
    if (!MoveFileA((m_session + "/request.part").c_str(), (m_session + "/request").c_str())) {
        return testing::AssertionFailure() << "cannot write the request: " << GetLastError();
    }
    for (int waited = 0; waited < 10000; waited += 20) {
        if (FileHasText(m_session + "/ready")) {
            return testing::AssertionSuccess();
        }
        Sleep(20);
    }
    return testing::AssertionFailure() << "the simulator did not come up";
}

void Win32EndToEndTest::Pump(int ms) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (ms > 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    } while (GetTickCount64() < end);
}

void Win32EndToEndTest::Type(int id, const std::string& text) {
    HWND edit = GetDlgItem(hwnd, id);
    SetWindowTextW(edit, L"");
    SetFocus(edit);
    for (const char c : text) {
        SendMessageW(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    Pump(0);
}

void Win32EndToEndTest::Click(int id) {
    SendMessageW(GetDlgItem(hwnd, id), BM_CLICK, 0, 0);
    Pump(0);
}

testing::AssertionResult Win32EndToEndTest::OpenAndDetect(int com, const std::string& model) {
    SetDlgItemTextW(hwnd, ctl::kComNumber, std::to_wstring(com).c_str());
    Click(ctl::kOpen);
    if (IsWindowEnabled(GetDlgItem(hwnd, ctl::kOpen))) {
        return testing::AssertionFailure() << "COM" << com << " did not open";
    }
    const std::wstring wanted(model.begin(), model.end());
    for (int waited = 0; waited < 8000; waited += 50) {
        wchar_t caption[64] = {};
        GetWindowTextW(hwnd, caption, 64);
        if (wanted == caption) {
            return testing::AssertionSuccess();
        }
        Pump(50);
    }
    return testing::AssertionFailure()
           << "no model detected; log: " << std::string(LogText().begin(), LogText().end());
}

std::wstring Win32EndToEndTest::LogText() const {
    HWND log = GetDlgItem(hwnd, ctl::kLog);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(log)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(log, text.data(), static_cast<int>(text.size()))));
    return text;
}

int Win32EndToEndTest::CountLogLines(const std::wstring& line) const {
    std::wstringstream lines(LogText());
    std::wstring each;
    int count = 0;
    while (std::getline(lines, each)) {
        if (!each.empty() && each.back() == L'\r') {
            each.pop_back();
        }
        count += each == line;
    }
    return count;
}

testing::AssertionResult Win32EndToEndTest::WaitForLogLines(const std::wstring& line, int count,
                                                            int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        if (CountLogLines(line) >= count) {
            return testing::AssertionSuccess();
        }
        Pump(50);
    }
    return testing::AssertionFailure() << CountLogLines(line) << " of " << count << " lines";
}

std::vector<WireByte> Win32EndToEndTest::Received() {
    Sleep(150);  // the last bytes cross the pseudo-terminal
    return ReadWireTrace(m_session + "/trace");
}

std::vector<WireByte> Win32EndToEndTest::Sent() {
    Sleep(150);
    return ReadWireTrace(m_session + "/trace-out");
}

}  // namespace veltaro::e2e
