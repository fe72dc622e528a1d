#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "set_request.h"

namespace veltaro::cli {

enum class Command { kNone, kInfo, kSet, kLog };

struct Options {
    bool help = false;
    bool version = false;
    // The COM number as the dialog's COM number edit would hold it: 1 to 3 decimal digits
    // (the console reads at most three characters), not 0.
    std::string comNumber;
    int timeoutMs = 10000;  // per wait: for the model, for each information screen
    bool json = false;      // info only
    Command command = Command::kNone;
    std::vector<SetItem> settings;  // set only
};

struct OptionsParse {
    Options options;
    std::string error;  // empty on success
};

// Parses the arguments after the program name. Options may stand before or after the
// command; --help and --version need nothing else.
OptionsParse ParseOptions(std::span<const std::string> args);

// The text of --help, the exit status table included.
std::string HelpText(std::string_view program);

}  // namespace veltaro::cli
