// The Windows side of the platform seam, in the console that the runner gives the test:
// Ctrl-C as the stop request, wake-ups, each connection's pump, standard error's console,
// and the UTF-16 to UTF-8 conversions of arguments and names.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "brenlow/notify.h"
#include "wide_text.h"
#include "win32_platform.h"
#include "win32_stop_signal.h"
#include "win32_terminal.h"

namespace veltaro::cli {
namespace {

using Clock = std::chrono::steady_clock;

long MillisSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

TEST(Win32StopSignal, CtrlCStopsTheRunAndEveryPump) {
    Win32StopSignal stop;
    ASSERT_TRUE(stop.Ready());
    const std::unique_ptr<EventPump> pump = stop.MakePump();
    ASSERT_TRUE(pump->Ready());
    EXPECT_FALSE(stop.Stopped());
    // Every process of this console gets it: here only the test, whose handler takes it.
    ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    EXPECT_TRUE(stop.WaitForSignal(5000));
    EXPECT_TRUE(stop.Stopped());
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(pump->Wait(5000).stopped);
    EXPECT_TRUE(stop.MakePump()->Wait(5000).stopped);  // a pump made later, too
    EXPECT_LT(MillisSince(start), 1000);
}

TEST(Win32StopSignal, AWakeEndsTheWaitWithoutStopping) {
    Win32StopSignal stop;
    ASSERT_TRUE(stop.Ready());
    std::thread waker([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop.Wake();
    });
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(stop.WaitForSignal(5000));
    EXPECT_LT(MillisSince(start), 2000);
    waker.join();
    EXPECT_FALSE(stop.Stopped());
    // Wakes that came while no wait ran end the next one, and only that one.
    stop.Wake();
    stop.Wake();
    EXPECT_FALSE(stop.WaitForSignal(5000));
    const Clock::time_point again = Clock::now();
    EXPECT_FALSE(stop.WaitForSignal(300));
    EXPECT_GE(MillisSince(again), 250);
}

TEST(Win32EventPump, CountsDataArrivedMessagesOnly) {
    Win32StopSignal stop;
    const std::unique_ptr<EventPump> pump = stop.MakePump();
    ASSERT_TRUE(pump->Ready());
    EXPECT_EQ(pump->Wait(0).messages, 0u);
    std::thread watcher([&pump] {
        pump->Post(CNotifyTarget::kDataArrived, 0, 0);
        pump->Post(CNotifyTarget::kDataArrived + 1, 0, 0);
        pump->Post(CNotifyTarget::kDataArrived, 0, 0);
    });
    watcher.join();
    const EventPump::Wake wake = pump->Wait(1000);
    EXPECT_EQ(wake.messages, 2u);
    EXPECT_FALSE(wake.stopped);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(pump->Wait(200).messages, 0u);
    EXPECT_GE(MillisSince(start), 150);
}

TEST(Win32Terminal, OnlyAConsoleThatTakesSequencesGetsProgress) {
    HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(console, INVALID_HANDLE_VALUE) << "run under cli-wine-run.sh, which gives a console";
    DWORD before = 0;
    ASSERT_TRUE(GetConsoleMode(console, &before));
    CONSOLE_SCREEN_BUFFER_INFO start{};
    ASSERT_TRUE(GetConsoleScreenBufferInfo(console, &start));
    {
        // Wine's console takes the mode and still prints the sequences, as text in its
        // screen; the probe that finds out must leave no trace there.
        const Win32Terminal terminal(console);
        EXPECT_GT(terminal.Size().columns, 0u);
        CONSOLE_SCREEN_BUFFER_INFO now{};
        ASSERT_TRUE(GetConsoleScreenBufferInfo(console, &now));
        EXPECT_EQ(now.dwCursorPosition.X, start.dwCursorPosition.X);
        EXPECT_EQ(now.dwCursorPosition.Y, start.dwCursorPosition.Y);
        char cells[4] = {};
        DWORD read = 0;
        ASSERT_TRUE(ReadConsoleOutputCharacterA(console, cells, 3, start.dwCursorPosition, &read));
        EXPECT_STREQ(cells, "   ");
    }
    DWORD after = 0;
    ASSERT_TRUE(GetConsoleMode(console, &after));
    EXPECT_EQ(after, before);  // the console is left as it was found
    CloseHandle(console);

    HANDLE read = nullptr;
    HANDLE write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 0));
    EXPECT_FALSE(Win32Terminal(write).TakesProgress());
    EXPECT_EQ(Win32Terminal(write).Size().columns, 0u);
    CloseHandle(read);
    CloseHandle(write);
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(Win32Terminal(nul).TakesProgress());
    CloseHandle(nul);
    EXPECT_FALSE(Win32Terminal(nullptr).TakesProgress());
}

TEST(Win32Platform, TheConsoleShowsUtf8DuringTheRunAndItsCodePageAfter) {
    const UINT before = GetConsoleOutputCP();
    ASSERT_NE(before, 0u) << "run under cli-wine-run.sh, which gives a console";
    ASSERT_TRUE(SetConsoleOutputCP(850));  // as a Western European console starts
    {
        Win32Platform platform;
        static_cast<void>(platform.PrepareStandardStreams());
        EXPECT_EQ(GetConsoleOutputCP(), static_cast<UINT>(CP_UTF8));
    }
    EXPECT_EQ(GetConsoleOutputCP(), 850u);
    SetConsoleOutputCP(before);
}

TEST(WideText, RoundTripsBeyondAsciiAndMendsBrokenSurrogates) {
    const struct {
        std::wstring wide;
        std::string utf8;
    } cases[] = {
        {L"radio.json", "radio.json"},
        {L"r\u00e1dio \u2602.json",
         "r\xc3\xa1"
         "dio \xe2\x98\x82.json"},
        {L"\U0001D11E", "\xf0\x9d\x84\x9e"},
        {L"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8FromWide(c.wide), c.utf8);
        EXPECT_EQ(WideFromUtf8(c.utf8), c.wide);
    }
    EXPECT_EQ(Utf8FromWide(std::wstring(1, wchar_t(0xD800)) + L"x"), "\xef\xbf\xbdx");
}

}  // namespace
}  // namespace veltaro::cli
