#pragma once

#include <string>
#include <string_view>

#include "recording_host.h"
#include "recording_link.h"
#include "veltaro/console/modem_console.h"

namespace veltaro::console::testing {

// A console wired to a recording host and link that share one event log.
struct ConsoleRig {
    EventLog log;
    RecordingHost host{log};
    RecordingLink link{log};
    ModemConsole console{host, link};

    // One data-arrived message carrying these bytes.
    void Receive(std::string_view bytes) {
        link.Receive(bytes);
        console.OnDataArrived();
    }

    // Brings the console to a detected model, as the modem's first screen would, and
    // forgets the calls this caused.
    void Detect(std::string_view code) {
        Receive("\r\n" + std::string(code) + " CONFIGURATION\r\n");
        log.Clear();
    }

    // An information screen that reports the modem's mode, so that the device-mode flag
    // follows; the calls it causes are forgotten.
    void ReportMode(bool device) {
        Receive(std::string("Information  --\r\n") + (device ? "Device Mode" : "PC Mode") +
                "\r\nOK");
        log.Clear();
    }
};

}  // namespace veltaro::console::testing
