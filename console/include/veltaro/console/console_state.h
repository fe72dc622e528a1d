#pragma once

#include <cstdint>
#include <string>

namespace veltaro::console {

// What the modem configuration keeps between events, besides the settings form.
struct ConsoleState {
    std::string receiveBuffer;        // console text not yet handled; raw bytes, no size limit
    std::string scratch;              // the rest after "OK"; numbers formatted for sending
    unsigned char escByte = 0x1B;     // written to the port by Open and several commands
    unsigned char awaitingModel = 1;  // detection runs while non-zero
    std::int32_t deviceMode = 0;      // 1 "Device Mode", 0 "PC Mode", from the last info screen
    std::string periodUnitLetter;     // "H", "M" or "S"; empty until a period command ran
    std::string modelCode;            // five characters once detected; empty before
};

}  // namespace veltaro::console
