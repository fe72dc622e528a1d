// The data-arrived handler's cost: a full-queue burst holding one finished information
// screen, and messages on a large receive buffer that holds no screen end (every message
// searches the whole buffer again, so the cost per message must stay linear in its length).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>
#include <string>
#include <utility>

#include "veltaro/console/dialog_host.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/modem_link.h"

namespace {

using namespace veltaro::console;

// A dialog that does nothing, so that only the console's own work is measured.
class NullHost final : public DialogHost {
  public:
    SettingsForm ReadForm() override { return {}; }
    void WriteForm(const SettingsForm&) override {}
    void EnableControl(int, bool) override {}
    void SetCaption(const std::string&) override {}
    void AppendLog(const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
    void SetLogText(const std::string&) override {}
    std::string ReadComNumberLine(int) override { return "1"; }
    void SetEditText(int, const std::string&) override {}
    void SetEditSelection(int, int, int) override {}
    void ScrollEditCaret(int) override {}
    void ShowMessageBox(const std::string&, const std::string&, unsigned) override {}
};

// A receive queue loaded with one burst at a time; sends and pauses cost nothing.
class BurstLink final : public ModemLink {
  public:
    void Load(std::string bytes) {
        m_bytes = std::move(bytes);
        m_next = 0;
    }
    int OpenPort(const std::string&, std::uint32_t, std::uint8_t, std::uint8_t,
                 std::uint8_t) override {
        return 1;
    }
    void ClosePort() override {}
    void SendText(const std::string&) override {}
    void WriteByte(unsigned char) override {}
    void Pause(int) override {}
    int QueueSize() override { return static_cast<int>(m_bytes.size() - m_next); }
    int QueueGetByte(unsigned char* out) override {
        if (m_next == m_bytes.size()) {
            return 0;
        }
        *out = static_cast<unsigned char>(m_bytes[m_next++]);
        return 1;
    }

  private:
    std::string m_bytes;
    std::size_t m_next = 0;
};

constexpr std::size_t kQueueCapacity = 4191;

struct Bench {
    NullHost host;
    BurstLink link;
    ModemConsole console{host, link};

    void Message(std::string bytes) {
        link.Load(std::move(bytes));
        console.OnDataArrived();
    }
    // Past the model detection, as in normal use.
    Bench() { Message("\r\nGT-40 CONFIGURATION\r\n"); }
};

// Menu lines without any marker, then one information screen ending in "OK": one full queue.
std::string InformationBurst() {
    const std::string screen =
        "\r\n----- Information  ------\r\nChannel Number: 05 \r\nTx Power: 0F\r\n"
        "Device Mode\r\nDestination ID: 0A1B2\r\nTX Peirod  : 030 MIN\r\nOK";
    const std::string menu = "  1. Channel  2. Power  3. Mode  4. Destination  5. Period\r\n";
    std::string burst;
    while (burst.size() + menu.size() + screen.size() <= kQueueCapacity) {
        burst += menu;
    }
    burst.append(kQueueCapacity - burst.size() - screen.size(), ' ');
    return burst + screen;
}

// Console text that has begun a screen ("--") but holds no end marker and no model word.
std::string Unfinished(std::size_t length) {
    std::string text = "-- waiting\r\n";
    const std::string line = "Channel Number: 05  Tx Power: 0F  Destination ID: 0A1B2\r\n";
    while (text.size() < length) {
        text += line;
    }
    text.resize(length);
    return text;
}

void SetPerByte(benchmark::State& state, std::size_t bytesPerMessage) {
    // Shown as seconds per byte ("12.3p" is 12.3 ps).
    state.counters["per_byte"] = benchmark::Counter(
        static_cast<double>(bytesPerMessage),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_InformationScreenBurst(benchmark::State& state) {
    Bench bench;
    const std::string burst = InformationBurst();
    for (auto _ : state) {
        bench.Message(burst);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * burst.size()));
    SetPerByte(state, burst.size());
}
BENCHMARK(BM_InformationScreenBurst);

// A message with an empty queue on a buffer of the given length: the searches alone.
void BM_MessageOnUnfinishedBuffer(benchmark::State& state) {
    const auto length = static_cast<std::size_t>(state.range(0));
    Bench bench;
    bench.Message(Unfinished(length));
    for (auto _ : state) {
        bench.Message({});
    }
    state.SetComplexityN(state.range(0));
    SetPerByte(state, length);
}
BENCHMARK(BM_MessageOnUnfinishedBuffer)
    ->RangeMultiplier(4)
    ->Range(64 << 10, 4 << 20)
    ->Complexity(benchmark::oN);

// The same while no model has been detected yet: the detection searches the buffer too.
void BM_MessageOnUnfinishedBufferAwaitingModel(benchmark::State& state) {
    NullHost host;
    BurstLink link;
    ModemConsole console(host, link);
    link.Load(Unfinished(1 << 20));
    console.OnDataArrived();
    for (auto _ : state) {
        console.OnDataArrived();
    }
    SetPerByte(state, 1 << 20);
}
BENCHMARK(BM_MessageOnUnfinishedBufferAwaitingModel);

// A full-queue burst appended to a 1 MiB buffer that holds no screen end. The buffer is
// rebuilt outside the timing, so every message sees the same length.
void BM_BurstOntoUnfinishedBuffer(benchmark::State& state) {
    const std::string base = Unfinished(1 << 20);
    const std::string burst = Unfinished(kQueueCapacity + 16).substr(16);
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<Bench>();
        bench->Message(base);
        bench->link.Load(burst);
        state.ResumeTiming();
        bench->console.OnDataArrived();
        state.PauseTiming();
        bench.reset();
        state.ResumeTiming();
    }
    SetPerByte(state, base.size() + burst.size());
}
BENCHMARK(BM_BurstOntoUnfinishedBuffer)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
