// veltaro_bench_probe: the Veltaro program as main() runs it (the application object and
// its modal dialog), with a probe that reports on standard output, one "key value" a line:
//   main_ms <t>    when main() began, on the steady clock (CLOCK_MONOTONIC), in ms
//   shown_ms <t>   when the main dialog was first painted
//   shown_rss_kb <n>
// and, with --com N --idle-ms MS, after opening COM N and receiving the information screen:
//   idle_cpu_ms <t>, idle_wall_ms <t>   process CPU time (all threads) over MS ms at rest
//   rss_kb <n>, hwm_kb <n>              VmRSS and VmHWM at the end
// then it closes the dialog, so the program ends (status 0; 1 when something did not come).
#include <QApplication>

#include "probe.h"
#include "quistor_app.h"
#include "wire_trace.h"

int main(int argc, char* argv[]) {
    const double mainMs = veltaro::e2e::SteadyMs();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltaro"));
    QApplication::setApplicationVersion(QStringLiteral("1.2"));
    veltaro::e2e::Probe probe(veltaro::e2e::ReadProbeOptions(QApplication::arguments()), mainMs);
    application.installEventFilter(&probe);
    veltaro::ui::CQuistorApp app;
    app.InitInstance();
    return probe.Succeeded() ? 0 : 1;
}
