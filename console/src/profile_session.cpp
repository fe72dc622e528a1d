#include "veltaro/console/profile_session.h"

#include <algorithm>
#include <fstream>
#include <utility>

#include "apply_commands.h"
#include "veltaro/console/field_values.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/profile.h"

namespace veltaro::console {
namespace {

bool FileNameChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
           c == '_';
}

std::string FileNamePart(std::string_view text) {
    std::string out;
    std::copy_if(text.begin(), text.end(), std::back_inserter(out), FileNameChar);
    return out;
}

// A path for messages, whatever the platform's own encoding of it is.
std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

}  // namespace

ProfileSession::ProfileSession(ModemConsole& console, StepTimer& timer, ProfileView& view,
                               ControlEnabled enabled)
    : m_console(console),
      m_view(view),
      m_enabled(std::move(enabled)),
      m_runner(console, timer, *this) {}

bool ProfileSession::Available() const {
    return m_console.Connected() && HasInformationScreen(m_console.State().modelCode) &&
           !m_runner.Running();
}

bool ProfileSession::ReadMissingScreens() {
    const LastReport& reported = m_console.Reported();
    m_applying = false;
    if (!m_runner.StartReading(!reported.information, !reported.uart)) {
        return false;
    }
    return true;
}

ModemState ProfileSession::CurrentState() const {
    const LastReport& reported = m_console.Reported();
    return {reported.form, reported.deviceMode == 1, reported.uart, OfferedKeys(m_enabled)};
}

std::string ProfileSession::SuggestedFileName() const {
    const LastReport& reported = m_console.Reported();
    std::string name = FileNamePart(m_console.State().modelCode);
    if (name.empty()) {
        name = "modem";
    }
    const std::string id = FileNamePart(reported.form.destinationId);
    if (reported.information && reported.deviceMode == 1 && !id.empty()) {
        name += "_" + id;
    }
    return name + ".json";
}

std::string ProfileSession::Save(const std::filesystem::path& path) const {
    const LastReport& reported = m_console.Reported();
    ModemReport report;
    report.modelCode = m_console.State().modelCode;
    report.settingsRead = reported.information;
    report.shown = reported.form;
    report.deviceMode = reported.deviceMode == 1;
    report.uartRead = reported.uart;
    report.settable = OfferedKeys(m_enabled);
    // Written beside it first, so that a failed write never leaves half a file in its place.
    std::filesystem::path part = path;
    part += ".part";
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out << WriteProfile(report);
    out.close();
    std::error_code error;
    if (out) {
        std::filesystem::rename(part, path, error);
    }
    if (!out || error) {
        std::filesystem::remove(part, error);
        return Utf8Of(path) + ": cannot be written; the settings were not saved";
    }
    return {};
}

std::string ProfileSession::Load(const std::filesystem::path& path) {
    m_fileName = Utf8Of(path.filename());
    ProfileRead read = LoadProfile(path);
    m_requested.clear();
    if (!read.Ok()) {
        return read.error;
    }
    const std::string refused = CheckFieldValues(m_console.State().modelCode, read.items);
    if (!refused.empty()) {
        return Utf8Of(path) + ": " + refused + "; nothing is sent";
    }
    m_requested = std::move(read.items);
    return {};
}

void ProfileSession::StartApply() {
    if (!m_plan.Changes()) {
        return;
    }
    m_applying = true;
    m_todo = m_plan.phases;
    m_sent.clear();
    m_later.clear();
    m_cancelled = false;
    m_readBack = false;
    m_doneCommands = 0;
    m_totalCommands = 0;
    m_times = {};
    for (const std::vector<SetItem>& phase : m_todo) {
        m_totalCommands += static_cast<int>(detail::CommandsFor(phase, {}).size());
    }
    std::vector<SetItem> first = std::move(m_todo.front());
    m_todo.erase(m_todo.begin());
    if (!StartPhase(first)) {
        m_view.OnApplied(Summary());
    }
}

bool ProfileSession::StartPhase(const std::vector<SetItem>& items) {
    std::vector<detail::CarriedCommand> carried =
        detail::CommandsFor(items, m_console.Reported().form);
    m_commands.clear();
    m_carried.clear();
    for (detail::CarriedCommand& command : carried) {
        m_commands.push_back(std::move(command.command));
        m_carried.push_back(std::move(command.keys));
    }
    for (const SetItem& item : items) {
        m_sent.push_back({item, CommandOutcome::kNotSent, {}});
    }
    return m_runner.Start(m_commands);
}

void ProfileSession::OnCommandStarted(std::size_t index, std::size_t count) {
    if (!m_applying || index >= m_commands.size()) {
        return;
    }
    const int number = m_doneCommands + static_cast<int>(index) + 1;
    const int left = std::max(0, m_totalCommands - number);
    (void)count;
    m_view.ShowProgress("Setting " + m_commands[index].label + " (" + std::to_string(number) +
                            " of " + std::to_string(m_totalCommands) + ", " + std::to_string(left) +
                            " left after it)",
                        number - 1, m_totalCommands);
}

void ProfileSession::OnReadingBack() {
    if (m_applying) {
        m_view.ShowProgress("Reading the settings back",
                            m_doneCommands + static_cast<int>(m_commands.size()), m_totalCommands);
    }
}

void ProfileSession::OnApplyFinished(const ApplyOutcome& outcome) {
    if (!m_applying) {
        m_view.OnScreensRead(outcome.readBack && !outcome.cancelled);
        return;
    }
    RecordPhase(outcome);
    const bool allAccepted =
        std::all_of(outcome.commands.begin(), outcome.commands.end(),
                    [](const CommandResult& r) { return r.outcome == CommandOutcome::kAccepted; });
    // A refusal, a silent modem or a Cancel ends the run after its phase.
    if (!m_cancelled && allAccepted && m_readBack && StartNextPhase()) {
        return;
    }
    m_applying = false;
    m_view.OnApplied(Summary());
}

// Each setting of the phase takes the result of the command that carried it.
void ProfileSession::RecordPhase(const ApplyOutcome& outcome) {
    for (std::size_t i = 0; i < outcome.commands.size() && i < m_carried.size(); ++i) {
        for (const SetKey key : m_carried[i]) {
            for (Sent& sent : m_sent) {
                if (sent.item.key == key) {
                    sent.outcome = outcome.commands[i].outcome;
                    sent.modemLine = outcome.commands[i].modemLine;
                }
            }
        }
    }
    m_doneCommands += static_cast<int>(m_commands.size());
    m_times.sendingMs += outcome.times.sendingMs;
    m_times.pausesMs += outcome.times.pausesMs;
    m_times.answeringMs += outcome.times.answeringMs;
    m_cancelled = outcome.cancelled;
    m_readBack = outcome.readBack;
}

// The mode has changed: the settings still to send are planned again on the new mode's
// screen, which may find some of them already equal. False when nothing is left to send.
bool ProfileSession::StartNextPhase() {
    if (m_todo.empty()) {
        return false;
    }
    std::vector<SetItem> later;
    for (const std::vector<SetItem>& phase : m_todo) {
        later.insert(later.end(), phase.begin(), phase.end());
    }
    const ApplyPlan again = PlanApply(CurrentState(), later);
    for (const PlannedSetting& planned : again.settings) {
        if (planned.action != PlanAction::kChange) {
            m_later.push_back(planned);
        }
    }
    m_todo = again.phases;
    if (m_todo.empty()) {
        return false;
    }
    std::vector<SetItem> next = std::move(m_todo.front());
    m_todo.erase(m_todo.begin());
    return StartPhase(next);
}

}  // namespace veltaro::console
