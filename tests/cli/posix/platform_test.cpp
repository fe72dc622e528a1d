// The POSIX side of the platform seam: termination signals, wake-ups and the stop request,
// each connection's pump, and standard error's terminal.
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <thread>

#include "posix_stop_signal.h"
#include "posix_terminal.h"

namespace veltaro::cli {
namespace {

using Clock = std::chrono::steady_clock;

long MillisSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class StopSignalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        BlockTerminationSignals();
        ASSERT_TRUE(m_stop.Ready());
    }
    PosixStopSignal m_stop;
};

TEST_F(StopSignalTest, EachTerminationSignalStopsTheRun) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        PosixStopSignal stop;
        ASSERT_TRUE(stop.Ready());
        ASSERT_EQ(raise(signal), 0);
        EXPECT_TRUE(stop.WaitForSignal(1000)) << signal;
        EXPECT_TRUE(stop.Stopped()) << signal;
    }
}

// A port that finishes while the main thread is not waiting must still end its next wait,
// or the run would hang after its last port.
TEST_F(StopSignalTest, WakeEndsTheCurrentOrNextWaitWithoutStopping) {
    m_stop.Wake();
    m_stop.Wake();
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_stop.WaitForSignal(5000));
    EXPECT_LT(MillisSince(start), 1000);
    // Both wakes were taken by that one wait.
    start = Clock::now();
    EXPECT_FALSE(m_stop.WaitForSignal(100));
    EXPECT_GE(MillisSince(start), 90);

    std::thread waker([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        m_stop.Wake();
    });
    start = Clock::now();
    EXPECT_FALSE(m_stop.WaitForSignal(5000));
    EXPECT_LT(MillisSince(start), 1000);
    waker.join();
    EXPECT_FALSE(m_stop.Stopped());
}

// A resized terminal wakes the main thread, so that the progress lines follow the new
// size, and stops nothing.
TEST_F(StopSignalTest, SizeChangeWakesTheWaitWithoutStopping) {
    ASSERT_EQ(raise(SIGWINCH), 0);
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_stop.WaitForSignal(5000));
    EXPECT_LT(MillisSince(start), 1000);
    EXPECT_FALSE(m_stop.Stopped());
    ASSERT_EQ(raise(SIGWINCH), 0);
    ASSERT_EQ(raise(SIGTERM), 0);  // both pending: the termination counts
    EXPECT_TRUE(m_stop.WaitForSignal(1000));
    EXPECT_TRUE(m_stop.Stopped());
}

TEST_F(StopSignalTest, PumpsCountDataMessagesAndAllSeeTheStop) {
    const std::unique_ptr<EventPump> first = m_stop.MakePump();
    const std::unique_ptr<EventPump> second = m_stop.MakePump();
    ASSERT_TRUE(first->Ready());
    ASSERT_TRUE(second->Ready());
    EXPECT_EQ(first->Wait(0).messages, 0U);

    std::thread watcher([&] {
        for (int i = 0; i < 3; ++i) {
            first->Post(CNotifyTarget::kDataArrived, 0, 0);
        }
        first->Post(CNotifyTarget::kDataArrived + 1, 0, 0);  // not a data message
    });
    watcher.join();
    const EventPump::Wake wake = first->Wait(1000);
    EXPECT_EQ(wake.messages, 3U);
    EXPECT_FALSE(wake.stopped);
    EXPECT_EQ(second->Wait(0).messages, 0U);  // each connection has its own count

    m_stop.Stop();
    for (int round = 0; round < 2; ++round) {  // the stop stays visible to every later wait
        for (EventPump* pump : {first.get(), second.get()}) {
            const EventPump::Wake stopped = pump->Wait(5000);
            EXPECT_TRUE(stopped.stopped);
            EXPECT_EQ(stopped.messages, 0U);
        }
    }
    EXPECT_TRUE(m_stop.Stopped());
}

TEST(PosixTerminal, TakesProgressOnlyOnATerminalAndReportsItsSize) {
    int master = -1;
    int slave = -1;
    winsize size{};
    size.ws_col = 30;
    size.ws_row = 4;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, &size), 0);
    const PosixTerminal terminal(slave);
    EXPECT_TRUE(terminal.TakesProgress());
    EXPECT_EQ(terminal.Size().columns, 30U);
    EXPECT_EQ(terminal.Size().rows, 4U);
    size.ws_col = 100;
    size.ws_row = 6;
    ASSERT_EQ(ioctl(master, TIOCSWINSZ, &size), 0);  // the user resized the window
    EXPECT_EQ(terminal.Size().columns, 100U);
    EXPECT_EQ(terminal.Size().rows, 6U);
    close(slave);
    close(master);

    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(devNull, 0);
    for (const int fd : {pipeFds[1], devNull}) {
        const PosixTerminal notTerminal(fd);
        EXPECT_FALSE(notTerminal.TakesProgress()) << fd;
        EXPECT_EQ(notTerminal.Size().columns, 0U) << fd;
        EXPECT_EQ(notTerminal.Size().rows, 0U) << fd;
    }
    for (const int fd : {pipeFds[0], pipeFds[1], devNull}) {
        close(fd);
    }
}

}  // namespace
}  // namespace veltaro::cli
