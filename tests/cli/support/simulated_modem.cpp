#include "simulated_modem.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace veltaro::cli::testing {
namespace {

using namespace std::chrono_literals;

std::string MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "veltaro-cli-XXXXXX").string();
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

}  // namespace

SimulatedModem::SimulatedModem(const std::string& model, const std::vector<std::string>& extraArgs)
    : m_dir(MakeTempDir()), m_trace(m_dir + "/trace.txt") {
    std::vector<std::string> args{"--fast", "--com", "1", "--model", model, "--trace", m_trace};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    m_sim = std::make_unique<ChildProcess>(MODEM_SIM_PATH, args,
                                           std::vector<std::string>{"BRENLOW_PORT_DIR=" + m_dir});
    const std::string entry = m_dir + "/com1";
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
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::string SimulatedModem::ReceivedBytes() const {
    std::ifstream in(m_trace);
    std::string bytes;
    std::string time;
    std::string hex;
    while (in >> time >> hex) {
        bytes += static_cast<char>(std::stoi(hex, nullptr, 16));
    }
    return bytes;
}

ChildProcess::Result SimulatedModem::RunCli(const std::vector<std::string>& args) const {
    return StartCli(args)->Finish(90s);
}

std::unique_ptr<ChildProcess> SimulatedModem::StartCli(const std::vector<std::string>& args) const {
    return std::make_unique<ChildProcess>(VELTARO_CLI_PATH, args,
                                          std::vector<std::string>{"BRENLOW_PORT_DIR=" + m_dir});
}

}  // namespace veltaro::cli::testing
