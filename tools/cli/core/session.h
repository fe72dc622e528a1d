#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "brenlow/serial_conn.h"
#include "event_pump.h"
#include "exit_status.h"
#include "progress.h"
#include "screen_watch.h"
#include "stop_signal.h"
#include "terminal_host.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/serial_modem_link.h"

namespace veltaro::cli {

enum class WaitOutcome { kDone, kTimedOut, kHungUp, kInterrupted };

// The exit status for a failed OpenPort.
ExitStatus StatusOfOpenError(CSerialConn::OpenError error);

// One connection of the terminal program: the serial connection, the console logic with
// the terminal host in the dialog's place, and the loop that hands the watcher's
// data-arrived messages to the console's handler on the main thread, as the dialog's message
// loop does.
//
// Threads: one thread, the connection's own (the watcher reaches it only through the pump
// and the message collector); several sessions may run side by side on their own threads. Failure:
// the destructor closes the port, so every exit path releases it.
class Session {
  public:
    // Every wait ends as interrupted once `stop` was stopped; it must outlive the session.
    Session(std::string comNumber, std::ostream& err, ProgressPrinter& progress, StopSignal& stop);
    ~Session();

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool Ready() const { return m_pump != nullptr && m_pump->Ready(); }

    // The console's Open. On failure prints why (the link's reason included) and returns
    // the status for it.
    [[nodiscard]] ExitStatus Open();
    // Hands messages to the console until done() holds, timeoutMs passes, the modem hangs
    // up or the run is stopped (SIGINT, SIGTERM, SIGHUP).
    [[nodiscard]] WaitOutcome WaitFor(const std::function<bool()>& done, int timeoutMs);
    // Hands messages to the console until none came for quietMs (or timeoutMs passed, which
    // also counts as done): the modem has finished answering.
    [[nodiscard]] WaitOutcome WaitQuiet(int quietMs, int timeoutMs);
    // Closes the port if it is open.
    void Close();

    // Prints "veltaro-cli: message" on the error stream, below the progress line; control
    // bytes and bytes from 0x80 in the message are shown as \xNN.
    void Error(std::string_view message);
    // The status for a wait that did not end in kDone, with its message printed; kOk for
    // kDone. timedOut says what a timeout means here.
    ExitStatus StatusOf(WaitOutcome outcome, ExitStatus timedOutStatus,
                        std::string_view timedOutMessage);

    console::ModemConsole& Console() { return m_console; }
    TerminalHost& Host() { return m_host; }
    const ScreenWatch& Watch() const { return m_watch; }
    ProgressPrinter& Progress() { return m_progress; }
    // "COM3 (COM3)" or "COM7 (\\.\COM7)": the number and the port name the console formed.
    std::string PortLabel() const;

  private:
    std::optional<WaitOutcome> PumpOnce(int timeoutMs);
    void HandleMessages(std::uint64_t count);
    void HandleOne();
    void ReportLinkMessages();

    std::string m_comNumber;
    std::ostream& m_err;
    ProgressPrinter& m_progress;
    std::unique_ptr<EventPump> m_pump;
    MessageCollector m_messages;
    CSerialConn m_conn;
    console::SerialModemLink m_serial;
    ProgressLink m_link;
    TerminalHost m_host;
    console::ModemConsole m_console;
    ScreenWatch m_watch;
    std::uint64_t m_handled = 0;  // data-arrived calls so far
};

}  // namespace veltaro::cli
