// The words of Apply's confirmation and summary, shared by both front ends.
#include <algorithm>

#include "veltaro/console/modem_console.h"
#include "veltaro/console/profile_session.h"
#include "veltaro/console/reported_settings.h"

namespace veltaro::console {
namespace {

constexpr const char* kArrow = " \xE2\x86\x92 ";  // U+2192, UTF-8

std::string Name(SetKey key) {
    return std::string(RowOf(key).name);
}

std::string OrNotShown(const std::string& value) {
    return value.empty() ? "(not shown)" : value;
}

void AddSection(Report& report, std::string heading, std::vector<std::string> rows) {
    if (!rows.empty()) {
        report.sections.push_back({std::move(heading), std::move(rows)});
    }
}

}  // namespace

Report ProfileSession::Confirmation() {
    m_plan = PlanApply(CurrentState(), m_requested);
    const std::string& model = m_console.State().modelCode;
    std::vector<std::string> change, equal, skipped;
    for (const PlannedSetting& planned : m_plan.settings) {
        const std::string name = Name(planned.requested.key);
        switch (planned.action) {
            case PlanAction::kChange:
                change.push_back(name + ": " + OrNotShown(planned.before) + kArrow +
                                 RequestedValue(planned.requested) +
                                 (planned.afterModeChange ? "  (after the mode change)" : ""));
                break;
            case PlanAction::kUnchanged:
                equal.push_back(name + ": " + planned.before);
                break;
            case PlanAction::kNotOffered:
                skipped.push_back(name);
                break;
        }
    }
    Report report;
    report.title = "Apply settings from file";
    report.intro = m_plan.Changes()
                       ? m_fileName + " for the " + model + ": OK sends the settings that change."
                       : m_fileName + ": the " + model +
                             " already has every setting of this file that it offers; nothing "
                             "is sent.";
    AddSection(report, "Will change (current" + std::string(kArrow) + "new)", std::move(change));
    AddSection(report, "Already equal (not sent)", std::move(equal));
    AddSection(report, "Not offered by the " + model + " (skipped)", std::move(skipped));
    return report;
}

Report ProfileSession::Summary() const {
    const LastReport& after = m_console.Reported();
    const std::string& model = m_console.State().modelCode;
    std::vector<std::string> changed, equal, refused, differ, notSent, skipped;
    for (const PlannedSetting& planned : m_plan.settings) {
        const std::string name = Name(planned.requested.key);
        if (planned.action == PlanAction::kUnchanged) {
            equal.push_back(name + ": " + planned.before);
            continue;
        }
        if (planned.action == PlanAction::kNotOffered) {
            skipped.push_back(name);
            continue;
        }
        const auto later = std::find_if(
            m_later.begin(), m_later.end(),
            [&](const PlannedSetting& p) { return p.requested.key == planned.requested.key; });
        if (later != m_later.end()) {
            (later->action == PlanAction::kUnchanged ? equal : skipped)
                .push_back(name +
                           (later->action == PlanAction::kUnchanged ? ": " + later->before : ""));
            continue;
        }
        const auto sent = std::find_if(m_sent.begin(), m_sent.end(), [&](const Sent& s) {
            return s.item.key == planned.requested.key;
        });
        const CommandOutcome outcome =
            sent != m_sent.end() ? sent->outcome : CommandOutcome::kNotSent;
        const SetItem& item = planned.requested;
        const std::string now = ShownValue(item.key, after.form);
        const bool shown = IsReported(item.key, after.deviceMode == 1, after.uart);
        switch (outcome) {
            case CommandOutcome::kRefused:
                refused.push_back(name + ": \"" + sent->modemLine + "\"");
                break;
            case CommandOutcome::kNoAnswer:
                notSent.push_back(name + " (the modem did not answer)");
                break;
            case CommandOutcome::kNotSent:
                notSent.push_back(name);
                break;
            case CommandOutcome::kAccepted:
                if (m_readBack && shown && SameAsShown(item, after.form)) {
                    changed.push_back(name + ": " + OrNotShown(planned.before) + kArrow + now);
                } else {
                    differ.push_back(name + ": sent " + RequestedValue(item) +
                                     ", the modem shows " +
                                     (m_readBack && shown ? OrNotShown(now) : "nothing"));
                }
                break;
        }
    }
    Report report;
    report.title = "Settings applied";
    report.intro = m_cancelled ? "Cancelled: the command in flight finished; the rest was not sent."
                               : m_fileName + " applied to the " + model + ", then read back.";
    AddSection(report, "Changed", std::move(changed));
    AddSection(report, "Unchanged (already equal, not sent)", std::move(equal));
    AddSection(report, "Refused by the modem", std::move(refused));
    AddSection(report, "Different on read-back", std::move(differ));
    AddSection(report, "Not sent", std::move(notSent));
    AddSection(report, "Not offered by the " + model + " (skipped)", std::move(skipped));
    return report;
}

}  // namespace veltaro::console
