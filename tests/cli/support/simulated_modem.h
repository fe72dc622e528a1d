#pragma once

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"

namespace veltaro::cli::testing {

// Whether a second open of a port that a program holds is refused. Wine does not refuse it,
// so there the check is left to real Windows.
bool PortsAreExclusive();
// Whether `ports` lists the port directory (Linux); Windows lists its registry instead.
bool PortDirectoryIsListed();

// A simulated modem (veltaro-modem-sim --fast) on COM1 of a private port directory, with a
// trace of every byte it receives. Stopped and cleaned up by the destructor. On Linux the
// test starts it itself; under Wine it asks the runner beside Wine to start it natively, on a
// COM port of the Wine prefix, and the "port directory" is a scratch folder for the test's
// files (posix/ and win32/ hold the two ways).
class SimulatedModem {
  public:
    // extraArgs: e.g. {"--set", "channel=23"}, {"--mute"}.
    SimulatedModem(const std::string& model, const std::vector<std::string>& extraArgs = {});
    // On COM `com` of a port directory that others share and that outlives this modem.
    SimulatedModem(const std::string& model, const std::vector<std::string>& extraArgs,
                   const std::string& portDir, int com);
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
    std::unique_ptr<ChildProcess> StartCli(
        const std::vector<std::string>& args,
        ChildProcess::Stdout stdoutTo = ChildProcess::Stdout::kPipe) const;

  private:
    void Start(const std::string& model, const std::vector<std::string>& extraArgs, int com);

    bool m_ownsDir;
    std::string m_dir;
    std::string m_trace;
    struct Sim;  // the platform's handle on the running simulator
    std::unique_ptr<Sim> m_sim;
    bool m_up = false;
};

// Simulated modems on several COM numbers of one port directory: a bench.
class ModemBench {
  public:
    ModemBench();
    ~ModemBench();

    ModemBench(const ModemBench&) = delete;
    ModemBench& operator=(const ModemBench&) = delete;

    // Starts a modem on COM `com`; false when it did not come up.
    bool Add(const std::string& model, int com, const std::vector<std::string>& extraArgs = {});
    SimulatedModem& On(int com);
    const std::string& PortDir() const { return m_dir; }
    ChildProcess::Result RunCli(const std::vector<std::string>& args) const;
    std::unique_ptr<ChildProcess> StartCli(
        const std::vector<std::string>& args,
        ChildProcess::Stdout stdoutTo = ChildProcess::Stdout::kPipe) const;

  private:
    std::string m_dir;
    std::vector<std::pair<int, std::unique_ptr<SimulatedModem>>> m_modems;
};

}  // namespace veltaro::cli::testing
