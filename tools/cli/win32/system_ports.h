#pragma once

#include <vector>

#include "registry_ports.h"

namespace veltaro::cli {

// The ports as this Windows system lists them: the values of
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, and the present devices of the Ports and Modem
// classes through SetupAPI with their names and identifiers. Reads only: no port is
// opened. Main thread.
class SystemComPortSource final : public ComPortSource {
  public:
    std::vector<SerialCommValue> SerialComm() override;
    std::vector<SetupApiDevice> SetupApiDevices() override;
};

}  // namespace veltaro::cli
