#pragma once

#include <string>

namespace veltaro::console {

// The values the main dialog exchanges with its controls. A form read takes every value
// from its control (a radio group with no checked button reads as -1); a form write shows
// every value in its control.
struct SettingsForm {
    std::string comNumber = "1";    // edit 1000
    std::string channel;            // edit 1020
    std::string power;              // edit 1021
    std::string destinationId;      // edit 1025
    std::string period;             // edit 1029
    int mode = 0;                   // 1023 "PC" = 0, 1024 "Device" = 1
    int periodUnit = 0;             // 1026 "HOUR" = 0, 1027 "MIN" = 1, 1028 "SEC" = 2
    int interface = 0;              // 1031 "RS232" = 0, 1038 "RS485" = 1
    int dataBits = 3;               // 1039..1042 = "5".."8"
    int stopBits = 0;               // 1043 "1" = 0, 1044 "1.5" = 1, 1045 "2" = 2
    int parity = 4;                 // 1047..1051 = "Even", "Odd", "Space", "Mark", "Non"
    std::string channelRangeLabel;  // static 1054
    std::string powerRangeLabel;    // static 1055

    bool operator==(const SettingsForm&) const = default;
};

}  // namespace veltaro::console
