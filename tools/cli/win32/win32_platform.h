#pragma once

#include <string>
#include <vector>

#include "platform.h"
#include "registry_ports.h"
#include "system_ports.h"
#include "win32_terminal.h"

namespace veltaro::cli {

// The ports that the registry and SetupAPI list.
class RegistryPortSource final : public PortSource {
  public:
    std::vector<PortListing> FindPorts() override { return FindComPorts(m_system); }

  private:
    SystemComPortSource m_system;
};

// veltaro-cli on Windows: standard error's console, the registry's ports, and the
// console's control events as the stop signal.
class Win32Platform final : public Platform {
  public:
    Win32Platform();
    // Puts back the console's output code page.
    ~Win32Platform() override;

    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    bool PrepareStandardStreams() override;
    PortSource& Ports() override { return m_ports; }
    const ProgressTerminal& ErrorTerminal() override { return m_terminal; }
    std::unique_ptr<StopSignal> MakeStopSignal(std::string& reason) override;
    std::string_view StopRequests() const override {
        return "Ctrl-C, Ctrl-Break or the console window closed";
    }

  private:
    RegistryPortSource m_ports;
    Win32Terminal m_terminal;
    UINT m_consoleCodePage = 0;  // the console's output code page before the run; 0: none
};

}  // namespace veltaro::cli
