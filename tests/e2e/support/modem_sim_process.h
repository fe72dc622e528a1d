#pragma once

#include <optional>
#include <string>
#include <vector>

#include "child_process.h"

namespace veltaro::e2e {

struct SimSetup {
    std::string model = "GT-45";
    int com = 1;
    std::vector<std::string> extraArgs;  // e.g. {"--fast"}, {"--hangup-after", "3000"}
};

// The real veltaro-modem-sim as a child process: attached as COM<com> in portDir, with a
// trace of every byte it receives and one of every byte it sends. Stopped by the
// destructor. One thread.
class ModemSimProcess {
  public:
    // traceStem: the traces go to traceStem + ".in" and traceStem + ".out".
    ModemSimProcess(const std::string& portDir, const SimSetup& setup,
                    const std::string& traceStem);

    // True once it printed its terminal's path (its port entry exists by then).
    bool Started() const { return !m_slavePath.empty(); }
    const std::string& SlavePath() const { return m_slavePath; }
    const std::string& ReceivedTrace() const { return m_receivedTrace; }
    const std::string& SentTrace() const { return m_sentTrace; }

    std::optional<int> WaitExit(Millis timeout) { return m_process.WaitExit(timeout); }
    int Stop(Millis timeout = Millis(3000)) { return m_process.Stop(timeout); }

  private:
    std::string m_receivedTrace;
    std::string m_sentTrace;
    ChildProcess m_process;
    std::string m_slavePath;
};

// The simulator binary under test.
std::string ModemSimBinary();

}  // namespace veltaro::e2e
