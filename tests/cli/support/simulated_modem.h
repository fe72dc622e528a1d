#pragma once

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"

namespace veltaro::cli::testing {

// A simulated modem (veltaro-modem-sim --fast) on COM1 of a private port directory, with a
// trace of every byte it receives. Stopped and cleaned up by the destructor.
class SimulatedModem {
  public:
    // extraArgs: e.g. {"--set", "channel=23"}, {"--mute"}.
    SimulatedModem(const std::string& model, const std::vector<std::string>& extraArgs = {});
    ~SimulatedModem();

    SimulatedModem(const SimulatedModem&) = delete;
    SimulatedModem& operator=(const SimulatedModem&) = delete;

    // True once the port entry com1 exists.
    bool Up() const { return m_up; }
    const std::string& PortDir() const { return m_dir; }
    // The bytes the simulator has received so far, in order.
    std::string ReceivedBytes() const;

    // Runs veltaro-cli with the port directory in its environment.
    ChildProcess::Result RunCli(const std::vector<std::string>& args) const;
    std::unique_ptr<ChildProcess> StartCli(const std::vector<std::string>& args) const;

  private:
    std::string m_dir;
    std::string m_trace;
    std::unique_ptr<ChildProcess> m_sim;
    bool m_up = false;
};

}  // namespace veltaro::cli::testing
