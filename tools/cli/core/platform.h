#pragma once

// The platform seam of veltaro-cli. The portable core (this folder) reaches the system only
// through these interfaces and stop_signal.h; posix/ implements them, win32/ does so for
// Windows, and each platform's main() hands its Platform to RunProgram (program.h).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "port_listing.h"
#include "same_device.h"
#include "stop_signal.h"

namespace veltaro::cli {

// A terminal's size in character cells; 0 x 0 when unknown.
struct TerminalSize {
    unsigned columns = 0;
    unsigned rows = 0;
};

// Standard error as the display of the progress lines. Threads: any.
class ProgressTerminal {
  public:
    virtual ~ProgressTerminal() = default;

    // A terminal (or console) that takes the cursor movements of the progress lines; false
    // for a file, a pipe, or a console that would print the sequences as text.
    [[nodiscard]] virtual bool TakesProgress() const = 0;
    // Its size now; the user may resize it during a run.
    [[nodiscard]] virtual TerminalSize Size() const = 0;
};

// Where `ports` learns which COM numbers exist: the port directory and sysfs on Linux, the
// registry and the device manager's records on Windows. Threads: the main thread.
class PortSource {
  public:
    virtual ~PortSource() = default;

    // Every COM number that --com can open, by number. Opens no port: opening one can
    // reset a device through its control lines.
    [[nodiscard]] virtual std::vector<PortListing> FindPorts() = 0;
    // After FindPorts: why part of what it looks at could not be read (the port directory),
    // with the place and the system's reason; empty when everything could be.
    [[nodiscard]] virtual std::string ListingProblem() { return {}; }
    // The device that a --com number leads to, as far as can be told without opening it;
    // nothing when there is none, or when every number names a device of its own.
    [[nodiscard]] virtual std::optional<PortDevice> DeviceOf(const std::string& comNumber) {
        static_cast<void>(comNumber);
        return std::nullopt;
    }
};

// What the program asks of the system it runs on. Made once by the platform's main(), used
// by the main thread.
class Platform {
  public:
    virtual ~Platform() = default;

    // Called first. Makes the standard streams safe: a closed one must not become the
    // serial port once it is opened, and a write to a closed pipe must fail rather than end
    // the program. False when standard output itself is closed.
    [[nodiscard]] virtual bool PrepareStandardStreams() = 0;
    [[nodiscard]] virtual PortSource& Ports() = 0;
    [[nodiscard]] virtual const ProgressTerminal& ErrorTerminal() = 0;
    // Sets up where termination requests arrive; called before the program starts its
    // first thread. Null when the system refused, with the facility that failed in `reason`.
    [[nodiscard]] virtual std::unique_ptr<StopSignal> MakeStopSignal(std::string& reason) = 0;
};

}  // namespace veltaro::cli
