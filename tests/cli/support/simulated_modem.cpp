// What the simulated modems do alike on every platform: their traces, running the CLI
// against them, and the bench of several.
#include "simulated_modem.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "sim_platform.h"

namespace veltaro::cli::testing {

using namespace std::chrono_literals;

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
    return std::make_unique<ChildProcess>(CliProgram(), args, CliEnvironment(m_dir), stdoutTo);
}

ModemBench::ModemBench() : m_dir(MakeScratchDir()) {}

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
    return std::make_unique<ChildProcess>(CliProgram(), args, CliEnvironment(m_dir), stdoutTo);
}

}  // namespace veltaro::cli::testing
