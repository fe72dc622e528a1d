#include "session.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "text_util.h"

namespace veltaro::cli {
namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks at the connection's hang-up flag, which wakes nothing.
constexpr int kPollSliceMs = 100;
// A message handles one finished screen; more may wait in the receive buffer. They are
// handled at once rather than at the next burst, with a bound in case the console loops.
constexpr int kMaxScreensPerMessage = 64;

int MillisUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, kPollSliceMs));
}

Clock::time_point DeadlineAfter(int timeoutMs) {
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

std::string_view OpenErrorText(CSerialConn::OpenError error) {
    using E = CSerialConn::OpenError;
    switch (error) {
        case E::kBadName:
        case E::kNotFound:
            return "no device answers to that port name";
        case E::kInUse:
            return "the device is in use by another program";
        case E::kPermissionDenied:
            return "permission denied on the device";
        case E::kNotASerialPort:
            return "the device is not a serial port";
        case E::kLineSettingsRefused:
            return "the device refused 9600 baud, 8 data bits, no parity, 1 stop bit";
        default:
            return "the port could not be opened";
    }
}

}  // namespace

ExitStatus StatusOfOpenError(CSerialConn::OpenError error) {
    using E = CSerialConn::OpenError;
    switch (error) {
        case E::kBadName:
        case E::kNotFound:
            return ExitStatus::kPortNotFound;
        case E::kInUse:
            return ExitStatus::kPortInUse;
        case E::kPermissionDenied:
            return ExitStatus::kPermissionDenied;
        case E::kNotASerialPort:
        case E::kLineSettingsRefused:
        case E::kSystem:
            return ExitStatus::kPortUnusable;
        default:
            return ExitStatus::kFailure;
    }
}

Session::Session(std::string comNumber, std::ostream& err, ProgressPrinter& progress,
                 StopSignal& stop)
    : m_comNumber(comNumber),
      m_err(err),
      m_progress(progress),
      m_pump(stop.MakePump()),
      m_serial(m_conn),
      m_link(m_serial, progress),
      m_host(std::move(comNumber), err),
      m_console(m_host, m_link) {
    m_conn.m_hNotifyWnd = m_pump.get();
    m_conn.m_pMessageBoxHook = &m_messages;
    m_host.SetFormWriteObserver([this] { m_watch.FormWritten(m_console.State().receiveBuffer); });
    // The detection sets the model code as the caption, right before the on-detect keys.
    m_host.SetCaptionObserver([this](const std::string& caption) {
        m_progress.Phase("model " + Printable(caption) + " detected");
    });
}

Session::~Session() {
    Close();
}

ExitStatus Session::Open() {
    m_console.OnOpen();
    if (m_link.LastOpenResult() == 1) {
        return ExitStatus::kOk;
    }
    const CSerialConn::OpenError error = m_conn.LastOpenError();
    std::string reason(OpenErrorText(error));
    for (const MessageCollector::Message& message : m_messages.Take()) {
        reason = message.text + (message.detail.empty() ? "" : ": " + message.detail);
    }
    Error("cannot open " + PortLabel() + ": " + reason);
    return StatusOfOpenError(error);
}

void Session::Close() {
    m_link.ClosePort();
}

WaitOutcome Session::WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const Clock::time_point deadline = DeadlineAfter(timeoutMs);
    while (!done()) {
        if (Clock::now() >= deadline) {
            return WaitOutcome::kTimedOut;
        }
        if (const std::optional<WaitOutcome> end = PumpOnce(MillisUntil(deadline))) {
            return *end == WaitOutcome::kHungUp && done() ? WaitOutcome::kDone : *end;
        }
    }
    return WaitOutcome::kDone;
}

WaitOutcome Session::WaitQuiet(int quietMs, int timeoutMs) {
    const Clock::time_point deadline = DeadlineAfter(timeoutMs);
    Clock::time_point quietUntil = DeadlineAfter(quietMs);
    while (Clock::now() < std::min(quietUntil, deadline)) {
        const std::uint64_t before = m_handled;
        if (const std::optional<WaitOutcome> end =
                PumpOnce(MillisUntil(std::min(quietUntil, deadline)))) {
            return *end;
        }
        if (m_handled != before) {
            quietUntil = DeadlineAfter(quietMs);
        }
    }
    return WaitOutcome::kDone;
}

std::optional<WaitOutcome> Session::PumpOnce(int timeoutMs) {
    // The watcher posts its last burst before it marks the hang-up, so that burst is handled
    // first.
    const bool hungUp = m_conn.HasHungUp();
    const EventPump::Wake wake = m_pump->Wait(hungUp ? 0 : timeoutMs);
    if (wake.stopped) {
        return WaitOutcome::kInterrupted;
    }
    HandleMessages(wake.messages);
    ReportLinkMessages();
    if (hungUp) {
        return WaitOutcome::kHungUp;
    }
    return std::nullopt;
}

void Session::HandleMessages(std::uint64_t count) {
    for (std::uint64_t i = 0; i < count; ++i) {
        HandleOne();
    }
    if (count == 0) {
        return;
    }
    for (int extra = 0; extra < kMaxScreensPerMessage; ++extra) {
        const std::size_t logBefore = m_host.LogText().size();
        if (m_console.State().receiveBuffer.empty()) {
            break;
        }
        HandleOne();
        if (m_host.LogText().size() == logBefore) {
            break;  // no further finished screen in the buffer
        }
    }
}

void Session::HandleOne() {
    m_watch.BeginMessage();
    static_cast<void>(m_console.OnDataArrived());
    m_watch.EndMessage();
    ++m_handled;
}

void Session::ReportLinkMessages() {
    for (const MessageCollector::Message& message : m_messages.Take()) {
        Error(message.text + (message.detail.empty() ? "" : ": " + message.detail));
    }
}

void Session::Error(std::string_view message) {
    m_progress.Clear();
    m_err << "veltaro-cli: " << TerminalSafe(message) << '\n' << std::flush;
}

ExitStatus Session::StatusOf(WaitOutcome outcome, ExitStatus timedOutStatus,
                             std::string_view timedOutMessage) {
    switch (outcome) {
        case WaitOutcome::kDone:
            return ExitStatus::kOk;
        case WaitOutcome::kTimedOut:
            Error(timedOutMessage);
            return timedOutStatus;
        case WaitOutcome::kHungUp:
            Error("the modem hung up: the device behind " + PortLabel() + " went away");
            return ExitStatus::kHungUp;
        case WaitOutcome::kInterrupted:
            Error("interrupted");
            return ExitStatus::kInterrupted;
    }
    return ExitStatus::kFailure;
}

std::string Session::PortLabel() const {
    const std::string label = "COM" + m_comNumber;
    const std::string& name = m_link.LastPortName();
    return name.empty() || name == label ? label : label + " (" + name + ")";
}

}  // namespace veltaro::cli
