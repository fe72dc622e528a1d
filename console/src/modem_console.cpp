#include "veltaro/console/modem_console.h"

namespace veltaro::console {
// Placeholder handlers until the console logic lands.
ModemConsole::ModemConsole(DialogHost& host, ModemLink& link) : m_host(host), m_link(link) {}
int ModemConsole::OnComStep(int) { return 0; }
void ModemConsole::OnOpen() {}
void ModemConsole::OnClose() {}
long ModemConsole::OnDataArrived() { return 1; }
void ModemConsole::OnChannelSetting() {}
void ModemConsole::OnPowerSetting() {}
void ModemConsole::OnInformation() {}
void ModemConsole::OnModeSetting() {}
void ModemConsole::OnDestinationIdSetting() {}
void ModemConsole::OnPeriodSetting() {}
void ModemConsole::OnUartModeSetting() {}
void ModemConsole::OnBitSetting() {}
void ModemConsole::OnUartInformation() {}
void ModemConsole::OnAllSetting() {}
void ModemConsole::OnUartAllSetting() {}
void ModemConsole::OnChannelChanged() {}
void ModemConsole::OnPowerChanged() {}
void ModemConsole::OnPeriodChanged() {}
void ModemConsole::OnDestinationIdChanged() {}
}  // namespace veltaro::console
