// The simulated modem on Linux: the test starts the simulator on a pseudo-terminal that it
// links into a private port directory.
#include "simulated_modem.h"

#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "sim_platform.h"

namespace veltaro::cli::testing {

using namespace std::chrono_literals;

struct SimulatedModem::Sim : ChildProcess {
    using ChildProcess::ChildProcess;
};

bool PortsAreExclusive() {
    return true;
}

bool PortDirectoryIsListed() {
    return true;
}

std::string MakeScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "veltaro-cli-XXXXXX").string();
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

std::string CliProgram() {
    return VELTARO_CLI_PATH;
}

std::vector<std::string> CliEnvironment(const std::string& portDir) {
    return {"BRENLOW_PORT_DIR=" + portDir};
}

SimulatedModem::SimulatedModem(const std::string& model, const std::vector<std::string>& extraArgs)
    : m_ownsDir(true), m_dir(MakeScratchDir()) {
    Start(model, extraArgs, 1);
}

SimulatedModem::SimulatedModem(const std::string& model, const std::vector<std::string>& extraArgs,
                               const std::string& portDir, int com)
    : m_ownsDir(false), m_dir(portDir) {
    Start(model, extraArgs, com);
}

void SimulatedModem::Start(const std::string& model, const std::vector<std::string>& extraArgs,
                           int com) {
    const std::string number = std::to_string(com);
    m_trace = m_dir + "/trace" + number + ".txt";
    std::vector<std::string> args{"--fast", "--com", number, "--model", model, "--trace", m_trace};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    m_sim = std::make_unique<Sim>(MODEM_SIM_PATH, args,
                                  std::vector<std::string>{"BRENLOW_PORT_DIR=" + m_dir});
    const std::string entry = m_dir + "/com" + number;
    for (int i = 0; i < 100 && m_sim->Started() && !m_up; ++i) {
        m_up = std::filesystem::exists(std::filesystem::symlink_status(entry));
        if (!m_up) {
            std::this_thread::sleep_for(50ms);
        }
    }
}

SimulatedModem::~SimulatedModem() {
    m_sim->Signal(SIGTERM);
    m_sim->Finish(5s);
    if (m_ownsDir) {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
}

}  // namespace veltaro::cli::testing
