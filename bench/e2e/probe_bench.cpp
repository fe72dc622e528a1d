// Figures of the program as a process of its own (veltaro_bench_probe runs what main()
// runs): the time from starting it to its first painted dialog, its CPU use while connected
// and at rest, and its resident memory.
#include <benchmark/benchmark.h>

#include <sys/stat.h>

#include <map>
#include <optional>

#include "bench_session.h"
#include "child_process.h"
#include "modem_sim_process.h"
#include "temp_dir.h"
#include "wire_trace.h"

namespace veltaro::e2e {
namespace {

using Report = std::map<std::string, double>;

// Runs the probe to its end and collects its "key value" lines; nothing when it failed.
std::optional<Report> RunProbe(const std::vector<std::string>& args,
                               const std::vector<std::string>& env, Millis limit) {
    std::vector<std::string> argv{VELTARO_BENCH_PROBE_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> fullEnv{"QT_QPA_PLATFORM=offscreen"};
    fullEnv.insert(fullEnv.end(), env.begin(), env.end());
    ChildProcess probe(argv, fullEnv);
    Report report;
    while (std::optional<std::string> line = probe.ReadLine(limit)) {
        const std::size_t blank = line->find(' ');
        if (blank != std::string::npos) {
            report[line->substr(0, blank)] = std::stod(line->substr(blank + 1));
        }
    }
    if (probe.WaitExit(Millis(5000)) != 0) {
        return std::nullopt;
    }
    return report;
}

void BM_StartToFirstShownDialog(benchmark::State& state) {
    std::vector<double> shown;
    std::vector<double> toMain;
    double rssKb = 0;
    for (auto _ : state) {
        const double startMs = SteadyMs();
        const std::optional<Report> report = RunProbe({}, {}, Millis(10000));
        if (!report || !report->contains("shown_ms")) {
            state.SkipWithError("the probe did not show the dialog");
            return;
        }
        shown.push_back(report->at("shown_ms") - startMs);
        toMain.push_back(report->at("main_ms") - startMs);
        rssKb = report->at("shown_rss_kb");
        state.SetIterationTime(shown.back() / 1000.0);
    }
    state.counters["start_to_shown_ms"] = Mean(shown);
    state.counters["start_to_shown_max_ms"] = Max(shown);
    state.counters["start_to_main_ms"] = Mean(toMain);
    state.counters["shown_rss_mib"] = rssKb / 1024.0;
}
BENCHMARK(BM_StartToFirstShownDialog)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ConnectedAtRest(benchmark::State& state) {
    constexpr int kIdleMs = 10000;
    TempDir dir;
    const std::string portDir = dir.File("ports");
    if (dir.path().empty() || ::mkdir(portDir.c_str(), 0700) != 0) {
        state.SkipWithError("no temporary port directory");
        return;
    }
    ModemSimProcess sim(portDir, {"GT-45", 1, {}}, dir.File("sim"));
    if (!sim.Started()) {
        state.SkipWithError("the simulator did not start");
        return;
    }
    for (auto _ : state) {
        const std::optional<Report> report =
            RunProbe({"--com", "1", "--idle-ms", std::to_string(kIdleMs)},
                     {"BRENLOW_PORT_DIR=" + portDir}, Millis(kIdleMs + 20000));
        if (!report || !report->contains("idle_cpu_ms")) {
            state.SkipWithError("the probe did not connect or did not finish");
            return;
        }
        const double wallMs = report->at("idle_wall_ms");
        state.SetIterationTime(wallMs / 1000.0);
        state.counters["idle_cpu_ms"] = report->at("idle_cpu_ms");
        state.counters["idle_cpu_pct"] = report->at("idle_cpu_ms") / wallMs * 100;
        state.counters["rss_mib"] = report->at("rss_kb") / 1024.0;
        state.counters["hwm_mib"] = report->at("hwm_kb") / 1024.0;
    }
}
BENCHMARK(BM_ConnectedAtRest)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltaro::e2e
