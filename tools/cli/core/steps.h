#pragma once

#include <string_view>
#include <vector>

#include "exit_status.h"
#include "session.h"
#include "setting_keys.h"

namespace veltaro::cli {

// The steps the commands share. Each prints its own error and returns its exit status.

// How long the modem must stay silent before its answer counts as complete: more than the
// watcher's one-second pause between bursts.
inline constexpr int kAnswerQuietMs = 1500;

// Open as the Open button does, then wait for the console to detect the model.
[[nodiscard]] ExitStatus ConnectAndDetect(Session& session, int timeoutMs);

// Right after detection: waits for the information screen that the on-detect action asked
// for and, where the model offers the UART controls, for the UART information screen (asked
// for like the UART_Information button unless the on-detect action already did). An
// unlisted model has no information key, so nothing is read: kNoSettings; so is a setting
// the screens lack (CheckAllFound).
[[nodiscard]] ExitStatus ReadCurrentSettings(Session& session, int timeoutMs);

// Before information screens are read: the values they carry are emptied (radio groups left
// with none checked), as a user clearing the fields would, so that a value missing from the
// screen cannot pass for one read. uart: the UART screen's values too (it must be read then).
void ForgetShownSettings(Session& session, bool uart);

// After the screens were read: kNoSettings, naming it, when a setting that the model offers
// and the screens report was not found on them (noise on the line can garble a label).
[[nodiscard]] ExitStatus CheckAllFound(Session& session);

// As the Information and UART_Information buttons: ask, wait for the screen, wait until
// the modem is silent (a later screen of the same kind would override the form).
[[nodiscard]] ExitStatus ReadInformation(Session& session, int timeoutMs);
[[nodiscard]] ExitStatus ReadUartInformation(Session& session, int timeoutMs);

// Waits until the modem has finished answering.
[[nodiscard]] ExitStatus AwaitAnswer(Session& session, int timeoutMs);

// Whether the console leaves the setting's controls enabled for the detected model (and
// the mode it reported).
bool Offered(const TerminalHost& host, const KeyRow& row);
std::vector<SetKey> OfferedKeys(const TerminalHost& host);

// The modem's own line of a refusal ("!!" result screen) in console text, trimmed; empty
// when the text holds no refusal.
std::string RefusalLine(std::string_view consoleText);

// After results were written to `out`: kOk, or kOutputFailed with the reason printed (a
// closed pipe, a full disk, a closed standard output).
[[nodiscard]] ExitStatus CheckOutput(Session& session, std::ostream& out);

// "GT-45 (GT period family)".
std::string ModelLabel(Session& session);

}  // namespace veltaro::cli
