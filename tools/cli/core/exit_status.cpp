#include "exit_status.h"

#include <array>

namespace veltaro::cli {

std::span<const ExitStatusRow> ExitStatusTable() {
    static constexpr std::array kRows{
        ExitStatusRow{ExitStatus::kOk, "success"},
        ExitStatusRow{ExitStatus::kFailure, "unexpected failure of the program itself"},
        ExitStatusRow{ExitStatus::kUsage,
                      "bad command line (also: two COM numbers of --com lead to one device), "
                      "or a profile file that cannot be used"},
        ExitStatusRow{ExitStatus::kPortNotFound, "port not found"},
        ExitStatusRow{ExitStatus::kPortInUse, "port in use by another program"},
        ExitStatusRow{ExitStatus::kPermissionDenied, "permission denied on the port's device"},
        ExitStatusRow{ExitStatus::kPortUnusable,
                      "port unusable: not a serial port, 9600 8N1 refused, system failure"},
        ExitStatusRow{ExitStatus::kNoModel, "no model detected within the timeout"},
        ExitStatusRow{ExitStatus::kHungUp, "the modem hung up (device gone)"},
        ExitStatusRow{ExitStatus::kNoSettings,
                      "settings not read: no information screen in time, or unlisted model"},
        ExitStatusRow{ExitStatus::kValueRefused, "value refused by the program's field check"},
        ExitStatusRow{ExitStatus::kKeyNotOffered, "setting not offered by the detected model"},
        ExitStatusRow{ExitStatus::kReadBackMismatch, "read-back differs from the value sent"},
        ExitStatusRow{ExitStatus::kModemRefused, "the modem refused a value (its \"!!\" screen)"},
        ExitStatusRow{ExitStatus::kOutputFailed, "standard output could not be written"},
        ExitStatusRow{ExitStatus::kSomePortsFailed,
                      "several ports: one or more failed (the summary names each)"},
        ExitStatusRow{ExitStatus::kPortDirFailed,
                      "ports: the port directory cannot be read (the rest is still listed)"},
        ExitStatusRow{ExitStatus::kInterrupted, "interrupted (SIGINT, SIGTERM or SIGHUP)"},
    };
    return kRows;
}

}  // namespace veltaro::cli
