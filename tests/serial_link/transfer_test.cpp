#include <memory>
#include <utility>
#include <vector>

#include "conn_fixture.h"
#include "serial_device.h"

// Reaches into a connection to record the size of every write its device receives. The
// watcher is stopped while the device is swapped, and started again, so no thread sees
// the swap.
struct SerialConnTestPeer {
    class RecordingDevice : public brenlow::detail::SerialDevice {
      public:
        RecordingDevice(std::unique_ptr<SerialDevice> real, std::vector<std::uint32_t>& sizes)
            : m_real(std::move(real)), m_sizes(sizes) {}
        std::uint32_t Write(const unsigned char* data, std::uint32_t length,
                            std::uint64_t timeoutMs) override {
            m_sizes.push_back(length);
            return m_real->Write(data, length, timeoutMs);
        }
        std::uint32_t Read(unsigned char* buffer, std::uint32_t capacity) override {
            return m_real->Read(buffer, capacity);
        }
        bool DrainOutput(std::uint32_t timeoutPerByteMs) override {
            return m_real->DrainOutput(timeoutPerByteMs);
        }
        std::unique_ptr<brenlow::detail::PortWatch> CreateWatch(std::string& reason) override {
            return m_real->CreateWatch(reason);
        }

      private:
        std::unique_ptr<SerialDevice> m_real;
        std::vector<std::uint32_t>& m_sizes;
    };

    static bool RecordWrites(CSerialConn& conn, std::vector<std::uint32_t>& sizes) {
        conn.StopWatcher();
        conn.m_device = std::make_unique<RecordingDevice>(std::move(conn.m_device), sizes);
        std::string reason;
        conn.m_watch = conn.m_device->CreateWatch(reason);
        conn.m_connected.store(1);
        return conn.m_watch != nullptr && conn.StartWatcher();
    }
};

namespace brenlow_test {
namespace {

struct PieceCase {
    std::size_t length;
    std::vector<std::uint32_t> pieces;
};

TEST_F(ConnTest, SendDataWritesPiecesOfEightThenTheRest) {
    ASSERT_EQ(Open(com), 1);
    std::vector<std::uint32_t> sizes;
    ASSERT_TRUE(SerialConnTestPeer::RecordWrites(conn, sizes));
    for (const PieceCase& expected : {
             PieceCase{0, {}},
             PieceCase{3, {3}},
             PieceCase{8, {8}},
             PieceCase{13, {8, 5}},
             PieceCase{16, {8, 8}},
             PieceCase{21, {8, 8, 5}},
         }) {
        SCOPED_TRACE(expected.length);
        sizes.clear();
        const std::string text = Pattern(expected.length, 1);
        EXPECT_EQ(conn.sendData(text), static_cast<int>(expected.length));
        EXPECT_EQ(sizes, expected.pieces);
        EXPECT_EQ(pty.ReceiveAtModem(text.size(), 1s), text);
    }
}

TEST_F(ConnTest, ClosedConnectionWritesNothingAndClosingTwiceIsHarmless) {
    const auto* bytes = reinterpret_cast<const unsigned char*>("hello");
    EXPECT_EQ(conn.WriteComm(bytes, 5), 0u);
    EXPECT_EQ(conn.sendData("hello"), 5);
    conn.ClosePort();

    ASSERT_EQ(Open(com), 1);
    conn.ClosePort();
    conn.ClosePort();
    EXPECT_EQ(conn.WriteComm(bytes, 5), 0u);
    EXPECT_EQ(conn.sendData("hello"), 5);
    EXPECT_EQ(pty.ReceiveAtModem(1, 100ms), "");
}

// A Close right after a command's last write: the modem reads only later, and must still
// get the value's line end or the closing ESC. The long text outgrows what the peer's side
// of a pseudo-terminal takes unread, so part of it is still on its way at the close.
TEST_F(ConnTest, BytesWrittenJustBeforeCloseReachAPeerThatReadsAfterwards) {
    for (const std::string& text : {std::string("\x1b"), std::string("12\n"), Pattern(6000, 7)}) {
        SCOPED_TRACE(text.size());
        ASSERT_EQ(Open(com), 1);
        EXPECT_EQ(conn.sendData(text), static_cast<int>(text.size()));
        conn.ClosePort();
        const std::string received = pty.ReceiveAtModem(text.size(), 1s);
        EXPECT_EQ(received.size(), text.size());
        EXPECT_TRUE(received == text);
    }
}

// The modem reads nothing, so the device's buffer fills. The write that no longer fits
// must end at its time limit (1 ms per byte at 19200 baud) and report exactly what went.
TEST_F(ConnTest, WriteTheDeviceCannotTakeEndsAtItsLimitWithTheCountWritten) {
    ASSERT_EQ(Open(com, 19200), 1);
    constexpr std::uint32_t kBlock = 1024;
    std::string written;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < 200; ++i) {
        const std::string block = Pattern(kBlock, written.size());
        const std::uint32_t count =
            conn.WriteComm(reinterpret_cast<const unsigned char*>(block.data()), kBlock);
        written += block.substr(0, count);
        if (count < kBlock) {
            break;
        }
    }
    EXPECT_LT(Clock::now() - start, 10s);
    ASSERT_LT(written.size(), 200u * kBlock) << "the device never filled up";
    const std::string received = pty.ReceiveAtModem(written.size());
    EXPECT_EQ(received.size(), written.size());
    EXPECT_TRUE(received == written);
    EXPECT_EQ(pty.ReceiveAvailable(), "");
}

TEST_F(ConnTest, BurstIsAnnouncedOnceNoEarlierThanThePause) {
    ASSERT_EQ(Open(com), 1);
    const Clock::time_point first = Clock::now();
    ASSERT_TRUE(pty.SendFromModem("QX200 CONFIG"));
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pty.SendFromModem("URATION\r\n"));

    ASSERT_TRUE(target.WaitForPosts(1, 5s));
    std::this_thread::sleep_for(400ms);  // a second message would come now
    const std::vector<Post> posts = target.Posts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].message, 0x401u);
    EXPECT_EQ(posts[0].wParam, 0u);
    EXPECT_EQ(posts[0].lParam, 0);
    EXPECT_GE(posts[0].when - first, 950ms);
    EXPECT_EQ(DrainQueue(conn.m_QueueRead), "QX200 CONFIGURATION\r\n");
}

// The owner does not drain for a while: the queue fills, the rest waits in the driver, and
// once the owner drains, everything arrives in order.
TEST_F(ConnTest, FullQueueLeavesTheRestInTheDriverAndLosesNothing) {
    ASSERT_EQ(Open(com), 1);
    const std::string stream = Pattern(5000);
    ASSERT_TRUE(pty.SendFromModem(stream.substr(0, 4000)));
    ASSERT_TRUE(target.WaitForPosts(1, 5s));
    EXPECT_EQ(conn.m_QueueRead.GetSize(), 4000);

    ASSERT_TRUE(pty.SendFromModem(stream.substr(4000)));
    ASSERT_TRUE(target.WaitForPosts(2, 5s));
    // By value: a DLL does not export the constant itself.
    EXPECT_EQ(conn.m_QueueRead.GetSize(), int{CQueue::kCapacity});

    std::string received = DrainQueue(conn.m_QueueRead);
    const Clock::time_point deadline = Clock::now() + 6s;
    while (received.size() < stream.size() && Clock::now() < deadline) {
        static_cast<void>(target.WaitForPosts(target.Posts().size() + 1, 100ms));
        received += DrainQueue(conn.m_QueueRead);
    }
    EXPECT_EQ(received.size(), stream.size());
    EXPECT_TRUE(received == stream);
}

}  // namespace
}  // namespace brenlow_test
