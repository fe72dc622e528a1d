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

// --only-offered: says once which settings are left out.
void ReportSkipped(Session& session, const std::vector<SetKey>& skipped) {
    if (skipped.empty()) {
        return;
    }
    std::string names;
    for (const SetKey key : skipped) {
        names += ' ';  // appended: g++ 12 -O3 warns falsely (-Wrestrict) on " " + string
        names += RowOf(key).name;
    }
    session.Error("skipped, not offered by " + ModelLabel(session) + ":" + names);
}

Phases SplitByMode(Session& session, const std::vector<SetItem>& items, bool onlyOffered) {
    const bool modeChanges = ModeChanges(session, items);
    std::vector<SetKey> skipped;
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
        } else if (onlyOffered) {
            skipped.push_back(item.key);
        } else {
            return {{}, NotOffered(session, item.key, "; nothing is sent")};
        }
    }
    ReportSkipped(session, skipped);
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
    const std::size_t logBefore = session.Host().LogText().size();
    (session.Console().*step.handler)();
    if (session.Host().MessageBoxes() != boxes) {
        return ExitStatus::kValueRefused;  // the console's prompt is already printed
    }
    if (const ExitStatus status = AwaitAnswer(session, timeoutMs); status != ExitStatus::kOk) {
        return status;
    }
    const std::string& log = session.Host().LogText();
    const std::string refusal =
        RefusalLine(std::string_view(log).substr(std::min(logBefore, log.size())));
    if (!refusal.empty()) {
        session.Error("the modem refused " + step.label + ": \"" + refusal +
                      "\"; the settings after it are not sent");
        return ExitStatus::kModemRefused;
    }
    return ExitStatus::kOk;
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

// After the mode phase, the new mode's information screen has been read: what it does not
// offer is refused, or with --only-offered left out.
ExitStatus KeepOffered(Session& session, std::vector<SetItem>& items, bool onlyOffered) {
    std::vector<SetKey> skipped;
    for (auto item = items.begin(); item != items.end();) {
        if (Offered(session.Host(), RowOf(item->key))) {
            ++item;
        } else if (onlyOffered) {
            skipped.push_back(item->key);
            item = items.erase(item);
        } else {
            return NotOffered(session, item->key, "; the settings before it have been sent");
        }
    }
    ReportSkipped(session, skipped);
    return ExitStatus::kOk;
}

ExitStatus SendAndCompare(Session& session, const Phases& plan, const Options& options,
                          std::ostream& out) {
    bool differs = false;
    for (std::size_t i = 0; i < plan.phases.size(); ++i) {
        std::vector<SetItem> items = plan.phases[i];
        if (i > 0) {
            if (const ExitStatus status = KeepOffered(session, items, options.onlyOffered);
                status != ExitStatus::kOk) {
                return status;
            }
        }
        if (items.empty()) {
            continue;
        }
        if (const ExitStatus status = RunPhase(session, items, options.timeoutMs, out, differs);
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
        plan = SplitByMode(session, options.settings, options.onlyOffered);
        status = plan.status;
    }
    if (status == ExitStatus::kOk) {
        status = CheckValues(session, plan);
    }
    if (status == ExitStatus::kOk) {
        status = SendAndCompare(session, plan, options, out);
    }
    // The port's work is done either way; an output that did not arrive must not pass as
    // success.
    const ExitStatus written = CheckOutput(session, out);
    return status == ExitStatus::kOk ? written : status;
}

}  // namespace veltaro::cli
