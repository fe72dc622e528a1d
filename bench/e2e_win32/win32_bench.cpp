// Figures of the Win32 dialog under Wine beside the Linux ones (bench/e2e/README.md):
// command wall time over its pause total, screen latency above the watcher's 1000 ms, and
// start to first painted dialog. Each case is one process with its own simulator (run by
// scripts/bench-windows.sh through the end-to-end runner); figures are printed, never
// asserted.
#include <cstdio>
#include <string>
#include <vector>

#include <filesystem>
#include <fstream>
#include "apply_cases.h"
#include "box_watcher.h"
#include "command_cases.h"
#include "e2e_session.h"
// after windows.h (through e2e_session.h), which it needs
#include <commctrl.h>

#include "veltaro/console/control_ids.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

double NowMs() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

const CommandCase* FindCase(const std::string& name) {
    for (const CommandCase& c : CommandCases()) {
        if (name == c.name) {
            return &c;
        }
    }
    return nullptr;
}

class Win32Bench : public Win32EndToEndTest {};

// All Setting on a GT-45 in Device mode: 4000 ms of pauses.
TEST_F(Win32Bench, AllSettingHandlerOverPauses) {
    const CommandCase* c = FindCase("AllSettingWithPeriod");
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(StartSim(c->model, c->com));
    ASSERT_TRUE(OpenAndDetect(c->com, c->model));
    ASSERT_TRUE(WaitForLogLines(L"OK", ScreensAfterDetection(c->model), 6000));
    Pump(300);
    const std::size_t before = Received().size();
    const double start = NowMs();
    SendMessageW(GetDlgItem(hwnd, c->button), BM_CLICK, 0, 0);
    const double handler = NowMs() - start;
    const std::vector<WireByte> received = Received();
    ASSERT_GT(received.size(), before);
    const double wire = received.back().ms - received[before].ms;
    const int pauses = TotalPauseMs(*c);
    std::printf(
        "FIGURE AllSetting handler %.1f ms (ratio %.4f), wire %.1f ms (%.4f), pauses %d ms\n",
        handler, handler / pauses, wire, wire / pauses, pauses);
}

// Information clicked; the simulator answers at 9600 baud. From the screen's first byte
// leaving the simulator to its "OK" in the log pane. The two sides have clocks of their
// own, so the simulator's part (key in to first byte out) is taken from the click-to-log
// time; the key's own way to the simulator (microseconds on a pseudo-terminal) stays in.
TEST_F(Win32Bench, ScreenToLogPane) {
    ASSERT_TRUE(StartSim("GT-45", 41));
    ASSERT_TRUE(OpenAndDetect(41, "GT-45"));
    ASSERT_TRUE(WaitForLogLines(L"OK", 1, 6000));
    Pump(300);
    for (int round = 1; round <= 5; ++round) {
        const int okBefore = CountLogLines(L"OK");
        const std::size_t inBefore = Received().size();
        const std::size_t outBefore = Sent().size();
        const double click = NowMs();
        SendMessageW(GetDlgItem(hwnd, ctl::kInformation), BM_CLICK, 0, 0);
        double shown = 0;
        int length = GetWindowTextLengthW(GetDlgItem(hwnd, ctl::kLog));
        for (int waited = 0; waited < 5000 && shown == 0; ++waited) {
            Pump(1);
            // Reading the whole log costs; only when it grew.
            const int now = GetWindowTextLengthW(GetDlgItem(hwnd, ctl::kLog));
            if (now != length && CountLogLines(L"OK") > okBefore) {
                shown = NowMs();
            }
            length = now;
        }
        ASSERT_GT(shown, 0) << "round " << round;
        const std::vector<WireByte> in = Received();
        const std::vector<WireByte> out = Sent();
        ASSERT_GT(in.size(), inBefore);
        ASSERT_GT(out.size(), outBefore);
        const double simulator = out[outBefore].ms - in[inBefore].ms;
        const double screen = out.back().ms - out[outBefore].ms;
        const double latency = (shown - click) - simulator;
        std::printf(
            "FIGURE ScreenToLog round %d: %.1f ms from first byte (%.1f above 1000), "
            "%.1f ms from last byte\n",
            round, latency, latency - 1000.0, latency - screen);
        Pump(300);
    }
}

// A small window of the dialog's thread that counts its own 10 ms timer ticks and the paints
// each tick asks for: the longest gaps tell how long the thread went without answering.
struct GapWindow {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<GapWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self != nullptr && message == WM_TIMER) {
            Mark(self->lastTick, self->maxTickGap);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        if (self != nullptr && message == WM_PAINT) {
            PAINTSTRUCT paint;
            BeginPaint(hwnd, &paint);
            EndPaint(hwnd, &paint);
            Mark(self->lastPaint, self->maxPaintGap);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static void Mark(double& last, double& maxGap) {
        const double now = NowMs();
        if (last > 0) {
            maxGap = std::max(maxGap, now - last);
        }
        last = now;
    }
    GapWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VeltaroGapWindow";
        RegisterClassW(&windowClass);
        hwnd = CreateWindowExW(0, L"VeltaroGapWindow", L"", WS_POPUP | WS_VISIBLE, 0, 0, 8, 8,
                               nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetTimer(hwnd, 1, 10, nullptr);
    }
    ~GapWindow() { DestroyWindow(hwnd); }
    HWND hwnd = nullptr;
    double lastTick = 0, lastPaint = 0, maxTickGap = 0, maxPaintGap = 0;
};

class FixedFile : public ui::ProfileFileDialogs {
  public:
    std::wstring AskSavePath(HWND, const std::wstring&, const std::wstring&) override { return {}; }
    std::wstring AskOpenPath(HWND, const std::wstring&) override { return path; }
    std::wstring path;
};

// Apply of a profile that changes every setting of a KD-35 (three phases, mode included).
TEST_F(Win32Bench, ApplyProfile) {
    ASSERT_TRUE(StartSim("KD-35", 3, SimOptions(TargetModem())));
    ASSERT_TRUE(OpenAndDetect(3, "KD-35"));
    ASSERT_TRUE(WaitForLogLines(L"OK", 2, 6000));
    Pump(300);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    FixedFile files;
    files.path = std::wstring(temp) + L"veltaro-bench-source.json";
    std::ofstream(std::filesystem::path(files.path), std::ios::binary) << SourceProfileText();
    dialog->Profiles().SetFileDialogs(&files);
    ui::test::BoxWatcher confirm(L"Apply settings from file");
    GapWindow gaps;
    const double start = NowMs();
    SendMessageW(hwnd, WM_SYSCOMMAND, ui::ProfileCommands::kApplyCommand, 0);
    ui::test::BoxWatcher summary(L"Settings applied");
    const double toConfirmTick = gaps.maxTickGap;
    const double toConfirmPaint = gaps.maxPaintGap;
    gaps.maxTickGap = gaps.maxPaintGap = 0;  // from here on: the run itself
    // The slowest message handled, to tell which handler holds the thread.
    double slowestMs = 0;
    UINT slowest = 0;
    for (int waited = 0; waited < 120000 && dialog->Profiles().Running(); waited += 5) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            const double before = NowMs();
            TranslateMessage(&message);
            DispatchMessageW(&message);
            if (NowMs() - before > slowestMs) {
                slowestMs = NowMs() - before;
                slowest = message.message;
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    const double wall = NowMs() - start;
    ASSERT_TRUE(summary.Seen());
    const console::RunTimes& times = dialog->Profiles().Session().LastTimes();
    std::printf(
        "FIGURE ApplyProfile keys %.1f ms over pauses %.0f ms (ratio %.4f); answers %.1f ms; "
        "wall %.1f ms; longest gap between 10 ms ticks %.1f ms, between paints %.1f ms "
        "(until the confirmation was answered: %.1f and %.1f ms); slowest message 0x%x, "
        "%.1f ms\n",
        times.sendingMs, times.pausesMs, times.sendingMs / times.pausesMs, times.answeringMs, wall,
        gaps.maxTickGap, gaps.maxPaintGap, toConfirmTick, toConfirmPaint, slowest, slowestMs);
    DeleteFileW(files.path.c_str());
}

// From the process's creation to the dialog painted for the first time.
TEST(Win32StartBench, StartToFirstPaintedDialog) {
    FILETIME created;
    FILETIME unused;
    ASSERT_TRUE(GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused));
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&controls));
    ui::CQuistorDlg dialog(GetModuleHandleW(nullptr));
    HWND hwnd = dialog.Create();
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);  // the first WM_PAINT, handled before this returns
    FILETIME painted;
    GetSystemTimePreciseAsFileTime(&painted);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    std::printf("FIGURE StartToFirstPaint %.1f ms from process creation\n",
                static_cast<double>(ticks(painted) - ticks(created)) / 10000.0);
    DestroyWindow(hwnd);
}

}  // namespace
}  // namespace veltaro::e2e
