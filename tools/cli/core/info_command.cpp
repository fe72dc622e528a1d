#include "commands.h"
#include "info_report.h"
#include "steps.h"
#include "veltaro/console/model_table.h"

namespace veltaro::cli {
namespace {

InfoReport BuildReport(Session& session, bool settingsRead) {
    const std::string& code = session.Console().State().modelCode;
    InfoReport report;
    report.model = code;
    report.rangeClass = std::string(console::RangeClassName(console::RangeClassOf(code)));
    report.family = std::string(console::FamilyName(console::FamilyOf(code)));
    report.settingsRead = settingsRead;
    if (settingsRead) {
        const bool deviceMode = session.Console().State().deviceMode == 1;
        const bool uartRead = session.Watch().UartScreens() > 0;
        report.settings = ReportedSettings(session.Host().Shown(), deviceMode, uartRead);
        report.settable = SettableKeys(session.Host());
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
