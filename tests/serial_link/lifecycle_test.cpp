#include "conn_fixture.h"

namespace brenlow_test {
namespace {

TEST_F(ConnTest, ThousandQuickReopensLeakNoDescriptorAndNeverRunTwoWatchers) {
    ASSERT_EQ(Open(com), 1);
    conn.ClosePort();
    const int descriptors = OpenDescriptorCount();
    const int threads = ThreadCount();
    for (int cycle = 0; cycle < 1000; ++cycle) {
        ASSERT_EQ(Open(com), 1) << "cycle " << cycle;
        conn.ClosePort();
    }
    // A leak grows with every cycle; the platform's runtime may keep a few of its own.
    EXPECT_GE(OpenDescriptorCount(), descriptors);
    EXPECT_LE(OpenDescriptorCount(), descriptors + kRuntimeSpareDescriptors);
    EXPECT_TRUE(WaitForThreadCount(threads));

    ASSERT_EQ(Open(com), 1);
    EXPECT_TRUE(WaitForThreadCount(threads + kThreadsPerWatcher)) << "one watcher, no more";
    EXPECT_TRUE(WriteReachesModem("alive"));
    ASSERT_TRUE(pty.SendFromModem("back"));
    ASSERT_TRUE(target.WaitForPosts(1, 5s));
    EXPECT_EQ(DrainQueue(conn.m_QueueRead), "back");
}

TEST_F(ConnTest, VanishedDeviceEndsWatchingWithoutSpinningAndCanBeReplaced) {
    ASSERT_EQ(Open(com), 1);
    conn.ClosePort();
    const int threads = ThreadCount();
    ASSERT_EQ(Open(com), 1);
    const auto cpuBefore = ProcessCpuTime();
    pty.CloseMaster();

    const Clock::time_point deadline = Clock::now() + 5s;
    while (!conn.HasHungUp() && Clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(conn.HasHungUp());
    std::this_thread::sleep_for(500ms);  // a watcher that spins would burn all of this
    EXPECT_LT(ProcessCpuTime() - cpuBefore, 400ms);
    EXPECT_TRUE(target.Posts().empty());
    // The user is told once, with the port's name, why the modem went silent.
    const std::vector<Message> messages = hook.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("port " + com + ":"), std::string::npos) << messages[0].text;
    EXPECT_NE(messages[0].text.find("unplugged"), std::string::npos) << messages[0].text;
    EXPECT_NE(messages[0].detail.find(kGoneDetailHas), std::string::npos) << messages[0].detail;
    EXPECT_TRUE(WaitForThreadCount(threads)) << "the watcher should have ended";
    EXPECT_EQ(conn.WriteComm(reinterpret_cast<const unsigned char*>("x"), 1), 0u);

    conn.ClosePort();
    PtyPair replacement;
    ASSERT_TRUE(replacement.Valid());
    ports.Link(5, replacement.SlavePath());
    ASSERT_EQ(Open(com), 1);
    EXPECT_FALSE(conn.HasHungUp());
    ASSERT_TRUE(replacement.SendFromModem("back"));
    ASSERT_TRUE(target.WaitForPosts(1, 5s));
    EXPECT_EQ(DrainQueue(conn.m_QueueRead), "back");
}

TEST_F(ConnTest, DestroyingAnOpenConnectionStopsItsWatcherAndFreesThePort) {
    ASSERT_EQ(Open(com), 1);  // some runtimes start a helper thread with the first thread
    conn.ClosePort();
    const auto before = pty.DeviceSettings();
    const int threads = ThreadCount();
    Clock::time_point destroyed;
    {
        CSerialConn scoped;
        ASSERT_EQ(scoped.OpenPort(com, 115200, 8, 2, 0), 1);
        ASSERT_TRUE(pty.SendFromModem("pending"));  // the watcher sits in its pause
        std::this_thread::sleep_for(100ms);
        destroyed = Clock::now();
    }
    EXPECT_LT(Clock::now() - destroyed, 800ms) << "closing cuts the pause short";
    EXPECT_TRUE(WaitForThreadCount(threads));
    ExpectSameSettings(pty.DeviceSettings(), before);
    ASSERT_EQ(Open(com), 1);
    EXPECT_TRUE(WriteReachesModem("next owner"));
}

}  // namespace
}  // namespace brenlow_test
