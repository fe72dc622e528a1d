#include "bench_session.h"

#include <sys/stat.h>

#include <algorithm>
#include <numeric>

#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTimer>

#include "veltaro/console/control_ids.h"
#include "wire_trace.h"

namespace veltaro::e2e {
namespace {

constexpr int kDetectTimeoutMs = 8000;

}  // namespace

BenchSession::BenchSession(const SimSetup& setup) : m_setup(setup) {
    const std::string portDir = m_dir.File("ports");
    if (m_dir.path().empty() || ::mkdir(portDir.c_str(), 0700) != 0) {
        m_error = "no temporary port directory";
        return;
    }
    qputenv("BRENLOW_PORT_DIR", QByteArray::fromStdString(portDir));
    m_sim = std::make_unique<ModemSimProcess>(portDir, setup, m_dir.File("sim"));
    if (!m_sim->Started()) {
        m_error = "the simulator did not start";
        return;
    }
    m_driver = std::make_unique<DialogDriver>();
    if (!m_driver->Shown()) {
        m_error = "the dialog was not shown";
    }
}

// The dialog (and its port) goes before the modem.
BenchSession::~BenchSession() {
    m_driver.reset();
}

bool BenchSession::OpenAndDetect(int screens) {
    const QString model = QString::fromStdString(m_setup.model);
    Ui().Open(m_setup.com);
    if (!Ui().WaitUntil([&] { return Ui().Caption() == model; }, kDetectTimeoutMs)) {
        m_error = "the model was not detected";
        return false;
    }
    if (!WaitForOkLines(screens, kDetectTimeoutMs)) {
        m_error = "the information screens did not arrive";
        return false;
    }
    return true;
}

std::optional<double> BenchSession::WaitForOkLines(int count, int timeoutMs) {
    const QString ok = QStringLiteral("OK");
    if (Ui().CountLogLines(ok) >= count) {
        return SteadyMs();
    }
    auto* log = qobject_cast<QPlainTextEdit*>(Ui().Control(console::ctl::kLog));
    if (log == nullptr) {
        return std::nullopt;
    }
    std::optional<double> reached;
    QEventLoop loop;
    const QMetaObject::Connection watch =
        QObject::connect(log, &QPlainTextEdit::textChanged, &loop, [&] {
            const double now = SteadyMs();
            if (!reached && Ui().CountLogLines(ok) >= count) {
                reached = now;
                loop.quit();
            }
        });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(watch);
    return reached;
}

double Mean(const std::vector<double>& samples) {
    return samples.empty() ? 0.0
                           : std::accumulate(samples.begin(), samples.end(), 0.0) /
                                 static_cast<double>(samples.size());
}

double Max(const std::vector<double>& samples) {
    return samples.empty() ? 0.0 : *std::max_element(samples.begin(), samples.end());
}

}  // namespace veltaro::e2e
