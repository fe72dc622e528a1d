// Latency from a byte at the pseudo-terminal to the data-arrived notification, for the
// Windows build under Wine. The watcher pauses 1000 ms after each wake-up by design, so the
// figure of interest is what comes on top of that pause: the wait's own delay.
//
//   brenlow_wine_latency_bench.exe [SAMPLES]   (run through tests/win32/wine-run.sh)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "brenlow/serial_conn.h"
#include "pty_support.h"

namespace {

using brenlow_test::Clock;
using namespace std::chrono_literals;

// One byte from the modem; the time until its notification, in ms, or a negative value.
double Sample(brenlow_test::PtyPair& pty, brenlow_test::RecordingTarget& target, CQueue& queue) {
    std::this_thread::sleep_for(300ms);  // the watcher is back in its wait
    const std::size_t before = target.Posts().size();
    const Clock::time_point sent = Clock::now();
    if (!pty.SendFromModem("x") || !target.WaitForPosts(before + 1, 10s)) {
        return -1;
    }
    const auto latency = target.Posts()[before].when - sent;
    static_cast<void>(brenlow_test::DrainQueue(queue));
    return std::chrono::duration<double, std::milli>(latency).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int samples = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    brenlow_test::PtyPair pty;
    brenlow_test::PortDir ports;
    brenlow_test::RecordingTarget target;
    CSerialConn conn;
    conn.m_hNotifyWnd = &target;
    if (!pty.Valid() || conn.OpenPort(ports.Link(0, pty.SlavePath()), 9600, 8, 0, 0) != 1) {
        std::fprintf(stderr, "no port: run this through tests/win32/wine-run.sh\n");
        return 1;
    }
    std::vector<double> ms;
    for (int i = 0; i < samples; ++i) {
        const double latency = Sample(pty, target, conn.m_QueueRead);
        if (latency < 0) {
            std::fprintf(stderr, "no notification within 10 s\n");
            return 1;
        }
        ms.push_back(latency);
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf(
        "byte at the pty to data-arrived, %d samples: min %.1f ms, median %.1f ms, "
        "max %.1f ms; median beyond the 1000 ms pause: %.1f ms\n",
        samples, ms.front(), median, ms.back(), median - 1000.0);
    return 0;
}
