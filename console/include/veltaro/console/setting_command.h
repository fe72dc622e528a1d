#pragma once

#include <string>

namespace veltaro::console {

// The commands of the buttons that one run of Apply may walk, with their own step tables.
enum class SettingCommand {
    kChannel,          // 1008 "Channel Setting"
    kPower,            // 1010 "Tx Power Level Setting"
    kMode,             // 1012 "PC/Device Mode Setting"
    kDestinationId,    // 1014 "Destination ID Setting"
    kPeriod,           // 1018 "Period Setting"
    kUartMode,         // 1033 "UART Mode Setting"
    kBit,              // 1035 "Bit Setting"
    kUartAll,          // 1052 "UART All Setting"
    kInformation,      // 1016 "Information"
    kUartInformation,  // 1034 "UART_Information"
};

// Screens that the modem ends (with "OK" or "!!") in answer to one run of the command: one
// per value typed, one per information screen.
int AnswersOf(SettingCommand command);

// Whether the model has an information screen at all (an unlisted model has no key for it).
bool HasInformationScreen(const std::string& modelCode);
// Whether the model's console has the screen that the UART_Information button asks for.
bool HasUartScreen(const std::string& modelCode);

// A screen that the console has finished and logged.
struct FinishedScreen {
    bool refused = false;  // ended with "!!"
    std::string text;      // as logged
};

// Told of every finished screen, after it was logged and parsed. Called from inside the
// data-arrived handler: a listener must not send or start a command from there.
class ScreenListener {
  public:
    virtual ~ScreenListener() = default;
    virtual void OnScreenFinished(const FinishedScreen& screen) = 0;
};

// The modem's own line of a refused screen: the last line before "!!" that is neither empty
// nor a rule of dashes, trimmed; empty when there is none.
std::string RefusalLineOf(const std::string& screen);

}  // namespace veltaro::console
