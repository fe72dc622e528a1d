#include "simulated_modem.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
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
    : m_ownsDir(true), m_dir(MakeTempDir()) {
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
    m_sim = std::make_unique<ChildProcess>(MODEM_SIM_PATH, args,
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

std::unique_ptr<ChildProcess> SimulatedModem::StartCli(const std::vector<std::string>& args,
                                                       ChildProcess::Stdout stdoutTo) const {
    return std::make_unique<ChildProcess>(
        VELTARO_CLI_PATH, args, std::vector<std::string>{"BRENLOW_PORT_DIR=" + m_dir}, stdoutTo);
}

ModemBench::ModemBench() : m_dir(MakeTempDir()) {}

ModemBench::~ModemBench() {
    m_modems.clear();  // each stops its simulator, which removes its entry
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

bool ModemBench::Add(const std::string& model, int com, const std::vector<std::string>& extraArgs) {
    m_modems.emplace_back(com, std::make_unique<SimulatedModem>(model, extraArgs, m_dir, com));
    return m_modems.back().second->Up();
}

SimulatedModem& ModemBench::On(int com) {
    for (auto& [number, modem] : m_modems) {
        if (number == com) {
            return *modem;
        }
    }
    throw std::out_of_range("no modem on COM" + std::to_string(com));
}

ChildProcess::Result ModemBench::RunCli(const std::vector<std::string>& args) const {
    return StartCli(args)->Finish(90s);
}

std::unique_ptr<ChildProcess> ModemBench::StartCli(const std::vector<std::string>& args,
                                                   ChildProcess::Stdout stdoutTo) const {
    return std::make_unique<ChildProcess>(
        VELTARO_CLI_PATH, args, std::vector<std::string>{"BRENLOW_PORT_DIR=" + m_dir}, stdoutTo);
}

}  // namespace veltaro::cli::testing
