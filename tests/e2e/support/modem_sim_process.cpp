#include "modem_sim_process.h"

namespace veltaro::e2e {
namespace {

constexpr Millis kStartTimeout(5000);

std::vector<std::string> Arguments(const SimSetup& setup, const std::string& receivedTrace,
                                   const std::string& sentTrace) {
    std::vector<std::string> args{
        ModemSimBinary(), "--model",     setup.model,   "--com",  std::to_string(setup.com),
        "--trace",        receivedTrace, "--trace-out", sentTrace};
    args.insert(args.end(), setup.extraArgs.begin(), setup.extraArgs.end());
    return args;
}

}  // namespace

std::string ModemSimBinary() {
    return VELTARO_MODEM_SIM_PATH;
}

ModemSimProcess::ModemSimProcess(const std::string& portDir, const SimSetup& setup,
                                 const std::string& traceStem)
    : m_receivedTrace(traceStem + ".in"),
      m_sentTrace(traceStem + ".out"),
      m_process(Arguments(setup, m_receivedTrace, m_sentTrace), {"BRENLOW_PORT_DIR=" + portDir}) {
    if (m_process.Started()) {
        m_slavePath = m_process.ReadLine(kStartTimeout).value_or("");
    }
}

}  // namespace veltaro::e2e
