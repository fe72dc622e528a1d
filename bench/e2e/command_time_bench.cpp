// The two longest commands (4000 ms of pauses each) against their pause totals: the time
// the click's handler blocks the user-interface thread, and the time from the command's
// first to its last byte on the wire.
#include <benchmark/benchmark.h>

#include "bench_session.h"
#include "veltaro/console/control_ids.h"
#include "wire_trace.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

struct LongCommand {
    const char* model;  // one that offers the command
    int screensAtOpen;  // information screens the model's detection brings
    int button;
    int answers;  // screens the command's answer ends with "OK"
    double pausesMs;
};

// GT-45 in Device mode sends the period too; KD-35 keeps the UART controls.
constexpr LongCommand kAllSetting{"GT-45", 1, ctl::kAllSetting, 4, 4000};
constexpr LongCommand kUartAllSetting{"KD-35", 2, ctl::kUartAllSetting, 2, 4000};

void BM_LongCommand(benchmark::State& state, const LongCommand& command) {
    BenchSession session({command.model, 2, {}});
    if (!session.Error().empty() || !session.OpenAndDetect(command.screensAtOpen)) {
        state.SkipWithError(session.Error().c_str());
        return;
    }
    session.Ui().Pump(500);  // what the detection's keys still bring
    int screens = session.Ui().CountLogLines(QStringLiteral("OK"));
    std::vector<double> handler;
    std::vector<double> wire;
    for (auto _ : state) {
        const double startMs = SteadyMs();
        session.Ui().Click(command.button);
        const double endMs = SteadyMs();
        handler.push_back(endMs - startMs);
        state.SetIterationTime((endMs - startMs) / 1000.0);

        // Read once the answers are in: by then the last bytes sent have reached the trace.
        screens += command.answers;
        if (!session.WaitForOkLines(screens, 8000)) {
            state.SkipWithError("the command's answers did not arrive");
            return;
        }
        std::optional<double> first;
        double last = 0;
        for (const WireByte& entry : ReadWireTrace(session.Sim().ReceivedTrace())) {
            if (entry.ms >= startMs && entry.ms <= endMs + 100) {
                first = first.value_or(entry.ms);
                last = entry.ms;
            }
        }
        wire.push_back(first ? last - *first : 0.0);
    }
    state.counters["handler_ms"] = Mean(handler);
    state.counters["handler_ratio"] = Mean(handler) / command.pausesMs;
    state.counters["wire_ms"] = Mean(wire);
    state.counters["wire_ratio"] = Mean(wire) / command.pausesMs;
}
BENCHMARK_CAPTURE(BM_LongCommand, AllSetting, kAllSetting)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LongCommand, UartAllSetting, kUartAllSetting)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltaro::e2e
