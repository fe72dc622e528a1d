// Apply of a whole profile from the real dialog (a KD-35 whose every setting changes, the
// mode included, so all three phases of the plan run): the commands' keys from first to last
// over the pauses their tables ask for, the whole run's wall time, and how well the window's
// thread keeps answering meanwhile (the longest gap between two ticks of a 10 ms timer and
// between two processed paint events).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include <fstream>

#include "apply_cases.h"
#include "bench_session.h"
#include "file_dialogs.h"
#include "profile_commands.h"
#include "temp_dir.h"
#include "window_watcher.h"
#include "wire_trace.h"

namespace veltaro::e2e {
namespace {

class FixedFile : public ui::ProfileFileDialogs {
  public:
    QString AskSavePath(QWidget*, const QString&) override { return {}; }
    QString AskOpenPath(QWidget*, const QString&) override { return path; }
    QString path;
};

// The longest gap between two events of one kind on the window's thread.
class GapMeter : public QObject {
  public:
    explicit GapMeter(QWidget& watched) : m_watched(watched) { watched.installEventFilter(this); }
    ~GapMeter() override { m_watched.removeEventFilter(this); }
    void Tick() { Mark(m_lastTick, maxTickGap); }
    double maxTickGap = 0;
    double maxPaintGap = 0;

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            Mark(m_lastPaint, maxPaintGap);
        }
        return false;
    }

  private:
    static void Mark(double& last, double& maxGap) {
        const double now = SteadyMs();
        if (last > 0) {
            maxGap = std::max(maxGap, now - last);
        }
        last = now;
    }
    QWidget& m_watched;
    double m_lastTick = 0;
    double m_lastPaint = 0;
};

void BM_ApplyProfile(benchmark::State& state) {
    BenchSession session({"KD-35", 3, SimArgs(TargetModem())});
    if (!session.Error().empty() || !session.OpenAndDetect(2)) {
        state.SkipWithError(session.Error().c_str());
        return;
    }
    session.Ui().Pump(500);
    TempDir dir;
    std::ofstream(dir.File("source.json"), std::ios::binary) << SourceProfileText();
    std::ofstream(dir.File("target.json"), std::ios::binary) << TargetProfileText();
    FixedFile files;
    ui::ProfileCommands& profiles = session.Ui().Dialog().Profiles();
    profiles.SetFileDialogs(&files);
    std::vector<double> keys, wall, ticks, paints;
    bool toSource = true;
    for (auto _ : state) {
        files.path = QString::fromStdString(dir.File(toSource ? "source.json" : "target.json"));
        toSource = !toSource;
        WindowWatcher confirm(QStringLiteral("applyConfirmation"),
                              [](QWidget& box) { AnswerReport(box, true); });
        WindowWatcher summary(QStringLiteral("applySummary"),
                              [](QWidget& box) { AnswerReport(box, true); });
        GapMeter gaps(session.Ui().Dialog());
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            gaps.Tick();
            session.Ui().Dialog().update();  // a paint to process at every tick
        });
        tick.start(10);
        const double startMs = SteadyMs();
        profiles.Apply();
        session.Ui().WaitUntil([&] { return !profiles.Running(); }, 120000);
        const double endMs = SteadyMs();
        tick.stop();
        state.SetIterationTime((endMs - startMs) / 1000.0);
        const console::RunTimes& times = profiles.Session().LastTimes();
        if (times.pausesMs <= 0) {
            state.SkipWithError("nothing was applied");
            return;
        }
        keys.push_back(times.sendingMs / times.pausesMs);
        wall.push_back(endMs - startMs);
        ticks.push_back(gaps.maxTickGap);
        paints.push_back(gaps.maxPaintGap);
        state.counters["pauses_ms"] = times.pausesMs;
        state.counters["answers_ms"] = times.answeringMs;
    }
    state.counters["keys_over_pauses"] = Mean(keys);
    state.counters["keys_over_pauses_max"] = Max(keys);
    state.counters["apply_wall_ms"] = Mean(wall);
    state.counters["max_tick_gap_ms"] = Max(ticks);
    state.counters["max_paint_gap_ms"] = Max(paints);
}

BENCHMARK(BM_ApplyProfile)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltaro::e2e
