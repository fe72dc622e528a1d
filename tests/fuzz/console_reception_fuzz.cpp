// Arbitrary byte streams, cut into arbitrary messages, through the data-arrived handler, with
// any model code, detected or not, and now and then a command or a Close in between.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "recording_host.h"
#include "recording_link.h"
#include "veltaro/console/control_ids.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/text_rules.h"

namespace {

using namespace veltaro::console;
using namespace veltaro::console::testing;

constexpr std::array<std::string_view, 17> kCodes = {
    "KD-30", "KD-35", "GT-20", "GT-25", "GT-40", "GT-45", "GT-60", "GT-65",   "GT-80",
    "GT-85", "GT-90", "GT-95", "FL-20", "FL-25", "kd-35", "AB-12", "GT-3\x80"};

constexpr std::array<void (ModemConsole::*)(), 11> kCommands = {
    &ModemConsole::OnChannelSetting,       &ModemConsole::OnPowerSetting,
    &ModemConsole::OnInformation,          &ModemConsole::OnModeSetting,
    &ModemConsole::OnDestinationIdSetting, &ModemConsole::OnPeriodSetting,
    &ModemConsole::OnUartModeSetting,      &ModemConsole::OnBitSetting,
    &ModemConsole::OnUartInformation,      &ModemConsole::OnAllSetting,
    &ModemConsole::OnUartAllSetting};

const std::set<int>& KnownControls() {
    static const std::set<int> ids = {
        ctl::kOpen,          ctl::kClose,           ctl::kChannelSetting,
        ctl::kPowerSetting,  ctl::kModeSetting,     ctl::kDestIdSetting,
        ctl::kInformation,   ctl::kPeriodSetting,   ctl::kModePc,
        ctl::kModeDevice,    ctl::kDestIdEdit,      ctl::kUnitHour,
        ctl::kUnitMin,       ctl::kUnitSec,         ctl::kPeriodEdit,
        ctl::kRs232,         ctl::kUartModeSetting, ctl::kUartInformation,
        ctl::kBitSetting,    ctl::kRs485,           ctl::kData5,
        ctl::kData6,         ctl::kData7,           ctl::kData8,
        ctl::kStop1,         ctl::kStop1_5,         ctl::kStop2,
        ctl::kAllSetting,    ctl::kParityEven,      ctl::kParityOdd,
        ctl::kParitySpace,   ctl::kParityMark,      ctl::kParityNone,
        ctl::kUartAllSetting};
    return ids;
}

bool IsSubstring(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// A form text is either as it was or a piece of the buffer no wider than its field.
void CheckField(const std::string& before, const std::string& after, std::string_view buffer,
                std::size_t width) {
    FUZZ_CHECK(after == before || (after.size() <= width && IsSubstring(buffer, after)));
}

void CheckIndex(int index, int groupSize) {
    FUZZ_CHECK(index >= 0 && index < groupSize);
}

struct Rig {
    EventLog log;
    RecordingHost host{log};
    RecordingLink link{log};
    ModemConsole console{host, link};
};

void CheckMessage(Rig& rig, const std::string& chunk) {
    const ConsoleState before = rig.console.State();
    const SettingsForm formBefore = rig.console.Form();
    const std::string logBefore = rig.host.LogText();
    const std::string buffer = before.receiveBuffer + chunk;
    rig.log.Clear();
    rig.link.Receive(chunk);

    FUZZ_CHECK(rig.console.OnDataArrived() == 1);

    const ConsoleState& after = rig.console.State();
    const bool detected = before.awaitingModel != 0 && after.awaitingModel == 0;
    // The log grows only by CR LF and a piece of the buffer.
    const std::string& log = rig.host.LogText();
    FUZZ_CHECK(log.compare(0, logBefore.size(), logBefore) == 0);
    const std::string_view added = std::string_view(log).substr(logBefore.size());
    if (!added.empty()) {
        FUZZ_CHECK(!detected && added.substr(0, 2) == "\r\n");
        FUZZ_CHECK(IsSubstring(buffer, added.substr(2)));
    }
    // The buffer is kept whole, emptied, or left with the rest after "OK" holding "--".
    const std::string& left = after.receiveBuffer;
    if (left == buffer) {
        FUZZ_CHECK(!IsSubstring(buffer, "--") ||
                   (!IsSubstring(buffer, "OK") && !IsSubstring(buffer, "!!")));
    } else if (!left.empty()) {
        FUZZ_CHECK(left.size() < buffer.size() && buffer.ends_with(left) &&
                   IsSubstring(left, "--"));
    }
    if (detected) {
        FUZZ_CHECK(left.empty() && after.modelCode.size() <= 5);
        FUZZ_CHECK(IsSubstring(buffer, after.modelCode) && rig.host.Caption() == after.modelCode);
    } else {
        FUZZ_CHECK(after.modelCode == before.modelCode);
    }
    const SettingsForm& form = rig.console.Form();
    CheckField(formBefore.channel, form.channel, buffer, 3);
    CheckField(formBefore.power, form.power, buffer, 3);
    CheckField(formBefore.destinationId, form.destinationId, buffer, 5);
    CheckField(formBefore.period, form.period, buffer, 3);
    CheckIndex(form.mode, 2);
    CheckIndex(form.periodUnit, 3);
    CheckIndex(form.interface, 2);
    CheckIndex(form.dataBits, 4);
    CheckIndex(form.stopBits, 3);
    CheckIndex(form.parity, 5);
    FUZZ_CHECK(after.deviceMode == 0 || after.deviceMode == 1);
    for (const Event& e : rig.log.Events()) {
        if (e.kind == EventKind::kEnable) {
            FUZZ_CHECK(KnownControls().count(e.id) == 1);
        }
        if (e.kind == EventKind::kSend) {  // only the on-detect keys
            FUZZ_CHECK(e.text == "B" || e.text == "A" || e.text == "3" || e.text == "6" ||
                       e.text == "C");
        }
    }
    if (rig.log.Count(EventKind::kWriteForm) > 0) {
        FUZZ_CHECK(rig.host.Shown() == form);
    }
}

// The text rules on the buffer at hand, with any positions.
void CheckTextRules(FuzzedDataProvider& data, const std::string& text) {
    const auto start = data.ConsumeIntegral<std::int64_t>();
    const auto count = data.ConsumeIntegral<std::int64_t>();
    const std::string piece = ClampedSubstring(text, start, count);
    FUZZ_CHECK(piece.size() <= text.size() && IsSubstring(text, piece));
    FUZZ_CHECK(count <= 0 || piece.size() <= static_cast<std::uint64_t>(count));
    const std::string rest = Rest(text, start);
    FUZZ_CHECK(text.ends_with(rest));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    Rig rig;
    const auto setup = data.ConsumeIntegral<std::uint8_t>();
    if (setup % 19 < kCodes.size()) {
        rig.link.Receive("\r\n" + std::string(kCodes[setup % 19]) + " CONFIGURATION\r\n");
        rig.console.OnDataArrived();
        if (setup & 0x80) {
            rig.console.OnClose();  // awaiting a model again, with the old code kept
        }
    } else if (setup % 19 == kCodes.size()) {
        const std::string code = data.ConsumeBytesAsString(5);  // any five bytes
        rig.link.Receive("\r\n" + code + " CONFIGURATION\r\n");
        rig.console.OnDataArrived();
    }
    while (data.remaining_bytes() > 0) {
        const auto op = data.ConsumeIntegral<std::uint8_t>();
        if (op < 8) {
            (rig.console.*kCommands[op % kCommands.size()])();
            continue;
        }
        if (op == 8) {
            rig.console.OnClose();
            continue;
        }
        if (op == 9) {
            CheckTextRules(data, rig.console.State().receiveBuffer);
            continue;
        }
        const auto length = data.ConsumeIntegralInRange<std::size_t>(0, 600);
        CheckMessage(rig, data.ConsumeBytesAsString(length));
    }
    return 0;
}
