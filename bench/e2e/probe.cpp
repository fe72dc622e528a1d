#include "probe.h"

#include <time.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <QDialog>
#include <QEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "control_lookup.h"
#include "veltaro/console/control_ids.h"
#include "wire_trace.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

// After the information screen, let the last bytes settle before measuring the rest.
constexpr int kSettleMs = 500;

double ProcessCpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A "VmRSS:"-style line of /proc/self/status, in kB; -1 when absent.
long StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::stol(line.substr(key.size() + 1));
        }
    }
    return -1;
}

void Report(const char* key, double value) {
    std::printf("%s %.3f\n", key, value);
    std::fflush(stdout);
}

}  // namespace

ProbeOptions ReadProbeOptions(const QStringList& arguments) {
    ProbeOptions options;
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        const int value = arguments[i + 1].toInt();
        if (arguments[i] == QLatin1String("--com")) {
            options.com = value;
        } else if (arguments[i] == QLatin1String("--idle-ms")) {
            options.idleMs = value;
        }
    }
    return options;
}

Probe::Probe(const ProbeOptions& options, double mainMs) : m_options(options) {
    Report("main_ms", mainMs);
}

bool Probe::eventFilter(QObject* watched, QEvent* event) {
    if (!m_shown && event->type() == QEvent::Paint &&
        watched->objectName() == QLatin1String("mainDialog")) {
        m_shown = true;
        Report("shown_ms", SteadyMs());
        m_dialog = qobject_cast<QDialog*>(watched);
        QTimer::singleShot(0, this, &Probe::OnShown);
    }
    return false;
}

void Probe::OnShown() {
    Report("shown_rss_kb", static_cast<double>(StatusKb("VmRSS")));
    if (m_dialog == nullptr || m_options.com == 0) {
        Finish(m_dialog != nullptr);
        return;
    }
    QTimer::singleShot(m_options.deadlineMs, this, [this] { Finish(false); });
    auto* log = m_dialog->findChild<QPlainTextEdit*>(veltaro::ui::ControlName(ctl::kLog));
    if (log == nullptr) {
        Finish(false);
        return;
    }
    connect(log, &QPlainTextEdit::textChanged, this, &Probe::OnLogChanged);
    QTimer::singleShot(0, this, &Probe::OpenPort);
}

void Probe::OpenPort() {
    QWidget* comEdit = veltaro::ui::FindControl(*m_dialog, ctl::kComNumber);
    QWidget* open = veltaro::ui::FindControl(*m_dialog, ctl::kOpen);
    if (comEdit == nullptr || open == nullptr) {
        Finish(false);
        return;
    }
    QTest::keyClick(comEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(comEdit, QString::number(m_options.com));
    QTest::mouseClick(open, Qt::LeftButton, Qt::NoModifier, open->rect().center());
}

void Probe::OnLogChanged() {
    auto* log = qobject_cast<QPlainTextEdit*>(sender());
    if (m_idleStarted || log == nullptr ||
        !log->toPlainText().split(QLatin1Char('\n')).contains(QStringLiteral("OK"))) {
        return;
    }
    m_idleStarted = true;
    QTimer::singleShot(kSettleMs, this, &Probe::StartIdle);
}

void Probe::StartIdle() {
    m_idleStartCpuMs = ProcessCpuMs();
    m_idleStartWallMs = SteadyMs();
    QTimer::singleShot(m_options.idleMs, this, &Probe::EndIdle);
}

void Probe::EndIdle() {
    Report("idle_cpu_ms", ProcessCpuMs() - m_idleStartCpuMs);
    Report("idle_wall_ms", SteadyMs() - m_idleStartWallMs);
    Report("rss_kb", static_cast<double>(StatusKb("VmRSS")));
    Report("hwm_kb", static_cast<double>(StatusKb("VmHWM")));
    Finish(true);
}

void Probe::Finish(bool succeeded) {
    m_succeeded = succeeded;
    if (m_dialog != nullptr) {
        m_dialog->reject();
    }
}

}  // namespace veltaro::e2e
