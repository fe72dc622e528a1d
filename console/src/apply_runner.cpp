#include "veltaro/console/apply_runner.h"

#include <chrono>
#include <utility>

#include "veltaro/console/modem_console.h"

namespace veltaro::console {
namespace {

double NowMs() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

ApplyRunner::ApplyRunner(ModemConsole& console, StepTimer& timer, ApplyProgress& progress)
    : m_console(console), m_timer(timer), m_progress(progress) {}

ApplyRunner::~ApplyRunner() {
    if (Running()) {
        m_timer.StopStepTimer();
        m_console.SetScreenListener(nullptr);
    }
}

bool ApplyRunner::Start(std::vector<ApplyCommand> commands) {
    return Run(std::move(commands), true, HasUartScreen(m_console.State().modelCode));
}

bool ApplyRunner::StartReading(bool information, bool uart) {
    return Run({}, information, uart && HasUartScreen(m_console.State().modelCode));
}

bool ApplyRunner::Run(std::vector<ApplyCommand> commands, bool information, bool uart) {
    if (Running() || (commands.empty() && !information && !uart)) {
        return false;
    }
    m_applyCount = commands.size();
    m_commands = std::move(commands);
    const SettingsForm& now = m_console.Form();
    if (information) {
        m_commands.push_back({SettingCommand::kInformation, "", now});
    }
    if (uart) {
        m_commands.push_back({SettingCommand::kUartInformation, "", now});
    }
    m_outcome = {};
    m_outcome.commands.resize(m_applyCount);
    m_index = 0;
    m_console.SetScreenListener(this);
    StartCommand();
    return true;
}

void ApplyRunner::Cancel() {
    if (Running()) {
        m_outcome.cancelled = true;
    }
}

void ApplyRunner::StartCommand() {
    if (m_index == m_applyCount) {
        m_progress.OnReadingBack();
    } else if (!AtReadBack()) {
        m_progress.OnCommandStarted(m_index, m_applyCount);
    }
    m_step = 0;
    m_answersSeen = 0;
    m_refused = false;
    m_refusal.clear();
    m_console.BeginCommand();
    m_phase = Phase::kSending;
    m_commandStartMs = NowMs();
    SendSteps();
}

// Sends steps up to the next pause; the timer brings the rest.
void ApplyRunner::SendSteps() {
    const ApplyCommand& current = m_commands[m_index];
    while (true) {
        const int pause = m_console.SendCommandStep(current.command, m_step, current.values);
        if (pause < 0) {
            break;  // the last key is out
        }
        ++m_step;
        if (pause > 0) {
            m_outcome.times.pausesMs += pause;
            m_timer.StartStepTimer(pause);
            return;
        }
    }
    const double lastKeyMs = NowMs();
    m_outcome.times.sendingMs += lastKeyMs - m_commandStartMs;
    m_commandStartMs = lastKeyMs;
    if (m_answersSeen >= AnswersOf(current.command)) {
        EndCommand(m_refused ? CommandOutcome::kRefused : CommandOutcome::kAccepted);
        return;
    }
    m_phase = Phase::kAwaitingAnswer;
    m_timer.StartStepTimer(kAnswerTimeoutMs);
}

void ApplyRunner::OnTimer() {
    switch (m_phase) {
        case Phase::kSending:
            SendSteps();
            break;
        case Phase::kAwaitingAnswer:
            EndCommand(CommandOutcome::kNoAnswer);
            break;
        case Phase::kAnswered:
            EndCommand(m_refused ? CommandOutcome::kRefused : CommandOutcome::kAccepted);
            break;
        case Phase::kNextCommand:
            StartCommand();
            break;
        case Phase::kIdle:
            break;
    }
}

void ApplyRunner::OnScreenFinished(const FinishedScreen& screen) {
    if (m_phase != Phase::kSending && m_phase != Phase::kAwaitingAnswer) {
        return;  // not an answer to a command of this run
    }
    ++m_answersSeen;
    if (screen.refused && !m_refused) {
        m_refused = true;
        m_refusal = RefusalLineOf(screen.text);
    }
    if (m_phase == Phase::kAwaitingAnswer &&
        m_answersSeen >= AnswersOf(m_commands[m_index].command)) {
        // Go on from the timer, not from inside the console's data-arrived handler.
        m_phase = Phase::kAnswered;
        m_timer.StartStepTimer(0);
    }
}

// Records the command's result and picks what comes next: the next command (from the
// timer), the read-back, or the end.
void ApplyRunner::EndCommand(CommandOutcome outcome) {
    m_outcome.times.answeringMs += NowMs() - m_commandStartMs;
    if (!AtReadBack()) {
        m_outcome.commands[m_index] = {outcome,
                                       outcome == CommandOutcome::kRefused ? m_refusal : ""};
    } else if (outcome != CommandOutcome::kAccepted) {
        m_outcome.readBack = false;
        Finish();
        return;
    }
    if (outcome == CommandOutcome::kNoAnswer && !AtReadBack()) {
        Finish();  // nothing more is typed at a modem that stopped answering
        return;
    }
    ++m_index;
    if (m_outcome.cancelled && m_index < m_applyCount) {
        m_index = m_applyCount;  // the rest is not sent; the read-back still runs
    }
    if (m_index >= m_commands.size()) {
        m_outcome.readBack = true;
        Finish();
        return;
    }
    m_phase = Phase::kNextCommand;
    m_timer.StartStepTimer(0);
}

void ApplyRunner::Finish() {
    m_timer.StopStepTimer();
    m_console.SetScreenListener(nullptr);
    m_phase = Phase::kIdle;
    m_outcome.after = m_console.Form();
    ApplyOutcome outcome = std::move(m_outcome);
    m_outcome = {};
    m_progress.OnApplyFinished(outcome);
}

}  // namespace veltaro::console
