#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "veltaro/console/apply_plan.h"
#include "veltaro/console/apply_report.h"
#include "veltaro/console/apply_runner.h"
#include "veltaro/console/setting_value.h"

namespace veltaro::console {

class ModemConsole;

// What a front end shows while Save or Apply talks to the modem.
class ProfileView {
  public:
    virtual ~ProfileView() = default;
    // What is being sent or read, as a sentence, and the bar's position.
    virtual void ShowProgress(const std::string& text, int done, int total) = 0;
    // The screens asked for by ReadMissingScreens have been read (ok) or not.
    virtual void OnScreensRead(bool ok) = 0;
    // A run of Apply has ended (cancelled or not); the summary says what happened.
    virtual void OnApplied(const Report& summary) = 0;
};

// Save and Apply of the desktop programs, window-free so that both front ends share every
// rule and word. Save writes what the modem reported on its information screens since Open
// (reading a missing screen first, as its button does). Apply reads and checks a file as
// `set --from` does, plans it against the detected model and what the modem reported, and
// sends the changes through the runner, phase by phase as the plan orders them (the mode's
// phase is read back, then the settings of the new mode are planned again).
//
// Threads: user-interface thread only. The front end lends the timer and answers whether a
// control is enabled (what the model offers in its mode), and calls OnTimer.
class ProfileSession : private ApplyProgress {
  public:
    using ControlEnabled = std::function<bool(int controlId)>;

    ProfileSession(ModemConsole& console, StepTimer& timer, ProfileView& view,
                   ControlEnabled enabled);

    // A port is open, a model with information screens is detected, nothing is running.
    bool Available() const;
    bool Running() const { return m_runner.Running(); }

    // Reads the screens the model has that were not read since Open (true; the view hears
    // OnScreensRead), or returns false when none is missing.
    [[nodiscard]] bool ReadMissingScreens();

    // "GT-45_1A2B3.json", from the model code and the reported destination ID.
    std::string SuggestedFileName() const;
    // Writes the profile of what the modem reported; empty on success, else the message.
    [[nodiscard]] std::string Save(const std::filesystem::path& path) const;

    // Reads and checks a file; empty when it can be applied, else why not (nothing is sent).
    [[nodiscard]] std::string Load(const std::filesystem::path& path);
    // The plan of the loaded file against what the modem reported, as the confirmation.
    Report Confirmation();
    bool HasChanges() const { return m_plan.Changes(); }
    // Sends the planned changes; the view hears progress, then OnApplied.
    void StartApply();
    // Stops after the command in flight has finished its keys and been answered.
    void Cancel() { m_runner.Cancel(); }
    bool Cancelling() const { return m_runner.Cancelling(); }
    void OnTimer() { m_runner.OnTimer(); }
    // Where the last Apply's time went, over all its phases.
    const RunTimes& LastTimes() const { return m_times; }

  private:
    // The result of one requested setting, as the summary tells it.
    struct Sent {
        SetItem item;
        CommandOutcome outcome = CommandOutcome::kNotSent;
        std::string modemLine;
    };

    void OnCommandStarted(std::size_t index, std::size_t count) override;
    void OnReadingBack() override;
    void OnApplyFinished(const ApplyOutcome& outcome) override;
    ModemState CurrentState() const;
    bool StartPhase(const std::vector<SetItem>& items);
    void RecordPhase(const ApplyOutcome& outcome);
    bool StartNextPhase();
    Report Summary() const;

    ModemConsole& m_console;
    ProfileView& m_view;
    ControlEnabled m_enabled;
    ApplyRunner m_runner;
    bool m_applying = false;
    std::vector<SetItem> m_requested;
    ApplyPlan m_plan;                            // as confirmed
    std::vector<std::vector<SetItem>> m_todo;    // phases not yet sent
    std::vector<ApplyCommand> m_commands;        // of the phase being sent
    std::vector<std::vector<SetKey>> m_carried;  // the keys each of those commands carries
    std::vector<Sent> m_sent;
    std::vector<PlannedSetting> m_later;  // planned again after the mode and not sent
    std::string m_fileName;
    int m_doneCommands = 0;
    int m_totalCommands = 0;
    bool m_cancelled = false;
    bool m_readBack = false;
    RunTimes m_times;
};

}  // namespace veltaro::console
