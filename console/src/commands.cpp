// The setting commands: each a table of steps, run after an optional form read, the emptying
// of the receive buffer and an optional empty-field prompt.
#include <array>

#include "command_steps.h"
#include "model_rules.h"
#include "veltaro/console/console_texts.h"
#include "veltaro/console/dialog_host.h"
#include "veltaro/console/model_table.h"
#include "veltaro/console/modem_console.h"

namespace veltaro::console {

namespace {

using detail::Esc;
using detail::Key;
using detail::LineEnd;
using detail::Number;
using detail::Only;
using detail::Send;
using detail::Step;
using detail::Text;
using F = SettingsForm;

constexpr const char* kChannelPrompt = "Input Channel Number";
constexpr const char* kPowerPrompt = "Input Tx Power Level Number";
constexpr const char* kDestinationPrompt = "Input Destination ID";
constexpr const char* kPeriodPrompt = "Input H/M/S Time";

constexpr Step kChannelSteps[] = {Key("2", 500), Text(&F::channel, 0), LineEnd(0)};
constexpr Step kPowerSteps[] = {Key("4", 500), Text(&F::power, 0), LineEnd(0)};
constexpr Step kInformationSteps[] = {Only(Send::kInformationKey, 0)};
constexpr Step kModeSteps[] = {Key("6", 500), Number(&F::mode, 1, 0), LineEnd(0)};
constexpr Step kDestinationSteps[] = {Key("8", 500), Text(&F::destinationId, 0), LineEnd(0)};
// The prefix step pauses even for the families that send nothing in it.
constexpr Step kPeriodSteps[] = {Only(Send::kPeriodPrefix, 500), Only(Send::kUnitLetter, 500),
                                 Text(&F::period, 0), LineEnd(0)};
constexpr Step kUartModeSteps[] = {Key("A", 1000), Key("1", 500), Number(&F::interface, 1, 0),
                                   LineEnd(500), Esc(0)};
constexpr Step kBitSteps[] = {Key("A", 500),
                              Key("2", 500),
                              Number(&F::dataBits, 5, 500),
                              Number(&F::stopBits, 1, 500),
                              Number(&F::parity, 1, 500),
                              Esc(0)};
constexpr Step kUartInformationSteps[] = {Key("A", 500), Key("3", 500), Esc(0)};
constexpr Step kUartAllSteps[] = {Key("A", 1000),
                                  Key("1", 500),
                                  Number(&F::interface, 1, 0),
                                  LineEnd(500),
                                  Key("2", 500),
                                  Number(&F::dataBits, 5, 500),
                                  Number(&F::stopBits, 1, 500),
                                  Number(&F::parity, 1, 500),
                                  Esc(0)};

// All Setting: the common part, then one of its endings.
constexpr Step kAllCommonSteps[] = {Key("2", 500), Text(&F::channel, 0), LineEnd(500),
                                    Key("4", 500), Text(&F::power, 0),   LineEnd(500)};
constexpr Step kAllModeChangeSteps[] = {Key("6", 500), Number(&F::mode, 1, 0), LineEnd(400)};
constexpr Step kAllDestinationSteps[] = {Key("8", 500), Text(&F::destinationId, 0), LineEnd(500)};

enum class When { kAlways, kDeviceMode, kDeviceModeAndFamilyNeedsPeriod };

struct RequiredField {
    std::string F::*field;
    When when;
    const char* prompt;
};

// Tested in this order; the first empty field prompts and ends the command. The mode is the
// one the modem last reported, not the radio the user may have changed since.
constexpr RequiredField kAllSettingChecks[] = {
    {&F::channel, When::kAlways, kChannelPrompt},
    {&F::power, When::kAlways, kPowerPrompt},
    {&F::destinationId, When::kDeviceMode, kDestinationPrompt},
    {&F::period, When::kDeviceModeAndFamilyNeedsPeriod, kPeriodPrompt},
};

bool Applies(When when, std::int32_t deviceMode, const detail::FamilyRules& rules) {
    switch (when) {
        case When::kAlways:
            return true;
        case When::kDeviceMode:
            return deviceMode == 1;
        case When::kDeviceModeAndFamilyNeedsPeriod:
            return deviceMode == 1 && rules.allSettingNeedsPeriod;
    }
    return false;
}

struct CommandTable {
    SettingCommand command;
    detail::Steps steps;
    int answers;
};

// The tables a run of Apply walks, and the screens the modem ends in answer to each: one
// per value typed (UART All Setting types the interface and then the frame).
constexpr CommandTable kCommandTables[] = {
    {SettingCommand::kChannel, kChannelSteps, 1},
    {SettingCommand::kPower, kPowerSteps, 1},
    {SettingCommand::kMode, kModeSteps, 1},
    {SettingCommand::kDestinationId, kDestinationSteps, 1},
    {SettingCommand::kPeriod, kPeriodSteps, 1},
    {SettingCommand::kUartMode, kUartModeSteps, 1},
    {SettingCommand::kBit, kBitSteps, 1},
    {SettingCommand::kUartAll, kUartAllSteps, 2},
    {SettingCommand::kInformation, kInformationSteps, 1},
    {SettingCommand::kUartInformation, kUartInformationSteps, 1},
};

const CommandTable& TableOf(SettingCommand command) {
    for (const CommandTable& table : kCommandTables) {
        if (table.command == command) {
            return table;
        }
    }
    return kCommandTables[0];  // unreachable: every command has its row
}

}  // namespace

int AnswersOf(SettingCommand command) {
    return TableOf(command).answers;
}

void ModemConsole::BeginCommand() {
    m_state.receiveBuffer.clear();
}

int ModemConsole::SendCommandStep(SettingCommand command, std::size_t step,
                                  const SettingsForm& values) {
    const detail::Steps steps = TableOf(command).steps;
    if (step >= steps.size()) {
        return -1;
    }
    detail::SendStep(steps[step], {m_link, m_state, values});
    return steps[step].pauseAfterMs;
}

struct ModemConsole::Command {
    bool readForm;
    std::string F::*required;  // nullptr: no empty-field check
    const char* prompt;
    detail::Steps steps;
};

void ModemConsole::RunCommand(const Command& command) {
    if (command.readForm) {
        m_form = m_host.ReadForm();
    }
    m_state.receiveBuffer.clear();  // the answer collects into an empty buffer
    if (command.required != nullptr && (m_form.*command.required).empty()) {
        Prompt(command.prompt);
        return;
    }
    detail::RunSteps(command.steps, {m_link, m_state, m_form});
}

void ModemConsole::Prompt(const char* text) {
    m_host.ShowMessageBox(text, std::string(kPromptCaption), DialogHost::kIconExclamation);
}

void ModemConsole::OnChannelSetting() {
    RunCommand({true, &F::channel, kChannelPrompt, kChannelSteps});
}
void ModemConsole::OnPowerSetting() {
    RunCommand({true, &F::power, kPowerPrompt, kPowerSteps});
}
void ModemConsole::OnInformation() {
    RunCommand({false, nullptr, nullptr, kInformationSteps});
}
void ModemConsole::OnModeSetting() {
    RunCommand({true, nullptr, nullptr, kModeSteps});
}
void ModemConsole::OnDestinationIdSetting() {
    RunCommand({true, &F::destinationId, kDestinationPrompt, kDestinationSteps});
}
void ModemConsole::OnPeriodSetting() {
    RunCommand({true, &F::period, kPeriodPrompt, kPeriodSteps});
}
void ModemConsole::OnUartModeSetting() {
    RunCommand({true, nullptr, nullptr, kUartModeSteps});
}
void ModemConsole::OnBitSetting() {
    RunCommand({true, nullptr, nullptr, kBitSteps});
}
void ModemConsole::OnUartInformation() {
    RunCommand({false, nullptr, nullptr, kUartInformationSteps});
}
void ModemConsole::OnUartAllSetting() {
    RunCommand({true, nullptr, nullptr, kUartAllSteps});
}

void ModemConsole::OnAllSetting() {
    m_form = m_host.ReadForm();
    m_state.receiveBuffer.clear();
    const detail::FamilyRules& rules = detail::RulesOf(FamilyOf(m_state.modelCode));
    for (const RequiredField& check : kAllSettingChecks) {
        if (Applies(check.when, m_state.deviceMode, rules) && (m_form.*check.field).empty()) {
            Prompt(check.prompt);
            return;
        }
    }
    const detail::StepTarget target{m_link, m_state, m_form};
    detail::RunSteps(kAllCommonSteps, target);
    if (m_state.deviceMode != m_form.mode) {
        // The user switched the mode since the last screen: change it and send nothing else.
        detail::RunSteps(kAllModeChangeSteps, target);
    } else if (m_state.deviceMode == 1) {
        detail::RunSteps(kAllDestinationSteps, target);
        if (rules.allSettingSendsPeriod) {
            detail::RunSteps(kPeriodSteps, target);
        }
    }
}

}  // namespace veltaro::console
