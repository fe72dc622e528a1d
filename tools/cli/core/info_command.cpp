#include "commands.h"
#include "info_report.h"
#include "steps.h"

namespace veltaro::cli {
namespace {

InfoReport BuildReport(Session& session, bool settingsRead) {
    InfoReport report;
    report.modelCode = session.Console().State().modelCode;
    report.settingsRead = settingsRead;
    if (settingsRead) {
        report.shown = session.Host().Shown();
        report.deviceMode = session.Console().State().deviceMode == 1;
        report.uartRead = session.Watch().UartScreens() > 0;
        report.settable = OfferedKeys(session.Host());
    }
    return report;
}

}  // namespace

ExitStatus RunInfo(Session& session, const Options& options, std::ostream& out) {
    if (const ExitStatus status = ConnectAndDetect(session, options.timeoutMs);
        status != ExitStatus::kOk) {
        return status;
    }
    const ExitStatus status = ReadCurrentSettings(session, options.timeoutMs);
    if (status != ExitStatus::kOk && status != ExitStatus::kNoSettings) {
        return status;
    }
    // The model is known even when its settings are not: print what there is.
    const InfoReport report = BuildReport(session, status == ExitStatus::kOk);
    session.Progress().Clear();
    out << (options.json ? FormatJson(report) : FormatText(report));
    const ExitStatus written = CheckOutput(session, out);
    return written != ExitStatus::kOk ? written : status;
}

}  // namespace veltaro::cli
