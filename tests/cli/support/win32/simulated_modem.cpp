// The simulated modem under Wine: Wine programs cannot make pseudo-terminals, so the test
// asks the runner beside Wine (tests/cli/win32/cli-wine-run.sh) to start the simulator
// natively, on a COM port of the Wine prefix, through files in the session folder:
//   request-ID   "MODEL COM OPTIONS..."      written by the test
//   ready-ID     the simulator is up          written by the runner
//   stop-ID      stop it                      written by the test
//   stopped-ID   it has ended, its port gone  written by the runner
//   trace-ID     the bytes it received
#include "simulated_modem.h"

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "sim_platform.h"

namespace veltaro::cli::testing {
namespace {

std::string Session() {
    const char* session = std::getenv("VELTARO_CLI_SESSION");
    return session != nullptr ? session : "";
}

bool Appears(const std::string& path, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (std::filesystem::exists(path)) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

// Written whole and then renamed, so the runner never reads half a request.
bool Post(const std::string& path, const std::string& text) {
    {
        std::ofstream out(path + ".part", std::ios::binary);
        out << text << '\n';
    }
    return MoveFileA((path + ".part").c_str(), path.c_str()) != 0;
}

}  // namespace

struct SimulatedModem::Sim {
    std::string id;
};

bool PortsAreExclusive() {
    return false;
}

bool PortDirectoryIsListed() {
    return false;
}

std::string MakeScratchDir() {
    static int made = 0;
    const std::string dir = Session() + "/scratch-" + std::to_string(++made);
    return CreateDirectoryA(dir.c_str(), nullptr) ? dir : std::string();
}

std::string CliProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return (std::filesystem::path(path).parent_path() / "veltaro-cli.exe").string();
}

std::vector<std::string> CliEnvironment(const std::string&) {
    return {};  // the ports are the prefix's own
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
    static int started = 0;
    m_sim = std::make_unique<Sim>(Sim{std::to_string(++started)});
    m_trace = Session() + "/trace-" + m_sim->id;
    std::string request = model + " " + std::to_string(com);
    for (const std::string& arg : extraArgs) {
        request += " " + arg;
    }
    m_up = !Session().empty() && Post(Session() + "/request-" + m_sim->id, request) &&
           Appears(Session() + "/ready-" + m_sim->id, 15000);
}

SimulatedModem::~SimulatedModem() {
    if (Post(Session() + "/stop-" + m_sim->id, "")) {
        Appears(Session() + "/stopped-" + m_sim->id, 5000);
    }
    if (m_ownsDir) {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
}

}  // namespace veltaro::cli::testing
