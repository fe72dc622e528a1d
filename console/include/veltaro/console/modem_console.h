#pragma once

#include <cstddef>
#include <string>

#include "veltaro/console/console_state.h"
#include "veltaro/console/dialog_host.h"
#include "veltaro/console/last_report.h"
#include "veltaro/console/modem_link.h"
#include "veltaro/console/setting_command.h"
#include "veltaro/console/settings_form.h"

namespace veltaro::console {

// The whole behaviour of the modem configuration console, free of any window system. The
// main dialog forwards each event to one handler here; the handlers act on the dialog only
// through DialogHost and on the modem only through ModemLink.
//
// Threads: every handler runs on the user-interface thread, one at a time. Host and link
// must outlive this object.
//
// The settings form lives here as the dialog's members: a form read is
// m_form = host.ReadForm(), a form write is host.WriteForm(m_form). Since the host never runs
// the field checks itself, a check that sets an edit's text (a clearing, a capitalisation of
// the destination ID) runs the same check again, nested, right after SetEditText, just as the
// platform's change notification would; the host thus sees the same calls in the same order
// (the nested form read, selection, caret and form write included). Every pause goes
// through ModemLink::Pause, so a recording link sees it as data.
//
// Failures: nothing here reports an error; sends and writes are never checked.
class ModemConsole {
  public:
    ModemConsole(DialogHost& host, ModemLink& link);

    // Connect and disconnect.
    int OnComStep(int delta);  // up-down step; returns 0 (the step is not refused)
    void OnOpen();
    void OnClose();

    // The data-arrived message; returns 1.
    long OnDataArrived();

    // Setting commands, one per button.
    void OnChannelSetting();        // 1008
    void OnPowerSetting();          // 1010
    void OnInformation();           // 1016
    void OnModeSetting();           // 1012
    void OnDestinationIdSetting();  // 1014
    void OnPeriodSetting();         // 1018
    void OnUartModeSetting();       // 1033
    void OnBitSetting();            // 1035
    void OnUartInformation();       // 1034
    void OnAllSetting();            // 1046
    void OnUartAllSetting();        // 1052

    // Field checks, run on every change of the field's text by the user (not on form writes).
    void OnChannelChanged();        // 1020
    void OnPowerChanged();          // 1021
    void OnPeriodChanged();         // 1029
    void OnDestinationIdChanged();  // 1025

    // For a run of Apply, which walks a button's steps with timers instead of sleeps.
    // BeginCommand empties the receive buffer, as every button does first. SendCommandStep
    // sends step `step` of the command's table with `values` as the form and returns the
    // pause that follows it (0: none), or -1 when the table has no such step.
    void BeginCommand();
    [[nodiscard]] int SendCommandStep(SettingCommand command, std::size_t step,
                                      const SettingsForm& values);
    // Told of every finished screen from now on; null: no one. Not owned.
    void SetScreenListener(ScreenListener* listener) { m_screenListener = listener; }

    const ConsoleState& State() const { return m_state; }
    // The settings of the information screens read since Open; reset by Open and Close.
    const LastReport& Reported() const { return m_reported; }
    // A port is open and the model has been detected.
    bool Connected() const { return m_portOpen && m_state.awaitingModel == 0; }
    const SettingsForm& Form() const { return m_form; }

  private:
    struct Command;

    int ReadComNumber();
    void DrainQueue();
    bool DetectModel();
    void RunOnDetectAction();
    void HandleScreenEnd();
    void NotifyScreenFinished(const FinishedScreen& screen);
    void ParseInformationBlock(const std::string& block);
    void ParseUartBlock(const std::string& block);
    void RunCommand(const Command& command);
    void Prompt(const char* text);
    void ClearField(int editId);
    void RunNestedCheck(int editId);

    DialogHost& m_host;
    ModemLink& m_link;
    ConsoleState m_state;
    SettingsForm m_form;
    int m_nestedChecks = 0;  // depth of checks re-run by their own SetEditText
    ScreenListener* m_screenListener = nullptr;
    LastReport m_reported;
    bool m_portOpen = false;
};

}  // namespace veltaro::console
