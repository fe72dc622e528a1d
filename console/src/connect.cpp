// Connect and disconnect: the COM number step, Open and Close.
#include <algorithm>
#include <array>

#include "model_rules.h"
#include "veltaro/console/console_texts.h"
#include "veltaro/console/control_ids.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/text_rules.h"

namespace veltaro::console {

namespace {

using namespace ctl;
using detail::ControlSwitch;

// Only the first three characters of the COM number edit are ever read.
constexpr int kComNumberChars = 3;
constexpr int kLowestCom = 1;
constexpr int kHighestCom = 255;

constexpr std::uint32_t kBaudRate = 9600;
constexpr std::uint8_t kByteSize = 8;
constexpr std::uint8_t kOneStopBit = 0;
constexpr std::uint8_t kNoParity = 0;

constexpr int kCloseSettleMs = 500;

// Close brings back what a detected model may have disabled. The channel, power,
// Information and All Setting controls are never disabled, so Close leaves them alone.
constexpr std::array<ControlSwitch, 30> kCloseSwitches = {{
    {kOpen, true},
    {kClose, false},
    {kModeSetting, true},
    {kDestIdSetting, true},
    {kPeriodSetting, true},
    {kPeriodEdit, true},
    {kUartModeSetting, true},
    {kBitSetting, true},
    {kUartInformation, true},
    {kModePc, true},
    {kModeDevice, true},
    {kDestIdEdit, true},
    {kUnitHour, true},
    {kUnitMin, true},
    {kUnitSec, true},
    {kRs232, true},
    {kRs485, true},
    {kData5, true},
    {kData6, true},
    {kData7, true},
    {kData8, true},
    {kStop1, true},
    {kStop1_5, true},
    {kStop2, true},
    {kParityEven, true},
    {kParityOdd, true},
    {kParitySpace, true},
    {kParityMark, true},
    {kParityNone, true},
    {kUartAllSetting, true},
}};

}  // namespace

ModemConsole::ModemConsole(DialogHost& host, ModemLink& link) : m_host(host), m_link(link) {}

// Read straight from the edit, not from the form: the form may be older than the text.
int ModemConsole::ReadComNumber() {
    std::string line = m_host.ReadComNumberLine(kComNumberChars);
    if (line.size() > static_cast<std::size_t>(kComNumberChars)) {
        line.resize(kComNumberChars);
    }
    return AtoiPrefix(line);
}

// The up-down control's default range runs backwards: its up arrow gives a negative delta.
int ModemConsole::OnComStep(int delta) {
    int number = ReadComNumber();
    if (delta < 0) {
        number = std::min(number + 1, kHighestCom);
    } else if (delta > 0) {
        number = std::max(number - 1, kLowestCom);
    }
    m_form.comNumber = std::to_string(number);
    m_host.WriteForm(m_form);
    return 0;
}

void ModemConsole::OnOpen() {
    const int number = ReadComNumber();
    // Every later form write (the on-detect one first) shows the number of the open port,
    // and Close then Open opens the same port again.
    m_form.comNumber = std::to_string(number);
    const std::string portName = FormatPortName(number);
    if (m_link.OpenPort(portName, kBaudRate, kByteSize, kOneStopBit, kNoParity) != 1) {
        return;  // the connection has shown its own message
    }
    m_portOpen = true;
    m_reported = {};
    m_host.AppendLog(std::string(kBannerLine));
    m_host.EnableControl(kOpen, false);
    m_host.EnableControl(kClose, true);
    m_link.WriteByte(m_state.escByte);  // the modem answers ESC with its console screen
}

void ModemConsole::OnClose() {
    m_link.ClosePort();
    m_portOpen = false;
    m_reported = {};
    for (const ControlSwitch& item : kCloseSwitches) {
        m_host.EnableControl(item.id, item.enable);
    }
    m_host.SetCaption(std::string(kDialogTitle));
    m_state.awaitingModel = 1;
    m_host.SetLogText("");
    m_host.WriteForm(m_form);
    m_link.Pause(kCloseSettleMs);
}

}  // namespace veltaro::console
