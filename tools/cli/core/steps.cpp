#include "steps.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "text_util.h"
#include "veltaro/console/apply_plan.h"
#include "veltaro/console/control_ids.h"
#include "veltaro/console/model_table.h"
#include "veltaro/console/reported_settings.h"

namespace veltaro::cli {
namespace {

namespace ctl = console::ctl;
using console::Family;

enum class Screen { kInformation, kUart };

int ScreensOf(const Session& session, Screen screen) {
    return screen == Screen::kInformation ? session.Watch().InfoScreens()
                                          : session.Watch().UartScreens();
}

std::string Seconds(int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", ms / 1000.0);
    return text;
}

// Waits for one more screen of the kind than `seen`, then for the modem to fall silent.
ExitStatus AwaitScreen(Session& session, Screen screen, int seen, int timeoutMs) {
    const WaitOutcome outcome = session.WaitFor(
        [&session, screen, seen] { return ScreensOf(session, screen) > seen; }, timeoutMs);
    const std::string what = screen == Screen::kInformation ? "information" : "UART information";
    const ExitStatus status = session.StatusOf(
        outcome, ExitStatus::kNoSettings,
        "no " + what + " screen from " + ModelLabel(session) + " within " + Seconds(timeoutMs));
    return status == ExitStatus::kOk ? AwaitAnswer(session, timeoutMs) : status;
}

// The on-detect action of the KD family already calls up the UART information screen.
bool OnDetectAsksForUart(Family family) {
    return family == Family::kKd;
}

}  // namespace

ExitStatus ConnectAndDetect(Session& session, int timeoutMs) {
    session.Progress().Phase("opening " + session.PortLabel());
    if (const ExitStatus status = session.Open(); status != ExitStatus::kOk) {
        return status;
    }
    session.Progress().Phase("waiting for the model code");
    const WaitOutcome outcome = session.WaitFor(
        [&session] { return session.Console().State().awaitingModel == 0; }, timeoutMs);
    return session.StatusOf(outcome, ExitStatus::kNoModel,
                            "no model detected on " + session.PortLabel() + " within " +
                                Seconds(timeoutMs) + ": is the modem connected and on?");
}

ExitStatus ReadCurrentSettings(Session& session, int timeoutMs) {
    const std::string& code = session.Console().State().modelCode;
    if (console::InformationKeyOf(code).empty()) {
        session.Error("model " + Printable(code) +
                      " is unlisted: the program has no information screen for it");
        return ExitStatus::kNoSettings;
    }
    if (session.Watch().InfoScreens() == 0) {
        ForgetShownSettings(session, true);
    }
    session.Progress().Phase("reading the information screen");
    ExitStatus status = AwaitScreen(session, Screen::kInformation, 0, timeoutMs);
    if (status == ExitStatus::kOk && session.Host().IsEnabled(ctl::kUartInformation)) {
        if (!OnDetectAsksForUart(console::FamilyOf(code))) {
            status = ReadUartInformation(session, timeoutMs);
        } else {
            session.Progress().Phase("reading the UART information screen");
            status = AwaitScreen(session, Screen::kUart, 0, timeoutMs);
        }
    }
    return status == ExitStatus::kOk ? CheckAllFound(session) : status;
}

void ForgetShownSettings(Session& session, bool uart) {
    console::SettingsForm& controls = session.Host().Controls();
    for (const KeyRow& row : KeyTable()) {
        const bool uartKey = row.key >= SetKey::kInterface;
        if (uartKey && !uart) {
            continue;
        }
        if (row.text != nullptr) {
            controls.*row.text = "";
        }
        if (row.index != nullptr && row.key != SetKey::kInterface) {
            controls.*row.index = -1;  // no radio button checked
        }
    }
    // The period field's check begins with a form read and ends at once on an empty text:
    // the console takes the emptied values as a user's clearing would give them.
    session.Console().OnPeriodChanged();
}

ExitStatus CheckAllFound(Session& session) {
    const console::SettingsForm& shown = session.Host().Shown();
    const bool deviceMode = session.Console().State().deviceMode == 1;
    const bool uartRead = session.Watch().UartScreens() > 0;
    for (const SetKey key : OfferedKeys(session.Host())) {
        const KeyRow& row = RowOf(key);
        const bool textMissing = row.text != nullptr && Trim(shown.*row.text).empty();
        const bool indexMissing =
            row.index != nullptr &&
            ChoiceName(row.kind == ValueKind::kPeriod ? PeriodUnitNames() : row.choices,
                       shown.*row.index)
                .empty();
        if (console::IsReported(key, deviceMode, uartRead) && (textMissing || indexMissing)) {
            session.Error(std::string(row.name) + " was not found on the information screen of " +
                          ModelLabel(session) +
                          " (a disturbed line?): its value is unknown; try again");
            return ExitStatus::kNoSettings;
        }
    }
    return ExitStatus::kOk;
}

ExitStatus ReadInformation(Session& session, int timeoutMs) {
    session.Progress().Phase("reading the information screen");
    const int seen = session.Watch().InfoScreens();
    session.Console().OnInformation();
    return AwaitScreen(session, Screen::kInformation, seen, timeoutMs);
}

ExitStatus ReadUartInformation(Session& session, int timeoutMs) {
    session.Progress().Phase("reading the UART information screen");
    const int seen = session.Watch().UartScreens();
    session.Console().OnUartInformation();
    return AwaitScreen(session, Screen::kUart, seen, timeoutMs);
}

ExitStatus AwaitAnswer(Session& session, int timeoutMs) {
    return session.StatusOf(session.WaitQuiet(kAnswerQuietMs, timeoutMs), ExitStatus::kOk, "");
}

bool Offered(const TerminalHost& host, const KeyRow& row) {
    return std::all_of(row.controls.begin(), row.controls.end(),
                       [&host](int id) { return host.IsEnabled(id); });
}

std::vector<SetKey> OfferedKeys(const TerminalHost& host) {
    return console::OfferedKeys([&host](int id) { return host.IsEnabled(id); });
}

std::string RefusalLine(std::string_view consoleText) {
    std::string_view said;
    while (!consoleText.empty()) {
        const std::size_t end = std::min(consoleText.find('\n'), consoleText.size());
        const std::string_view line = Trim(consoleText.substr(0, end));
        consoleText.remove_prefix(std::min(end + 1, consoleText.size()));
        if (line == "!!") {
            return std::string(said);
        }
        // The screen's rule of dashes is not the modem's word.
        if (!line.empty() && line.find_first_not_of('-') != std::string_view::npos) {
            said = line;
        }
    }
    return {};
}

ExitStatus CheckOutput(Session& session, std::ostream& out) {
    if (out.flush()) {
        return ExitStatus::kOk;
    }
    session.Error(std::string("cannot write to standard output: ") + std::strerror(errno));
    return ExitStatus::kOutputFailed;
}

std::string ModelLabel(Session& session) {
    const std::string& code = session.Console().State().modelCode;
    return Printable(code) + " (" + std::string(console::FamilyName(console::FamilyOf(code))) + ")";
}

}  // namespace veltaro::cli
