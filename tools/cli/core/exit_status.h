#pragma once

#include <span>
#include <string_view>

namespace veltaro::cli {

// One exit status per kind of failure, so that scripts on a bench can tell them apart.
enum class ExitStatus : int {
    kOk = 0,
    kFailure = 1,            // anything not listed below (the program's own setup failed)
    kUsage = 2,              // bad command line
    kPortNotFound = 3,       // no device answers to the port name
    kPortInUse = 4,          // another program holds the device
    kPermissionDenied = 5,   // the user may not open the device
    kPortUnusable = 6,       // not a serial port, 9600 8N1 refused, or a system failure
    kNoModel = 7,            // no model code arrived within the timeout
    kHungUp = 8,             // the device went away
    kNoSettings = 9,         // the information screen did not arrive, or the model is unlisted
    kValueRefused = 10,      // the program's field check would clear the value
    kKeyNotOffered = 11,     // the model does not offer that setting
    kReadBackMismatch = 12,  // the modem reports another value than the one sent
    kModemRefused = 13,      // the modem answered a value with its refusal screen
    kOutputFailed = 14,      // standard output could not be written (closed pipe, full disk)
    kSomePortsFailed = 15,   // several ports: at least one failed (the summary says how)
    kPortDirFailed = 16,     // ports: the port directory cannot be read (the rest is listed)
    kInterrupted = 130,      // SIGINT, SIGTERM or SIGHUP during info or set
};

struct ExitStatusRow {
    ExitStatus status;
    std::string_view meaning;
};

// Every status with a one-line meaning, in numeric order; --help and the README show it.
std::span<const ExitStatusRow> ExitStatusTable();

constexpr int Code(ExitStatus status) {
    return static_cast<int>(status);
}

}  // namespace veltaro::cli
