// From a screen leaving the simulated modem to its text in the log pane. The watcher wakes
// on the screen's first byte and pauses 1000 ms before it takes what arrived, so 1000 ms
// from the first byte is the floor; what lies above it is the program's own overhead.
#include <benchmark/benchmark.h>

#include "bench_session.h"
#include "veltaro/console/control_ids.h"
#include "wire_trace.h"

namespace veltaro::e2e {
namespace {

constexpr double kWatcherPauseMs = 1000;

struct Answer {
    double firstMs = 0;
    double lastMs = 0;
};

// The bytes the modem sent after `sinceMs`: its answer to the last key.
std::optional<Answer> AnswerSince(const std::string& sentTrace, double sinceMs) {
    std::optional<Answer> answer;
    for (const WireByte& entry : ReadWireTrace(sentTrace)) {
        if (entry.ms <= sinceMs) {
            continue;
        }
        if (!answer) {
            answer = Answer{entry.ms, entry.ms};
        }
        answer->lastMs = entry.ms;
    }
    return answer;
}

// paced: the modem sends at 9600 baud; fast: all at once (--fast), so that first and last
// byte leave together.
void BM_ScreenToLogPane(benchmark::State& state, bool fast) {
    BenchSession session(
        {"GT-45", 1, fast ? std::vector<std::string>{"--fast"} : std::vector<std::string>{}});
    if (!session.Error().empty() || !session.OpenAndDetect(1)) {
        state.SkipWithError(session.Error().c_str());
        return;
    }
    int screens = session.Ui().CountLogLines(QStringLiteral("OK"));
    std::vector<double> fromFirst;
    std::vector<double> fromLast;
    for (auto _ : state) {
        const double clickMs = SteadyMs();
        session.Ui().Click(console::ctl::kInformation);  // "C": one screen back
        const std::optional<double> shownMs = session.WaitForOkLines(++screens, 5000);
        const std::optional<Answer> answer = AnswerSince(session.Sim().SentTrace(), clickMs);
        if (!shownMs || !answer) {
            state.SkipWithError("the information screen did not reach the log");
            return;
        }
        fromFirst.push_back(*shownMs - answer->firstMs);
        fromLast.push_back(*shownMs - answer->lastMs);
        state.SetIterationTime((*shownMs - answer->lastMs) / 1000.0);
    }
    state.counters["first_byte_to_log_ms"] = Mean(fromFirst);
    state.counters["last_byte_to_log_ms"] = Mean(fromLast);
    state.counters["overhead_ms"] = Mean(fromFirst) - kWatcherPauseMs;
    state.counters["overhead_max_ms"] = Max(fromFirst) - kWatcherPauseMs;
    state.counters["overhead_pct"] = (Mean(fromFirst) - kWatcherPauseMs) / kWatcherPauseMs * 100;
}
BENCHMARK_CAPTURE(BM_ScreenToLogPane, paced, false)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScreenToLogPane, fast, true)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltaro::e2e
