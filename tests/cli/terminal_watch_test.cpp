// The terminal's size and its changes, on a real pseudo-terminal.
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>

#include "terminal_watch_posix.h"

namespace veltaro::cli {
namespace {

TEST(PosixTerminalWatch, ReadsTheSizeAndTakesEachResizeOnce) {
    int master = -1;
    int slave = -1;
    winsize size{};
    size.ws_col = 30;
    size.ws_row = 4;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, &size), 0);
    PosixTerminalWatch watch(slave);
    EXPECT_EQ(watch.Size().columns, 30u);
    EXPECT_EQ(watch.Size().rows, 4u);
    EXPECT_FALSE(watch.TakeResize());
    size.ws_col = 100;
    size.ws_row = 6;
    ASSERT_EQ(ioctl(master, TIOCSWINSZ, &size), 0);
    ASSERT_EQ(raise(SIGWINCH), 0);  // the kernel tells the terminal's session; we are not it
    EXPECT_TRUE(watch.TakeResize());
    EXPECT_FALSE(watch.TakeResize());
    EXPECT_EQ(watch.Size().columns, 100u);
    EXPECT_EQ(watch.Size().rows, 6u);
    const PosixTerminalWatch notATerminal(-1);
    EXPECT_EQ(notATerminal.Size().columns, 0u);
    close(slave);
    close(master);
}

}  // namespace
}  // namespace veltaro::cli
