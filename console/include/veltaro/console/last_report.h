#pragma once

#include <cstdint>

#include "veltaro/console/settings_form.h"

namespace veltaro::console {

// What the modem itself reported on its information screens since the port was opened, kept
// apart from the form, which also holds what the user typed and has not sent. Only the
// fields that the screens carry are meaningful: channel, power, destination ID, period and
// its unit and the mode from the information screen; interface, data bits, stop bits and
// parity from the UART information screen.
struct LastReport {
    SettingsForm form;
    std::int32_t deviceMode = 0;
    bool information = false;  // an information screen was parsed since Open
    bool uart = false;         // a UART information screen was parsed since Open
};

}  // namespace veltaro::console
