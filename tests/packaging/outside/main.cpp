// A program of someone else's that uses the installed Brenlow: opens a COM port, sends ESC
// and waits for the modem's answer. Exit status 0 when an answer came.
#include <brenlow/serial_conn.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

namespace {

class Arrivals : public CNotifyTarget {
  public:
    void Post(std::uint32_t, std::uintptr_t, std::intptr_t) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_arrived = true;
        m_changed.notify_all();
    }
    bool Wait(std::chrono::seconds limit) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, limit, [this] { return m_arrived; });
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_arrived = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s COM-NAME\n", argv[0]);
        return 2;
    }
    Arrivals arrivals;
    CSerialConn conn;
    conn.m_hNotifyWnd = &arrivals;
    if (conn.OpenPort(argv[1], 9600, 8, 0, 0) != 1) {
        return 1;
    }
    const unsigned char esc = 0x1b;
    const bool sent = conn.WriteComm(&esc, 1) == 1;
    const bool answered = sent && arrivals.Wait(std::chrono::seconds(10));
    std::printf("sent %d byte, %d bytes back\n", sent ? 1 : 0, conn.m_QueueRead.GetSize());
    conn.ClosePort();
    return answered ? 0 : 1;
}
