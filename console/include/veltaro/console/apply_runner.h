#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "veltaro/console/setting_command.h"
#include "veltaro/console/settings_form.h"
#include "veltaro/console/step_timer.h"

namespace veltaro::console {

class ModemConsole;

// One button's command in a run of Apply, with the values it sends.
struct ApplyCommand {
    SettingCommand command = SettingCommand::kInformation;
    std::string label;    // what it sets, for the progress ("channel", "data bits, parity")
    SettingsForm values;  // the form the command reads its values from
};

enum class CommandOutcome {
    kNotSent,   // cancelled, or stopped after a command the modem did not answer
    kAccepted,  // every screen of its answer ended with "OK"
    kRefused,   // a screen of its answer ended with "!!"
    kNoAnswer,  // its answer did not come in time
};

struct CommandResult {
    CommandOutcome outcome = CommandOutcome::kNotSent;
    std::string modemLine;  // kRefused: the modem's own line
};

// Where a run's time went, for the benchmarks: the commands' keys from each first to each
// last, the pauses their tables ask for in between, and the waits for the modem's answers
// (read-back included). Steady clock, milliseconds.
struct RunTimes {
    double sendingMs = 0;
    double pausesMs = 0;
    double answeringMs = 0;
};

struct ApplyOutcome {
    std::vector<CommandResult> commands;  // one per command, in the order given
    bool cancelled = false;
    bool readBack = false;  // the information screens were read after the commands
    SettingsForm after;     // the console's form once the run ended
    RunTimes times;
};

// What the window shows of a run.
class ApplyProgress {
  public:
    virtual ~ApplyProgress() = default;
    // Command `index` of `count` starts sending.
    virtual void OnCommandStarted(std::size_t index, std::size_t count) = 0;
    // The commands are done; the information screens are being read.
    virtual void OnReadingBack() = 0;
    // The run has ended; the runner is idle again.
    virtual void OnApplyFinished(const ApplyOutcome& outcome) = 0;
};

// Walks the setting buttons' own step tables, one step per timer call, so that the window's
// thread stays free between keystrokes: each command sends the same keys, values and pauses
// as its button, then waits for the modem's answer (the screens it ends) before the next
// one starts, so that nothing is typed at a screen still printing. After the commands, the
// Information and (where the model has it) UART_Information commands read the settings back.
//
// Cancel stops once the command in flight has sent its last key and the modem answered it:
// the modem is never left at a prompt. Commands after it are not sent; the read-back runs.
//
// Threads: user-interface thread only. The console, timer and progress must outlive the
// runner; the window calls OnTimer when the timer fires.
class ApplyRunner : private ScreenListener {
  public:
    // How long a command's answer may take after its last key: the watcher's one-second
    // pause, an information screen at 9600 baud, and room to spare.
    static constexpr int kAnswerTimeoutMs = 3000;

    ApplyRunner(ModemConsole& console, StepTimer& timer, ApplyProgress& progress);
    ~ApplyRunner() override;

    ApplyRunner(const ApplyRunner&) = delete;
    ApplyRunner& operator=(const ApplyRunner&) = delete;

    // Starts a run; false (and nothing sent) while one is running.
    [[nodiscard]] bool Start(std::vector<ApplyCommand> commands);
    // Only reads the information screens asked for (UART only where the model has it), as
    // their buttons do; false when there is nothing to read or a run is going on.
    [[nodiscard]] bool StartReading(bool information, bool uart);
    void Cancel();
    void OnTimer();

    bool Running() const { return m_phase != Phase::kIdle; }
    bool Cancelling() const { return m_outcome.cancelled; }

  private:
    enum class Phase { kIdle, kSending, kAwaitingAnswer, kAnswered, kNextCommand };

    bool Run(std::vector<ApplyCommand> commands, bool information, bool uart);
    void OnScreenFinished(const FinishedScreen& screen) override;
    void StartCommand();
    void SendSteps();
    void EndCommand(CommandOutcome outcome);
    bool AtReadBack() const { return m_index >= m_applyCount; }
    void Finish();

    ModemConsole& m_console;
    StepTimer& m_timer;
    ApplyProgress& m_progress;
    Phase m_phase = Phase::kIdle;
    std::vector<ApplyCommand> m_commands;  // the file's commands, then the read-back
    std::size_t m_applyCount = 0;          // commands before the read-back
    std::size_t m_index = 0;
    std::size_t m_step = 0;
    int m_answersSeen = 0;
    std::string m_refusal;
    bool m_refused = false;
    double m_commandStartMs = 0;  // the command's first key, or the start of its answer wait
    ApplyOutcome m_outcome;
};

}  // namespace veltaro::console
