#include <limits>

#include "commands.h"
#include "log_writer.h"
#include "steps.h"

namespace veltaro::cli {

ExitStatus RunLog(Session& session, std::ostream& out) {
    LogWriter writer(out);
    session.Host().SetLogSink([&writer](std::string_view text) { writer.Write(text); });
    session.Progress().Phase("opening " + session.PortLabel());
    ExitStatus status = session.Open();
    session.Progress().Clear();
    if (status == ExitStatus::kOk) {
        const WaitOutcome outcome =
            session.WaitFor([&writer] { return writer.Failed(); }, std::numeric_limits<int>::max());
        // Ctrl-C is how log ends; anything else is a failure.
        if (outcome == WaitOutcome::kInterrupted) {
            status = ExitStatus::kOk;
        } else if (writer.Failed()) {
            status = CheckOutput(session, out);
        } else {
            status = session.StatusOf(outcome, ExitStatus::kFailure, "");
        }
    }
    session.Host().SetLogSink({});
    return status;
}

}  // namespace veltaro::cli
