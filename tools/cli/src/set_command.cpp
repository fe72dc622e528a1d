#include <algorithm>

#include "command_plan.h"
#include "commands.h"
#include "info_report.h"
#include "steps.h"
#include "text_util.h"
#include "value_check.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::cli {
namespace {

bool Has(const std::vector<SetItem>& items, SetKey key) {
    return std::any_of(items.begin(), items.end(),
                       [key](const SetItem& item) { return item.key == key; });
}

bool IsUartKey(SetKey key) {
    return key >= SetKey::kInterface;
}

bool ModeChanges(Session& session, const std::vector<SetItem>& items) {
    const auto mode = std::find_if(items.begin(), items.end(),
                                   [](const SetItem& item) { return item.key == SetKey::kMode; });
    return mode != items.end() && mode->index != session.Host().Shown().mode;
}

ExitStatus NotOffered(Session& session, SetKey key, std::string_view consequence) {
    std::string message =
        std::string(RowOf(key).name) + " is not offered by " + ModelLabel(session);
    if (key == SetKey::kDestinationId || key == SetKey::kPeriod) {
        message += session.Console().State().deviceMode == 1 ? " in device mode" : " in PC mode";
    }
    session.Error(message + std::string(consequence));
    return ExitStatus::kKeyNotOffered;
}

// The items in the order they go: what the model offers now, then the mode, then what it
// may offer only in the new mode (the information screen in that mode decides). Without a
// mode change there is one phase, and everything must be offered now.
struct Phases {
    std::vector<std::vector<SetItem>> phases;
    ExitStatus status = ExitStatus::kOk;
};

Phases SplitByMode(Session& session, const std::vector<SetItem>& items) {
    const bool modeChanges = ModeChanges(session, items);
    std::vector<SetItem> now;
    std::vector<SetItem> mode;
    std::vector<SetItem> later;
    for (const SetItem& item : items) {
        const bool offered = Offered(session.Host(), RowOf(item.key));
        if (item.key == SetKey::kMode && offered && modeChanges) {
            mode.push_back(item);
        } else if (offered) {
            now.push_back(item);
        } else if (modeChanges && item.key != SetKey::kMode) {
            later.push_back(item);
        } else {
            return {{}, NotOffered(session, item.key, "; nothing is sent")};
        }
    }
    Phases result;
    for (std::vector<SetItem>* phase : {&now, &mode, &later}) {
        if (!phase->empty()) {
            result.phases.push_back(std::move(*phase));
        }
    }
    return result;
}

// Every value through the program's own field check before anything is sent; the phases
// keep the texts as the fields keep them.
ExitStatus CheckValues(Session& session, Phases& plan) {
    for (std::vector<SetItem>& phase : plan.phases) {
        for (SetItem& item : phase) {
            const std::string refusal = CheckValue(session.Console(), session.Host(), item);
            if (!refusal.empty()) {
                session.Error(refusal + "; nothing is sent");
                return ExitStatus::kValueRefused;
            }
        }
    }
    return ExitStatus::kOk;
}

ExitStatus RunStep(Session& session, const CommandStep& step, int timeoutMs) {
    session.Progress().Phase("setting " + step.label);
    for (const SetItem& item : step.items) {
        ApplyItem(item, session.Host().Controls());
    }
    const int boxes = session.Host().MessageBoxes();
    (session.Console().*step.handler)();
    if (session.Host().MessageBoxes() != boxes) {
        return ExitStatus::kValueRefused;  // the console's prompt is already printed
    }
    return AwaitAnswer(session, timeoutMs);
}

ExitStatus ReadBack(Session& session, const std::vector<SetItem>& items, int timeoutMs) {
    const bool uart = std::any_of(items.begin(), items.end(),
                                  [](const SetItem& item) { return IsUartKey(item.key); });
    const bool info = std::any_of(items.begin(), items.end(),
                                  [](const SetItem& item) { return !IsUartKey(item.key); });
    ExitStatus status = info ? ReadInformation(session, timeoutMs) : ExitStatus::kOk;
    if (status == ExitStatus::kOk && uart) {
        status = ReadUartInformation(session, timeoutMs);
    }
    return status;
}

void PrintReadBack(Session& session, const std::vector<SetItem>& items, std::ostream& out) {
    session.Progress().Clear();
    for (const ReportEntry& entry : ReportedSettings(session.Host().Shown(), true, true)) {
        const KeyRow* row = FindKey(entry.key == "period-unit" ? "period" : entry.key);
        if (row != nullptr && Has(items, row->key)) {
            out << entry.key << ": " << (entry.value.empty() ? "unknown" : Printable(entry.value))
                << '\n';
        }
    }
    out << std::flush;
}

// Sends one phase and reads it back; a difference is reported and counted, not fatal.
ExitStatus RunPhase(Session& session, const std::vector<SetItem>& items, int timeoutMs,
                    std::ostream& out, bool& differs) {
    const bool uartAll = session.Host().IsEnabled(console::ctl::kUartAllSetting);
    for (const CommandStep& step : PlanCommands(items, uartAll)) {
        if (const ExitStatus status = RunStep(session, step, timeoutMs);
            status != ExitStatus::kOk) {
            return status;
        }
    }
    if (const ExitStatus status = ReadBack(session, items, timeoutMs); status != ExitStatus::kOk) {
        return status;
    }
    PrintReadBack(session, items, out);
    for (const SetItem& item : items) {
        if (const std::string mismatch = Mismatch(item, session.Host().Shown());
            !mismatch.empty()) {
            session.Error(mismatch);
            differs = true;
        }
    }
    return ExitStatus::kOk;
}

ExitStatus SendAndCompare(Session& session, const Phases& plan, int timeoutMs, std::ostream& out) {
    bool differs = false;
    for (std::size_t i = 0; i < plan.phases.size(); ++i) {
        const std::vector<SetItem>& items = plan.phases[i];
        // After the mode phase, the new mode's information screen has been read.
        for (const SetItem& item : items) {
            if (i > 0 && !Offered(session.Host(), RowOf(item.key))) {
                return NotOffered(session, item.key, "; the settings before it have been sent");
            }
        }
        if (const ExitStatus status = RunPhase(session, items, timeoutMs, out, differs);
            status != ExitStatus::kOk) {
            return status;
        }
    }
    return differs ? ExitStatus::kReadBackMismatch : ExitStatus::kOk;
}

}  // namespace

ExitStatus RunSet(Session& session, const Options& options, std::ostream& out) {
    const int timeoutMs = options.timeoutMs;
    ExitStatus status = ConnectAndDetect(session, timeoutMs);
    if (status == ExitStatus::kOk) {
        status = ReadCurrentSettings(session, timeoutMs);
    }
    Phases plan;
    if (status == ExitStatus::kOk) {
        plan = SplitByMode(session, options.settings);
        status = plan.status;
    }
    if (status == ExitStatus::kOk) {
        status = CheckValues(session, plan);
    }
    return status == ExitStatus::kOk ? SendAndCompare(session, plan, timeoutMs, out) : status;
}

}  // namespace veltaro::cli
