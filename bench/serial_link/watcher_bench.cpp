#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "brenlow/serial_conn.h"

// CPU that receiving costs this process: the watcher's wait, pause and drain, plus the
// owner taking the bytes out of the queue. The modem is a child process writing into a
// pseudo-terminal at a given rate, so its own work is not counted.

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::chrono::nanoseconds ProcessCpuTime() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// Counts data-arrived messages; the owner sleeps on it.
class CountingTarget : public CNotifyTarget {
  public:
    void Post(std::uint32_t, std::uintptr_t, std::intptr_t) override {
        const std::lock_guard lock(m_mutex);
        ++m_posts;
        m_arrived.notify_all();
    }
    void WaitForMore(std::uint64_t seen, Clock::duration timeout) {
        std::unique_lock lock(m_mutex);
        m_arrived.wait_for(lock, timeout, [&] { return m_posts > seen; });
    }
    std::uint64_t Posts() {
        const std::lock_guard lock(m_mutex);
        return m_posts;
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::uint64_t m_posts = 0;
};

// A pseudo-terminal reachable as COM9 through a temporary port directory.
class PtyPort {
  public:
    PtyPort() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        std::array<char, 128> name{};
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
            ::ptsname_r(m_master, name.data(), name.size()) != 0) {
            return;
        }
        std::string dir = std::filesystem::temp_directory_path() / "brenlow-bench-XXXXXX";
        if (::mkdtemp(dir.data()) == nullptr) {
            return;
        }
        m_dir = dir;
        std::filesystem::create_symlink(name.data(), m_dir + "/com9");
        ::setenv("BRENLOW_PORT_DIR", m_dir.c_str(), 1);
    }
    ~PtyPort() {
        ::close(m_master);
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    [[nodiscard]] bool Valid() const { return m_master >= 0 && !m_dir.empty(); }
    [[nodiscard]] int Master() const { return m_master; }

  private:
    int m_master = -1;
    std::string m_dir;
};

// The modem: once go becomes readable, writes total bytes in slices every 10 ms, then ends.
pid_t StartModem(int master, int go, std::int64_t total, std::int64_t perSecond) {
    const pid_t child = ::fork();
    if (child != 0) {
        return child;
    }
    char start = 0;
    if (::read(go, &start, 1) != 1) {
        ::_exit(1);
    }
    std::array<char, 65536> slice{};
    const std::int64_t perSlice = perSecond / 100;
    for (std::int64_t sent = 0; sent < total;) {
        const auto size = static_cast<std::size_t>(std::min(perSlice, total - sent));
        const ssize_t written = ::write(master, slice.data(), std::min(size, slice.size()));
        sent += written > 0 ? written : 0;
        const timespec tenMs{0, 10'000'000};
        ::nanosleep(&tenMs, nullptr);
    }
    ::_exit(0);
}

// Owner side: drain on every message until total bytes came or nothing came for 3 s.
std::int64_t Receive(CSerialConn& conn, CountingTarget& target, std::int64_t total) {
    std::int64_t received = 0;
    Clock::time_point lastProgress = Clock::now();
    while (received < total && Clock::now() - lastProgress < 3s) {
        target.WaitForMore(target.Posts(), 200ms);
        const int held = conn.m_QueueRead.GetSize();
        for (int i = 0; i < held; ++i) {
            unsigned char byte = 0;
            benchmark::DoNotOptimize(conn.m_QueueRead.GetByte(&byte));
        }
        if (held > 0) {
            received += held;
            lastProgress = Clock::now();
        }
    }
    return received;
}

void BM_WatcherCpuPerReceivedByte(benchmark::State& state) {
    const std::int64_t perSecond = state.range(0);
    const std::int64_t total = perSecond * 2;  // two seconds of traffic
    for (auto _ : state) {
        PtyPort port;
        CountingTarget target;
        CSerialConn conn;
        conn.m_hNotifyWnd = &target;
        std::array<int, 2> go{};
        if (!port.Valid() || ::pipe(go.data()) != 0 || conn.OpenPort("COM9", 9600, 8, 0, 0) != 1) {
            state.SkipWithError("no pseudo-terminal");
            return;
        }
        const pid_t modem = StartModem(port.Master(), go[0], total, perSecond);
        const auto cpuBefore = ProcessCpuTime();
        const Clock::time_point start = Clock::now();
        static_cast<void>(::write(go[1], "g", 1));
        const std::int64_t received = Receive(conn, target, total);
        const auto cpu = ProcessCpuTime() - cpuBefore;
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        ::waitpid(modem, nullptr, 0);
        ::close(go[0]);
        ::close(go[1]);
        state.counters["received"] = static_cast<double>(received);
        state.counters["cpu_ns_per_byte"] =
            received > 0 ? static_cast<double>(cpu.count()) / static_cast<double>(received) : 0;
        state.counters["cpu_ms"] = std::chrono::duration<double, std::milli>(cpu).count();
    }
}
BENCHMARK(BM_WatcherCpuPerReceivedByte)
    ->Arg(960)    // 9600 baud, the modem console
    ->Arg(3'840)  // 38400 baud; near the most that one queue per 1 s burst can carry
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// An open connection with nothing arriving: the watcher should sleep in its wait.
void BM_IdleOpenConnection(benchmark::State& state) {
    for (auto _ : state) {
        PtyPort port;
        CSerialConn conn;
        if (!port.Valid() || conn.OpenPort("COM9", 9600, 8, 0, 0) != 1) {
            state.SkipWithError("no pseudo-terminal");
            return;
        }
        std::this_thread::sleep_for(100ms);  // the watcher has started and is waiting
        const auto cpuBefore = ProcessCpuTime();
        std::this_thread::sleep_for(3s);
        const auto cpu = ProcessCpuTime() - cpuBefore;
        state.SetIterationTime(3.0);
        state.counters["cpu_us_per_s"] =
            std::chrono::duration<double, std::micro>(cpu).count() / 3.0;
    }
}
BENCHMARK(BM_IdleOpenConnection)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
