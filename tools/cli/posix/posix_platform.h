#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform.h"
#include "port_list.h"
#include "posix_port_device.h"
#include "posix_terminal.h"

namespace veltaro::cli {

// The ports of a port directory, /dev and sysfs.
class SysfsPortSource final : public PortSource {
  public:
    explicit SysfsPortSource(ListingPlaces places) : m_places(std::move(places)) {}
    std::vector<PortListing> FindPorts() override { return veltaro::cli::FindPorts(m_places); }
    std::string ListingProblem() override { return PortDirProblem(m_places.portDir); }
    std::optional<PortDevice> DeviceOf(const std::string& comNumber) override {
        return PosixPortDevice(comNumber);
    }

  private:
    ListingPlaces m_places;
};

// veltaro-cli on Linux: standard error's terminal, the default listing places, and the
// termination signals through a signalfd.
class PosixPlatform final : public Platform {
  public:
    PosixPlatform();

    bool PrepareStandardStreams() override;
    PortSource& Ports() override { return m_ports; }
    const ProgressTerminal& ErrorTerminal() override { return m_terminal; }
    std::unique_ptr<StopSignal> MakeStopSignal(std::string& reason) override;

  private:
    SysfsPortSource m_ports;
    PosixTerminal m_terminal;
};

}  // namespace veltaro::cli
