#include <algorithm>

#include "command_plan.h"
#include "commands.h"
#include "set_report.h"
#include "steps.h"
#include "text_util.h"
#include "value_check.h"
#include "veltaro/console/apply_plan.h"
#include "veltaro/console/control_ids.h"
#include "veltaro/console/reported_settings.h"

namespace veltaro::cli {
namespace {

using console::PlanAction;

bool IsUartKey(SetKey key) {
    return key >= SetKey::kInterface;
}

console::ModemState StateOf(Session& session) {
    return {session.Host().Shown(), session.Console().State().deviceMode == 1,
            session.Watch().UartScreens() > 0, OfferedKeys(session.Host())};
}

InfoReport ReportOf(Session& session) {
    const console::ModemState state = StateOf(session);
    return {session.Console().State().modelCode,
            true,
            state.shown,
            state.deviceMode,
            state.uartRead,
            state.offered};
}

// One port's `set`: reads the modem, plans, sends what differs group by group, reads back.
// Every outcome lands in the report, which is printed whatever the run's end.
class SetRun {
  public:
    SetRun(Session& session, const Options& options) : m_session(session), m_options(options) {
        m_report.check = options.check;
        for (const SetItem& item : options.settings) {
            m_report.settings.push_back({item, SettingResult::kNotSent, {}, {}, {}});
        }
    }

    ExitStatus Run() {
        ExitStatus status = ConnectAndDetect(m_session, m_options.timeoutMs);
        if (status != ExitStatus::kOk) {
            return status;
        }
        m_report.model = m_session.Console().State().modelCode;
        status = ReadCurrentSettings(m_session, m_options.timeoutMs);
        if (status != ExitStatus::kOk) {
            return status;
        }
        m_report.before = ReportOf(m_session);
        // Taken before the field checks, which type the values into the edits.
        const console::ModemState before = StateOf(m_session);
        for (SettingOutcome& outcome : m_report.settings) {
            if (console::IsReported(outcome.requested.key, before.deviceMode, before.uartRead)) {
                outcome.before = console::ShownValue(outcome.requested.key, before.shown);
            }
        }
        std::vector<SetItem> requested = m_options.settings;
        if (status = Prepare(before, requested); status != ExitStatus::kOk) {
            return status;
        }
        const console::ApplyPlan plan = console::PlanApply(before, requested);
        Record(plan);
        if (m_options.check || !plan.Changes()) {
            return ExitStatus::kOk;
        }
        return SendPhases(plan);
    }

    const SetReport& Report() const { return m_report; }

  private:
    // Leaves out (or refuses) what the model does not offer, then runs every value through
    // the program's own field check before anything is sent; the items keep the texts as
    // the fields keep them.
    ExitStatus Prepare(const console::ModemState& before, std::vector<SetItem>& requested) {
        const console::ApplyPlan plan = console::PlanApply(before, requested);
        std::vector<SetKey> skipped;
        for (const console::PlannedSetting& planned : plan.settings) {
            if (planned.action != PlanAction::kNotOffered) {
                continue;
            }
            if (!m_options.onlyOffered) {
                return NotOffered(planned.requested.key, "; nothing is sent");
            }
            skipped.push_back(planned.requested.key);
        }
        Skip(skipped, requested);
        for (SetItem& item : requested) {
            const std::string refusal = CheckValue(m_session.Console(), m_session.Host(), item);
            if (!refusal.empty()) {
                m_session.Error(refusal + "; nothing is sent");
                return ExitStatus::kValueRefused;
            }
        }
        return ExitStatus::kOk;
    }

    void Record(const console::ApplyPlan& plan) {
        for (const console::PlannedSetting& planned : plan.settings) {
            SettingOutcome& outcome = m_report.Of(planned.requested.key);
            if (!planned.before.empty()) {
                outcome.before = planned.before;
            }
            if (planned.action == PlanAction::kUnchanged) {
                outcome.result = SettingResult::kUnchanged;
                outcome.after = planned.before;
            } else if (m_options.check) {
                outcome.result = SettingResult::kChanged;  // would change
            }
        }
    }

    // --only-offered: leaves the keys out and says once which.
    void Skip(const std::vector<SetKey>& keys, std::vector<SetItem>& items) {
        if (keys.empty()) {
            return;
        }
        std::string names;
        for (const SetKey key : keys) {
            m_report.Of(key).result = SettingResult::kSkipped;
            names += ' ';  // appended: g++ 12 -O3 warns falsely (-Wrestrict) on " " + string
            names += RowOf(key).name;
            std::erase_if(items, [key](const SetItem& item) { return item.key == key; });
        }
        m_session.Error("skipped, not offered by " + ModelLabel(m_session) + ":" + names);
    }

    ExitStatus NotOffered(SetKey key, std::string_view consequence) {
        std::string message =
            std::string(RowOf(key).name) + " is not offered by " + ModelLabel(m_session);
        if (key == SetKey::kDestinationId || key == SetKey::kPeriod) {
            message +=
                m_session.Console().State().deviceMode == 1 ? " in device mode" : " in PC mode";
        }
        m_session.Error(message + std::string(consequence));
        return ExitStatus::kKeyNotOffered;
    }

    ExitStatus SendPhases(const console::ApplyPlan& plan) {
        bool differs = false;
        for (std::vector<SetItem> items : plan.phases) {
            const bool afterMode =
                items.front().key != SetKey::kMode &&
                std::any_of(plan.settings.begin(), plan.settings.end(),
                            [&items](const console::PlannedSetting& p) {
                                return p.afterModeChange && p.requested.key == items.front().key;
                            });
            if (afterMode) {
                if (const ExitStatus status = Replan(items); status != ExitStatus::kOk) {
                    return status;
                }
            }
            if (items.empty()) {
                continue;
            }
            if (const ExitStatus status = RunPhase(items, differs); status != ExitStatus::kOk) {
                return status;
            }
        }
        m_report.after = ReportOf(m_session);
        return differs ? ExitStatus::kReadBackMismatch : ExitStatus::kOk;
    }

    // After the mode was sent and read back: the new mode's screen decides what it offers
    // and what already has its value.
    ExitStatus Replan(std::vector<SetItem>& items) {
        const console::ApplyPlan plan = console::PlanApply(StateOf(m_session), items);
        std::vector<SetKey> skipped;
        for (const console::PlannedSetting& planned : plan.settings) {
            if (planned.action == PlanAction::kNotOffered && !m_options.onlyOffered) {
                return NotOffered(planned.requested.key, "; the settings before it have been sent");
            }
            if (planned.action == PlanAction::kNotOffered) {
                skipped.push_back(planned.requested.key);
            }
        }
        Skip(skipped, items);
        Record(plan);
        items = plan.phases.empty() ? std::vector<SetItem>{} : plan.phases.front();
        return ExitStatus::kOk;
    }

    void Mark(const std::vector<SetItem>& items, SettingResult result) {
        for (const SetItem& item : items) {
            m_report.Of(item.key).result = result;
        }
    }

    ExitStatus RunStep(const CommandStep& step) {
        m_session.Progress().Phase("setting " + step.label);
        for (const SetItem& item : step.items) {
            ApplyItem(item, m_session.Host().Controls());
        }
        const int boxes = m_session.Host().MessageBoxes();
        const std::size_t logBefore = m_session.Host().LogText().size();
        (m_session.Console().*step.handler)();
        if (m_session.Host().MessageBoxes() != boxes) {
            return ExitStatus::kValueRefused;  // the console's prompt is printed; nothing sent
        }
        Mark(step.items, SettingResult::kInFlight);
        if (const ExitStatus status = AwaitAnswer(m_session, m_options.timeoutMs);
            status != ExitStatus::kOk) {
            return status;
        }
        const std::string& log = m_session.Host().LogText();
        const std::string refusal =
            RefusalLine(std::string_view(log).substr(std::min(logBefore, log.size())));
        if (!refusal.empty()) {
            Mark(step.items, SettingResult::kRefused);
            for (const SetItem& item : step.items) {
                m_report.Of(item.key).error = refusal;
            }
            m_session.Error("the modem refused " + step.label + ": \"" + refusal +
                            "\"; the settings after it are not sent");
            return ExitStatus::kModemRefused;
        }
        Mark(step.items, SettingResult::kChanged);  // sent completely; read back next
        return ExitStatus::kOk;
    }

    // Sends one group and reads it back; a difference is reported and counted, not fatal.
    ExitStatus RunPhase(const std::vector<SetItem>& items, bool& differs) {
        const bool uartAll = m_session.Host().IsEnabled(console::ctl::kUartAllSetting);
        for (const CommandStep& step : PlanCommands(items, uartAll)) {
            if (const ExitStatus status = RunStep(step); status != ExitStatus::kOk) {
                return status;
            }
        }
        if (const ExitStatus status = ReadBack(items); status != ExitStatus::kOk) {
            return status;
        }
        for (const SetItem& item : items) {
            SettingOutcome& outcome = m_report.Of(item.key);
            outcome.after = console::ShownValue(item.key, m_session.Host().Shown());
            if (const std::string mismatch = Mismatch(item, m_session.Host().Shown());
                !mismatch.empty()) {
                m_session.Error(mismatch);
                outcome.error = mismatch;
                differs = true;
            }
        }
        return ExitStatus::kOk;
    }

    // The information screen always (its values are emptied first, so that one it lacks is
    // noticed), the UART screen when a UART key was sent.
    ExitStatus ReadBack(const std::vector<SetItem>& items) {
        const bool uart = std::any_of(items.begin(), items.end(),
                                      [](const SetItem& item) { return IsUartKey(item.key); });
        ForgetShownSettings(m_session, uart);
        ExitStatus status = ReadInformation(m_session, m_options.timeoutMs);
        if (status == ExitStatus::kOk && uart) {
            status = ReadUartInformation(m_session, m_options.timeoutMs);
        }
        return status == ExitStatus::kOk ? CheckAllFound(m_session) : status;
    }

    Session& m_session;
    const Options& m_options;
    SetReport m_report;
};

}  // namespace

ExitStatus RunSet(Session& session, const Options& options, std::ostream& out) {
    SetRun run(session, options);
    const ExitStatus status = run.Run();
    session.Progress().Clear();
    if (options.json) {
        out << console::DumpJson(SetJson(run.Report()));
    } else if (run.Report().model) {
        out << FormatSetText(run.Report());  // before detection nothing could have been sent
    }
    // The port's work is done either way; an output that did not arrive must not pass as
    // success.
    const ExitStatus written = CheckOutput(session, out);
    return status == ExitStatus::kOk ? written : status;
}

}  // namespace veltaro::cli
