#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exit_status.h"
#include "set_request.h"

namespace veltaro::cli {

enum class Command { kNone, kInfo, kSet, kLog, kPorts };

struct Options {
    bool help = false;
    bool version = false;
    // The COM numbers as the dialog's COM number edit would hold them: 1 to 3 decimal digits
    // (the console reads at most three characters), not 0; one connection each.
    std::vector<std::string> comNumbers;
    int timeoutMs = 10000;  // per wait: for the model, for each information screen
    bool json = false;      // info, set and ports
    Command command = Command::kNone;
    std::vector<SetItem> settings;  // set only: the KEY=VALUE arguments
    std::string profilePath;        // set --from FILE; its settings yield to the arguments
    bool onlyOffered = false;       // set: skip what the model does not offer, and say so
    bool check = false;             // set: read and report what would change; send no setting
};

struct OptionsParse {
    Options options;
    std::string error;  // empty on success
    // kUsage, or kValueRefused for a value the modem cannot take as typed text.
    ExitStatus status = ExitStatus::kUsage;
};

// Parses the arguments after the program name. Options may stand before or after the
// command; --help and --version need nothing else.
OptionsParse ParseOptions(std::span<const std::string> args);

// The text of --help, the exit status table included.
std::string HelpText(std::string_view program);

}  // namespace veltaro::cli
