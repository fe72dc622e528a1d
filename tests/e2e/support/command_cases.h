#pragma once

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "wire_steps.h"

// What each setting command must put on the wire, for the end-to-end tests of both front
// ends: one table, so that the Qt and the Win32 dialog are held to the same truth.
namespace veltaro::e2e {

// A user's action before the click: typing into an edit, or (typed == nullptr) a click.
struct UserAction {
    int id;
    const char* typed = nullptr;
};

struct CommandCase {
    const char* name;
    int com;
    const char* model;  // GT-45 keeps the UART controls off, KD-35 keeps Period Setting off
    std::vector<UserAction> before;
    int button;
    std::vector<WireStep> steps;
    int trailingPauseMs;  // a pause after the last send, seen only in the handler's time
    int answers;          // screens the modem ends with "OK"
};

// For test names in failure reports.
void PrintTo(const CommandCase& c, std::ostream* out);

// Every setting command, each on a COM number of its own.
std::span<const CommandCase> CommandCases();

// The pauses of a case, the trailing one included: the least time its handler takes.
int TotalPauseMs(const CommandCase& c);

// What differs between a case and what its click put on the wire (received from index
// `before` on) and took (the handler's time): empty when the bursts, their pauses and the
// handler's time all match.
std::string CheckCommandOnWire(const CommandCase& c, std::span<const WireByte> received,
                               std::size_t before, long long tookMs);

// Screens that end with "OK" in the log once a model is detected and its on-detect keys
// are answered.
int ScreensAfterDetection(const std::string& model);

}  // namespace veltaro::e2e
